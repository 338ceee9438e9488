#include "daybook.h"

#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/rtflimits.h"
#include "richtext/pageexport.h"
#include "richtext/rtfwriter.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "sessionstate.h"
#include "yearnotes.h"

namespace {

bool yes(Dialogs &dialogs, const QString &text, const QString &title, Dialogs::Button defaultButton = Dialogs::Button::Yes)
{
    return dialogs.message(text, title, Dialogs::Icon::Question, Dialogs::Buttons::YesNo, defaultButton) == Dialogs::Button::Yes;
}

} // namespace

void DayBook::AskToSavePage()
{
    if (m_filechanged != 1)
        return;
    if (!askToSaveChanges()) {
        setFileChanged(0);
        return;
    }
    SavePage();
}

bool DayBook::askToSaveChanges()
{
    return yes(m_state.dialogs, QStringLiteral("File has been changed. Do you want to save the file?"), QStringLiteral("Save File?"));
}

// The page stays marked as changed until it is really stored, so a failed
// or refused save never drops it.
void DayBook::SavePage()
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
DayBook::Stored DayBook::savePrintCopy(const QTextDocument &copy)
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
DayBook::Stored DayBook::storeDocument(const QTextDocument &document, QByteArray &rtf)
{
    if (!richtext::hasContent(document)) {
        m_state.dialogs.message(QStringLiteral("Error...No text to save! Enter text first, then save the file."), QStringLiteral("File Not Saved"),
                          Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return Stored::NoText;
    }
    // A page the window would not open again is not stored.
    if (document.characterCount() > richtext::limits::kPageCharacters) {
        m_state.error(QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!"),
              QStringLiteral("The page holds %1.").arg(richtext::tooMuchText()));
        return Stored::Failed;
    }
    const QDate day = m_day;
    if (pagestore::exists(m_state.dataRoot(), day)
        && !yes(m_state.dialogs, QStringLiteral("File already exists. Overwrite File?"), QStringLiteral("Overwrite File?")))
        return Stored::Refused;
    rtf = richtext::writeRtf(document);
    return storePage(day, rtf) ? Stored::Yes : Stored::Failed;
}

bool DayBook::storePage(QDate day, const QByteArray &rtf)
{
    m_state.texts.forget(daykeys::pageFileName(day));
    if (rtf.size() > pagestore::kLargestPageText) {
        m_state.error(QStringLiteral("An error has occured! The amount of the data is too large! The file was not saved!"));
        return false;
    }
    if (!m_state.changeKeepingVersion(QStringLiteral("The page was not saved: its earlier version could not be kept. Save anyway?"),
                              QStringLiteral("An error has occured! The file was not saved!"),
                              [&](history::Unkept unkept) { return pagestore::save(m_state.dataRoot(), day, rtf, unkept); }))
        return false;
    rereadPages();
    showSavedPage(day);
    return true;
}

// The saved page is the open one: its number and name show without reloading it.
void DayBook::showSavedPage(QDate day)
{
    const int number = pageNumberOf(day);
    if (number == 0)
        return;
    setPageNumber(number);
    setOpenPageName(daykeys::pageFileName(day));
}

// Only a page really deleted counts as unchanged: a refused delete keeps what was typed.
void DayBook::DeletePage()
{
    const BusyCursor busy;
    const QDate day = m_day;
    if (!pagestore::exists(m_state.dataRoot(), day)) {
        m_state.dialogs.message(QStringLiteral("Error...File not found. Open file that you wish to delete and then press ''Delete''."),
                          QStringLiteral("File Not Found"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
        return;
    }
    if (!yes(m_state.dialogs, QStringLiteral("Are you sure you want to delete the file? This can not be undone!"), QStringLiteral("Delete File?"),
             Dialogs::Button::No))
        return;
    m_state.texts.forget(daykeys::pageFileName(day));
    if (!m_state.changeKeepingVersion(QStringLiteral("The page was not deleted: it could not be kept among the earlier versions. Delete anyway?"),
                              QStringLiteral("An error has occured! The file was not deleted!"),
                              [&](history::Unkept unkept) { return pagestore::remove(m_state.dataRoot(), day, unkept); }))
        return;
    setFileChanged(0);
    rereadPages();
    setPageNumber(0);
    setOpenPageName(QString());
    clearPage();
    if (m_notes.leaveNote())
        m_notes.clear();
}

QList<history::Version> DayBook::pageVersions() const
{
    return history::versions(m_state.dataRoot(), m_state.dataRoot().pagePath(m_day));
}

bool DayBook::restorePageVersion(const QString &id)
{
    AskToSavePage();
    // A save refused or failed keeps the typing, which the restore must not drop.
    if (m_filechanged == 1)
        return false;
    const BusyCursor busy;
    const QDate day = m_day;
    m_state.texts.forget(daykeys::pageFileName(day));
    if (const Outcome restored = history::restore(m_state.dataRoot(), m_state.dataRoot().pagePath(day), id); !restored) {
        m_state.error(QStringLiteral("An error has occured! The file was not saved!"), restored.error());
        return false;
    }
    if (!richtext::loadBytes(pagestore::load(m_state.dataRoot(), day).value_or(QByteArray()), m_page))
        m_state.error(QStringLiteral("An error has occured! The file was not opened!"), QStringLiteral("The page holds %1.").arg(richtext::tooMuchText()));
    emit pageReplaced();
    rereadPages();
    showSavedPage(day);
    return true;
}
