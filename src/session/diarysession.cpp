#include "diarysession.h"

#include "access/signin.h"
#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/ioreason.h"
#include "diary/onthisday.h"
#include "diary/pagestore.h"
#include "diary/sealedmark.h"
#include "richtext/textmatches.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "seams/busycursor.h"
#include "seams/clock.h"
#include "seams/dialogs.h"
#include "seams/program.h"

DiarySession::DiarySession(Dialogs &dialogs, const Clock &clock, QObject *parent)
    : QObject(parent), m_dialogs(dialogs), m_clock(clock),
      m_pageDraft(m_draftWriter, drafts::Kind::Page, [this] { return DraftKeeper::pageContent(m_dayKey, m_page); },
                  m_draftDelay),
      m_noteDraft(m_draftWriter, drafts::Kind::Note,
                  [this] { return DraftKeeper::Content{m_noteKey, [text = richtext::plainText(m_note).toUtf8()] { return text; }}; }, m_draftDelay)
{
    // Loading adds no undo step, so this hears every edit of the note, pasted or corrected ones too.
    connect(&m_note, &QTextDocument::undoCommandAdded, this, &DiarySession::noteTyped);
    m_pageDraft.setGuard([this] { return diaryFolderHere(); });
    m_noteDraft.setGuard([this] { return diaryFolderHere(); });
}

void DiarySession::setDataRoot(const QString &path)
{
    m_root = path;
    m_pageDraft.setRoot(dataRoot());
    m_noteDraft.setRoot(dataRoot());
}

// Nothing of the diary is read before the password is known.
bool DiarySession::signIn(Program &program)
{
    if (!claimDiary(program))
        return false;
    conversion::finishInterrupted(m_root);
    if (const auto lost = sealedmark::passwordFileLost(dataRoot())) {
        m_dialogs.message(*lost + QStringLiteral(" This program will now close!"),
                          QStringLiteral("Password File does not fit this Diary"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        program.end();
        return false;
    }
    std::shared_ptr<Vault> vault;
    if (!SignIn(dataRoot().passwordFile(), m_dialogs, program, &vault))
        return false;
    if (vault)
        useVault(std::move(vault));
    m_notes.setPath(dataRoot().datesDir());
    m_pages.setPath(dataRoot().pagesDir());
    emit pagesChanged();
    goToDay(m_clock.today());
    m_filechanged = 0;
    offerDrafts();
    return true;
}

// Two programs saving the same day would each overwrite the other's page.
bool DiarySession::claimDiary(Program &program)
{
    m_lock = std::make_unique<DiaryLock>(dataRoot());
    if (m_lock->acquire() != DiaryLock::State::HeldElsewhere)
        return true;
    m_dialogs.message(m_lock->heldElsewhereMessage(), QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    if (m_openElsewhere)
        m_openElsewhere();
    program.end();
    return false;
}

// A day chosen on the calendar: no page stays open unless the day has one.
void DiarySession::chooseDay(QDate day)
{
    if (!readyToLeave()) {
        // The calendar goes back to the day still shown.
        emit dayChanged(m_day);
        return;
    }
    const BusyCursor busy;
    goToDay(day);
}

// The note and then the page are offered once. False, with everything as
// it was, for Cancel or a save refused or failed: the typing stays open.
bool DiarySession::readyToLeave()
{
    if (!leaveNote())
        return false;
    AskToSavePage();
    return m_filechanged != 1;
}

void DiarySession::goToDay(QDate day)
{
    showPlace(day, pageNumberOf(day));
}

// The day of a page named in the list; one that names no day leaves the day as it is.
void DiarySession::goToPage(int number)
{
    const QString entry = m_pages.entries().value(number - 1);
    showPlace(daykeys::dateFromDayKey(entry.chopped(qMin(entry.size(), kFileSuffix.size()))).value_or(m_day), number);
}

// An entry is the day's when it is the key and four more characters, compared
// in place, as this runs on every day change over a century of pages.
int DiarySession::pageNumberOf(QDate day) const
{
    const QString key = daykeys::dayKey(day);
    const QStringList &entries = m_pages.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].size() == key.size() + kFileSuffix.size() && entries[i].startsWith(key))
            return int(i + 1);
    }
    return 0;
}

// Where a move ends is shown in one step: the page and the note are each read
// once and each change is told once, so the view never sees a half-made move.
void DiarySession::showPlace(QDate day, int number)
{
    m_leftForSearch = false;
    const QString entry = m_pages.entries().value(number - 1);
    const bool opened = !entry.isEmpty() && readPage(entry);
    if (!opened)
        m_page.clear();
    emit pageReplaced();
    setPageNumber(number);
    setOpenPageName(opened ? entry : QString());
    setDay(day);
    setNoteKey(daykeys::noteKey(day));
    loadNote();
    setMonth(daykeys::month(day));
}

// The file may have gone since the list was read, or be no page at all.
bool DiarySession::readPage(const QString &entry)
{
    const QString file = m_pages.path() + QLatin1Char('/') + entry;
    const auto rtf = pagestore::loadFile(dataRoot(), file);
    if (rtf && richtext::loadBytes(*rtf, m_page))
        return true;
    const QString why = rtf ? QStringLiteral("%1: It holds %2.").arg(file, richtext::tooMuchText()) : ioreason::unreadable(file);
    error(QStringLiteral("An error has occured! The file was not opened!"), why);
    return false;
}

void DiarySession::setPageNumber(int number)
{
    if (number == m_pageNumber)
        return;
    m_pageNumber = number;
    emit pageNumberChanged(number);
}

void DiarySession::setDay(QDate day)
{
    if (day == m_day)
        return;
    m_day = day;
    m_dayKey = daykeys::dayKey(day);
    emit dayChanged(day);
}

void DiarySession::NewPage()
{
    const QDate today = m_clock.today();
    if (m_day == today) {
        AskToSavePage();
    } else {
        if (!readyToLeave())
            return;
        const BusyCursor busy;
        goToDay(today);
    }
    emit pageWantsFocus();
}

void DiarySession::openListed(int row)
{
    openEntry(m_pages.entries().value(row));
}

void DiarySession::openEntry(const QString &name)
{
    if (!readyToLeave())
        return;
    const BusyCursor busy;
    if (const qsizetype index = m_pages.entries().indexOf(name); index >= 0 && int(index + 1) != m_pageNumber)
        goToPage(int(index + 1));
}

// A Yes stores the page, which can move it in the list: the press then ends
// on the page the save left open rather than on a number it no longer means.
void DiarySession::turnPage(int number)
{
    if (!leaveNote() || number == m_pageNumber)
        return;
    if (m_filechanged == 1) {
        if (askToSaveChanges()) {
            SavePage();
            return;
        }
        setFileChanged(0);
    }
    const BusyCursor busy;
    goToPage(number);
}

void DiarySession::firstPage()
{
    if (!m_pages.entries().isEmpty())
        turnPage(1);
}

void DiarySession::previousPage()
{
    if (m_pageNumber > 1)
        turnPage(m_pageNumber - 1);
}

void DiarySession::nextPage()
{
    if (m_pageNumber < m_pages.count())
        turnPage(m_pageNumber + 1);
}

void DiarySession::lastPage()
{
    turnPage(int(m_pages.count()));
}

void DiarySession::rereadPages()
{
    m_pages.refresh();
    emit pagesChanged();
}

bool DiarySession::leavePageForSearch()
{
    if (!readyToLeave())
        return false;
    clearPage();
    setPageNumber(0);
    setOpenPageName(QString());
    clearNote();
    m_leftForSearch = true;
    return true;
}

void DiarySession::returnToSelectedDay()
{
    if (!m_leftForSearch || !readyToLeave())
        return;
    goToDay(m_day);
}

QStringList DiarySession::search(const QString &term, textsearch::Options options)
{
    const BusyCursor busy;
    m_searchTerm = term;
    m_searchOptions = options;
    return textsearch::search(dataRoot(), m_pages.entries(), term, options, &m_texts);
}

void DiarySession::openResult(const QString &name)
{
    openEntry(name);
}

QString DiarySession::resultContext(const QString &name) const
{
    return textsearch::context(dataRoot(), name, m_searchTerm, m_searchOptions, &m_texts);
}

QList<QTextCursor> DiarySession::resultMatches() const
{
    return textsearch::matchesIn(m_page, m_searchTerm, m_searchOptions);
}

QList<QDate> DiarySession::onThisDay() const
{
    return onthisday::earlierDays(m_pages.entries(), m_day);
}

QString DiarySession::firstLineOf(QDate day) const
{
    const auto bytes = pagestore::load(dataRoot(), daykeys::dayKey(day));
    return bytes ? richtext::firstLine(*bytes) : QString();
}

void DiarySession::clearPage()
{
    m_page.clear();
    emit pageReplaced();
}

void DiarySession::clearNote()
{
    letNoteGo();
    m_note.clear();
    emit noteReplaced();
}

void DiarySession::setOpenPageName(const QString &name)
{
    m_openPageName = name;
    emit openPageNameChanged(name);
}

void DiarySession::error(const QString &text, const QString &reason)
{
    m_dialogs.message(reason.isEmpty() ? text : text + QLatin1Char('\n') + reason, QStringLiteral("ERROR"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}

// A change replaces a file only once its earlier version is kept; when that
// cannot be done (a full disk, a file in the history folder's place) the user
// decides, with No the default, since the old text would be gone for good.
bool DiarySession::changeKeepingVersion(const QString &what, const QString &failure,
                                        const std::function<Outcome(history::Unkept)> &change)
{
    Outcome done = change(history::Unkept::Refuse);
    if (done.versionNotKept()) {
        if (m_dialogs.message(what, QStringLiteral("Earlier Version Not Kept"), Dialogs::Icon::Exclamation,
                              Dialogs::Buttons::YesNo, Dialogs::Button::No)
            != Dialogs::Button::Yes)
            return false;
        done = change(history::Unkept::GoOn);
    }
    if (!done)
        error(failure, done.error());
    return bool(done);
}
