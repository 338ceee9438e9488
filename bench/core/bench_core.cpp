#include "diarygen.h"

#include "diary/history.h"
#include "diary/pagestore.h"
#include "diary/scramble.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <unistd.h>

#include <benchmark/benchmark.h>

namespace {

void BM_ScrambleLine(benchmark::State &state)
{
    const QByteArray line(state.range(0), 'e');
    for (auto _ : state)
        benchmark::DoNotOptimize(ScrambleLine(line));
    state.SetBytesProcessed(state.iterations() * state.range(0));
}
BENCHMARK(BM_ScrambleLine)->Arg(80)->Arg(4096)->Arg(1 << 20);

struct PageFixture
{
    QTemporaryDir dir;
    DataRoot root{dir.path()};
    QByteArray rtf = diarygen::pageRtf(42, true);
    PageFixture() { QDir(dir.path()).mkdir(QStringLiteral("pages")); }
};

// Each save keeps the replaced page in the history, so the run would measure
// an ever longer history; the page's versions are cleared (untimed) once it
// holds the kept number, as a page saved all day long would.
void BM_PageSave(benchmark::State &state)
{
    PageFixture page;
    const QString versions = history::versionFolder(page.root, page.root.pagePath(QStringLiteral("2024-03-05")));
    int saves = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(pagestore::save(page.root, QDate(2024, 3, 5), page.rtf));
        if (++saves % history::kKeptVersions == 0) {
            state.PauseTiming();
            QDir(versions).removeRecursively();
            state.ResumeTiming();
        }
    }
    state.SetBytesProcessed(state.iterations() * page.rtf.size());
}
BENCHMARK(BM_PageSave);

// The references for a save: the same stored bytes written straight over
// the file, as a save that could leave a cut-off page would, without and
// with the file's own sync.
void directWrite(benchmark::State &state, bool synced)
{
    PageFixture page;
    const QString path = page.root.pagePath(QStringLiteral("2024-03-05"));
    for (auto _ : state) {
        QFile file(path);
        const auto stored = pagestore::encodePage(page.rtf);
        if (!stored || !file.open(QIODevice::WriteOnly | QIODevice::Truncate) || file.write(*stored) != stored->size()
            || !file.flush() || (synced && ::fdatasync(file.handle()) != 0))
            state.SkipWithError("the direct write failed");
    }
    state.SetBytesProcessed(state.iterations() * page.rtf.size());
}

void BM_DirectWrite(benchmark::State &state)
{
    directWrite(state, false);
}
BENCHMARK(BM_DirectWrite);

void BM_DirectWriteSynced(benchmark::State &state)
{
    directWrite(state, true);
}
BENCHMARK(BM_DirectWriteSynced);

void BM_PageLoad(benchmark::State &state)
{
    PageFixture page;
    (void)pagestore::save(page.root, QDate(2024, 3, 5), page.rtf);
    for (auto _ : state)
        benchmark::DoNotOptimize(pagestore::load(page.root, QDate(2024, 3, 5)));
    state.SetBytesProcessed(state.iterations() * page.rtf.size());
}
BENCHMARK(BM_PageLoad);

} // namespace
