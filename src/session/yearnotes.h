#pragma once

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/history.h"
#include "draftkeeper.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTextDocument>

#include <optional>

class SessionState;

// The yearly note of the selected day: shown, typed into, saved, deleted and
// restored from its history, and the days of the shown month that have one.
class YearNotes : public QObject
{
    Q_OBJECT

public:
    explicit YearNotes(SessionState &state);

    // At sign-in, once the diary's folders are known.
    void openFolder();
    // "Mmm-d" and "Mmm" of the selected day; empty until a day is shown.
    QString noteKey() const { return m_day.isValid() ? daykeys::noteKey(m_day) : QString(); }
    QString month() const { return daykeys::month(m_day); }
    daykeys::MonthDay noteDay() const { return daykeys::monthDay(m_day); }
    const QStringList &list() const { return m_notes.entries(); }
    QTextDocument &note() { return m_note; }
    DraftKeeper &draft() { return m_draft; }

    // The note has no changed flag of its own: it differs from its stored file once typed into.
    void noteTyped();
    // Before the note is replaced: a changed note is offered for saving,
    // Yes/No/Cancel. False for Cancel, or a save that failed: stay where you are.
    bool leaveNote();
    // False when the note could not be stored.
    bool saveNote();
    void deleteNote();
    // The earlier versions of the selected day's yearly note, newest first.
    QList<history::Version> noteVersions() const;
    bool restoreNoteVersion(const QString &id);
    void rereadNotes();
    // Another computer's notes read again: an untouched note shown as now
    // stored, and its month's new note days marked.
    void followArrived();
    // The stored note shown again, after its copy was settled.
    void reload();

    // The note of a day now selected, and its month's note days marked.
    void showDay(QDate day);
    void clear();
    // A note replaced before Save Date, without the question, goes to the history rather than away.
    void letGo();
    // A draft found at sign-in, shown as the note.
    void bringBack(const QByteArray &bytes);
    // Locked, the note waits in its sealed file; one that had no sealed copy stays in memory.
    void forgetWords();
    void recallWords();

signals:
    void noteReplaced();
    void noteDayMarked(QDate day, bool marked);
    // The shown note was reloaded because another computer's version replaced it.
    void noteArrived();

private:
    bool noteChanged() const;
    void markNoteDays();
    void markNoteDay(bool marked);
    void load();
    void sayNoteDoesNotOpen();
    QString withArrived(const QString &text) const;
    std::optional<QByteArray> sealed() const;

    SessionState &m_state;
    FileList m_notes;
    QDate m_day;
    // A note that does not open is said once, not again as other years of its day are shown.
    bool m_toldNoteUnopened = false;
    // The ancestry id of the stored note the editor's text grew from.
    QString m_openedFrom;
    QTextDocument m_note;
    DraftKeeper m_draft;
    bool m_forgotten = false;
};
