#include "import/readers.h"

#include "dayonefiles.h"
#include "dayonephotos.h"
#include "jsonexport.h"
#include "jsonfields.h"

#include "diary/backupzip.h"

#include <QBuffer>
#include <QDateTime>
#include <QTimeZone>

#include <algorithm>
#include <iterator>

namespace diaryimport {

namespace {

// Day One writes the moment in UTC and keeps the zone it was written in, so
// the day and the time are the ones the writer saw on the clock.
QDateTime wallClock(const QString &created, const QString &zoneId)
{
    QDateTime moment = QDateTime::fromString(created, Qt::ISODate);
    if (!moment.isValid())
        return {};
    if (moment.timeSpec() == Qt::LocalTime)
        moment = QDateTime(moment.date(), moment.time(), Qt::UTC);
    const QTimeZone zone(zoneId.toUtf8());
    return moment.toTimeZone(zone.isValid() ? zone : QTimeZone::utc());
}

std::optional<Entry> dayOneEntry(const std::shared_ptr<const dayone::Files> &files, const QJsonValue &value, QString &fault)
{
    json::Fields fields(value);
    const QString created = fields.neededText(QLatin1StringView("creationDate"));
    const QDateTime clock = wallClock(created, fields.text(QLatin1StringView("timeZone")));
    if (!created.isEmpty() && !clock.isValid())
        fields.fail(QStringLiteral("\"creationDate\" is not a date and time: \"%1\"").arg(created));
    Entry entry;
    entry.day = clock.date();
    entry.time = clock.time();
    entry.markup = Entry::Markup::Markdown;
    entry.text = fields.text(QLatin1StringView("text"));
    entry.tags = fields.texts(QLatin1StringView("tags"));
    const QJsonArray photos = fields.list(QLatin1StringView("photos"));
    if (!fields.fault()) {
        if (const auto why = dayone::addPhotos(files, photos, entry))
            fields.fail(*why);
    }
    return fields.entryOrFault(std::move(entry), fault);
}

Read readJournal(const std::shared_ptr<const dayone::Files> &files, const QString &journal)
{
    const QString name = files->nameOf(journal);
    QString why;
    const auto bytes = files->read(journal, why, backup::zip::kLargestFile);
    if (!bytes)
        return Read::refused(why);
    auto text = std::make_unique<QBuffer>();
    text->setData(*bytes);
    text->open(QIODevice::ReadOnly);
    return json::readEntries(std::move(text), name, json::Shape::List, [files](const QJsonValue &value, QString &fault) {
        return dayOneEntry(files, value, fault);
    });
}

} // namespace

Read readDayOne(const QString &path)
{
    QString why;
    const std::shared_ptr<const dayone::Files> files = dayone::openFiles(path, why);
    if (!files)
        return Read::refused(why);
    const QStringList journals = files->journals();
    if (journals.isEmpty())
        return Read::refused(QStringLiteral("%1: holds no Day One journal, no .json file at its top").arg(files->name()));
    Read all;
    for (const QString &journal : journals) {
        Read read = readJournal(files, journal);
        if (read.error)
            return read;
        // Moved whole when it is the first, so two lists of every entry are never held at once.
        if (all.entries.empty()) {
            all.entries = std::move(read.entries);
            continue;
        }
        all.entries.reserve(all.entries.size() + read.entries.size());
        std::move(read.entries.begin(), read.entries.end(), std::back_inserter(all.entries));
    }
    return all;
}

} // namespace diaryimport
