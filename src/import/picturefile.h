#pragma once

#include <QByteArray>
#include <QString>

#include <optional>

namespace diaryimport {

// The bytes of the picture file at `path`, when it is a file of a size a
// page can hold and reads as an image; nothing otherwise, so the entry keeps
// the text that named it.
std::optional<QByteArray> readPictureFile(const QString &path);

} // namespace diaryimport
