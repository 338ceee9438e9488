#include "../core/benchdiary.h"

#include "diary/conversion.h"
#include "diary/filelist.h"
#include "diary/search.h"
#include "richtext/diaryfigures.h"
#include "vault/vault.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

constexpr int kRuns = 5;

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

// What the writing calendar and the tag list ask for: every page's figures, the year's statistics and the tags.
void figures(const DataRoot &root, const QStringList &names, const char *what)
{
    textsearch::TextCache cache;
    QList<diaryfigures::Page> pages;
    int tags = 0;
    const auto all = [&] {
        pages = diaryfigures::pages(root, names, &cache);
        (void)diaryfigures::statistics(pages, pages.constLast().day.year(), QDate::currentDate());
        tags = int(diaryfigures::tagCounts(pages).size());
    };
    const double cold = bestMs(all, [&] { cache.clear(); });
    const double warm = bestMs(all);
    const double counting = bestMs([&] {
        (void)diaryfigures::statistics(pages, std::nullopt, QDate::currentDate());
        (void)diaryfigures::tagCounts(pages);
    });
    // The part of a warm call that only asks each file whether it changed.
    const double stamps = bestMs([&] {
        (void)search::marked(names.size(), [&](search::Share &share) {
            for (qsizetype i; (i = share.next()) >= 0;)
                (void)textsearch::stampOf(root.pagesDir() + QLatin1Char('/') + names[i]);
        });
    });
    std::printf("%s: %d pages, %d tags; cold %.1f ms (goal at most 1000), warm %.1f ms (goal at most 50), of which a stat "
                "of each file %.1f ms and the statistics and tag counts %.1f ms; cache %.1f MiB\n",
                what, int(pages.size()), tags, cold, warm, stamps, counting, double(cache.bytes()) / (1 << 20));
}

} // namespace

// The figures of a century diary (36,500 pages, files in the page cache),
// into an empty text cache and again from the filled one, plain and encrypted.
int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const BenchDiary diary(app, QStringLiteral("figures"));
    const QStringList names = pageFileNames(diary.root().pagesDir());
    figures(diary.root(), names, "plain");
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(u"bench password"), {1, 8192});
    const auto vault = std::make_shared<Vault>(std::move(master), *slot);
    if (!conversion::encrypt(diary.root(), *vault, "quillnest-key bench"))
        return 1;
    figures(DataRoot(diary.root().path(), vault), names, "encrypted");
    return 0;
}
