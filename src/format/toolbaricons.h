#pragma once

#include <QIcon>
#include <QString>

// The icon of a toolbar key: the desktop theme's where it has one, else our
// own drawing, so every button always shows a picture.
QIcon toolbarIcon(const QString &key);
