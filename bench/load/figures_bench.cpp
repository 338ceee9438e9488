#include "../core/benchdiary.h"
#include "../support/besttime.h"

#include "diary/conversion.h"
#include "diary/filelist.h"
#include "diary/search.h"
#include "richtext/diaryfigures.h"
#include "richtext/textsearch.h"
#include "vault/vault.h"

#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <time.h>
#include <vector>

namespace {

constexpr int kRuns = 5;

Best bestMs(const std::function<void()> &step, const std::function<void()> &prepare = [] {})
{
    return ::bestMs(kRuns, step, prepare);
}

void report(const char *diary, const char *what, Best best)
{
    std::printf("%-10s %-58s %8.1f ms (processor %.1f ms)\n", diary, what, best.ms, best.cpuMs);
    std::fflush(stdout);
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
    report(what, "figures, empty cache (goal at most 1000 ms)", bestMs(all, [&] { cache.clear(); }));
    report(what, "figures again, from the cache (goal at most 50 ms)", bestMs(all));
    report(what, "  of which the statistics and tag counts", bestMs([&] {
        (void)diaryfigures::statistics(pages, std::nullopt, QDate::currentDate());
        (void)diaryfigures::tagCounts(pages);
    }));
    // What a warm call cannot spare: asking each file whether it changed.
    report(what, "  of which a stat of each page file", bestMs([&] {
        (void)search::marked(names.size(), [&](search::Share &share) {
            for (qsizetype i; (i = share.next()) >= 0;)
                (void)textsearch::stampOf(root.pagesDir() + QLatin1Char('/') + names[i]);
        });
    }));
    textsearch::TextCache searched;
    report(what, "reference: the text search, empty cache", bestMs([&] {
        (void)textsearch::search(root, names, QStringLiteral("harbour with Anna"), {true, true}, &searched);
    }, [&] { searched.clear(); }));
    std::printf("%-10s %d pages, %d tags, the cache holds %.1f MiB\n", what, int(pages.size()), tags, double(cache.bytes()) / (1 << 20));
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
