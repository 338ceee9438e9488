#include "import/readers.h"

#include "jsonexport.h"
#include "jsonfields.h"

namespace diaryimport {

namespace {

std::optional<Entry> jrnlEntry(const QJsonValue &value, QString &fault)
{
    json::Fields fields(value);
    Entry entry;
    entry.day = fields.day(QLatin1StringView("date"));
    entry.time = fields.timeOfDay(QLatin1StringView("time"));
    // Its @tags stay in the text as written, and come again as #tags at the end.
    entry.tags = fields.texts(QLatin1StringView("tags"));
    // jrnl keeps the first sentence as the title and the rest as the body.
    return fields.titledEntry(std::move(entry), QLatin1StringView("body"), Entry::Markup::Plain, fault);
}

} // namespace

Read readJrnl(const QString &path)
{
    return json::readExportFile(path, json::Shape::List, jrnlEntry);
}

} // namespace diaryimport
