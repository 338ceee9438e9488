#include "diarycommand.h"
#include "progressreport.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/counted.h"
#include "import/diaryimport.h"
#include "import/readers.h"

#include <algorithm>

namespace tool {

namespace {

using diaryimport::DayReport;
using diaryimport::Existing;

std::optional<Existing> existingNamed(const QString &name)
{
    if (name == QLatin1String("append"))
        return Existing::Append;
    if (name == QLatin1String("skip"))
        return Existing::Skip;
    printError(QStringLiteral("'%1' is not a choice for --existing; use append or skip").arg(name));
    return std::nullopt;
}

std::optional<diaryimport::Source> sourceOption(const QCommandLineParser &parser, const QCommandLineOption &from)
{
    const auto name = requiredValue(parser, from);
    if (!name)
        return std::nullopt;
    const auto source = diaryimport::sourceNamed(*name);
    if (!source)
        printError(QStringLiteral("'%1' is not a diary the import reads; use jrnl, dayone, minidiary, rednotebook or markdown").arg(*name));
    return source;
}

QString fate(const DayReport &report)
{
    switch (report.kind) {
    case DayReport::Kind::Created:
        return QStringLiteral("%1 new page, %2").arg(report.dayKey, counted(report.entries, "entry", "entries"));
    case DayReport::Kind::Appended:
        return QStringLiteral("%1 added below the page").arg(report.dayKey);
    case DayReport::Kind::Skipped:
        return QStringLiteral("%1 skipped: it has a page").arg(report.dayKey);
    case DayReport::Kind::Failed:
        return QStringLiteral("%1 failed: %2").arg(report.dayKey, report.error);
    }
    return report.dayKey;
}

QString dayLine(const DayReport &report)
{
    if (report.refusedPictures.isEmpty())
        return fate(report);
    return QStringLiteral("%1; pictures left out: %2").arg(fate(report), report.refusedPictures.join(QStringLiteral("; ")));
}

int daysOf(const std::vector<DayReport> &reports, DayReport::Kind kind)
{
    return int(std::ranges::count(reports, kind, &DayReport::kind));
}

QString summaryLine(const std::vector<DayReport> &reports)
{
    return QStringLiteral("%1: %2 new, %3 added below a page, %4 skipped, %5 failed")
        .arg(counted(qsizetype(reports.size()), "day", "days"))
        .arg(daysOf(reports, DayReport::Kind::Created))
        .arg(daysOf(reports, DayReport::Kind::Appended))
        .arg(daysOf(reports, DayReport::Kind::Skipped))
        .arg(daysOf(reports, DayReport::Kind::Failed));
}

} // namespace

int importDiaryCommand(const QStringList &arguments)
{
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("What FILE is: jrnl (its JSON export), dayone (its JSON export, zipped "
                                                 "or unpacked), minidiary (its JSON export), rednotebook (its data folder "
                                                 "or one month file), markdown (a folder of yyyy-mm-dd.md files)."),
                                  QStringLiteral("SOURCE"));
    const QCommandLineOption existing(QStringLiteral("existing"),
                                      QStringLiteral("A day that already has a page: skip leaves it as it is (the "
                                                     "default), append adds the day's entries below it."),
                                      QStringLiteral("append|skip"), QStringLiteral("skip"));
    DiaryCommand command(QStringLiteral("Stores the entries of another diary's export as pages, one page a day,\n"
                                        "several entries of a day in the order of their times."),
                         {from, existing});
    QCommandLineParser &parser = command.parser();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The export: a file or a folder."));
    if (const auto stop = command.parse(arguments, 1))
        return *stop;
    const auto source = sourceOption(parser, from);
    const auto rule = existingNamed(parser.value(existing));
    if (!source || !rule)
        return kUsage;
    if (const auto stop = command.open())
        return *stop;

    const diaryimport::Read read = diaryimport::readDiary(*source, parser.positionalArguments().constFirst());
    if (read.error) {
        printError(*read.error);
        return kFailed;
    }
    if (!command.claim())
        return kFailed;
    if (const auto unfit = diaryimport::unfitRecord(command.root(), read.entries)) {
        printError(*unfit);
        return kFailed;
    }
    ProgressReport progress(QStringLiteral("Imported %1 of %2 days"));
    const auto reports = diaryimport::importEntries(command.root(), read.entries, *rule, [&progress](int done, int total) {
        progress.show(done, total);
        return true;
    });
    progress.finish();
    for (const DayReport &report : reports)
        printLine(dayLine(report));
    printLine(summaryLine(reports));
    return daysOf(reports, DayReport::Kind::Failed) > 0 ? kFailed : kDone;
}

} // namespace tool
