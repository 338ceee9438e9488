#include "../core/diarygen.h"

#include "diary/filelist.h"
#include "diary/search.h"
#include "richtext/textsearch.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 5;
const QString kTerm = QStringLiteral("harbour with Anna");

// The best of runs, in milliseconds; prepare runs untimed before each.
double bestMs(const std::function<void()> &step, const std::function<void()> &prepare = [] {})
{
    std::vector<qint64> took;
    for (int run = 0; run < kRuns; ++run) {
        prepare();
        QElapsedTimer timer;
        timer.start();
        step();
        took.push_back(timer.nsecsElapsed());
    }
    return double(*std::min_element(took.begin(), took.end())) / 1e6;
}

// A century of days from 1 March 1927, as century_bench makes it.
struct Century
{
    QTemporaryDir dir;
    DataRoot root{dir.path()};
    QStringList names;

    explicit Century(int days)
    {
        QDir(dir.path()).mkdir(QStringLiteral("pages"));
        QDir(dir.path()).mkdir(QStringLiteral("dates"));
        diarygen::Options options;
        options.days = days;
        options.first = QDate(1927, 3, 1);
        diarygen::generate(root, options);
        names = sortedFileNames(root.pagesDir());
    }
};

qint64 bytesOfFiles(const QString &folder)
{
    qint64 total = 0;
    for (const QFileInfo &file : QDir(folder).entryInfoList(QDir::Files))
        total += file.size();
    return total;
}

void textSearch(const Century &diary, textsearch::Options options, const char *what)
{
    QStringList uncached;
    QStringList first;
    QStringList repeated;
    textsearch::TextCache cache;
    const auto run = [&](QStringList &found, textsearch::TextCache *with) {
        return [&found, &diary, options, with] { found = textsearch::search(diary.root, diary.names, kTerm, options, with); };
    };
    const double none = bestMs(run(uncached, nullptr));
    const double empty = bestMs(run(first, &cache), [&] { cache.clear(); });
    const double filled = bestMs(run(repeated, &cache));
    const bool same = uncached == first && first == repeated;
    std::printf("%s: no cache %.1f ms, first (empty cache) %.1f ms (goal at most 1000), repeated %.1f ms (goal at most 300); "
                "found %d, same results: %s\n",
                what, none, empty, filled, int(repeated.size()), same ? "yes" : "NO");
    std::printf("%s: cache holds %.1f MiB of text and names\n", what, double(cache.bytes()) / (1 << 20));
}

void century(int days)
{
    QElapsedTimer made;
    made.start();
    const Century diary(days);
    std::printf("century diary: %d pages, %.1f MiB of page files, made in %.1f s\n", int(diary.names.size()),
                double(bytesOfFiles(diary.root.pagesDir())) / (1 << 20), double(made.elapsed()) / 1000);
    QStringList found;
    const double markup = bestMs([&] { found = searchPages(diary.root.pagesDir(), diary.names, kTerm); });
    std::printf("reference, the markup search of the same pages: %.1f ms, found %d\n", markup, int(found.size()));
    textSearch(diary, {true, true}, "text search, match case");
    textSearch(diary, {false, true}, "text search, ignore case");
}

} // namespace

// The text search of a century diary with its files in the page cache: the
// first search into an empty cache, then the same search again.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption daysOption(QStringLiteral("days"), QStringLiteral("Pages in the diary."), QStringLiteral("N"),
                                        QStringLiteral("36500"));
    parser.addOption(daysOption);
    parser.process(app);
    century(parser.value(daysOption).toInt());
    return 0;
}
