#include "daybook.h"


#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/rtflimits.h"
#include "richtext/pageexport.h"
#include "richtext/rtfwriter.h"
#include "seams/busycursor.h"
#include "seams/dialogs.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "yearnotes.h"

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
    return messages::agreed(m_state.dialogs, messages::savePage());
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
        messages::tell(m_state.dialogs, messages::noTextToSave());
        return Stored::NoText;
    }
    // A page the window would not open again is not stored.
    if (document.characterCount() > richtext::limits::kPageCharacters) {
        messages::tell(m_state.dialogs, messages::pageTooLarge(QStringLiteral("The page holds %1.").arg(richtext::tooMuchText())));
        return Stored::Failed;
    }
    const QDate day = m_day;
    if (pagestore::exists(m_state.dataRoot(), day)
        && !messages::agreed(m_state.dialogs, messages::overwritePage()))
        return Stored::Refused;
    QByteArray written = richtext::writeRtf(document);
    auto kept = withArrived(day, written);
    if (!kept)
        return Stored::Refused;
    // What was typed is let go before a merge of it is stored, so a large page is not held three times over.
    const bool merged = *kept != written;
    written = QByteArray();
    rtf = std::move(*kept);
    if (!storePage(day, rtf))
        return Stored::Failed;
    if (merged && richtext::loadBytes(rtf, m_page))
        emit pageReplaced();
    return Stored::Yes;
}

bool DayBook::storePage(QDate day, const QByteArray &rtf)
{
    m_state.texts.forget(daykeys::pageFileName(day));
    if (rtf.size() > pagestore::kLargestPageText) {
        messages::tell(m_state.dialogs, messages::pageTooLarge());
        return false;
    }
    if (!m_state.changeKeepingVersion(messages::pageVersionNotKept(), messages::pageNotSaved,
                              [&](history::Unkept unkept) { return pagestore::save(m_state.dataRoot(), day, rtf, unkept, &m_openedFrom); }))
        return false;
    m_openedText = fingerprint(pagestore::load(m_state.dataRoot(), day));
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
        messages::tell(m_state.dialogs, messages::pageNotFound());
        return;
    }
    if (!messages::agreed(m_state.dialogs, messages::deletePage()))
        return;
    m_state.texts.forget(daykeys::pageFileName(day));
    if (!m_state.changeKeepingVersion(messages::pageDeletionNotKept(), messages::pageNotDeleted,
                              [&](history::Unkept unkept) { return pagestore::remove(m_state.dataRoot(), day, unkept); }))
        return;
    setFileChanged(0);
    m_openedFrom.clear();
    m_openedText.clear();
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
        messages::tell(m_state.dialogs, messages::pageNotSaved(restored.error()));
        return false;
    }
    const auto restored = pagestore::loadFile(m_state.dataRoot(), m_state.dataRoot().pagePath(day), {}, &m_openedFrom);
    m_openedText = fingerprint(restored);
    if (!richtext::loadBytes(restored.value_or(QByteArray()), m_page))
        messages::tell(m_state.dialogs, messages::pageNotOpened(QStringLiteral("The page holds %1.").arg(richtext::tooMuchText())));
    emit pageReplaced();
    rereadPages();
    showSavedPage(day);
    return true;
}
