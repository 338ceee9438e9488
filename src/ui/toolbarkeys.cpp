#include "toolbarkeys.h"

#include <QAction>
#include <QToolBar>

void addToolbarKeys(QToolBar &bar, const QList<ToolbarKey> &keys)
{
    for (const ToolbarKey &entry : keys) {
        if (!entry.action) {
            bar.addSeparator();
            continue;
        }
        const QString spoken = entry.toolTip.isEmpty() ? entry.key : entry.toolTip;
        entry.action->setToolTip(spoken);
        // A menu item keeps its menu's look: the picture is for the button.
        entry.action->setIconVisibleInMenu(false);
        bar.addAction(entry.action);
        QWidget *button = bar.widgetForAction(entry.action);
        button->setObjectName(entry.key);
        button->setAccessibleName(spoken);
    }
}
