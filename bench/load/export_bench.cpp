#include "../core/benchdiary.h"

#include "diary/daykeys.h"
#include "diary/pagestore.h"
#include "export/rangeexport.h"
#include "richtext/rtfreader.h"

#include <QDir>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QTextDocument>

#include <cstdio>
#include <sys/resource.h>

namespace {

double peakMebibytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

double fileMebibytes(const QString &path)
{
    return double(QFileInfo(path).size()) / (1024.0 * 1024.0);
}

// What every export does for each page before writing anything.
qint64 readAndBuild(const DataRoot &root, QDate first, int pages)
{
    QElapsedTimer timer;
    timer.start();
    for (int day = 0; day < pages; ++day) {
        QTextDocument document;
        if (const auto rtf = pagestore::load(root, first.addDays(day)))
            (void)richtext::readRtf(*rtf, document);
    }
    return timer.elapsed();
}

struct Run
{
    qint64 milliseconds = 0;
    double peak = 0;
};

Run exportOnce(const DataRoot &root, const rangeexport::Request &request)
{
    QElapsedTimer timer;
    timer.start();
    if (const Outcome done = rangeexport::exportRange(root, request); !done)
        std::fprintf(stderr, "the export to %s failed: %s\n", qPrintable(request.out), qPrintable(done.error()));
    return {timer.elapsed(), peakMebibytes()};
}

void report(const char *what, const Run &run, double reference)
{
    std::printf("%-32s %9.2f s  %6.2f x reference  peak %7.1f MiB\n", what, double(run.milliseconds) / 1000.0,
                double(run.milliseconds) / reference, run.peak);
}

} // namespace

// Exports a generated century diary to PDF and to Markdown, timed against
// reading and building every page, the part of the work no export avoids.
// The peak memory after a tenth of the diary and after all of it shows
// whether an export holds more than a page at a time.
int main(int argc, char **argv)
{
    // The PDF needs fonts, which a GUI application brings, and no display.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const BenchDiary diary(app, QStringLiteral("export-bench"));
    const DataRoot &root = diary.root();
    const diarygen::Options &options = diary.options();
    const int pages = diary.pages();
    const QDate tenthEnds = options.first.addDays(pages / 10 - 1);
    std::printf("pages: %d; peak before exporting %.1f MiB; a part's reference is its share of the whole's\n", pages,
                peakMebibytes());

    const qint64 reference = readAndBuild(root, options.first, pages);
    std::printf("%-32s %9.2f s  (the reference)    peak %7.1f MiB\n", "reading and building every page",
                double(reference) / 1000.0, peakMebibytes());

    using rangeexport::Format;
    const auto exported = [&](const char *what, const rangeexport::Request &request, int share) {
        report(what, exportOnce(root, request), double(reference) / share);
    };
    // Markdown first: the peak only grows, and the PDF's would hide it.
    exported("Markdown files, a tenth", {Format::Markdown, {}, tenthEnds, diary.filePath(QStringLiteral("md-tenth")), false}, 10);
    exported("Markdown files, all", {Format::Markdown, {}, {}, diary.filePath(QStringLiteral("md")), false}, 1);
    exported("Markdown in one file, a tenth", {Format::Markdown, {}, tenthEnds, diary.filePath(QStringLiteral("one-tenth")), true}, 10);
    exported("Markdown in one file, all", {Format::Markdown, {}, {}, diary.filePath(QStringLiteral("one")), true}, 1);
    const QString pdfTenth = diary.filePath(QStringLiteral("tenth.pdf"));
    const QString pdfAll = diary.filePath(QStringLiteral("all.pdf"));
    exported("PDF, a tenth", {Format::Pdf, {}, tenthEnds, pdfTenth, false}, 10);
    exported("PDF, all", {Format::Pdf, {}, {}, pdfAll, false}, 1);
    std::printf("PDF sizes: a tenth %.1f MiB, all %.1f MiB; one Markdown file %.1f MiB\n", fileMebibytes(pdfTenth),
                fileMebibytes(pdfAll), fileMebibytes(diary.filePath(QStringLiteral("one/")) + rangeexport::kOneFileName));
    return 0;
}
