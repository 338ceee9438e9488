#include "windowshortcuts.h"

#include <QKeyEvent>
#include <QWidget>

#include <algorithm>

WindowShortcuts::WindowShortcuts(const QList<QKeySequence> &keys, QObject *parent) : QObject(parent), m_keys(keys) {}

void WindowShortcuts::keepFrom(QWidget *editor)
{
    editor->installEventFilter(this);
}

// An ignored ShortcutOverride lets the key go to the window's shortcut; the
// editor never sees it as a key press, so it is no typing either.
bool WindowShortcuts::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::ShortcutOverride)
        return QObject::eventFilter(watched, event);
    const QKeyCombination key = static_cast<QKeyEvent *>(event)->keyCombination();
    const bool windows = std::any_of(m_keys.begin(), m_keys.end(), [&](const QKeySequence &s) { return s.count() == 1 && s[0] == key; });
    if (!windows)
        return false;
    event->ignore();
    return true;
}
