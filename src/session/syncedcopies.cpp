#include "syncedcopies.h"

#include "diary/dataroot.h"
#include "seams/busycursor.h"
#include "seams/messages.h"
#include "sync/copylines.h"

#include <QFileInfo>

namespace syncedcopies {

namespace {

QString nameOf(const conflictcopies::Found &copy)
{
    const QString name = QFileInfo(copy.original).completeBaseName();
    return copy.kind == conflictcopies::Kind::Page ? name : QStringLiteral("the yearly note of %1").arg(name);
}

} // namespace

void explainPasswordCopies(const DataRoot &root, Dialogs &dialogs)
{
    for (const conflictcopies::Found &copy : conflictcopies::passwordFileCopies(root))
        messages::tell(dialogs, messages::passwordFileCopy(copy.copy, conflictnames::describe(copy.name)));
}

QList<conflictcopies::Found> mergeArrived(const DataRoot &root, Dialogs &dialogs)
{
    QStringList merged, waiting;
    QList<conflictcopies::Found> left;
    {
        const BusyCursor busy;
        const QList<conflictcopies::Found> found = conflictcopies::find(root);
        QStringList mergedCopies;
        for (const conflictcopies::Found &copy : copylines::mergeAll(root, found)) {
            merged << nameOf(copy);
            mergedCopies << copy.copy;
        }
        for (const conflictcopies::Found &copy : found) {
            if (mergedCopies.contains(copy.copy))
                continue;
            left << copy;
            if (waitsForUser(copy))
                waiting << nameOf(copy);
        }
    }
    waiting.removeDuplicates();
    if (!merged.isEmpty())
        messages::tell(dialogs, messages::copiesMerged(merged));
    if (!waiting.isEmpty())
        messages::tell(dialogs, messages::copiesWaiting(waiting));
    return left;
}

bool waitsForUser(const conflictcopies::Found &copy)
{
    return copy.opens && copy.kind != conflictcopies::Kind::PasswordFile;
}

} // namespace syncedcopies
