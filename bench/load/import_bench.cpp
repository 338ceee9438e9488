#include "import/diaryimport.h"
#include "import/json/jsonexport.h"
#include "import/readers.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdio>
#include <sys/resource.h>

namespace {

double peakMebibytes()
{
    rusage usage{};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// A jrnl export of `entries` short entries, a few hundred a day, each body
// padded so the whole file comes just under the largest export accepted.
qint64 writeJrnl(const QString &path, int entries)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly))
        return 0;
    const qint64 perEntry = diaryimport::json::kLargestExport / entries - 120;
    const QByteArray body(std::max<qint64>(perEntry, 1), 'w');
    const QDate first(2000, 1, 1);
    file.write("{\"tags\": {}, \"entries\": [\n");
    for (int i = 0; i < entries; ++i) {
        const QDate day = first.addDays(i / 365);
        const QTime time = QTime(0, 0).addSecs(i % 365 * 60);
        file.write(QStringLiteral(R"({"date": "%1", "time": "%2", "title": "Entry %3.", "body": ")")
                       .arg(day.toString(Qt::ISODate), time.toString(QStringLiteral("HH:mm")))
                       .arg(i)
                       .toUtf8());
        file.write(body);
        file.write(i + 1 < entries ? "\", \"tags\": [], \"starred\": false},\n" : "\", \"tags\": [], \"starred\": false}\n");
    }
    file.write("]}\n");
    return file.size();
}

} // namespace

// Imports the largest jrnl export accepted, a million short entries, into an
// empty diary, and prints the time and the peak memory of reading it and of
// storing its pages. --entries N changes the count, --under DIR the folder.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    const QStringList arguments = app.arguments();
    const qsizetype entriesAt = arguments.indexOf(QStringLiteral("--entries"));
    const int entries = entriesAt > 0 ? arguments.value(entriesAt + 1).toInt() : 1000000;
    const qsizetype underAt = arguments.indexOf(QStringLiteral("--under"));
    QTemporaryDir work(underAt > 0 ? arguments.value(underAt + 1) + QStringLiteral("/import-bench-XXXXXX")
                                   : QDir::tempPath() + QStringLiteral("/import-bench-XXXXXX"));
    const QString exportPath = work.filePath(QStringLiteral("journal.json"));
    const qint64 bytes = writeJrnl(exportPath, std::max(entries, 1));
    QDir(work.path()).mkpath(QStringLiteral("diary/pages"));
    QDir(work.path()).mkpath(QStringLiteral("diary/dates"));
    const DataRoot root(work.filePath(QStringLiteral("diary")));
    const double before = peakMebibytes();

    QElapsedTimer timer;
    timer.start();
    const diaryimport::Read read = diaryimport::readJrnl(exportPath);
    const qint64 readMs = timer.elapsed();
    const double readPeak = peakMebibytes();
    if (read.error) {
        std::fprintf(stderr, "the export was refused: %s\n", qPrintable(*read.error));
        return 1;
    }
    const auto days = diaryimport::importEntries(root, read.entries, diaryimport::Existing::Skip);
    const qint64 allMs = timer.elapsed();
    std::printf("jrnl export: %d entries, %.1f MB, %zu days\n", entries, double(bytes) / 1e6, days.size());
    std::printf("read     %8.2f s  peak %7.1f MiB\n", double(readMs) / 1000.0, readPeak);
    std::printf("imported %8.2f s  peak %7.1f MiB (%.1f MiB before reading)\n", double(allMs) / 1000.0, peakMebibytes(), before);
    return 0;
}
