#pragma once

#include "diary/conversion.h"
#include "diary/dataroot.h"
#include "diary/daykeys.h"
#include "draftkeeper.h"
#include "diary/diarylock.h"
#include "diary/history.h"
#include "diary/filelist.h"
#include "export/rangeexport.h"
#include "import/diaryimport.h"
#include "import/readers.h"
#include "richtext/textsearch.h"

#include <QDate>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QTextDocument>

#include <functional>
#include <memory>
#include <optional>

class Clock;
class Dialogs;
class Program;

// The open diary and its rules, without a window: the selected day, the page
// list and the open page, the yearly note, and every command on them. It asks
// and tells the user through Dialogs, and a view follows its signals.
class DiarySession : public QObject
{
    Q_OBJECT

public:
    enum class Stored { Yes, NoText, Refused, Failed };

    DiarySession(Dialogs &dialogs, const Clock &clock, QObject *parent = nullptr);

    void setDataRoot(const QString &path);
    // False after the sign-in ended the program, or when another program has
    // the diary open. Otherwise today is selected and its page opens.
    bool signIn(Program &program);
    // Called when another program has the diary open, once the user was told
    // and before this one ends: the window there is asked to come forward.
    void setOpenElsewhere(std::function<void()> knock) { m_openElsewhere = std::move(knock); }

    DataRoot dataRoot() const { return DataRoot(m_root, m_vault); }
    Dialogs &dialogs() const { return m_dialogs; }
    QDate selectedDay() const { return m_day; }
    // The page file name "yyyy-mm-dd" of the selected day; empty until signed in.
    const QString &dayKey() const { return m_dayKey; }
    const QString &noteKey() const { return m_noteKey; }
    const QString &month() const { return m_month; }
    // The open page's place in the page list from 1, 0 for none.
    int pageNumber() const { return m_pageNumber; }
    const QString &openPageName() const { return m_openPageName; }
    const QStringList &pages() const { return m_pages.entries(); }
    const QStringList &notes() const { return m_notes.entries(); }
    QTextDocument &page() { return m_page; }
    QTextDocument &note() { return m_note; }

    // 1 once the page was typed into or given a picture since it was opened, stored or let go.
    int filechanged() const { return m_filechanged; }
    void markChanged();
    // The note has no changed flag of its own: it differs from its stored file once typed into.
    void noteTyped();
    bool noteChanged() const;
    // Before the note is replaced: a changed note is offered for saving,
    // Yes/No/Cancel. False for Cancel, or a save that failed: stay where you are.
    bool leaveNote();

    // How far a draft may lag behind the typing.
    void setDraftDelay(std::chrono::milliseconds delay);
    // A draft keeper for a window's own copy of the page, writing with the session's drafts.
    DraftKeeper *draftKeeper(drafts::Kind kind, DraftKeeper::Snapshot snapshot, QObject *parent);
    // Every draft is on disk when this returns, as it would be after the delay.
    void flushDrafts();
    // The window closes: drafts no one stored or refused go to the history,
    // and every draft write is finished.
    void endDrafts();

    void chooseDay(QDate day);
    void NewPage();
    void SavePage();
    void DeletePage();
    // The earlier versions of the selected day's page, newest first.
    QList<history::Version> pageVersions() const;
    // A restore is a save: unsaved typing is offered first, the page it
    // replaces goes to the history, and the restored page opens. False when
    // nothing was restored.
    bool restorePageVersion(const QString &id);
    void AskToSavePage();
    // The save question alone, for a window with a copy of its own: true for Yes.
    bool askToSaveChanges();
    // The print window's copy stored as the selected day's page, shown in the page.
    Stored savePrintCopy(const QTextDocument &copy);

    // Unsaved typing is dealt with before the page is looked up, so a save that adds a page cannot move it.
    void openListed(int row);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void rereadPages();

    // Search leaves no page open; a result opens as the page it names.
    // False, with nothing left, when the user stays with unsaved typing.
    bool leavePageForSearch();
    // A panel closed without opening a page shows the selected day again as stored.
    void returnToSelectedDay();
    // As shipped, matching case in the markup, the options give the stored-markup search exactly.
    QStringList search(const QString &term, textsearch::Options options = {});
    void openResult(const QString &name);
    // The line of a result around its first match, for the result's tool tip.
    QString resultContext(const QString &name) const;
    // Where the last search's term shows in the open page.
    QList<QTextCursor> resultMatches() const;

    // The pages of earlier years on the selected day's month and day, newest first.
    QList<QDate> onThisDay() const;
    // The first line of a day's stored page, for its memory's tool tip.
    QString firstLineOf(QDate day) const;

    // False when the note could not be stored.
    bool saveNote();
    void deleteNote();
    // The earlier versions of the selected day's yearly note, newest first.
    QList<history::Version> noteVersions() const;
    bool restoreNoteVersion(const QString &id);
    void rereadNotes();

    // File > Import Diary...: the export at `path` is read whole or refused
    // with its reason; days with a page are added to or left as the user
    // answers, once; a summary tells each day's fate. `progress` hears each day stored.
    void importDiary(diaryimport::Source source, const QString &path, const diaryimport::Progress &progress = {});
    // File > Export...: unsaved typing is offered first, so what the page
    // shows is what is exported; the outcome is told.
    void exportPages(const rangeexport::Request &request, const rangeexport::Progress &progress = {});

    bool isEncrypted() const { return m_vault != nullptr; }
    // File > Encrypt Diary... and Decrypt Diary...: each explains, asks for
    // the password, converts every file and tells how it went. `progress`
    // hears each file converted.
    void encryptDiary(const conversion::Progress &progress = {});
    void decryptDiary(const conversion::Progress &progress = {});
    // File > Change Password: a plain diary's question as ever; an encrypted
    // one asks the current password, then the new one twice, and reseals
    // every file under a new master key.
    void changePassword(const conversion::Progress &progress = {});
    // An encrypted diary locks: every draft is written, the page, the note and
    // the texts kept for searching are dropped, then the key is wiped.
    void lockDiary();
    // False for a wrong password; the diary stays locked. Otherwise the page
    // and the note are read back from their drafts or stored files.
    bool unlockDiary(const QString &password);
    bool isLocked() const;

signals:
    void dayChanged(QDate day);
    void pageNumberChanged(int number);
    void openPageNameChanged(const QString &name);
    void pageReplaced();
    void noteReplaced();
    void pagesChanged();
    void noteDayMarked(QDate day, bool marked);
    void pageWantsFocus();
    void ending();
    void encryptionChanged(bool encrypted);
    // Before the drafts are written for the lock: a window keeps what it must bring back.
    void aboutToLock();
    void lockChanged(bool locked);

private:
    bool claimDiary(Program &program);
    void setFileChanged(int changed);
    void offerDrafts();
    bool bringBackPage(const drafts::Draft &draft);
    void offerNote(const drafts::Draft &draft, bool pageBroughtBack);
    void setAsideUnopened(const drafts::Draft &draft);
    void letNoteGo();
    bool readyToLeave();
    void turnPage(int number);
    int pageNumberOf(QDate day) const;
    void goToDay(QDate day);
    void goToPage(int number);
    void showPlace(QDate day, int number);
    bool readPage(const QString &entry);
    void setPageNumber(int number);
    void setDay(QDate day);
    void setNoteKey(const QString &key);
    void setMonth(const QString &month);
    void markNoteDays();
    void markNoteDay(bool marked);
    void openEntry(const QString &name);
    void loadNote();
    void sayNoteDoesNotOpen();
    void clearPage();
    void clearNote();
    void setOpenPageName(const QString &name);
    Stored storeDocument(const QTextDocument &document, QByteArray &rtf);
    bool storePage(const QString &key, const QByteArray &rtf);
    void showSavedPage(const QString &key);
    void reopenSelectedDay();
    std::optional<diaryimport::Existing> askAboutDaysWithPages(const std::vector<diaryimport::Entry> &entries);
    // The program's message, and below it what went wrong with which file where that is known.
    void error(const QString &text, const QString &reason = {});
    bool diaryFolderHere();
    bool changeKeepingVersion(const QString &what, const QString &failure, const std::function<Outcome(history::Unkept)> &change);
    void useVault(std::shared_ptr<Vault> vault);
    std::optional<QByteArray> sealedPage() const;
    std::optional<QByteArray> sealedNote() const;
    void forgetOpenDiary();
    void recallOpenDiary();
    // plainDiary: the diary being encrypted, whose own password is refused.
    std::optional<QString> askNewPassword(const QString &title, bool plainDiary);

    Dialogs &m_dialogs;
    const Clock &m_clock;
    QString m_root;
    std::shared_ptr<Vault> m_vault;
    std::unique_ptr<DiaryLock> m_lock;
    std::function<void()> m_openElsewhere;
    FileList m_pages{QString(), daykeys::isPageFileName};
    FileList m_notes;
    QDate m_day;
    QString m_dayKey;
    QString m_noteKey;
    // A note that does not open is said once, not again as other years of its day are shown.
    bool m_toldNoteUnopened = false;
    QString m_month;
    int m_pageNumber = 0;
    QString m_openPageName;
    // Search emptied the page and the note of the selected day.
    bool m_leftForSearch = false;
    QString m_searchTerm;
    textsearch::Options m_searchOptions;
    // What the pages show, for repeated text searches; a stored page is forgotten.
    mutable textsearch::TextCache m_texts;
    int m_filechanged = 0;
    bool m_toldFolderGone = false;
    QTextDocument m_page;
    QTextDocument m_note;
    std::shared_ptr<DraftWriter> m_draftWriter = std::make_shared<DraftWriter>();
    std::chrono::milliseconds m_draftDelay{1000};
    DraftKeeper m_pageDraft;
    DraftKeeper m_noteDraft;
    // The windows' own keepers, which must write with the diary's form as it is now.
    QList<QPointer<DraftKeeper>> m_windowKeepers;
    // Locked, the page and the note wait in their sealed files; one that had no sealed copy stays in memory.
    bool m_pageForgotten = false;
    bool m_noteForgotten = false;
};
