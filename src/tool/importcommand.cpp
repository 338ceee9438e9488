#include "diarycommand.h"
#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/boundedfile.h"
#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "richtext/pagecontent.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QTextDocument>

namespace tool {

namespace {

// What the editor would save after opening the file, so the page is
// searchable and shows what the editor shows; nothing for a page the
// editor would not open.
std::optional<QByteArray> asTheEditorSaves(const QByteArray &rtf)
{
    QTextDocument page;
    if (!richtext::readRtf(rtf, page))
        return std::nullopt;
    return richtext::writeRtf(page);
}

} // namespace

int importCommand(const QStringList &arguments)
{
    const QCommandLineOption day = dayOption();
    const QCommandLineOption replace(QStringLiteral("replace"), QStringLiteral("Replace the day's page if it has one."));
    const QCommandLineOption raw(QStringLiteral("raw"), QStringLiteral("Store the file's bytes as they are."));
    DiaryCommand command(QStringLiteral("Stores FILE, a rich-text file, as the page of a day, as the editor would save it."),
                         {day, replace, raw});
    QCommandLineParser &parser = command.parser();
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The rich-text file."));
    if (const auto stop = command.start(arguments, 1))
        return *stop;
    const auto date = dayOptionValue(parser, day);
    if (!date)
        return kUsage;

    const QString path = parser.positionalArguments().constFirst();
    const boundedfile::Contents file = boundedfile::read(path, pagestore::kLargestPageText);
    if (file.tooLarge) {
        printError(QStringLiteral("%1 is larger than a page can be (%2 MiB)").arg(path).arg(pagestore::kLargestPageText >> 20));
        return kFailed;
    }
    if (!file) {
        printError(QStringLiteral("cannot read %1: %2").arg(path, file.problem));
        return kFailed;
    }
    const QByteArray &bytes = file.bytes;
    if (!bytes.startsWith("{\\rtf")) {
        printError(QStringLiteral("%1 is not a rich-text file").arg(path));
        return kFailed;
    }
    const auto rtf = parser.isSet(raw) ? std::optional(bytes) : asTheEditorSaves(bytes);
    if (!rtf) {
        printError(QStringLiteral("%1 holds %2").arg(path, richtext::tooMuchText()));
        return kFailed;
    }
    if (!pagestore::encodePage(*rtf)) {
        printError(QStringLiteral("%1 holds a byte that a page cannot store").arg(path));
        return kFailed;
    }
    if (!command.claim())
        return kFailed;
    if (pagestore::exists(command.root(), *date) && !parser.isSet(replace)) {
        printError(QStringLiteral("%1 already has a page; add --replace to replace it").arg(daykeys::dayKey(*date)));
        return kFailed;
    }
    return exitCode(pagestore::save(command.root(), *date, *rtf));
}

} // namespace tool
