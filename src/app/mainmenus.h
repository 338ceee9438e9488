#pragma once

#include <QKeySequence>
#include <QList>

class QAction;
class QMainWindow;
class QMenu;

// The main window's menu bar and its keys without a menu item, under the
// names the program's design gives them; the window connects them.
struct MainMenus
{
    explicit MainMenus(QMainWindow &window);

    QList<QMenu *> menus() const { return {m1, m8, m11}; }
    QList<QKeySequence> shortcuts() const;

    QMenu *m1 = nullptr;
    QAction *m15 = nullptr, *m3 = nullptr, *m2 = nullptr, *m5 = nullptr, *m20 = nullptr, *m16 = nullptr,
            *m17 = nullptr, *m4 = nullptr, *m6 = nullptr, *m18 = nullptr, *m19 = nullptr, *m7 = nullptr;
    QMenu *m8 = nullptr;
    QAction *m9 = nullptr, *m10 = nullptr;
    QMenu *m11 = nullptr;
    QAction *m12 = nullptr, *m13 = nullptr, *m14 = nullptr;
    // File > Page History... and Back Up Diary..., beside the design's commands.
    QAction *m21 = nullptr, *m22 = nullptr;
    // File > Import Diary... and Export...: other diaries in, any range of pages out.
    QAction *m25 = nullptr, *m26 = nullptr;
    // File > Encrypt Diary... on a plain diary, Decrypt Diary... on an encrypted one.
    QAction *m23 = nullptr, *m24 = nullptr;
    // File > Lock Diary and Lock When Idle, for an encrypted diary only; the idle choices come with the lock.
    QAction *m27 = nullptr;
    QMenu *m28 = nullptr;
    // Date > Year at a Glance...: the writing calendar, its statistics and tags.
    QAction *m31 = nullptr, *m32 = nullptr;
    // The toolbar's Open only shows the panel; File > Open File asks to save first.
    QAction *openPanel = nullptr;
    // Date > Daily Reminder..., on or off, at the end of the Date menu.
    QAction *m30 = nullptr;
    // F3 and Shift+F3: the next and previous match of the search in the open page.
    QAction *findNext = nullptr, *findPrevious = nullptr;
};
