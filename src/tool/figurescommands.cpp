#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/filelist.h"
#include "richtext/diaryfigures.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLocale>

#include <cmath>

namespace tool {

namespace {

// Every page's figures; each page that does not open is named, and makes the command fail.
QList<diaryfigures::Page> readPages(const DataRoot &root, bool *complete)
{
    QStringList unopened;
    const QList<diaryfigures::Page> pages = diaryfigures::pages(root, pageFileNames(root.pagesDir()), nullptr, &unopened);
    for (const QString &name : unopened)
        printError(QStringLiteral("cannot open page %1; it was not counted").arg(name));
    *complete = unopened.isEmpty();
    return pages;
}

// Names in English whatever the terminal's language, so that scripts can read them.
QString weekdayName(int weekday)
{
    return weekday == 0 ? QString() : QLocale::c().dayName(weekday);
}

QString monthName(int month)
{
    return QLocale::c().monthName(month, QLocale::ShortFormat);
}

void printPlain(const diaryfigures::Statistics &figures)
{
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months.append(QStringLiteral("%1 %2").arg(monthName(month)).arg(figures.wordsPerMonth[size_t(month - 1)]));
    printLine(QStringLiteral("Pages: %1").arg(figures.pages));
    printLine(QStringLiteral("Words: %1").arg(figures.words));
    printLine(QStringLiteral("Average words per page: %1").arg(figures.averageWords(), 0, 'f', 1));
    printLine(QStringLiteral("Longest streak: %1 days").arg(figures.longestStreak));
    printLine(QStringLiteral("Current streak: %1 days").arg(figures.currentStreak));
    printLine(QStringLiteral("Busiest weekday: %1").arg(figures.busiestWeekday == 0 ? QStringLiteral("none") : weekdayName(figures.busiestWeekday)));
    printLine(QStringLiteral("Words per month: ") + months.join(QStringLiteral(", ")));
}

void printJson(const diaryfigures::Statistics &figures, std::optional<int> year)
{
    QJsonArray months;
    for (const int words : figures.wordsPerMonth)
        months.append(words);
    QJsonObject object{
        {QStringLiteral("pages"), figures.pages},
        {QStringLiteral("words"), figures.words},
        {QStringLiteral("averageWords"), std::round(figures.averageWords() * 100) / 100},
        {QStringLiteral("longestStreak"), figures.longestStreak},
        {QStringLiteral("currentStreak"), figures.currentStreak},
        {QStringLiteral("busiestWeekday"), figures.busiestWeekday == 0 ? QJsonValue() : QJsonValue(weekdayName(figures.busiestWeekday))},
        {QStringLiteral("wordsPerMonth"), months},
    };
    if (year)
        object.insert(QStringLiteral("year"), *year);
    printLine(QString::fromUtf8(QJsonDocument(object).toJson(QJsonDocument::Compact)));
}

} // namespace

int statsCommand(const QStringList &arguments)
{
    const QCommandLineOption yearOption(QStringLiteral("year"), QStringLiteral("Count only the pages of YEAR; the current streak is today's all the same."),
                                        QStringLiteral("YEAR"));
    const QCommandLineOption json(QStringLiteral("json"), QStringLiteral("Print the figures as one JSON object."));
    DiaryCommand command(QStringLiteral("Prints the diary's figures: pages, words, average words per page, the longest "
                                        "and the current streak of days written, the weekday written most and the words of each month."),
                         {yearOption, json});
    if (const auto stop = command.parse(arguments, 0))
        return *stop;
    std::optional<int> year;
    if (command.parser().isSet(yearOption)) {
        bool number = false;
        year = command.parser().value(yearOption).toInt(&number);
        if (!number || *year < 1 || *year > 9999) {
            printError(QStringLiteral("--year takes a year such as 2024"));
            return kUsage;
        }
    }
    if (const auto stop = command.open())
        return *stop;
    bool complete = false;
    const auto figures = diaryfigures::statistics(readPages(command.root(), &complete), year, QDate::currentDate());
    if (command.parser().isSet(json))
        printJson(figures, year);
    else
        printPlain(figures);
    return complete ? kDone : kFailed;
}

int tagsCommand(const QStringList &arguments)
{
    DiaryCommand command(QStringLiteral("Lists the diary's #tags, each with the number of pages that carry it, most used first."));
    if (const auto stop = command.start(arguments, 0))
        return *stop;
    bool complete = false;
    for (const auto &[tag, count] : diaryfigures::tagCounts(readPages(command.root(), &complete)))
        printLine(QStringLiteral("#%1\t%2").arg(tag).arg(count));
    return complete ? kDone : kFailed;
}

} // namespace tool
