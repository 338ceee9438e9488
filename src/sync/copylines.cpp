#include "copylines.h"

#include "pageparagraphs.h"

#include "diary/history.h"

#include <QFileInfo>

namespace copylines {

// Found copies are named after a real day or note day, so their original's name always reads back.
std::optional<copymerge::Lines> of(const DataRoot &root, const conflictcopies::Found &copy)
{
    if (!copy.opens || copy.kind == conflictcopies::Kind::PasswordFile)
        return std::nullopt;
    const QString name = QFileInfo(copy.original).fileName();
    if (copy.kind == conflictcopies::Kind::Page)
        return pageparagraphs::pageLines(root, *daykeys::dateFromFileName(name));
    return copymerge::noteLines(root, *daykeys::monthDayFromNoteKey(daykeys::keyFromFileName(name)));
}

// Each file's versions are pruned once at the end, not after every copy set aside, which made many copies quadratic.
QList<conflictcopies::Found> mergeAll(const DataRoot &root, const QList<conflictcopies::Found> &copies)
{
    const history::PruneLater pruneOnce;
    QList<conflictcopies::Found> merged;
    for (const conflictcopies::Found &copy : copies) {
        const auto lines = of(root, copy);
        if (lines && copymerge::resolve(root, copy, *lines) == copymerge::Result::Merged)
            merged << copy;
    }
    return merged;
}

} // namespace copylines
