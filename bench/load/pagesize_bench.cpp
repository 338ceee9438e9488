#include "benchwindow.h"
#include "photograph.h"

#include "app/form1.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "editor/richtextedit.h"

#include <QAbstractTextDocumentLayout>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <cstdio>
#include <csignal>
#include <functional>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr const char *kDay = "2026-12-04";
// Far past "a few seconds": a run this long is stopped and reported as such.
constexpr unsigned kBoundSeconds = 30;

// Paragraphs of words, one to a stored line, as the writer leaves a long
// page: at most `bytes`, so stored with its last CR LF a page of the largest
// text is one of the largest file.
QByteArray textPage(qsizetype bytes)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\f0\\fs20 ";
    rtf.reserve(bytes + 64);
    const QByteArray paragraph = QByteArray("the boats came back to the harbour before the storm ").repeated(3) + "\\par\r\n";
    while (rtf.size() + paragraph.size() + 1 <= bytes)
        rtf += paragraph;
    return rtf + "}";
}

// The largest page in one paragraph, as a writer that never ends one leaves it.
QByteArray oneParagraph()
{
    const QByteArray words("lorem ipsum apples ");
    return "{\\rtf1 " + words.repeated(4150000 / words.size()) + "}";
}

QByteArray jpegHex(QSize size)
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(photograph(size));
    return jpeg.toHex();
}

// Phone photographs under a line each, as many as `bytes` hold.
QByteArray picturePage(qsizetype bytes)
{
    const QByteArray hex = jpegHex(QSize(1600, 1200));
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\f0\\fs20 ";
    const QByteArray picture = "At the harbour\\par\r\n{\\pict\\jpegblip\\picw1600\\pich1200\\picwgoal6000\\pichgoal4500\r\n" + hex
                             + "\r\n}\\par\r\n";
    while (rtf.size() + picture.size() < bytes)
        rtf += picture;
    return rtf + "}";
}

// Written past the page store, which would refuse a page over its limit.
bool makeDiary(const QString &folder, const QByteArray &rtf)
{
    const DataRoot root(folder);
    const auto stored = pagestore::encodePage(rtf);
    QFile page(root.pagePath(QString::fromLatin1(kDay)));
    return QDir(folder).mkpath(QStringLiteral("pages")) && QDir(folder).mkpath(QStringLiteral("dates"))
        && passwordfile::write(root.passwordFile(), u"none") && stored && page.open(QIODevice::WriteOnly)
        && page.write(*stored) == stored->size();
}

// The window on the folder opens the day's page at its start; the page is
// laid out to its end, as scrolling to it would.
int openInWindow(int argc, char **argv, const QString &folder)
{
    QApplication app(argc, argv);
    BenchWindowServices bench(folder, QDate(2026, 12, 4), Dialogs::Button::No);
    BenchWindow window(bench.services);
    Form1 &form = window.form;
    form.show();
    QCoreApplication::processEvents();
    const QSizeF size = control<RichTextEdit>(form, "rtxt2").document()->documentLayout()->documentSize();
    QCoreApplication::processEvents();
    // The sign-in's notice of a diary without a password is the only box.
    return bench.dialogs.shown == 1 && size.height() > 0 && control<RichTextEdit>(form, "rtxt2").document()->characterCount() > 1 ? 0 : 1;
}

int readAll(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) && !file.readAll().isEmpty() ? 0 : 1;
}

struct Run
{
    double seconds = 0;
    double cpu = 0;
    double peak = 0;
    const char *failure = "  NOT RUN";
};

// Each run is a process of its own, so its peak is its own.
Run measure(std::vector<QByteArray> arguments)
{
    std::vector<char *> argv;
    for (QByteArray &argument : arguments)
        argv.push_back(argument.data());
    argv.push_back(nullptr);
    QElapsedTimer timer;
    timer.start();
    const pid_t child = fork();
    if (child == 0) {
        // The alarm outlives exec: a run past the bound ends there.
        alarm(kBoundSeconds);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage {};
    wait4(child, &status, 0, &usage);
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {double(timer.nsecsElapsed()) / 1e9, cpu, double(usage.ru_maxrss) / 1024.0, ended ? "" : WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? "  STOPPED at the bound" : "  REFUSED or FAILED"};
}

void report(const char *what, const Run &run, const Run &reference)
{
    std::printf("  %-22s %7.2f s (%6.1fx), CPU %7.2f s (%6.1fx), peak %7.1f MiB (%5.1fx)%s\n", what, run.seconds,
                run.seconds / reference.seconds, run.cpu, run.cpu / reference.cpu, run.peak, run.peak / reference.peak, run.failure);
}

void measurePage(const char *self, const QString &folder)
{
    const QByteArray root = folder.toLocal8Bit();
    const QByteArray page = DataRoot(folder).pagePath(QString::fromLatin1(kDay)).toLocal8Bit();
    const Run reference = measure({self, "readall", page});
    std::printf("%.2f MiB page file: QFile::readAll of it, the reference, %.2f s, CPU %.2f s, peak %.1f MiB\n",
                double(QFileInfo(QString::fromLocal8Bit(page)).size()) / 1048576.0, reference.seconds, reference.cpu, reference.peak);
    report("open in the window", measure({self, "window", root}), reference);
    report("export --format txt",
           measure({QUILLNEST_TOOL, "export", "--root", root, "--format", "txt", "--out", root + "/txt"}), reference);
    report("export --format html",
           measure({QUILLNEST_TOOL, "export", "--root", root, "--format", "html", "--out", root + "/html"}), reference);
    report("export --format pdf",
           measure({QUILLNEST_TOOL, "export", "--root", root, "--format", "pdf", "--out", root + "/page.pdf"}), reference);
}

// The page is made and let go first: a child starts with what its parent
// holds at the fork, which would count in every child's peak.
void makeAndMeasure(const char *self, const QString &folder, const std::function<QByteArray()> &page)
{
    if (makeDiary(folder, page()))
        measurePage(self, folder);
    else
        std::printf("cannot write the diary in %s\n", qPrintable(folder));
}

} // namespace

// Opens one page of growing size in the main window and exports it to text, HTML
// and PDF, each in a process of its own, against reading the page's file
// with QFile::readAll in a process of its own: the time and the peak memory
// show how large a page the window can take; a larger one is refused at
// once. Sizes in MiB may be given.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QByteArray mode = argc > 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "window")
        return openInWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (mode == "readall")
        return readAll(QString::fromLocal8Bit(argv[2]));

    QList<int> sizes;
    for (int i = 1; i < argc; ++i)
        sizes.append(QByteArray(argv[i]).toInt());
    if (sizes.isEmpty())
        sizes = {4, 5, 79};
    QTemporaryDir dir;
    const QByteArray self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toLocal8Bit();
    std::printf("page limit: %lld MiB stored\n", qint64(pagestore::kLargestPageFile >> 20));
    for (const int mebibytes : sizes) {
        const QString folder = dir.filePath(QStringLiteral("text-%1").arg(mebibytes));
        makeAndMeasure(self.constData(), folder, [&] { return textPage((qsizetype(mebibytes) << 20) - 2); });
    }
    std::printf("in one paragraph, 4.15 M characters:\n");
    makeAndMeasure(self.constData(), dir.filePath(QStringLiteral("one-paragraph")), oneParagraph);
    std::printf("with pictures, up to the limit:\n");
    makeAndMeasure(self.constData(), dir.filePath(QStringLiteral("pictures")), [] { return picturePage(pagestore::kLargestPageFile - 2); });
    return 0;
}
