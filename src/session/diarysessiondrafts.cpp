#include "diarysession.h"

#include "diary/daykeys.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "seams/clock.h"
#include "seams/dialogs.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

const QString kNotClosed = QStringLiteral("Quillnest did not close properly last time. ");

QString pageFound(const drafts::Draft &draft, QDate day)
{
    const QString what = draft.kind == drafts::Kind::PrintCopy ? QStringLiteral("An unsaved copy of the page for %1 from the print window")
                                                               : QStringLiteral("An unsaved page for %1");
    return kNotClosed + what.arg(day.toString(QStringLiteral("d MMMM yyyy")))
         + QStringLiteral(" was kept. Do you want to bring it back? If you choose No, it is kept in the page's history.");
}

QString noteFound(daykeys::MonthDay monthDay)
{
    return kNotClosed + QStringLiteral("An unsaved note for %1 was kept. Do you want to bring it back? If you choose No, it is kept in the history.")
                            .arg(QDate(2000, monthDay.month, monthDay.day).toString(QStringLiteral("MMMM d")));
}

// This year's day of a yearly note, or the last year that has it (29 February).
QDate dayOfNote(daykeys::MonthDay monthDay, int year)
{
    while (!QDate(year, monthDay.month, monthDay.day).isValid())
        --year;
    return QDate(year, monthDay.month, monthDay.day);
}

} // namespace

void DiarySession::markChanged()
{
    setFileChanged(1);
}

void DiarySession::noteTyped()
{
    m_noteDraft.touched();
}

void DiarySession::setFileChanged(int changed)
{
    m_filechanged = changed;
    changed == 1 ? m_pageDraft.touched() : m_pageDraft.settled();
}

void DiarySession::setDraftDelay(std::chrono::milliseconds delay)
{
    m_draftDelay = delay;
    m_pageDraft.setDelay(delay);
    m_noteDraft.setDelay(delay);
}

DraftKeeper *DiarySession::draftKeeper(drafts::Kind kind, DraftKeeper::Snapshot snapshot, QObject *parent)
{
    auto *keeper = new DraftKeeper(m_draftWriter, kind, std::move(snapshot), m_draftDelay, parent);
    keeper->setRoot(dataRoot());
    keeper->setGuard([this] { return diaryFolderHere(); });
    m_windowKeepers.removeAll(nullptr);
    m_windowKeepers.append(keeper);
    return keeper;
}

// A diary folder deleted while the window is open is said once, and drafts
// wait for it: writing one would make an empty diary in its place.
bool DiarySession::diaryFolderHere()
{
    const bool here = QFileInfo(m_root).isDir();
    const bool newlyGone = !here && !m_toldFolderGone;
    // Set before the message, whose event loop may run another draft's timer.
    m_toldFolderGone = !here;
    if (newlyGone)
        m_dialogs.message(QStringLiteral("The diary folder %1 is gone. Nothing can be saved until it is back.").arg(QDir::toNativeSeparators(m_root)),
                          QStringLiteral("Diary Folder Gone"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
    return here;
}

void DiarySession::flushDrafts()
{
    m_pageDraft.flush();
    m_noteDraft.flush();
    for (DraftKeeper *keeper : std::as_const(m_windowKeepers)) {
        if (keeper)
            keeper->flush();
    }
    m_draftWriter->waitForDone();
}

void DiarySession::endDrafts()
{
    emit ending();
    letNoteGo();
    m_draftWriter->waitForDone();
}

// Drafts left behind mean the program was killed, or the machine stopped:
// each is offered back once; one not wanted is kept in the history.
void DiarySession::offerDrafts()
{
    bool pageBroughtBack = false;
    for (const drafts::Draft &draft : drafts::found(dataRoot())) {
        if (draft.kind == drafts::Kind::Note)
            offerNote(draft, pageBroughtBack);
        else if (pageBroughtBack)
            drafts::setAside(dataRoot(), draft);
        else
            pageBroughtBack = bringBackPage(draft);
    }
}

bool DiarySession::bringBackPage(const drafts::Draft &draft)
{
    const auto read = pagestore::loadFile(dataRoot(), draft.path, drafts::storedFile(dataRoot(), draft));
    if (!read) {
        setAsideUnopened(draft);
        return false;
    }
    const QByteArray rtf = *read;
    QTextDocument kept;
    // Nor is one too large to show: the typing is still in it.
    if (!richtext::loadBytes(rtf, kept))
        return false;
    if (!richtext::hasContent(kept)) {
        QFile::remove(draft.path);
        return false;
    }
    const QDate day = daykeys::dateFromDayKey(draft.key).value_or(m_day);
    if (m_dialogs.message(pageFound(draft, day), QStringLiteral("Unsaved Page Found"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
        != Dialogs::Button::Yes) {
        drafts::setAside(dataRoot(), draft);
        return false;
    }
    chooseDay(day);
    (void)richtext::loadBytes(rtf, m_page); // the same bytes opened above
    emit pageReplaced();
    setFileChanged(1);
    m_pageDraft.takeOver(draft);
    return true;
}

// With a page brought back, the note of another day would need the page left first: it waits in the history.
void DiarySession::offerNote(const drafts::Draft &draft, bool pageBroughtBack)
{
    const auto read = notestore::loadFile(dataRoot(), draft.path, drafts::storedFile(dataRoot(), draft));
    if (!read) {
        setAsideUnopened(draft);
        return;
    }
    const QByteArray bytes = *read;
    if (notestore::decodeNote(bytes).trimmed().isEmpty()) {
        QFile::remove(draft.path);
        return;
    }
    const auto monthDay = daykeys::monthDayFromNoteKey(draft.key);
    if (!monthDay || (pageBroughtBack && draft.key != m_noteKey)
        || m_dialogs.message(noteFound(*monthDay), QStringLiteral("Unsaved Note Found"), Dialogs::Icon::Question, Dialogs::Buttons::YesNo)
               != Dialogs::Button::Yes) {
        drafts::setAside(dataRoot(), draft);
        return;
    }
    if (draft.key != m_noteKey)
        chooseDay(dayOfNote(*monthDay, m_clock.today().year()));
    (void)richtext::loadBytes(bytes, m_note); // a note file is far below a page's limit
    emit noteReplaced();
    m_noteDraft.takeOver(draft);
}

// A sealed draft that does not open is damaged or was put there from another
// diary: it is said, and kept in the history rather than asked about again at
// every start. A plain diary's draft that cannot be read stays where it is.
void DiarySession::setAsideUnopened(const drafts::Draft &draft)
{
    if (!dataRoot().vault())
        return;
    drafts::setAside(dataRoot(), draft);
    const QString what = draft.kind == drafts::Kind::Note ? QStringLiteral("note") : QStringLiteral("page");
    m_dialogs.message(QStringLiteral("The unsaved %1 kept in %2 does not open: it is damaged or is not this diary's. It has been "
                                     "moved into the %1's history.").arg(what, dataRoot().relativeName(draft.path)),
                      QStringLiteral("Unsaved Work does not open"), Dialogs::Icon::Critical, Dialogs::Buttons::Ok);
}
