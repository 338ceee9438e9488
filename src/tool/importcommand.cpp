#include "toolcommands.h"
#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/pagestore.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QFile>
#include <QTextDocument>

namespace tool {

namespace {

// What the editor would save after opening the file, so the page is
// searchable and shows what the editor shows.
QByteArray asTheEditorSaves(const QByteArray &rtf)
{
    QTextDocument page;
    richtext::readRtf(rtf, page);
    return richtext::writeRtf(page);
}

} // namespace

int importCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Stores FILE, a rich-text file, as the page of a day, "
                                                    "as the editor would save it."));
    parser.addOption(rootOption());
    parser.addOption(passwordFdOption());
    const QCommandLineOption day = dayOption();
    const QCommandLineOption replace(QStringLiteral("replace"), QStringLiteral("Replace the day's page if it has one."));
    const QCommandLineOption raw(QStringLiteral("raw"), QStringLiteral("Store the file's bytes as they are."));
    parser.addOptions({day, replace, raw});
    parser.addPositionalArgument(QStringLiteral("FILE"), QStringLiteral("The rich-text file."));
    if (const auto stop = parseOrExit(parser, arguments, 1))
        return *stop;
    const auto root = openedRootOption(parser);
    if (!root)
        return dataRootFailure(parser);
    const auto dayKey = dayKeyOption(parser, day);
    if (!dayKey)
        return kUsage;

    const QString path = parser.positionalArguments().constFirst();
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) {
        printError(QStringLiteral("cannot read %1: %2").arg(path, file.errorString()));
        return kFailed;
    }
    // Refused before it is read: no page is larger, and a wrong file should not take all the memory.
    const QByteArray bytes = file.read(pagestore::kLargestPageFile + 1);
    if (file.size() > pagestore::kLargestPageFile || bytes.size() > pagestore::kLargestPageFile) {
        printError(QStringLiteral("%1 is larger than a page can be (%2 MiB)").arg(path).arg(pagestore::kLargestPageFile >> 20));
        return kFailed;
    }
    if (!bytes.startsWith("{\\rtf")) {
        printError(QStringLiteral("%1 is not a rich-text file").arg(path));
        return kFailed;
    }
    const QByteArray rtf = parser.isSet(raw) ? bytes : asTheEditorSaves(bytes);
    if (!pagestore::encodePage(rtf)) {
        printError(QStringLiteral("%1 holds a byte that a page cannot store").arg(path));
        return kFailed;
    }
    DiaryLock lock(*root);
    if (!claimDiary(lock))
        return kFailed;
    if (pagestore::exists(*root, *dayKey) && !parser.isSet(replace)) {
        printError(QStringLiteral("%1 already has a page; add --replace to replace it").arg(*dayKey));
        return kFailed;
    }
    return exitCode(pagestore::save(*root, *dayKey, rtf));
}

} // namespace tool
