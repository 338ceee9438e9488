#include "jsonexport.h"

#include "jsonfields.h"

#include "diary/boundedfile.h"
#include "import/diaryimport.h"
#include "import/readers.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QJsonParseError>

namespace diaryimport::json {

namespace {

struct Place
{
    qsizetype line = 1;
    qsizetype column = 1;
};

// The line and the column, in characters, of a byte offset into the UTF-8
// text of the device, read a chunk at a time.
Place placeOf(QIODevice &device, qint64 offset)
{
    Place place;
    device.seek(0);
    for (qint64 left = offset; left > 0;) {
        const QByteArray chunk = device.read(std::min<qint64>(left, qint64(64) << 10));
        if (chunk.isEmpty())
            break;
        for (const char c : chunk) {
            const auto byte = static_cast<unsigned char>(c);
            if (byte == '\n') {
                ++place.line;
                place.column = 1;
            } else if ((byte & 0xc0) != 0x80) {
                // A continuation byte is part of the character before it.
                ++place.column;
            }
        }
        left -= chunk.size();
    }
    return place;
}

QString placed(QIODevice &device, const QString &name, qint64 offset, const QString &what)
{
    const Place place = placeOf(device, offset);
    return QStringLiteral("%1: line %2, column %3: %4").arg(name).arg(place.line).arg(place.column).arg(what);
}

QString entryFault(const QString &name, const QString &entry, const QString &fault)
{
    return QStringLiteral("%1: entry %2: %3").arg(name, entry, fault);
}

// What an entry kept by its day and time needs to be made again.
struct ExportText
{
    std::unique_ptr<QIODevice> device;
    Shape shape;
    EntryMaker make;

    std::optional<QJsonObject> item(Span span) const
    {
        device->seek(span.begin);
        QByteArray text = device->read(span.end - span.begin);
        if (shape == Shape::Keyed)
            text = '{' + text + '}';
        QJsonParseError error;
        const QJsonDocument document = QJsonDocument::fromJson(text, &error);
        if (error.error != QJsonParseError::NoError || !document.isObject())
            return std::nullopt;
        return document.object();
    }
};

std::optional<QJsonObject> parseObject(QIODevice &device, const QString &name, QString &why)
{
    device.seek(0);
    QJsonParseError error;
    const QJsonDocument document = QJsonDocument::fromJson(device.readAll(), &error);
    if (error.error != QJsonParseError::NoError) {
        why = placed(device, name, error.offset, error.errorString());
        return std::nullopt;
    }
    if (!document.isObject()) {
        why = QStringLiteral("%1: holds no JSON object").arg(name);
        return std::nullopt;
    }
    return document.object();
}

// The entries and their labels: a list's items by number, a keyed object's
// members each as an object of its one member, by its key.
std::vector<std::pair<QString, QJsonValue>> parsedItems(Shape shape, Fields &fields)
{
    const auto key = QLatin1StringView("entries");
    std::vector<std::pair<QString, QJsonValue>> items;
    if (shape == Shape::List) {
        const QJsonArray list = fields.neededList(key);
        for (qsizetype i = 0; i < list.size(); ++i)
            items.emplace_back(QString::number(i + 1), list[i]);
    } else {
        const QJsonObject keyed = fields.neededObject(key);
        for (auto it = keyed.begin(); it != keyed.end(); ++it)
            items.emplace_back(it.key(), QJsonObject{{it.key(), it.value()}});
    }
    return items;
}

// What cannot be read an entry at a time is parsed whole when it is small
// enough; `stoppedAt` is where it stopped being plain.
Read readWhole(const ExportText &text, const QString &name, qint64 stoppedAt)
{
    if (text.device->size() > kLargestWholeParse) {
        return Read::refused(placed(*text.device, name, stoppedAt,
                                    QStringLiteral("not plain JSON of entries, and larger than %1 MiB, more than is "
                                                   "read whole")
                                        .arg(kLargestWholeParse >> 20)));
    }
    QString why;
    const auto root = parseObject(*text.device, name, why);
    if (!root)
        return Read::refused(why);
    Fields fields(*root);
    const auto items = parsedItems(text.shape, fields);
    if (fields.fault())
        return Read::refused(QStringLiteral("%1: %2").arg(name, *fields.fault()));
    Read read;
    read.entries.reserve(items.size());
    for (const auto &[label, value] : items) {
        QString fault;
        auto entry = text.make(value, fault);
        if (!entry)
            return Read::refused(entryFault(name, label, fault));
        read.entries.push_back(std::move(*entry));
    }
    return read;
}

// Nothing when an item is not plainly an object: the whole parse names it.
std::optional<Read> readSpans(const std::shared_ptr<const ExportText> &text, const std::vector<Span> &spans,
                              const QString &name, qint64 &stoppedAt)
{
    Read read;
    read.entries.reserve(spans.size());
    for (std::size_t i = 0; i < spans.size(); ++i) {
        const QString number = QString::number(i + 1);
        if (spans[i].end - spans[i].begin > kLargestDayText) {
            return Read::refused(entryFault(name, number, QStringLiteral("larger than %1 MiB, more than a day takes")
                                                              .arg(kLargestDayText >> 20)));
        }
        const auto item = text->item(spans[i]);
        if (!item) {
            stoppedAt = spans[i].begin;
            return std::nullopt;
        }
        QString fault;
        const auto entry = text->make(*item, fault);
        if (!entry)
            return Read::refused(entryFault(name, text->shape == Shape::List ? number : item->begin().key(), fault));
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

std::optional<QByteArray> readBounded(const QString &path, const QString &name, qint64 largest, QString &why)
{
    boundedfile::Contents file = boundedfile::read(path, largest);
    if (file)
        return std::move(file.bytes);
    why = file.tooLarge ? tooLarge(name, largest) : QStringLiteral("%1: cannot be read").arg(name);
    return std::nullopt;
}

Read readEntries(std::unique_ptr<QIODevice> device, const QString &name, Shape shape, const EntryMaker &make)
{
    const auto text = std::make_shared<const ExportText>(ExportText{std::move(device), shape, make});
    const Spans spans = entrySpans(*text->device, shape, kLargestExport, kMostEntries);
    if (spans.tooLarge)
        return Read::refused(tooLarge(name, kLargestExport));
    if (spans.tooMany)
        return Read::refused(QStringLiteral("%1: more than %2 entries, more than an import takes").arg(name).arg(kMostEntries));
    qint64 stoppedAt = spans.stoppedAt;
    if (spans.found) {
        if (auto read = readSpans(text, spans.items, name, stoppedAt))
            return std::move(*read);
    }
    return readWhole(*text, name, stoppedAt);
}

Read readExportFile(const QString &path, Shape shape, const EntryMaker &make)
{
    const QString name = QFileInfo(path).fileName();
    boundedfile::Opened opened = boundedfile::open(path, kLargestExport);
    if (!opened)
        return Read::refused(opened.tooLarge ? tooLarge(name, kLargestExport) : QStringLiteral("%1: cannot be read").arg(name));
    return readEntries(std::move(opened.file), name, shape, make);
}

} // namespace diaryimport::json
