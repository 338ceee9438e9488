#include "mainmenus.h"

#include <QMainWindow>
#include <QMenuBar>

namespace {

QAction *item(QMenu *menu, const char *name, const QString &caption, const QKeySequence &shortcut = {})
{
    QAction *action = menu->addAction(caption);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    // Window-wide, so the keys act even while an editor has the focus.
    action->setShortcutContext(Qt::WindowShortcut);
    return action;
}

QAction *windowKey(QWidget *window, const char *name, const QString &caption, const QKeySequence &shortcut)
{
    auto *action = new QAction(caption, window);
    action->setObjectName(QString::fromLatin1(name));
    action->setShortcut(shortcut);
    action->setShortcutContext(Qt::WindowShortcut);
    window->addAction(action);
    return action;
}

QAction *separator(QMenu *menu, const char *name)
{
    QAction *action = menu->addSeparator();
    action->setObjectName(QString::fromLatin1(name));
    return action;
}

QMenu *menu(QMenuBar *bar, const char *name, const QString &caption)
{
    QMenu *menu = bar->addMenu(caption);
    menu->setObjectName(QString::fromLatin1(name));
    return menu;
}

} // namespace

QList<QKeySequence> MainMenus::shortcuts() const
{
    QList<QKeySequence> keys;
    for (const QMenu *menu : menus()) {
        for (const QAction *action : menu->actions()) {
            if (!action->shortcut().isEmpty())
                keys.append(action->shortcut());
        }
    }
    return keys;
}

// The whole keyboard map of the main window is here, but for Ctrl+B, Ctrl+I
// and Ctrl+U, which the toolbar's formatting actions bring for the page editor.
MainMenus::MainMenus(QMainWindow &window)
{
    QMenuBar *bar = window.menuBar();
    m1 = menu(bar, "m1", QStringLiteral("&File"));
    m15 = item(m1, "m15", QStringLiteral("New File"), QKeySequence(Qt::CTRL | Qt::Key_N));
    m3 = item(m1, "m3", QStringLiteral("Open File"), QKeySequence(Qt::CTRL | Qt::Key_O));
    m2 = item(m1, "m2", QStringLiteral("Save File"), QKeySequence(Qt::CTRL | Qt::Key_S));
    m5 = item(m1, "m5", QStringLiteral("Search Files"), QKeySequence(Qt::CTRL | Qt::Key_F));
    m20 = separator(m1, "m20");
    m16 = item(m1, "m16", QStringLiteral("Add Picture"), QKeySequence(Qt::CTRL | Qt::Key_A));
    m17 = item(m1, "m17", QStringLiteral("Print"), QKeySequence(Qt::CTRL | Qt::Key_P));
    m4 = item(m1, "m4", QStringLiteral("Delete File"), QKeySequence(Qt::Key_Delete));
    m21 = item(m1, "m21", QStringLiteral("Page History..."));
    m22 = item(m1, "m22", QStringLiteral("Back Up Diary..."));
    m25 = item(m1, "m25", QStringLiteral("Import Diary..."));
    m26 = item(m1, "m26", QStringLiteral("Export..."));
    m6 = separator(m1, "m6");
    m18 = item(m1, "m18", QStringLiteral("Change Password"));
    m23 = item(m1, "m23", QStringLiteral("Encrypt Diary..."));
    m24 = item(m1, "m24", QStringLiteral("Decrypt Diary..."));
    m24->setVisible(false);
    m27 = item(m1, "m27", QStringLiteral("Lock Diary"), QKeySequence(Qt::CTRL | Qt::Key_L));
    m28 = m1->addMenu(QStringLiteral("Lock When Idle"));
    m28->setObjectName(QStringLiteral("m28"));
    m19 = separator(m1, "m19");
    m7 = item(m1, "m7", QStringLiteral("Exit"));

    m8 = menu(bar, "m8", QStringLiteral("&Date"));
    m9 = item(m8, "m9", QStringLiteral("Save Date"));
    m10 = item(m8, "m10", QStringLiteral("Delete Date"));
    m31 = separator(m8, "m31");
    m32 = item(m8, "m32", QStringLiteral("Year at a Glance..."), QKeySequence(Qt::CTRL | Qt::Key_G));
    m30 = item(m8, "m30", QStringLiteral("Daily Reminder..."));

    m11 = menu(bar, "m11", QStringLiteral("&Help"));
    m12 = item(m11, "m12", QStringLiteral("About"));
    m13 = item(m11, "m13", QStringLiteral("Web Page"));
    m14 = item(m11, "m14", QStringLiteral("Help"), QKeySequence(Qt::Key_F1));

    openPanel = new QAction(QStringLiteral("Open"), &window);
    openPanel->setObjectName(QStringLiteral("openPanel"));
    // Keys without a menu item, so the menus stay as designed.
    findNext = windowKey(&window, "findNext", QStringLiteral("Next match"), QKeySequence(Qt::Key_F3));
    findPrevious = windowKey(&window, "findPrevious", QStringLiteral("Previous match"), QKeySequence(Qt::SHIFT | Qt::Key_F3));
}

