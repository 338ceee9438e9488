#include "benchwindow.h"
#include "photograph.h"

#include "diary/pagestore.h"
#include "diary/passwordfile.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>

#include <csignal>
#include <fcntl.h>
#include <cstdio>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace {

const QDate kDay(2026, 12, 4);
// Far past the goal: a run this long is stopped and reported as such.
constexpr unsigned kBoundSeconds = 120;

QByteArray textPage()
{
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\f0\\fs20 "
           + QByteArray("the boats came back to the harbour before the storm\\par\r\n").repeated(20) + "}";
}

// Phone photographs under a line each, up to the largest page file.
QByteArray photographPage()
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(photograph(QSize(1600, 1200)));
    const QByteArray picture = "At the harbour\\par\r\n{\\pict\\jpegblip\\picw1600\\pich1200\\picwgoal6000\\pichgoal4500\r\n"
                             + jpeg.toHex() + "\r\n}\\par\r\n";
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard\\f0\\fs20 ";
    while (rtf.size() + picture.size() < pagestore::kLargestPageFile - 2)
        rtf += picture;
    return rtf + "}";
}

// Syncthing's name for the i-th copy, each at its own second.
QString copyName(int i)
{
    return QStringLiteral("2026-12-04.sync-conflict-20261204-%1%2%3-ABCDEFG.dat")
        .arg(10 + i / 3600, 2, 10, QLatin1Char('0'))
        .arg(i / 60 % 60, 2, 10, QLatin1Char('0'))
        .arg(i % 60, 2, 10, QLatin1Char('0'));
}

bool writeFile(const QString &path, const QByteArray &bytes)
{
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

// The page and its copies, each a copy of the stored page's file: the
// parent never holds a large page, since a child starts with what its parent
// holds at the fork, and that would count in every child's peak.
bool makeDiary(const QString &folder, const QString &storedPage, int copies)
{
    const DataRoot root(folder);
    if (!QDir(folder).removeRecursively() || !QDir(folder).mkpath(QStringLiteral("pages")) || !QDir(folder).mkpath(QStringLiteral("dates"))
        || !passwordfile::write(root.passwordFile(), u"none") || !QFile::copy(storedPage, root.pagePath(kDay)))
        return false;
    for (int i = 0; i < copies; ++i) {
        if (!QFile::copy(storedPage, root.pagesDir() + u'/' + copyName(i)))
            return false;
    }
    return true;
}

bool copiesLeft(const QString &folder)
{
    return QDir(DataRoot(folder).pagesDir()).entryList(QDir::Files).size() > 1;
}

// The window's sign-in merges the copies before it shows the day.
int openInWindow(int argc, char **argv, const QString &folder)
{
    QApplication app(argc, argv);
    BenchWindowServices bench(folder, kDay, Dialogs::Button::Ok);
    BenchWindow window(bench.services);
    window.form.show();
    QCoreApplication::processEvents();
    return window.form.startedUp() && !copiesLeft(folder) ? 0 : 1;
}

int readEveryCopy(const QString &folder)
{
    qint64 read = 0;
    for (const QString &name : QDir(DataRoot(folder).pagesDir()).entryList(QDir::Files)) {
        QFile file(DataRoot(folder).pagesDir() + u'/' + name);
        if (file.open(QIODevice::ReadOnly))
            read += file.readAll().size();
    }
    return read > 0 ? 0 : 1;
}

struct Run
{
    double seconds = 0;
    double cpu = 0;
    double peak = 0;
    const char *failure = "";
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
        // The alarm outlives exec: a run past the bound ends there. A merge names every copy: not worth a terminal.
        alarm(kBoundSeconds);
        const int nowhere = open("/dev/null", O_WRONLY);
        dup2(nowhere, STDOUT_FILENO);
        dup2(nowhere, STDERR_FILENO);
        execv(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    rusage usage{};
    wait4(child, &status, 0, &usage);
    const bool ended = WIFEXITED(status) && WEXITSTATUS(status) == 0;
    const double cpu = double(usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) + double(usage.ru_utime.tv_usec + usage.ru_stime.tv_usec) / 1e6;
    return {double(timer.nsecsElapsed()) / 1e9, cpu, double(usage.ru_maxrss) / 1024.0,
            ended ? "" : WIFSIGNALED(status) && WTERMSIG(status) == SIGALRM ? "  STOPPED at the bound" : "  FAILED or copies left"};
}

void report(const char *what, const Run &run, const Run &reference)
{
    std::printf("  %-24s %7.2f s (%6.1fx), CPU %7.2f s (%6.1fx), peak %7.1f MiB (%5.1fx)%s\n", what, run.seconds,
                run.seconds / reference.seconds, run.cpu, run.cpu / reference.cpu, run.peak, run.peak / reference.peak, run.failure);
}

// Every run gets the diary afresh, as a merge takes the copies away.
void measureCopies(const char *self, const QString &folder, const QString &storedPage, int copies, const char *what)
{
    const QByteArray root = folder.toLocal8Bit();
    const auto fresh = [&] { return makeDiary(folder, storedPage, copies); };
    if (!fresh()) {
        std::printf("cannot write the diary in %s\n", root.constData());
        return;
    }
    const Run reference = measure({self, "readall", root});
    std::printf("%d copies of %s (%.1f KiB each): QFile::readAll of every copy, the reference, %.2f s, CPU %.2f s, peak %.1f MiB\n",
                copies, what, double(QFileInfo(storedPage).size()) / 1024.0, reference.seconds, reference.cpu, reference.peak);
    report("conflicts --merge", fresh() ? measure({QUILLNEST_TOOL, "conflicts", "--root", root, "--merge"}) : Run{}, reference);
    report("sign-in in the window", fresh() ? measure({self, "window", root}) : Run{}, reference);
}

bool storePage(const QString &path, const QByteArray &rtf)
{
    const auto stored = pagestore::encodePage(rtf);
    return stored && writeFile(path, *stored);
}

} // namespace

// Merges many copies of one day, and a few of the largest page, with the
// tool and with the window's sign-in, each in a process of its own, against
// reading every copy with QFile::readAll in a process of its own. Counts of
// small copies may be given.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QByteArray mode = argc > 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "window")
        return openInWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (mode == "readall")
        return readEveryCopy(QString::fromLocal8Bit(argv[2]));

    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QByteArray(argv[i]).toInt());
    if (counts.isEmpty())
        counts = {1250, 2500, 5000};
    QTemporaryDir dir;
    const QByteArray self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toLocal8Bit();
    const QString text = dir.filePath(QStringLiteral("text.dat"));
    const QString photographs = dir.filePath(QStringLiteral("photographs.dat"));
    if (!storePage(text, textPage()) || !storePage(photographs, photographPage())) {
        std::printf("cannot write the pages in %s\n", qPrintable(dir.path()));
        return 1;
    }
    for (const int copies : counts)
        measureCopies(self.constData(), dir.filePath(QStringLiteral("small")), text, copies, "a page of 20 paragraphs");
    measureCopies(self.constData(), dir.filePath(QStringLiteral("largest")), photographs, 3, "the largest page of photographs");
    return 0;
}
