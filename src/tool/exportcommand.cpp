#include "toolcommands.h"
#include "toolpassword.h"
#include "toolsupport.h"

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/safewrite.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QDir>
#include <QTextDocument>

namespace tool {

namespace {

enum class PageFormat { Rtf, Txt, Html };

std::optional<PageFormat> pageFormat(const QString &name)
{
    if (name == QLatin1String("rtf"))
        return PageFormat::Rtf;
    if (name == QLatin1String("txt"))
        return PageFormat::Txt;
    if (name == QLatin1String("html"))
        return PageFormat::Html;
    return std::nullopt;
}

QString suffix(PageFormat format)
{
    switch (format) {
    case PageFormat::Rtf: return QStringLiteral(".rtf");
    case PageFormat::Txt: return QStringLiteral(".txt");
    case PageFormat::Html: return QStringLiteral(".html");
    }
    return {};
}

QByteArray converted(const QByteArray &rtf, PageFormat format)
{
    if (format == PageFormat::Rtf)
        return rtf;
    // The text alone needs no document: the extractor gives the reader's text.
    if (format == PageFormat::Txt)
        return richtext::visibleText(rtf).toUtf8();
    QTextDocument page;
    richtext::readRtf(rtf, page);
    return richtext::htmlWithPictures(page).toUtf8();
}

QString keyOf(const QString &fileName)
{
    return fileName.endsWith(kFileSuffix) ? fileName.chopped(kFileSuffix.size()) : QString();
}

bool exportPages(const DataRoot &root, const QString &outDir, PageFormat format)
{
    bool ok = true;
    for (const QString &name : sortedFileNames(root.pagesDir())) {
        const QString key = keyOf(name);
        if (!daykeys::dateFromDayKey(key))
            continue;
        const auto rtf = pagestore::load(root, key);
        const QString path = outDir + QLatin1Char('/') + key + suffix(format);
        const Outcome written = rtf ? writeFileAtomically(path, converted(*rtf, format))
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
    parser.setApplicationDescription(QStringLiteral("Writes every page as OUT/pages/yyyy-mm-dd.rtf (or .txt, .html) "
                                                    "and every note as OUT/dates/<key>.txt (UTF-8)."));
    parser.addOption(rootOption());
    parser.addOption(passwordFdOption());
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The folder to write into."), QStringLiteral("DIR"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("rtf (the stored page), txt (its plain text in UTF-8) or html "
                                                   "(with its pictures inside)."),
                                    QStringLiteral("FORMAT"), QStringLiteral("rtf"));
    parser.addOptions({out, format});
    if (const auto stop = parseOrExit(parser, arguments, 0))
        return *stop;
    const auto root = openedRootOption(parser);
    if (!root)
        return dataRootFailure(parser);
    const auto outDir = requiredValue(parser, out);
    if (!outDir)
        return kUsage;
    const auto pages = pageFormat(parser.value(format));
    if (!pages) {
        printError(QStringLiteral("'%1' is not a format; use rtf, txt or html").arg(parser.value(format)));
        return kUsage;
    }
    const QString pagesOut = *outDir + QStringLiteral("/pages");
    const QString datesOut = *outDir + QStringLiteral("/dates");
    if (!QDir().mkpath(pagesOut) || !QDir().mkpath(datesOut)) {
        printError(QStringLiteral("cannot create %1").arg(*outDir));
        return kFailed;
    }
    const bool pagesOk = exportPages(*root, pagesOut, *pages);
    const bool notesOk = exportNotes(*root, datesOut);
    return pagesOk && notesOk ? kDone : kFailed;
}

} // namespace tool
