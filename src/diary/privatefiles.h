#pragma once

#include <QFile>
#include <QString>
#include <QStringList>

#include <optional>

// A diary is private: every file and folder the program makes for it, and
// every backup and export of it, is its owner's alone, whatever the umask.
namespace privatefiles {

inline constexpr QFileDevice::Permissions kFile = QFileDevice::ReadOwner | QFileDevice::WriteOwner;
inline constexpr QFileDevice::Permissions kFolder = kFile | QFileDevice::ExeOwner;

// Makes the folder and each missing one above it, and gives those it made,
// outermost first. When one cannot be made, those made are removed again.
std::optional<QStringList> makeFolders(const QString &path);
inline bool makeFolder(const QString &path) { return makeFolders(path).has_value(); }

// Opens the file for writing, making it or cutting it short.
bool openForWriting(QFile &file, QIODevice::OpenMode mode = QIODevice::WriteOnly);

// For a file made by other means: a temporary file, a link, a copy.
bool makePrivate(QFileDevice &file);
bool makePrivate(const QString &path);

} // namespace privatefiles
