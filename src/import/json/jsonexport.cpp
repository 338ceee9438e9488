#include "jsonexport.h"

#include "entryspans.h"
#include "jsonfields.h"

#include <QFile>
#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

#include <memory>

namespace diaryimport::json {

namespace {

struct Place
{
    qsizetype line = 1;
    qsizetype column = 1;
};

// The line and the column, in characters, of a byte offset into UTF-8 text.
Place placeOf(const QByteArray &bytes, qsizetype offset)
{
    Place place;
    const qsizetype end = qMin(offset, bytes.size());
    for (qsizetype i = 0; i < end; ++i) {
        const auto byte = static_cast<unsigned char>(bytes[i]);
        if (byte == '\n') {
            ++place.line;
            place.column = 1;
        } else if ((byte & 0xc0) != 0x80) {
            // A continuation byte is part of the character before it.
            ++place.column;
        }
    }
    return place;
}

} // namespace

QString tooLarge(const QString &name, qint64 largest)
{
    return QStringLiteral("%1: larger than %2 MiB, more than an import takes").arg(name).arg(largest >> 20);
}

std::optional<QByteArray> readBounded(const QString &path, const QString &name, qint64 largest, QString &why)
{
    QFile file(path);
    if (!QFileInfo(path).isFile() || !file.open(QIODevice::ReadOnly)) {
        why = QStringLiteral("%1: cannot be read").arg(name);
        return std::nullopt;
    }
    if (file.size() > largest) {
        why = tooLarge(name, largest);
        return std::nullopt;
    }
    // Read one byte past the bound, for a file that grows while it is read.
    QByteArray bytes = file.read(largest + 1);
    if (file.error() != QFileDevice::NoError) {
        why = QStringLiteral("%1: cannot be read: %2").arg(name, file.errorString());
        return std::nullopt;
    }
    if (bytes.size() > largest) {
        why = tooLarge(name, largest);
        return std::nullopt;
    }
    return bytes;
}

std::optional<QJsonObject> parseObject(const QByteArray &bytes, const QString &name, QString &why)
{
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(bytes, &error);
    if (error.error != QJsonParseError::NoError) {
        const Place place = placeOf(bytes, error.offset);
        why = QStringLiteral("%1: line %2, column %3: %4")
                  .arg(name)
                  .arg(place.line)
                  .arg(place.column)
                  .arg(error.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        why = QStringLiteral("%1: holds no JSON object").arg(name);
        return std::nullopt;
    }
    return document.object();
}

std::optional<QJsonObject> loadObject(const QString &path, qint64 largest, QString &why)
{
    const QString name = QFileInfo(path).fileName();
    const auto bytes = readBounded(path, name, largest, why);
    return bytes ? parseObject(*bytes, name, why) : std::nullopt;
}

namespace {

Read readParsed(const QJsonObject &root, const QString &name, const EntryMaker &make)
{
    Fields fields(root);
    const QJsonArray items = fields.neededList(QLatin1StringView("entries"));
    if (fields.fault())
        return Read::refused(QStringLiteral("%1: %2").arg(name, *fields.fault()));
    Read read;
    read.entries.reserve(std::size_t(items.size()));
    for (qsizetype i = 0; i < items.size(); ++i) {
        QString fault;
        auto entry = make(items[i], fault);
        if (!entry)
            return Read::refused(QStringLiteral("%1: entry %2: %3").arg(name).arg(i + 1).arg(fault));
        read.entries.push_back(std::move(*entry));
    }
    return read;
}

// What an entry kept by its day and time needs to be made again.
struct ExportText
{
    QByteArray bytes;
    EntryMaker make;

    std::optional<QJsonObject> item(Span span) const
    {
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(bytes.mid(span.begin, span.end - span.begin), &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return std::nullopt;
        return document.object();
    }
};

// Nothing when an item is not plainly an object: the whole parse names it.
std::optional<Read> readSpans(const std::shared_ptr<const ExportText> &text, const std::vector<Span> &spans, const QString &name)
{
    Read read;
    read.entries.reserve(spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const auto item = text->item(spans[i]);
        if (!item)
            return std::nullopt;
        QString fault;
        const auto entry = text->make(*item, fault);
        if (!entry)
            return Read::refused(QStringLiteral("%1: entry %2: %3").arg(name).arg(i + 1).arg(fault));
        Entry kept;
        kept.day = entry->day;
        kept.time = entry->time;
        kept.remake = [text, span = spans[i]] {
            QString fault;
            return text->make(text->item(span).value_or(QJsonObject()), fault).value_or(Entry());
        };
        read.entries.push_back(std::move(kept));
    }
    return read;
}

} // namespace

Read readEntries(const QByteArray &bytes, const QString &name, const EntryMaker &make)
{
    if (const auto spans = entrySpans(bytes)) {
        if (auto read = readSpans(std::make_shared<const ExportText>(ExportText{bytes, make}), *spans, name))
            return std::move(*read);
    }
    QString why;
    const auto root = parseObject(bytes, name, why);
    return root ? readParsed(*root, name, make) : Read::refused(why);
}

} // namespace diaryimport::json
