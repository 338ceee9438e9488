#include "diary/pagestore.h"
#include "import/diaryimport.h"
#include "import/json/entryspans.h"
#include "import/json/jsonexport.h"
#include "import/readers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <sys/resource.h>

namespace {

double peakMebibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// Writes `count` items made by `item`, each padded with `pad`, between `head`
// and `tail`, separated by commas when `commas`.
qint64 writeItems(const QString &path, const QByteArray &head, int count, const std::function<QByteArray(int)> &item,
                  const QByteArray &tail, const char *separator = ",\n")
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    file.write(head);
    for (int i = 0; i < count; ++i) {
        file.write(item(i));
        if (i + 1 < count)
            file.write(separator);
    }
    file.write(tail);
    return file.size();
}

QByteArray padding(qint64 whole, int count, int overhead)
{
    return QByteArray(std::max<qint64>(whole / count - overhead, 1), 'w');
}

// jrnl: `count` short entries, 365 a day, just under the largest export.
qint64 writeJrnl(const QString &folder, int count)
{
    const QByteArray body = padding(diaryimport::json::kLargestExport, count, 120);
    return writeItems(folder + QStringLiteral("/journal.json"), "{\"tags\": {}, \"entries\": [\n", count, [&](int i) {
        const QDate day = QDate(2000, 1, 1).addDays(i / 365);
        const QTime time = QTime(0, 0).addSecs(i % 365 * 60);
        return QStringLiteral(R"({"date": "%1", "time": "%2", "title": "Entry %3.", "body": ")")
                   .arg(day.toString(Qt::ISODate), time.toString(QStringLiteral("HH:mm")))
                   .arg(i)
                   .toUtf8()
            + body + "\", \"tags\": [], \"starred\": false}";
    }, "]}\n");
}

// Mini Diary: one entry a day for `count` days, just under the largest export.
qint64 writeMiniDiary(const QString &folder, int count)
{
    const QByteArray text = padding(diaryimport::json::kLargestExport, count, 100);
    return writeItems(folder + QStringLiteral("/minidiary.json"), "{\"metadata\": {}, \"entries\": {\n", count, [&](int i) {
        return "\"" + QDate(2000, 1, 1).addDays(i).toString(Qt::ISODate).toUtf8() + R"(": {"title": "", "text": ")" + text + "\"}";
    }, "}}\n");
}

// Day One, unpacked: a journal of `count` entries, 24 a day, just under the
// largest file of the export.
qint64 writeDayOne(const QString &folder, int count)
{
    const QByteArray text = padding(pagestore::kLargestPageFile, count, 120);
    return writeItems(folder + QStringLiteral("/Journal.json"), "{\"entries\": [\n", count, [&](int i) {
        const QDateTime moment(QDate(2000, 1, 1).addDays(i / 24), QTime(i % 24, 0), Qt::UTC);
        return R"({"creationDate": ")" + moment.toString(Qt::ISODate).toUtf8() + R"(", "timeZone": "UTC", "text": ")" + text
            + "\"}";
    }, "]}\n");
}

// RedNotebook: `count` month files each just under the largest, every day
// of the month written.
qint64 writeRedNotebook(const QString &folder, int count)
{
    const QByteArray line = QByteArray(1000, 'w') + '\n';
    qint64 bytes = 0;
    for (int month = 0; month < count; ++month) {
        const QDate first = QDate(2000, 1, 1).addMonths(month);
        const QByteArray text = "    " + line.repeated(int((qint64(32) << 20) / 31 / (line.size() + 4)) - 1).replace("\n", "\n    ");
        bytes += writeItems(folder + first.toString(QStringLiteral("/yyyy-MM'.txt'")), "", first.daysInMonth(), [&](int day) {
            return QByteArray::number(day + 1) + ":\n  text: |\n" + text;
        }, "\n", "\n");
    }
    return bytes;
}

// Markdown: `count` day files, each of the largest text a day takes, written
// a paragraph at a time so the writing adds nothing to the peak.
qint64 writeMarkdown(const QString &folder, int count)
{
    const QByteArray paragraph = QByteArray(1000, 'w') + "\n\n";
    const int paragraphs = int(diaryimport::kLargestDayText / paragraph.size()) - 1;
    qint64 bytes = 0;
    for (int day = 0; day < count; ++day) {
        bytes += writeItems(folder + QDate(2000, 1, 1).addDays(day).toString(QStringLiteral("/yyyy-MM-dd'.md'")), "",
                            paragraphs, [&](int) { return paragraph; }, "", "");
    }
    return bytes;
}

struct Format
{
    const char *name;
    diaryimport::Source source;
    int count;
    qint64 (*write)(const QString &folder, int count);
    // What the import is given: the folder, or this file in it.
    const char *file;
};

const Format kFormats[] = {
    {"jrnl", diaryimport::Source::Jrnl, int(diaryimport::json::kMostEntries), writeJrnl, "journal.json"},
    {"minidiary", diaryimport::Source::MiniDiary, 10000, writeMiniDiary, "minidiary.json"},
    {"dayone", diaryimport::Source::DayOne, 100000, writeDayOne, nullptr},
    {"rednotebook", diaryimport::Source::RedNotebook, 3, writeRedNotebook, nullptr},
    {"markdown", diaryimport::Source::Markdown, 3, writeMarkdown, nullptr},
};

// The scan for the places of a JSON export's entries alone: the part a
// streaming JSON parser could take over.
int scanOnly(const Format &format, const QString &path, qint64 bytes)
{
    QFile file(path);
    if (!format.file || !file.open(QIODevice::ReadOnly)) {
        std::fprintf(stderr, "--scan-only takes a jrnl or Mini Diary export\n");
        return 2;
    }
    const auto shape = format.source == diaryimport::Source::MiniDiary ? diaryimport::json::Shape::Keyed : diaryimport::json::Shape::List;
    QElapsedTimer timer;
    timer.start();
    const auto spans = diaryimport::json::entrySpans(file, shape, diaryimport::json::kLargestExport, diaryimport::json::kMostEntries);
    std::printf("%s: %zu places, %.1f MB\nscanned  %8.2f s  peak %7.1f MiB\n", format.name, spans.items.size(), double(bytes) / 1e6,
                double(timer.elapsed()) / 1000.0, peakMebibytes());
    return spans.found ? 0 : 1;
}

} // namespace

// Writes the largest input of one format an import accepts, imports it into
// an empty diary and prints the time and the peak memory of reading it and of
// storing its pages. --from FORMAT (jrnl by default: the most entries an
// export may hold), --count N changes the number of entries, days or files,
// --read-only stops before the pages are stored, --scan-only only finds a JSON
// export's entries, --under DIR sets the folder.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const auto option = [&](const char *name, const QString &otherwise) {
        const qsizetype at = arguments.indexOf(QLatin1String(name));
        return at > 0 ? arguments.value(at + 1) : otherwise;
    };
    const QString from = option("--from", QStringLiteral("jrnl"));
    const auto format = std::ranges::find_if(kFormats, [&](const Format &known) { return from == QLatin1String(known.name); });
    if (format == std::end(kFormats)) {
        std::fprintf(stderr, "no format %s\n", qPrintable(from));
        return 2;
    }
    const int count = std::max(option("--count", QString::number(format->count)).toInt(), 1);
    QTemporaryDir work(option("--under", QDir::tempPath()) + QStringLiteral("/import-bench-XXXXXX"));
    QDir(work.path()).mkpath(QStringLiteral("input"));
    const QString input = work.filePath(QStringLiteral("input"));
    const qint64 bytes = format->write(input, count);
    const QString path = format->file ? input + QLatin1Char('/') + QLatin1String(format->file) : input;
    QDir(work.path()).mkpath(QStringLiteral("diary/pages"));
    QDir(work.path()).mkpath(QStringLiteral("diary/dates"));
    const DataRoot root(work.filePath(QStringLiteral("diary")));
    if (arguments.contains(QStringLiteral("--scan-only")))
        return scanOnly(*format, path, bytes);
    const double before = peakMebibytes();

    QElapsedTimer timer;
    timer.start();
    const diaryimport::Read read = diaryimport::readDiary(format->source, path);
    const qint64 readMs = timer.elapsed();
    const double readPeak = peakMebibytes();
    if (read.error) {
        std::fprintf(stderr, "the export was refused: %s\n", qPrintable(*read.error));
        return 1;
    }
    if (arguments.contains(QStringLiteral("--read-only"))) {
        std::printf("%s: %zu entries, %.1f MB\nread     %8.2f s  peak %7.1f MiB\n", format->name, read.entries.size(),
                    double(bytes) / 1e6, double(readMs) / 1000.0, readPeak);
        return 0;
    }
    const auto days = diaryimport::importEntries(root, read.entries, diaryimport::Existing::Skip);
    const qint64 allMs = timer.elapsed();
    std::printf("%s: %zu entries, %.1f MB, %zu days\n", format->name, read.entries.size(), double(bytes) / 1e6, days.size());
    std::printf("read     %8.2f s  peak %7.1f MiB\n", double(readMs) / 1000.0, readPeak);
    std::printf("imported %8.2f s  peak %7.1f MiB (%.1f MiB before reading)\n", double(allMs) / 1000.0, peakMebibytes(), before);
    return 0;
}
