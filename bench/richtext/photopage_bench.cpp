#include "diary/dataroot.h"
#include "diary/pagestore.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include "photograph.h"

#include <QBuffer>
#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QImageReader>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextDocument>

#include <benchmark/benchmark.h>

#include <cstdlib>

// A page holding one 5 MB JPEG photograph, loaded and saved the way the
// editor does, against the floor: reading the JPEG file and decoding it.
namespace {

constexpr int kWidth = 3680;
constexpr int kHeight = 2760;
constexpr int kQuality = 95;
const QDate kDay(2026, 12, 4);

struct PhotoPage
{
    QTemporaryDir dir;
    QString jpegPath;
    DataRoot root{QString()};
    qsizetype jpegBytes = 0;
};

const PhotoPage &photoPage()
{
    static PhotoPage page = [] {
        PhotoPage made;
        QDir(made.dir.path()).mkpath(QStringLiteral("pages"));
        made.root = DataRoot(made.dir.path());
        made.jpegPath = made.dir.filePath(QStringLiteral("photo.jpg"));
        QImageWriter writer(made.jpegPath, "jpeg");
        writer.setQuality(kQuality);
        writer.write(photograph(QSize(kWidth, kHeight)));
        QFile jpeg(made.jpegPath);
        jpeg.open(QIODevice::ReadOnly);
        const QByteArray bytes = jpeg.readAll();
        made.jpegBytes = bytes.size();
        const QByteArray rtf = "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\\pard A day at the sea\\par\\pard{\\pict\\jpegblip"
                               "\\picw3680\\pich2760\\picwgoal11040\\pichgoal8280 " + bytes.toHex() + "}\\par}";
        pagestore::save(made.root, kDay, rtf);
        return made;
    }();
    return page;
}

void floorReadAndDecode(benchmark::State &state)
{
    const PhotoPage &page = photoPage();
    for (auto _ : state) {
        QFile file(page.jpegPath);
        file.open(QIODevice::ReadOnly);
        QByteArray bytes = file.readAll();
        QBuffer buffer(&bytes);
        buffer.open(QIODevice::ReadOnly);
        QImageReader reader(&buffer, "jpeg");
        benchmark::DoNotOptimize(reader.read());
    }
    state.counters["jpeg_mb"] = double(page.jpegBytes) / (1 << 20);
}

void pageLoadAndSave(benchmark::State &state)
{
    const PhotoPage &page = photoPage();
    for (auto _ : state) {
        QTextDocument document;
        (void)richtext::readRtf(pagestore::load(page.root, kDay).value_or(QByteArray()), document);
        if (!pagestore::save(page.root, kDay, richtext::writeRtf(document)))
            state.SkipWithError("the page was not saved");
    }
}

// The two halves apart, to tell where the time of a load and save goes.
void pageLoad(benchmark::State &state)
{
    const PhotoPage &page = photoPage();
    for (auto _ : state) {
        QTextDocument document;
        (void)richtext::readRtf(pagestore::load(page.root, kDay).value_or(QByteArray()), document);
    }
}

void pageSave(benchmark::State &state)
{
    const PhotoPage &page = photoPage();
    QTextDocument document;
    (void)richtext::readRtf(pagestore::load(page.root, kDay).value_or(QByteArray()), document);
    for (auto _ : state) {
        if (!pagestore::save(page.root, kDay, richtext::writeRtf(document)))
            state.SkipWithError("the page was not saved");
    }
}

} // namespace

BENCHMARK(floorReadAndDecode)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(pageLoadAndSave)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(pageLoad)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(pageSave)->Unit(benchmark::kMillisecond)->MinTime(3);

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QGuiApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
