#include "diarycommand.h"
#include "toolcommands.h"
#include "progressreport.h"
#include "toolsupport.h"

#include "diary/daykeys.h"
#include "diary/filelist.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/privatefiles.h"
#include "diary/safewrite.h"
#include "export/rangeexport.h"
#include "richtext/pagecontent.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QDir>
#include <QFileInfo>
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

Outcome leftOut(const QString &path)
{
    return Outcome::failure(QStringLiteral("%1 was left out: it holds %2").arg(QFileInfo(path).completeBaseName(), richtext::tooMuchText()));
}

Outcome writeConverted(const QString &path, QByteArray rtf, PageFormat format)
{
    if (format == PageFormat::Rtf)
        return writeFileAtomically(path, rtf);
    // The text alone needs no document: the extractor gives the reader's text.
    if (format == PageFormat::Txt) {
        const auto text = richtext::pageText(rtf);
        return text ? writeFileAtomically(path, text->toUtf8()) : leftOut(path);
    }
    QTextDocument page;
    if (!richtext::readRtf(rtf, page))
        return leftOut(path);
    // A page of pictures is as large as its HTML: not both at once.
    rtf = QByteArray();
    return writeFileAtomically(path, richtext::htmlWithPictures(page));
}

bool exportPages(const DataRoot &root, const QString &outDir, PageFormat format)
{
    bool ok = true;
    for (const QString &name : pageFileNames(root.pagesDir())) {
        const QString key = daykeys::keyFromFileName(name);
        const auto date = daykeys::dateFromDayKey(key);
        if (!date)
            continue;
        auto rtf = pagestore::load(root, *date);
        const QString path = outDir + QLatin1Char('/') + key + suffix(format);
        const Outcome written = rtf ? writeConverted(path, std::move(*rtf), format)
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
        // Only a real month and day's name is a note, as a real day's is a page: not a sync tool's copy.
        const QString key = daykeys::keyFromFileName(name);
        if (!daykeys::monthDayFromNoteKey(key))
            continue;
        const auto bytes = notestore::loadFile(root, root.notePath(key));
        if (!bytes) {
            printError(QStringLiteral("cannot read note %1").arg(name));
            ok = false;
            continue;
        }
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

// The option's day, a null date when it is not given, or nothing after saying why.
std::optional<QDate> dayValue(const QCommandLineParser &parser, const QCommandLineOption &option)
{
    if (!parser.isSet(option))
        return QDate();
    if (const auto date = daykeys::dateFromDayKey(parser.value(option)))
        return *date;
    printError(QStringLiteral("'%1' is not a day; write it as yyyy-mm-dd").arg(parser.value(option)));
    return std::nullopt;
}

int exportRange(const DataRoot &root, const rangeexport::Request &request)
{
    ProgressReport report(QStringLiteral("Exported %1 of %2 pages"));
    const Outcome exported = rangeexport::exportRange(root, request, [&report](int done, int total) {
        report.show(done, total);
        return true;
    });
    report.finish();
    return exitCode(exported);
}

int exportEverything(const DataRoot &root, const QString &outDir, PageFormat format)
{
    const QString pagesOut = outDir + QStringLiteral("/pages");
    const QString datesOut = outDir + QStringLiteral("/dates");
    if (!privatefiles::makeFolder(pagesOut) || !privatefiles::makeFolder(datesOut)) {
        printError(QStringLiteral("cannot create %1").arg(outDir));
        return kFailed;
    }
    const bool pagesOk = exportPages(root, pagesOut, format);
    const bool notesOk = exportNotes(root, datesOut);
    return pagesOk && notesOk ? kDone : kFailed;
}

} // namespace

int exportCommand(const QStringList &arguments)
{
    const QCommandLineOption out(QStringLiteral("out"), QStringLiteral("The folder to write into; for pdf, the file."),
                                 QStringLiteral("PATH"));
    const QCommandLineOption format(QStringLiteral("format"),
                                    QStringLiteral("rtf (the stored page), txt (its plain text in UTF-8), html "
                                                   "(with its pictures inside), md (Markdown) or pdf (laid out as "
                                                   "printed)."),
                                    QStringLiteral("FORMAT"), QStringLiteral("rtf"));
    const QCommandLineOption from(QStringLiteral("from"),
                                  QStringLiteral("md and pdf: the first day to export; the diary's first when left out."),
                                  QStringLiteral("yyyy-mm-dd"));
    const QCommandLineOption to(QStringLiteral("to"),
                                QStringLiteral("md and pdf: the last day to export; the diary's last when left out."),
                                QStringLiteral("yyyy-mm-dd"));
    const QCommandLineOption oneFile(QStringLiteral("one-file"),
                                     QStringLiteral("md: the whole range in the one file OUT/%1.").arg(rangeexport::kOneFileName));
    DiaryCommand command(
        QStringLiteral("Writes every page as OUT/pages/yyyy-mm-dd.rtf (or .txt, .html) and every note as "
                       "OUT/dates/<key>.txt (UTF-8); md and pdf write the pages from --from to --to only: "
                       "OUT/yyyy-mm-dd.md for each (or all in OUT/%1) with the pictures in OUT/images/, "
                       "or the one PDF file OUT with a bookmark for each day.")
            .arg(rangeexport::kOneFileName),
        {out, format, from, to, oneFile});
    const QCommandLineParser &parser = command.parser();
    if (const auto stop = command.parse(arguments, 0))
        return *stop;
    const auto pages = pageFormat(parser.value(format));
    const auto range = rangeexport::formatNamed(parser.value(format));
    if (!pages && !range) {
        printError(QStringLiteral("'%1' is not a format; use rtf, txt, html, md or pdf").arg(parser.value(format)));
        return kUsage;
    }
    if (pages && (parser.isSet(from) || parser.isSet(to) || parser.isSet(oneFile))) {
        printError(QStringLiteral("--from, --to and --one-file go with md or pdf only"));
        return kUsage;
    }
    if (range == rangeexport::Format::Pdf && parser.isSet(oneFile)) {
        printError(QStringLiteral("--one-file goes with md only: a PDF is one file"));
        return kUsage;
    }
    const auto first = dayValue(parser, from);
    const auto last = dayValue(parser, to);
    if (!first || !last)
        return kUsage;
    if (const auto stop = command.open())
        return *stop;
    const auto outPath = requiredValue(parser, out);
    if (!outPath)
        return kUsage;
    if (pages)
        return exportEverything(command.root(), *outPath, *pages);
    return exportRange(command.root(), {*range, *first, *last, *outPath, parser.isSet(oneFile)});
}

} // namespace tool
