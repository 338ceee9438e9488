#pragma once

#include <QList>
#include <QString>

class QAction;
class QToolBar;

// One button of a toolbar: the action it triggers, under the key that names
// it. A null action is a separator. The button's tool tip and spoken name are
// `toolTip`, or the key when that is empty.
struct ToolbarKey
{
    QString key;
    QAction *action = nullptr;
    QString toolTip = {};
};

// Every window builds its toolbar this way, so menus and buttons share their actions.
void addToolbarKeys(QToolBar &bar, const QList<ToolbarKey> &keys);
