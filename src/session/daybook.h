#pragma once

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/history.h"
#include "draftkeeper.h"
#include "sync/conflictcopies.h"

#include <QDate>
#include <QObject>
#include <QString>
#include <QTextDocument>

#include <optional>

class SessionState;
class YearNotes;

// The selected day and its page: moving between days and pages, the page
// list, the open page's changed flag, and saving, deleting and restoring it.
// Leaving a day asks about its note first, then its page.
class DayBook : public QObject
{
    Q_OBJECT

public:
    enum class Stored { Yes, NoText, Refused, Failed };

    DayBook(SessionState &state, YearNotes &notes);

    // At sign-in, once the diary's folders are known and copies are the
    // sync tools' copies they hold: the day's page opens.
    void open(QDate today, const QList<conflictcopies::Found> &copies);
    QDate selectedDay() const { return m_day; }
    // The page file name "yyyy-mm-dd" of the selected day; empty until signed in.
    QString dayKey() const { return daykeys::dayKey(m_day); }
    // The open page's place in the page list from 1, 0 for none.
    int pageNumber() const { return m_pageNumber; }
    const QString &openPageName() const { return m_openPageName; }
    const QStringList &pages() const { return m_pages.entries(); }
    QTextDocument &page() { return m_page; }
    DraftKeeper &draft() { return m_draft; }

    // 1 once the page was typed into or given a picture since it was opened, stored or let go.
    int filechanged() const { return m_filechanged; }
    void markChanged();

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
    void openEntry(const QString &name);
    void firstPage();
    void previousPage();
    void nextPage();
    void lastPage();
    void rereadPages();
    // After the pages changed on disk: the selected day shows as now stored.
    void reopenSelectedDay();

    // Search leaves no page open; a result opens as the page it names.
    // False, with nothing left, when the user stays with unsaved typing.
    bool leavePageForSearch();
    // A panel closed without opening a page shows the selected day again as stored.
    void returnToSelectedDay();

    // A copy of the selected day's page that a folder-sync tool made and
    // that could not be merged, for the user to settle.
    std::optional<conflictcopies::Found> pageCopy() const;
    void settlePageCopy();
    // The same for the selected day's yearly note.
    std::optional<conflictcopies::Found> noteCopy() const;
    void settleNoteCopy();
    // The days with a page's copy waiting, and those of the selected day's
    // year whose yearly note has one.
    QList<QDate> waitingDays() const;
    // What a sync tool brought while the window is open: the page list and
    // the copies read again, and an untouched page or note shown as now
    // stored. Typing is left alone for its save to merge, as ever.
    void followArrived();

    // A draft found at sign-in, shown as the page with its typing unsaved.
    void bringBack(const QByteArray &rtf);
    // Locked, the page waits in its sealed file; one that had no sealed copy stays in memory.
    void forgetWords();
    void recallWords();

signals:
    void dayChanged(QDate day);
    void pageNumberChanged(int number);
    void openPageNameChanged(const QString &name);
    void pageReplaced();
    void pagesChanged();
    void pageWantsFocus();
    // The open page was reloaded because another computer's version replaced it.
    void pageArrived();

private:
    void setFileChanged(int changed);
    bool readyToLeave();
    void turnPage(int number);
    int pageNumberOf(QDate day) const;
    void goToDay(QDate day);
    void goToPage(int number);
    void showPlace(QDate day, int number);
    void showPage(int number);
    bool readPage(const QString &entry);
    void setPageNumber(int number);
    void setDay(QDate day);
    void clearPage();
    void setOpenPageName(const QString &name);
    Stored storeDocument(const QTextDocument &document, QByteArray &rtf);
    bool storePage(QDate day, const QByteArray &rtf);
    void showSavedPage(QDate day);
    std::optional<QByteArray> sealed() const;
    std::optional<QByteArray> withArrived(QDate day, const QByteArray &rtf);
    static QByteArray fingerprint(const std::optional<QByteArray> &rtf);
    std::optional<QByteArray> chosenOverArrived(QDate day, const QByteArray &rtf, const QByteArray &arrived);

    SessionState &m_state;
    YearNotes &m_notes;
    FileList m_pages{QString(), daykeys::isPageFileName};
    QDate m_day;
    int m_pageNumber = 0;
    QString m_openPageName;
    // Search emptied the page and the note of the selected day.
    bool m_leftForSearch = false;
    int m_filechanged = 0;
    QTextDocument m_page;
    DraftKeeper m_draft;
    bool m_forgotten = false;
    // The ancestry id of the stored page as it was opened or last saved here, to see another computer's
    // version arrive and to find the version both grew from; empty when there was none.
    QString m_openedFrom;
    // A hash of its text too: a diary sealed anew keeps the text under new bytes.
    QByteArray m_openedText;
    QList<conflictcopies::Found> m_copies;
};
