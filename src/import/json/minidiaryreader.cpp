#include "import/readers.h"

#include "jsonexport.h"
#include "jsonfields.h"

#include <QFileInfo>

namespace diaryimport {

namespace {

// Mini Diary keeps one entry a day, under its day's key, and no time.
std::optional<Entry> miniDiaryEntry(const QString &key, const QJsonValue &value, QString &fault)
{
    json::Fields fields(value);
    Entry entry;
    entry.day = json::isoDay(key);
    if (!entry.day.isValid())
        fields.fail(QStringLiteral("is not a day written yyyy-mm-dd"));
    entry.title = fields.text(QLatin1StringView("title"));
    entry.text = fields.text(QLatin1StringView("text"));
    entry.markup = Entry::Markup::Markdown;
    return fields.entryOrFault(std::move(entry), fault);
}

} // namespace

Read readMiniDiary(const QString &path)
{
    QString why;
    const auto root = json::loadObject(path, json::kLargestExport, why);
    if (!root)
        return Read::refused(why);
    const QString name = QFileInfo(path).fileName();
    json::Fields fields(*root);
    const QJsonObject entries = fields.neededObject(QLatin1StringView("entries"));
    if (fields.fault())
        return Read::refused(QStringLiteral("%1: %2").arg(name, *fields.fault()));
    Read read;
    for (auto it = entries.begin(); it != entries.end(); ++it) {
        QString fault;
        auto entry = miniDiaryEntry(it.key(), it.value(), fault);
        if (!entry)
            return Read::refused(QStringLiteral("%1: entry %2: %3").arg(name, it.key(), fault));
        read.entries.push_back(std::move(*entry));
    }
    return read;
}

} // namespace diaryimport
