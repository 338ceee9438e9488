#include "picturefile.h"

#include "richtext/picture.h"
#include "richtext/rtflimits.h"

#include <QFile>
#include <QFileInfo>

namespace diaryimport {

std::optional<QByteArray> readPictureFile(const QString &path)
{
    const QFileInfo info(path);
    if (!info.isFile() || info.size() > richtext::limits::kPictureBytes)
        return std::nullopt;
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    QByteArray bytes = file.readAll();
    if (richtext::decodeImage(bytes).isNull())
        return std::nullopt;
    return bytes;
}

} // namespace diaryimport
