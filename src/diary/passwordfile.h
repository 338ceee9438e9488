#pragma once

#include "diary/outcome.h"

#include <QByteArray>
#include <QString>

// pw.dat: one line, the scrambled password, followed by CR LF.
namespace passwordfile {

// Each character's Windows-1252 code shifted up by the scramble offset; a
// character that would shift above 255 is left out, both when the password
// is saved and when it is typed, so it simply takes no part.
QByteArray ScramblePassword(QStringView typed);

// The stored form of "none": typing "none" at Change Password removes the password.
QByteArray noPasswordMarker();

// The scrambled first line, empty when the file is empty or cannot be read.
QByteArray readStored(const QString &path);

// False when a character of the password would be left out or stored as "?",
// so that a shorter or another password would open the diary.
bool keepsWhole(QStringView typed);

// The whole file for a typed password: its scrambled line and CR LF.
QByteArray fileBytes(QStringView typed);
Outcome write(const QString &path, QStringView typed);

} // namespace passwordfile
