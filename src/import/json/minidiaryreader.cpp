#include "import/readers.h"

#include "jsonexport.h"
#include "jsonfields.h"

namespace diaryimport {

namespace {

// Mini Diary keeps one entry a day, under its day's key, and no time.
std::optional<Entry> miniDiaryEntry(const QJsonValue &member, QString &fault)
{
    const QJsonObject keyed = member.toObject();
    const QString key = keyed.isEmpty() ? QString() : keyed.begin().key();
    json::Fields fields(keyed.value(key));
    Entry entry;
    entry.day = json::isoDay(key);
    if (!entry.day.isValid())
        fields.fail(QStringLiteral("is not a day written yyyy-mm-dd"));
    return fields.titledEntry(std::move(entry), QLatin1StringView("text"), Entry::Markup::Markdown, fault);
}

} // namespace

Read readMiniDiary(const QString &path)
{
    return json::readExportFile(path, json::Shape::Keyed, miniDiaryEntry);
}

} // namespace diaryimport
