#include "../core/benchdiary.h"

#include "diary/daykeys.h"
#include "diary/pagestore.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>

#include <cstdio>
#include <filesystem>
#include <sys/stat.h>

namespace {

struct DiskUse
{
    qint64 files = 0;
    qint64 folders = 0;
};

// What a tree takes on disk. A version is a hard link to the replaced file,
// so its blocks are the old page's; the folders are what the history adds.
DiskUse diskUse(const QString &top)
{
    DiskUse use;
    std::error_code error;
    for (const auto &entry : std::filesystem::recursive_directory_iterator(top.toStdString(), error)) {
        struct stat info {};
        if (::lstat(entry.path().c_str(), &info) != 0)
            continue;
        (S_ISDIR(info.st_mode) ? use.folders : use.files) += qint64(info.st_blocks) * 512;
    }
    return use;
}

double mebibytes(qint64 bytes)
{
    return double(bytes) / (1024.0 * 1024.0);
}

} // namespace

// Overwrites every page of a generated diary once through the page store, as
// a day's second save would, and reports what the kept versions take on disk.
int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const BenchDiary diary(app, QStringLiteral("history-bench"));
    const DataRoot &root = diary.root();
    const diarygen::Options &options = diary.options();
    const int pages = diary.pages();

    QElapsedTimer timer;
    timer.start();
    for (int day = 0; day < pages; ++day) {
        const QDate date = options.first.addDays(day);
        if (!pagestore::save(root, date, diarygen::pageRtf(unsigned(day) + 7, false)))
            std::fprintf(stderr, "the save of %s failed\n", qPrintable(daykeys::dayKey(date)));
    }
    const qint64 took = timer.elapsed();

    const DiskUse pagesUse = diskUse(root.pagesDir());
    const DiskUse historyUse = diskUse(root.path() + QStringLiteral("/history"));
    const double pagesTotal = double(pagesUse.files + pagesUse.folders);
    std::printf("pages: %d, each overwritten once in %.1f s\n", pages, double(took) / 1000.0);
    std::printf("pages folder on disk: %.2f MiB\n", mebibytes(pagesUse.files + pagesUse.folders));
    std::printf("history on disk: %.2f MiB of replaced pages, %.2f MiB of folders\n", mebibytes(historyUse.files),
                mebibytes(historyUse.folders));
    std::printf("ratio (history / pages): %.3f, of which folders %.3f\n",
                double(historyUse.files + historyUse.folders) / pagesTotal, double(historyUse.folders) / pagesTotal);
    return 0;
}
