#pragma once

#include "diary/dataroot.h"

#include <QByteArray>
#include <QDate>
#include <QString>

// Diary pages for the export tests, stored through the page store.
namespace samplepages {

inline const QByteArray kHeader = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fnil Arial;}}\\viewkind4\\uc1 ";

// The page's RTF, once stored; fails the test when it cannot be.
QByteArray store(const DataRoot &root, const QString &dayKey, const QByteArray &body);
// A PNG or JPEG picture as a page holds it.
QByteArray pictureGroup(const QByteArray &bytes, const char *blip, QSize pixels);
// The UTF-8 text of a file in the tests' data folder.
QString data(const QString &name);

} // namespace samplepages
