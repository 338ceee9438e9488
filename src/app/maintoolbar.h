#pragma once

#include "format/formatting.h"

class QObject;
class QToolBar;
class RichTextEdit;
struct MainMenus;

namespace maintoolbar {

inline constexpr int kIconSize = 16;

// The buttons from left to right share their actions with the menus; the
// formatting ones act on the page.
void fill(QToolBar &bar, const MainMenus &menus, RichTextEdit &page, formatting::ColorChooser &colors, QObject *owner);

} // namespace maintoolbar
