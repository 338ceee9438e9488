#include "daybook.h"

#include "diary/pagestore.h"
#include "pagecompare.h"
#include "richtext/pagecontent.h"
#include "seams/busycursor.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "sync/copylines.h"
#include "sync/pageparagraphs.h"
#include "syncedcopies.h"
#include "yearnotes.h"

#include <QCryptographicHash>
#include <QFileInfo>

namespace {

const QString kChoose = QStringLiteral(" Choose what to keep: what you do not keep goes to the page's history.");

} // namespace

// A hash rather than the text, so nothing of a sealed page stays in memory for it.
QByteArray DayBook::fingerprint(const std::optional<QByteArray> &rtf)
{
    return rtf ? QCryptographicHash::hash(*rtf, QCryptographicHash::Sha256) : QByteArray();
}

// Another computer's version may have arrived since the page was opened: a
// save merges with it, or lets the user choose, and never overwrites it unseen.
std::optional<QByteArray> DayBook::withArrived(QDate day, const QByteArray &rtf)
{
    // The lines read through the root, so it must outlive them.
    const DataRoot root = m_state.dataRoot();
    QString arrivedFrom;
    auto arrived = pagestore::loadFile(root, root.pagePath(day), {}, &arrivedFrom);
    if (!arrived || arrivedFrom == m_openedFrom || fingerprint(arrived) == m_openedText)
        return rtf;
    const auto pool = std::make_shared<pageparagraphs::Pool>();
    const auto ours = pageparagraphs::split(rtf, pool.get());
    const auto theirs = pageparagraphs::split(*arrived, pool.get());
    if (ours && theirs) {
        // Read again should the merge ask: a page of megabytes is not held through the merge.
        arrived.reset();
        if (const auto both = copymerge::merge(root, root.pagePath(day), pageparagraphs::pageLines(root, day, pool),
                                               {*ours, m_openedFrom, false}, {*theirs, arrivedFrom})) {
            if (*both == *ours)
                return rtf;
            messages::tell(m_state.dialogs, messages::pageMergedOnSave());
            return pageparagraphs::join(*both);
        }
        arrived = pagestore::loadFile(root, root.pagePath(day));
    }
    return arrived ? chosenOverArrived(day, rtf, *arrived) : rtf;
}

std::optional<QByteArray> DayBook::chosenOverArrived(QDate day, const QByteArray &rtf, const QByteArray &arrived)
{
    const QString when = QFileInfo(m_state.dataRoot().pagePath(day)).lastModified().toString(QStringLiteral("yyyy-MM-dd HH:mm:ss"));
    const QString told = QStringLiteral("saved there %1").arg(when);
    const auto keep = pagecompare::ask(m_state.dialogs, messages::pageChangedElsewhere(told) + kChoose, rtf, arrived,
                                       QStringLiteral("On the other computer"));
    if (!keep)
        return std::nullopt;
    if (keep == copymerge::Keep::This)
        return rtf;
    if (keep == copymerge::Keep::Both) {
        const DataRoot root = m_state.dataRoot();
        return pageparagraphs::join(copymerge::bothKept(pageparagraphs::split(rtf).value_or(QStringList()),
                                                        pageparagraphs::split(arrived).value_or(QStringList()),
                                                        pageparagraphs::pageLines(root, day),
                                                        QStringLiteral("From the other computer (%1):").arg(told)));
    }
    // This computer's version goes to the history before the other's takes its place.
    if (!storePage(day, rtf))
        return std::nullopt;
    return arrived;
}

std::optional<conflictcopies::Found> DayBook::pageCopy() const
{
    const QString original = daykeys::pageFileName(m_day);
    for (const conflictcopies::Found &copy : m_copies) {
        if (copy.kind == conflictcopies::Kind::Page && copy.opens && QFileInfo(copy.original).fileName() == original)
            return copy;
    }
    return std::nullopt;
}

// Unsaved typing is dealt with first, so the page compared is the one stored.
void DayBook::settlePageCopy()
{
    AskToSavePage();
    const auto copy = pageCopy();
    if (m_filechanged == 1 || !copy)
        return;
    const DataRoot root = m_state.dataRoot();
    const auto ours = pagestore::load(root, m_day);
    const auto theirs = pagestore::loadFile(root, root.path() + u'/' + copy->copy, root.pagePath(m_day));
    if (!ours || !theirs)
        return;
    const QString told = conflictnames::describe(copy->name);
    const auto keep = pagecompare::ask(m_state.dialogs, messages::pageChangedElsewhere(told) + kChoose, *ours, *theirs,
                                       copymerge::otherCaption(copy->name));
    if (!keep)
        return;
    const BusyCursor busy;
    m_state.texts.forget(daykeys::pageFileName(m_day));
    if (const Outcome settled = copymerge::settle(root, *copy, pageparagraphs::pageLines(root, m_day), *keep,
                                                  copymerge::otherHeading(copy->name));
        !settled)
        messages::tell(m_state.dialogs, messages::pageNotSaved(settled.error()));
    reopenSelectedDay();
}

std::optional<conflictcopies::Found> DayBook::noteCopy() const
{
    if (!m_day.isValid())
        return std::nullopt;
    const QString original = daykeys::noteFileName(daykeys::monthDay(m_day));
    for (const conflictcopies::Found &copy : m_copies) {
        if (copy.kind == conflictcopies::Kind::Note && copy.opens && QFileInfo(copy.original).fileName() == original)
            return copy;
    }
    return std::nullopt;
}

// As a page's copy is settled, line by line; the note's typing is offered first.
void DayBook::settleNoteCopy()
{
    const auto copy = noteCopy();
    if (!copy || !m_notes.leaveNote())
        return;
    const DataRoot root = m_state.dataRoot();
    const auto lines = copylines::of(root, *copy);
    const auto ours = lines ? lines->read(root.path() + u'/' + copy->original) : std::nullopt;
    const auto theirs = lines ? lines->read(root.path() + u'/' + copy->copy) : std::nullopt;
    if (!ours || !theirs)
        return;
    const QString told = conflictnames::describe(copy->name);
    const QString choose = QStringLiteral(" Choose what to keep: what you do not keep goes to the note's history.");
    const auto keep = pagecompare::askLines(m_state.dialogs, messages::noteChangedElsewhere(told) + choose, *ours, *theirs,
                                            copymerge::otherCaption(copy->name));
    if (!keep)
        return;
    const BusyCursor busy;
    if (const Outcome settled = copymerge::settle(root, *copy, *lines, *keep, copymerge::otherHeading(copy->name)); !settled)
        messages::tell(m_state.dialogs, messages::noteNotSaved(settled.error()));
    rereadPages();
    m_notes.rereadNotes();
    m_notes.reload();
}

QList<QDate> DayBook::waitingDays() const
{
    QList<QDate> days;
    for (const conflictcopies::Found &copy : m_copies) {
        if (!syncedcopies::waitsForUser(copy))
            continue;
        const QString name = QFileInfo(copy.original).fileName();
        if (copy.kind == conflictcopies::Kind::Page) {
            days << daykeys::dateFromFileName(name).value_or(QDate());
        } else if (const auto monthDay = daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name))) {
            days << QDate(m_day.year(), monthDay->month, monthDay->day);
        }
    }
    days.removeAll(QDate());
    return days;
}

void DayBook::followArrived()
{
    // What merges with no question is merged as at sign-in, without a box in the middle of the typing: a page it
    // changes is then as any page another computer replaced.
    const DataRoot root = m_state.dataRoot();
    m_copies = conflictcopies::find(root);
    if (!copylines::mergeAll(root, m_copies).isEmpty())
        m_copies = conflictcopies::find(root);
    m_pages.refresh();
    emit pagesChanged();
    // Search left nothing open, and shows the selected day again as stored when it closes.
    if (m_leftForSearch)
        return;
    QString storedFrom;
    const auto stored = m_filechanged == 1 ? std::nullopt : pagestore::loadFile(root, root.pagePath(m_day), {}, &storedFrom);
    if (m_filechanged != 1 && storedFrom != m_openedFrom && fingerprint(stored) != m_openedText) {
        showPage(pageNumberOf(m_day));
        emit pageArrived();
    }
    m_notes.followArrived();
}
