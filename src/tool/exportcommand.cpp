#include "toolcommands.h"
#include "toolsupport.h"

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/safewrite.h"

#include <QDir>

namespace tool {

namespace {

QString keyOf(const QString &fileName)
{
    return fileName.endsWith(kFileSuffix) ? fileName.chopped(kFileSuffix.size()) : QString();
}

bool exportPages(const DataRoot &root, const QString &outDir)
{
    bool ok = true;
    for (const QString &name : sortedFileNames(root.pagesDir())) {
        const QString key = keyOf(name);
        if (!daykeys::dateFromDayKey(key))
            continue;
        const auto rtf = pagestore::load(root, key);
        const Outcome written = rtf ? writeFileAtomically(outDir + QLatin1Char('/') + key + QStringLiteral(".rtf"), *rtf)
                                    : Outcome::failure(QStringLiteral("cannot read page %1").arg(name));
        if (!written) {
            printError(written.error());
            ok = false;
        }
    }
    return ok;
}

bool exportNotes(const DataRoot &root, const QString &outDir)
{
    bool ok = true;
    for (const QString &name : sortedFileNames(root.datesDir())) {
        const QString key = keyOf(name);
        const auto bytes = key.isEmpty() ? std::nullopt : notestore::load(root, key);
        if (!bytes)
            continue;
        QString text = notestore::decodeNote(*bytes);
        text.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
        const Outcome written = writeFileAtomically(outDir + QLatin1Char('/') + key + QStringLiteral(".txt"), text.toUtf8());
        if (!written) {
            printError(written.error());
            ok = false;
        }
    }
    return ok;
}

} // namespace

int exportCommand(const QStringList &arguments)
{
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Writes every page as OUT/pages/yyyy-mm-dd.rtf and every note "
                                                    "as OUT/dates/<key>.txt (UTF-8)."));
    parser.addOption(rootOption());
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The folder to write into."), QStringLiteral("DIR"));
    parser.addOption(out);
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const auto root = dataRootOption(parser);
    if (!root)
        return kFailed;
    const QString outDir = parser.value(out);
    if (outDir.isEmpty()) {
        printError(QStringLiteral("--out DIR is required"));
        return kUsage;
    }
    const QString pagesOut = outDir + QStringLiteral("/pages");
    const QString datesOut = outDir + QStringLiteral("/dates");
    if (!QDir().mkpath(pagesOut) || !QDir().mkpath(datesOut)) {
        printError(QStringLiteral("cannot create %1").arg(outDir));
        return kFailed;
    }
    const bool pagesOk = exportPages(*root, pagesOut);
    const bool notesOk = exportNotes(*root, datesOut);
    return pagesOk && notesOk ? kDone : kFailed;
}

} // namespace tool
