#include "picturefile.h"

#include "diary/boundedfile.h"
#include "richtext/picture.h"
#include "richtext/rtflimits.h"


namespace diaryimport {

std::optional<QByteArray> readPictureFile(const QString &path)
{
    boundedfile::Contents file = boundedfile::read(path, richtext::limits::kPictureBytes);
    if (!file || richtext::decodeImage(file.bytes).isNull())
        return std::nullopt;
    return std::move(file.bytes);
}

} // namespace diaryimport
