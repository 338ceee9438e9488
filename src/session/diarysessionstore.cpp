#include "diarysession.h"

#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/rtflimits.h"
#include "richtext/pageexport.h"
#include "richtext/rtfwriter.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"

namespace {

bool yes(Dialogs &dialogs, const QString &text, const QString &title, Dialogs::Button defaultButton = Dialogs::Button::Yes)
{
    return dialogs.message(text, title, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, defaultButton) == Dialogs::Button::Yes;
}

} // namespace

void DiarySession::AskToSavePage()
{
    if (m_filechanged != 1)
        return;
    if (!askToSaveChanges()) {
        setFileChanged(0);
        return;
    }
    SavePage();
}

bool DiarySession::askToSaveChanges()
{
    return yes(m_dialogs, QStringLiteral("File has been changed. Do you want to save the file?"), QStringLiteral("Save File?"));
}

// The page stays marked as changed until it is really stored, so a failed
// or refused save never drops it.
void DiarySession::SavePage()
{
    const BusyCursor busy;
    QByteArray rtf;
    switch (storeDocument(m_page, rtf)) {
    case Stored::Yes:
        setFileChanged(0);
        break;
    case Stored::NoText:
        emit pageWantsFocus();
        break;
    case Stored::Refused:
    case Stored::Failed:
        break;
    }
}

// The page's own changed flag is left alone: it may still hold unsaved typing.
DiarySession::Stored DiarySession::savePrintCopy(const QTextDocument &copy)
{
    const BusyCursor busy;
    QByteArray rtf;
    const Stored stored = storeDocument(copy, rtf);
    if (stored == Stored::Yes) {
        (void)richtext::loadBytes(rtf, m_page); // no larger than the copy just stored
        emit pageReplaced();
    }
    return stored;
}

// `rtf` gets what was written, so a caller showing it need not write the page again.
DiarySession::Stored DiarySession::storeDocument(const QTextDocument &document, QByteArray &rtf)
{
    if (!richtext::hasContent(document)) {
        m_dialogs.message(QStringLiteral("Error...No text to save! Enter text first, then save the file."), QStringLiteral("File Not Saved"),
                          Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return Stored::NoText;
    }
    // A page the window would not open again is not stored.
    if (document.characterCount() > richtext::limits::kPageCharacters) {
        error(QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!"),
              QStringLiteral("The page holds %1.").arg(richtext::tooMuchText()));
        return Stored::Failed;
    }
    const QString key = m_dayKey;
    if (pagestore::exists(dataRoot(), key)
        && !yes(m_dialogs, QStringLiteral("File already exists. Overwrite File?"), QStringLiteral("Overwrite File?")))
        return Stored::Refused;
    rtf = richtext::writeRtf(document);
    return storePage(key, rtf) ? Stored::Yes : Stored::Failed;
}

bool DiarySession::storePage(const QString &key, const QByteArray &rtf)
{
    m_texts.forget(key + kFileSuffix);
    if (rtf.size() > pagestore::kLargestPageText) {
        error(QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!"));
        return false;
    }
    if (!changeKeepingVersion(QStringLiteral("The page was not saved: its earlier version could not be kept. Save anyway?"),
                              QStringLiteral("An error has occured! The file was not saved!"),
                              [&](history::Unkept unkept) { return pagestore::save(dataRoot(), key, rtf, unkept); }))
        return false;
    rereadPages();
    showSavedPage(key);
    return true;
}

// The saved page is the open one: its number and name show without reloading it.
void DiarySession::showSavedPage(const QString &key)
{
    const qsizetype index = m_pages.entries().indexOf(key + kFileSuffix);
    if (index < 0)
        return;
    setPageNumber(int(index + 1));
    setOpenPageName(key + kFileSuffix);
}

// Only a page really deleted counts as unchanged: a refused delete keeps what was typed.
void DiarySession::DeletePage()
{
    const BusyCursor busy;
    const QString key = m_dayKey;
    if (!pagestore::exists(dataRoot(), key)) {
        m_dialogs.message(QStringLiteral("Error...File not found. Open file that you wish to delete and then press ''Delete''."),
                          QStringLiteral("File Not Found"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    if (!yes(m_dialogs, QStringLiteral("Are you sure you want to delete the file? This can not be undone!"), QStringLiteral("Delete File?"),
             Dialogs::Button::No))
        return;
    m_texts.forget(key + kFileSuffix);
    if (!changeKeepingVersion(QStringLiteral("The page was not deleted: it could not be kept among the earlier versions. Delete anyway?"),
                              QStringLiteral("An error has occured! The file was not deleted!"),
                              [&](history::Unkept unkept) { return pagestore::remove(dataRoot(), key, unkept); }))
        return;
    setFileChanged(0);
    rereadPages();
    setPageNumber(0);
    setOpenPageName(QString());
    clearPage();
    if (leaveNote())
        clearNote();
}

QList<history::Version> DiarySession::pageVersions() const
{
    return history::versions(dataRoot(), dataRoot().pagePath(m_dayKey));
}

bool DiarySession::restorePageVersion(const QString &id)
{
    AskToSavePage();
    // A save refused or failed keeps the typing, which the restore must not drop.
    if (m_filechanged == 1)
        return false;
    const BusyCursor busy;
    const QString key = m_dayKey;
    m_texts.forget(key + kFileSuffix);
    if (const Outcome restored = history::restore(dataRoot(), dataRoot().pagePath(key), id); !restored) {
        error(QStringLiteral("An error has occured! The file was not saved!"), restored.error());
        return false;
    }
    if (!richtext::loadBytes(pagestore::load(dataRoot(), key).value_or(QByteArray()), m_page))
        error(QStringLiteral("An error has occured! The file was not opened!"), QStringLiteral("The page holds %1.").arg(richtext::tooMuchText()));
    emit pageReplaced();
    rereadPages();
    showSavedPage(key);
    return true;
}

// A new month marks in bold its days that have a yearly note.
void DiarySession::setMonth(const QString &month)
{
    if (month == m_month)
        return;
    m_month = month;
    markNoteDays();
}

void DiarySession::markNoteDays()
{
    for (const QString &name : m_notes.entries()) {
        if (name.section(QLatin1Char('-'), 0, 0) != m_month || !name.endsWith(kFileSuffix))
            continue;
        const auto monthDay = daykeys::monthDayFromNoteKey(name.chopped(kFileSuffix.size()));
        const QDate day = monthDay ? QDate(m_day.year(), monthDay->month, monthDay->day) : QDate();
        if (day.isValid())
            emit noteDayMarked(day, true);
    }
}

