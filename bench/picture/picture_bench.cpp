#include "diary/dataroot.h"
#include "diary/pagestore.h"
#include "picture/addpicture.h"
#include "picture/frmpicture.h"
#include "picture/picturebox.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"

#include "photograph.h"
#include "quietdialogs.h"

#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QFileInfo>
#include <QImageWriter>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>

#include <cstdlib>

// A 12-megapixel holiday photo added at ".50" and the page saved, against
// the floor: writing the same half-size picture as a JPEG with QImageWriter.
namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
// The quality the page stores photographs at.
constexpr int kPageJpegQuality = 92;
const QDate kDay(2026, 12, 4);

// Answers the file dialog with the photo; no other box may come.
class PhotoDialogs final : public QuietDialogs
{
public:
    explicit PhotoDialogs(QString path) : m_path(std::move(path)) {}
    Button message(const QString &text, const QString &, Icon, Buttons, Button) override
    {
        qFatal("unexpected message: %s", qPrintable(text));
    }
    QString openFile(const QString &, const QString &, const QString &) override { return m_path; }

private:
    QString m_path;
};

struct Holiday
{
    QTemporaryDir dir;
    QString photoPath;
    QString floorPath;
    DataRoot root{QString()};
    QImage halved;
};

Holiday &holiday()
{
    static Holiday made = [] {
        Holiday h;
        QDir(h.dir.path()).mkpath(QStringLiteral("pages"));
        h.root = DataRoot(h.dir.path());
        h.photoPath = h.dir.filePath(QStringLiteral("holiday.jpg"));
        h.floorPath = h.dir.filePath(QStringLiteral("floor.jpg"));
        QImageWriter writer(h.photoPath, "jpeg");
        writer.setQuality(95);
        writer.write(photograph(QSize(kWidth, kHeight)));
        return h;
    }();
    return made;
}

qint64 fileSize(const QString &path)
{
    return QFileInfo(path).size();
}

// From the pick of ".50" to the saved page.
void pasteAtHalfAndSave(Frmpicture &window, RichTextEdit &page, benchmark::State &state)
{
    page.clear();
    window.Combo1_Click(window.Combo1->findText(QStringLiteral(".50")));
    window.Toolbar1_ButtonClick(QStringLiteral("Paste"));
    if (!pagestore::save(holiday().root, kDay, page.textRtf()))
        state.SkipWithError("the page was not saved");
}

void insertAtHalfAndSave(benchmark::State &state)
{
    Holiday &h = holiday();
    PhotoDialogs dialogs(h.photoPath);
    RichTextEdit page;
    Frmpicture window(page, dialogs);
    for (auto _ : state) {
        picture::AddPicture(dialogs, [&]() -> Frmpicture & { return window; });
        pasteAtHalfAndSave(window, page, state);
    }
    h.halved = window.Picture1->picture();
    state.counters["page_mb"] = double(fileSize(h.root.pagePath(kDay))) / (1 << 20);
}

// The same with the photo read once, before the clock starts.
void scalePasteAndSave(benchmark::State &state)
{
    PhotoDialogs dialogs(holiday().photoPath);
    RichTextEdit page;
    Frmpicture window(page, dialogs);
    picture::AddPicture(dialogs, [&]() -> Frmpicture & { return window; });
    for (auto _ : state)
        pasteAtHalfAndSave(window, page, state);
}

void floorWriteJpeg(benchmark::State &state)
{
    Holiday &h = holiday();
    if (h.halved.isNull()) {
        state.SkipWithError("run insertAtHalfAndSave first");
        return;
    }
    for (auto _ : state) {
        QImageWriter writer(h.floorPath, "jpeg");
        writer.setQuality(kPageJpegQuality);
        if (!writer.write(h.halved))
            state.SkipWithError("the JPEG was not written");
    }
    state.counters["jpeg_mb"] = double(fileSize(h.floorPath)) / (1 << 20);
    state.counters["page_to_jpeg_size"] = double(fileSize(h.root.pagePath(kDay))) / double(fileSize(h.floorPath));
}

} // namespace

BENCHMARK(insertAtHalfAndSave)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(scalePasteAndSave)->Unit(benchmark::kMillisecond)->MinTime(3);
BENCHMARK(floorWriteJpeg)->Unit(benchmark::kMillisecond)->MinTime(3);

int main(int argc, char **argv)
{
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}
