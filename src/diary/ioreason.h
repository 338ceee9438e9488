#pragma once

#include <QString>

// What a failed file operation means to the user, from the system's error
// number; the system's own texts say "Unknown error" or less.
namespace ioreason {

QString describe(int error);

// "path: reason" for an operation on path that just failed with error.
QString failure(const QString &path, int error);

// Why the file at path cannot be opened for reading, for a file that could not be loaded.
QString unreadable(const QString &path);

} // namespace ioreason
