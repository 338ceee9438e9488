#include "dayonephotos.h"

#include "jsonfields.h"

#include "diary/pagestore.h"

#include <QRegularExpression>
#include <QSet>

namespace diaryimport::dayone {

namespace {

const QLatin1StringView kAddress("dayone-moment://");
// A page keeps a photo's bytes as hex, two characters a byte: a larger photo
// would make its page larger than a page can be, and its day fail.
constexpr qint64 kLargestPhoto = pagestore::kLargestPageText / 2;

// The identifiers of the photos the Markdown shows: ![](dayone-moment://ID).
QSet<QString> shownPhotos(const QString &text)
{
    static const QRegularExpression shown(QStringLiteral("\\]\\(dayone-moment://([^)\\s]+)\\)"));
    QSet<QString> identifiers;
    for (const QRegularExpressionMatch &match : shown.globalMatch(text))
        identifiers.insert(match.captured(1));
    return identifiers;
}

// Letters and digits only, so the name made of it stays inside photos/.
bool isPlain(const QString &part)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9]+$"));
    return plain.match(part).hasMatch();
}

struct Photo
{
    QString identifier;
    // Empty when the description names no file we may look for.
    QString file;
};

std::optional<Photo> photoOf(const QJsonValue &value, QString &fault)
{
    json::Fields fields(value);
    Photo photo;
    photo.identifier = fields.text(QLatin1StringView("identifier"));
    const QString md5 = fields.text(QLatin1StringView("md5"));
    const QString type = fields.text(QLatin1StringView("type"));
    if (fields.fault()) {
        fault = *fields.fault();
        return std::nullopt;
    }
    if (isPlain(md5) && isPlain(type))
        photo.file = QStringLiteral("photos/%1.%2").arg(md5, type);
    return photo;
}

} // namespace

std::optional<QString> addPhotos(const std::shared_ptr<const Files> &files, const QJsonArray &photos, Entry &entry)
{
    const QSet<QString> shown = shownPhotos(entry.text);
    for (qsizetype i = 0; i < photos.size(); ++i) {
        QString fault;
        const auto photo = photoOf(photos[i], fault);
        if (!photo)
            return QStringLiteral("photo %1: %2").arg(i + 1).arg(fault);
        if (!shown.contains(photo->identifier) || photo->file.isEmpty() || !files->contains(photo->file))
            continue;
        entry.pictureFiles.insert(kAddress + photo->identifier,
                                  [files, file = photo->file](QString &why) { return files->read(file, why, kLargestPhoto); });
    }
    return std::nullopt;
}

} // namespace diaryimport::dayone
