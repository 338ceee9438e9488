#include "daybook.h"

#include "diary/pagestore.h"
#include "pagecompare.h"
#include "richtext/pagecontent.h"
#include "seams/busycursor.h"
#include "seams/messages.h"
#include "sessionstate.h"
#include "sync/pageparagraphs.h"

#include <QFileInfo>

namespace {

const QString kChoose = QStringLiteral(" Choose what to keep: what you do not keep goes to the page's history.");

} // namespace

// Another computer's version may have arrived since the page was opened: a
// save merges with it, or lets the user choose, and never overwrites it unseen.
std::optional<QByteArray> DayBook::withArrived(QDate day, const QByteArray &rtf)
{
    // The lines read through the root, so it must outlive them.
    const DataRoot root = m_state.dataRoot();
    QString arrivedFrom;
    const auto arrived = pagestore::loadFile(root, root.pagePath(day), {}, &arrivedFrom);
    if (!arrived || arrivedFrom == m_openedFrom)
        return rtf;
    const auto ours = pageparagraphs::split(rtf);
    const auto theirs = pageparagraphs::split(*arrived);
    if (ours && theirs) {
        if (const auto both = copymerge::merge(root, root.pagePath(day), pageparagraphs::pageLines(root, day),
                                               {*ours, m_openedFrom, false}, {*theirs, arrivedFrom})) {
            if (*both == *ours)
                return rtf;
            messages::tell(m_state.dialogs, messages::pageMergedOnSave());
            return pageparagraphs::join(*both);
        }
    }
    return chosenOverArrived(day, rtf, *arrived);
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
                                       (copymerge::fromOtherComputer(copy->name) ? QStringLiteral("On the other computer (%1)")
                                                                                 : QStringLiteral("The other version (%1)"))
                                           .arg(told));
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
