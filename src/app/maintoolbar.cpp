#include "maintoolbar.h"

#include "app/mainmenus.h"
#include "format/toolbaricons.h"
#include "ui/toolbarkeys.h"

#include <QAction>
#include <QToolBar>

void maintoolbar::fill(QToolBar &bar, const MainMenus &menus, RichTextEdit &page, formatting::ColorChooser &colors, QObject *owner)
{
    const auto key = [](const char *name, QAction *action) {
        action->setIcon(toolbarIcon(QString::fromLatin1(name)));
        return ToolbarKey{QString::fromLatin1(name), action, {}};
    };
    const auto formats = formatting::formattingActions(page, colors, owner);
    const auto format = [&](const char *name) { return ToolbarKey{QString::fromLatin1(name), formats.at(QString::fromLatin1(name)), {}}; };
    bar.setIconSize(QSize(kIconSize, kIconSize));
    addToolbarKeys(bar, {key("New", menus.m15), key("Open", menus.openPanel), key("Save", menus.m2), key("Search", menus.m5),
                         key("Picture", menus.m16), key("Print", menus.m17), {}, key("Delete", menus.m4), {}, format("Bold"),
                         format("Italic"), format("Underline"), {}, format("Align Left"), format("Align Center"),
                         format("Align Right"), {}, format("Color"), {}, key("Help", menus.m14)});
}
