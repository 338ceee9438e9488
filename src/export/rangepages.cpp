#include "rangepages.h"

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/pagestore.h"
#include "richtext/rtfreader.h"

#include <QLocale>

namespace rangeexport {

namespace {

bool inRange(QDate date, QDate from, QDate to)
{
    return (from.isNull() || date >= from) && (to.isNull() || date <= to);
}

QString endName(QDate date, const QString &open)
{
    return date.isNull() ? open : daykeys::dayKey(date);
}

} // namespace

std::vector<Day> daysInRange(const DataRoot &root, QDate from, QDate to)
{
    std::vector<Day> days;
    for (const QString &name : pageFileNames(root.pagesDir())) {
        const QString key = daykeys::keyFromFileName(name);
        const auto date = daykeys::dateFromDayKey(key);
        if (date && inRange(*date, from, to))
            days.push_back({*date, key});
    }
    return days;
}

Outcome emptyRange(QDate from, QDate to)
{
    return Outcome::failure(QStringLiteral("no page between %1 and %2")
                                .arg(endName(from, QStringLiteral("the first day")), endName(to, QStringLiteral("the last day"))));
}

Outcome stopped()
{
    return Outcome::failure(QStringLiteral("the export was stopped"));
}

QString dayTitle(QDate date)
{
    return QLocale().toString(date, QLocale::LongFormat);
}

bool loadPage(const DataRoot &root, const Day &day, QTextDocument &document)
{
    const auto rtf = pagestore::load(root, day.date);
    if (!rtf)
        return false;
    return richtext::readRtf(*rtf, document);
}

} // namespace rangeexport
