#include "syncedcopies.h"

#include "diary/dataroot.h"
#include "diary/history.h"
#include "seams/busycursor.h"
#include "seams/messages.h"
#include "sync/copylines.h"

#include <QFileInfo>

namespace syncedcopies {

void explainPasswordCopies(const DataRoot &root, Dialogs &dialogs)
{
    for (const conflictcopies::Found &copy : conflictcopies::passwordFileCopies(root))
        messages::tell(dialogs, messages::passwordFileCopy(copy.copy, conflictnames::describe(copy.name)));
}

void mergeArrived(const DataRoot &root, Dialogs &dialogs)
{
    QStringList merged;
    {
        const BusyCursor busy;
        const history::PruneLater pruneOnce;
        for (const conflictcopies::Found &copy : copylines::mergeAll(root, conflictcopies::find(root))) {
            const QString name = QFileInfo(copy.original).completeBaseName();
            merged << (copy.kind == conflictcopies::Kind::Page ? name : QStringLiteral("the yearly note of %1").arg(name));
        }
    }
    if (!merged.isEmpty())
        messages::tell(dialogs, messages::copiesMerged(merged));
}

} // namespace syncedcopies
