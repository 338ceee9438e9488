#pragma once

#include "diary/dataroot.h"

#include <QDate>

#include <functional>
#include <memory>

class Clock;
class DayBook;
class DiaryLock;
class DiaryMoving;
class DiarySearch;
class DiaryTally;
class Dialogs;
class Program;
class SessionDrafts;
class SessionState;
class VaultControls;
class YearNotes;

// The open diary and its rules, without a window, made of parts: the day and
// its page, the yearly notes, the search, the drafts, the vault's controls
// and the moving in and out. Each asks and tells the user through Dialogs,
// and a view follows its signals. What spans the parts is here.
class DiarySession
{
public:
    DiarySession(Dialogs &dialogs, const Clock &clock);
    ~DiarySession();

    void setDataRoot(const QString &path);
    // False after the sign-in ended the program, or when another program has
    // the diary open. Otherwise today is selected and its page opens.
    bool signIn(Program &program);
    // Called when another program has the diary open, once the user was told
    // and before this one ends: the window there is asked to come forward.
    void setOpenElsewhere(std::function<void()> knock);

    DataRoot dataRoot() const;
    Dialogs &dialogs() const;
    // Leaving the day shown asks about its note first, then its page.
    void chooseDay(QDate day);
    // What a sync tool brought while the window is open, taken in. False,
    // with nothing read, while the diary is locked.
    bool noticeArrivals();

    DayBook &book() { return *m_book; }
    YearNotes &notes() { return *m_notes; }
    DiarySearch &search() { return *m_search; }
    DiaryTally &tally() { return *m_tally; }
    SessionDrafts &drafts() { return *m_drafts; }
    VaultControls &vault() { return *m_vault; }
    DiaryMoving &moving() { return *m_moving; }

private:
    bool claimDiary(Program &program);

    std::unique_ptr<SessionState> m_state;
    std::unique_ptr<YearNotes> m_notes;
    std::unique_ptr<DayBook> m_book;
    std::unique_ptr<SessionDrafts> m_drafts;
    std::unique_ptr<DiarySearch> m_search;
    std::unique_ptr<DiaryTally> m_tally;
    std::unique_ptr<VaultControls> m_vault;
    std::unique_ptr<DiaryMoving> m_moving;
    std::unique_ptr<DiaryLock> m_lock;
    std::function<void()> m_openElsewhere;
};
