#include "diarygen.h"

#include "diary/pagestore.h"
#include "diary/scramble.h"

#include <QDir>
#include <QTemporaryDir>

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

void BM_PageSave(benchmark::State &state)
{
    PageFixture page;
    for (auto _ : state)
        benchmark::DoNotOptimize(pagestore::save(page.root, QStringLiteral("2024-03-05"), page.rtf));
    state.SetBytesProcessed(state.iterations() * page.rtf.size());
}
BENCHMARK(BM_PageSave);

void BM_PageLoad(benchmark::State &state)
{
    PageFixture page;
    (void)pagestore::save(page.root, QStringLiteral("2024-03-05"), page.rtf);
    for (auto _ : state)
        benchmark::DoNotOptimize(pagestore::load(page.root, QStringLiteral("2024-03-05")));
    state.SetBytesProcessed(state.iterations() * page.rtf.size());
}
BENCHMARK(BM_PageLoad);

} // namespace
