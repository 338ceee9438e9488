#pragma once

#include <QStandardPaths>
#include <QString>

// Where a file dialog for the user's own files starts: the desktop's folder of
// that kind (Pictures, Documents) when it exists, else the home folder. Never
// the working directory, which is the diary folder: a PDF left there would lie
// unencrypted beside an encrypted diary's pages.
QString startFolder(QStandardPaths::StandardLocation kind);
