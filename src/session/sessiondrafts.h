#pragma once

#include "draftkeeper.h"

#include <QList>
#include <QObject>
#include <QPointer>

#include <chrono>

class DayBook;
class SessionState;
class YearNotes;

// The drafts that keep unsaved typing on disk: the page's, the note's and
// the windows' own, the folder they wait for, and those a killed program
// left behind, offered back at sign-in.
class SessionDrafts : public QObject
{
    Q_OBJECT

public:
    SessionDrafts(SessionState &state, DayBook &book, YearNotes &notes);

    // How far a draft may lag behind the typing.
    void setDelay(std::chrono::milliseconds delay);
    // A draft keeper for a window's own copy of the page, writing with the session's drafts.
    DraftKeeper *keeper(drafts::Kind kind, DraftKeeper::Snapshot snapshot, QObject *parent);
    // Every keeper writes with the diary's folder and form as they are now.
    void followRoot();
    // Every draft is on disk when this returns, as it would be after the delay.
    void flush();
    // The window closes: drafts no one stored or refused go to the history,
    // and every draft write is finished.
    void end();
    // Drafts left behind mean the program was killed, or the machine stopped:
    // each is offered back once; one not wanted is kept in the history.
    void offer();

signals:
    void ending();

private:
    bool diaryFolderHere();
    bool bringBackPage(const drafts::Draft &draft);
    void offerNote(const drafts::Draft &draft, bool pageBroughtBack);
    void setAsideUnopened(const drafts::Draft &draft);

    SessionState &m_state;
    DayBook &m_book;
    YearNotes &m_notes;
    bool m_toldFolderGone = false;
    // The windows' own keepers, which must write with the diary's form as it is now.
    QList<QPointer<DraftKeeper>> m_windowKeepers;
};
