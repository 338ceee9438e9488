#include "diarysession.h"

#include "access/signin.h"
#include "diary/conversion.h"
#include "diary/daykeys.h"
#include "diary/onthisday.h"
#include "diary/pagestore.h"
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
    std::shared_ptr<Vault> vault;
    if (!SignIn(dataRoot().passwordFile(), m_dialogs, program, &vault))
        return false;
    if (vault)
        useVault(std::move(vault));
    m_notes.setPath(dataRoot().datesDir());
    m_pages.setPath(dataRoot().pagesDir());
    emit pagesChanged();
    const QDate today = m_clock.today();
    setDay(today);
    followDay(today);
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
    m_dialogs.message(kDiaryAlreadyOpen, QStringLiteral("Quillnest version 2"), Dialogs::Icon::Exclamation, Dialogs::Buttons::Ok);
    program.end();
    return false;
}

// A day chosen on the calendar: no page stays open unless the day has one.
void DiarySession::chooseDay(QDate day)
{
    AskToSavePage();
    const BusyCursor busy;
    setPageNumber(0);
    setOpenPageName(QString());
    clearPage();
    setDay(day);
    followDay(day);
}

void DiarySession::setDay(QDate day)
{
    if (day == m_day)
        return;
    m_day = day;
    emit dayChanged(day);
    selectDayKey(daykeys::dayKey(day));
}

// The selected day's page, if the list has one, becomes the open page. An
// entry is the day's when it is the key and four more characters, compared
// in place, as this runs on every day change over a century of pages.
void DiarySession::selectDayKey(const QString &key)
{
    if (key == m_dayKey)
        return;
    m_dayKey = key;
    const QStringList &entries = m_pages.entries();
    for (qsizetype i = 0; i < entries.size(); ++i) {
        if (entries[i].size() == key.size() + kFileSuffix.size() && entries[i].startsWith(key))
            setPageNumber(int(i + 1));
    }
}

// The number changes first; a save the question leads to may move it again,
// and the page then opened is the one it ends on.
void DiarySession::setPageNumber(int number)
{
    if (number == m_pageNumber)
        return;
    m_pageNumber = number;
    emit pageNumberChanged(number);
    if (m_numberFollowsSave)
        return;
    AskToSavePage();
    if (m_pageNumber == 0) {
        clearPage();
        setOpenPageName(QString());
        return;
    }
    openPage();
}

void DiarySession::openPage()
{
    AskToSavePage();
    const BusyCursor busy;
    clearPage();
    clearNote();
    const QString entry = m_pages.entries().value(m_pageNumber - 1);
    // The file may have gone since the list was read, or be no page at all.
    if (const auto rtf = pagestore::loadFile(dataRoot(), m_pages.path() + QLatin1Char('/') + entry)) {
        richtext::loadBytes(*rtf, m_page);
        emit pageReplaced();
        setOpenPageName(entry);
    } else {
        setOpenPageName(QString());
        error(QStringLiteral("An error has occured! The file was not opened!"));
    }
    if (const auto day = daykeys::dateFromDayKey(entry.chopped(qMin(entry.size(), kFileSuffix.size())))) {
        setDay(*day);
        followDay(*day);
    }
}

// The note and the month follow the day, so Save Date never writes one day's note to another.
void DiarySession::followDay(QDate day)
{
    setNoteKey(daykeys::noteKey(day));
    loadNote();
    setMonth(daykeys::month(day));
}

void DiarySession::NewPage()
{
    AskToSavePage();
    const QDate today = m_clock.today();
    if (m_day != today) {
        setPageNumber(0);
        clearPage();
        setDay(today);
        followDay(today);
    }
    emit pageWantsFocus();
}

void DiarySession::openListed(int row)
{
    const BusyCursor busy;
    setPageNumber(row + 1);
}

void DiarySession::firstPage()
{
    if (!m_pages.entries().isEmpty())
        setPageNumber(1);
}

void DiarySession::previousPage()
{
    if (m_pageNumber > 1)
        setPageNumber(m_pageNumber - 1);
}

void DiarySession::nextPage()
{
    if (m_pageNumber < m_pages.count())
        setPageNumber(m_pageNumber + 1);
}

void DiarySession::lastPage()
{
    setPageNumber(int(m_pages.count()));
}

void DiarySession::rereadPages()
{
    m_pages.refresh();
    emit pagesChanged();
}

void DiarySession::leavePageForSearch()
{
    AskToSavePage();
    clearPage();
    setPageNumber(0);
    setOpenPageName(QString());
    clearNote();
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
    const BusyCursor busy;
    if (const qsizetype index = m_pages.entries().indexOf(name); index >= 0)
        setPageNumber(int(index + 1));
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

void DiarySession::error(const QString &text)
{
    m_dialogs.message(text, QStringLiteral("ERROR"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}
