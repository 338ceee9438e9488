#include "benchwindow.h"
#include "photograph.h"

#include "diary/pagestore.h"
#include "diary/passwordfile.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QDirIterator>
#include <QElapsedTimer>
#include <QFile>
#include <QImageWriter>
#include <QTemporaryDir>
#include <QTextCursor>
#include <QTextEdit>
#include <QAction>

#include <csignal>
#include <functional>
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

// Phone photographs under a line each, up to limit bytes of RTF.
QByteArray photographPage(qsizetype limit)
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
    while (rtf.size() + picture.size() < limit)
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

// Every file the diary holds: a merge reads the version both grew from as well.
int readEveryCopy(const QString &folder)
{
    qint64 read = 0;
    for (QDirIterator it(folder, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        if (file.open(QIODevice::ReadOnly))
            read += file.readAll().size();
    }
    return read > 0 ? 0 : 1;
}

// The page both computers began from, with the laptop's save of it (a line added) and the history that links the
// two. Arriving, that save waits beside the diary, as Syncthing keeps a file it is bringing in, for the desktop's
// window to open the page; else it is Syncthing's copy, and the desktop has added a line of its own. Made in a
// process of its own, as the parent must not hold a large page.
int makeLaptopSave(const QString &folder, const QString &storedPage, bool arriving)
{
    QFile file(storedPage);
    if (!makeDiary(folder, storedPage, 0) || !file.open(QIODevice::ReadOnly))
        return 1;
    const QByteArray rtf = pagestore::decodePage(file.readAll()).chopped(3);
    const DataRoot root(folder);
    const QString page = root.pagePath(kDay);
    const auto with = [&](const char *line) { return rtf + "\\par\r\n" + line + "\\par\r\n}"; };
    const QString laptops = arriving ? folder + QStringLiteral("/arriving.dat") : root.pagesDir() + u'/' + copyName(0);
    const bool made = pagestore::save(root, kDay, with("From the laptop")) && QFile::rename(page, laptops)
                      && QFile::copy(storedPage, page) && (arriving || pagestore::save(root, kDay, with("From the desktop")));
    return made ? 0 : 1;
}

// The window has the page open and typed into when the laptop's save lands under its name; the save merges both.
int saveOverArrived(int argc, char **argv, const QString &folder)
{
    QApplication app(argc, argv);
    BenchWindowServices bench(folder, kDay, Dialogs::Button::Yes);
    BenchWindow window(bench.services);
    window.form.show();
    QCoreApplication::processEvents();
    QTextCursor typing(control<QTextEdit>(window.form, "rtxt2").document());
    typing.movePosition(QTextCursor::End);
    typing.insertText(QStringLiteral(" From the desktop"));
    const QString page = DataRoot(folder).pagePath(kDay);
    if (!QFile::remove(page) || !QFile::rename(folder + QStringLiteral("/arriving.dat"), page))
        return 1;
    const qint64 arrived = QFileInfo(page).size();
    control<QAction>(window.form, "m2").trigger();
    return window.form.startedUp() && QFileInfo(page).size() > arrived ? 0 : 1;
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
void measureMerges(const char *self, const QString &folder, const std::function<bool()> &fresh, const QString &what)
{
    const QByteArray root = folder.toLocal8Bit();
    if (!fresh()) {
        std::printf("cannot write the diary in %s\n", root.constData());
        return;
    }
    const Run reference = measure({self, "readall", root});
    std::printf("%s: QFile::readAll of every file, the reference, %.2f s, CPU %.2f s, peak %.1f MiB\n", qPrintable(what),
                reference.seconds, reference.cpu, reference.peak);
    report("conflicts --merge", fresh() ? measure({QUILLNEST_TOOL, "conflicts", "--root", root, "--merge"}) : Run{}, reference);
    report("sign-in in the window", fresh() ? measure({self, "window", root}) : Run{}, reference);
}

void measureCopies(const char *self, const QString &folder, const QString &storedPage, int copies, const char *what)
{
    measureMerges(self, folder, [&] { return makeDiary(folder, storedPage, copies); },
                  QStringLiteral("%1 copies of %2 (%3 KiB each)").arg(copies).arg(QLatin1String(what)).arg(double(QFileInfo(storedPage).size()) / 1024.0, 0, 'f', 1));
}

void measureSaveOverArrived(const char *self, const QString &folder, const QString &storedPage)
{
    const QByteArray root = folder.toLocal8Bit();
    const auto fresh = [&] { return !*measure({self, "arriving", root, storedPage.toLocal8Bit()}).failure; };
    if (!fresh()) {
        std::printf("cannot write the diary in %s\n", root.constData());
        return;
    }
    const Run reference = measure({self, "readall", root});
    std::printf("The window saving the largest page stored over the laptop's save of it: QFile::readAll of every file, the reference, "
                "%.2f s, CPU %.2f s, peak %.1f MiB\n", reference.seconds, reference.cpu, reference.peak);
    report("save in the window", fresh() ? measure({self, "saveover", root}) : Run{}, reference);
}

void measureDiffering(const char *self, const QString &folder, const QString &storedPage)
{
    const QByteArray page = storedPage.toLocal8Bit();
    const QByteArray root = folder.toLocal8Bit();
    measureMerges(self, folder, [&] { return !*measure({self, "differing", root, page}).failure; },
                  QStringLiteral("A copy of the largest page stored (%1 MiB of photographs) with a line added on each computer")
                      .arg(double(QFileInfo(storedPage).size()) / 1048576.0, 0, 'f', 1));
}

bool storePage(const QString &path, const QByteArray &rtf)
{
    const auto stored = pagestore::encodePage(rtf);
    return stored && writeFile(path, *stored);
}

} // namespace

// Merges many copies of one day, a few of the largest page, and a copy of the
// largest page stored that differs from it by a line on each computer, with
// the tool and with the window's sign-in, and that page saved in the window
// over the other computer's save of it, each in a process of its own,
// against reading every file with QFile::readAll in a process of its own.
// Counts of small copies may be given.
int main(int argc, char **argv)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    std::setvbuf(stdout, nullptr, _IOLBF, 0);
    const QByteArray mode = argc > 2 ? QByteArray(argv[1]) : QByteArray();
    if (mode == "window")
        return openInWindow(argc, argv, QString::fromLocal8Bit(argv[2]));
    if (mode == "readall")
        return readEveryCopy(QString::fromLocal8Bit(argv[2]));
    if ((mode == "differing" || mode == "arriving") && argc > 3)
        return makeLaptopSave(QString::fromLocal8Bit(argv[2]), QString::fromLocal8Bit(argv[3]), mode == "arriving");
    if (mode == "saveover")
        return saveOverArrived(argc, argv, QString::fromLocal8Bit(argv[2]));

    QList<int> counts;
    for (int i = 1; i < argc; ++i)
        counts.append(QByteArray(argv[i]).toInt());
    if (counts.isEmpty())
        counts = {1250, 2500, 5000};
    QTemporaryDir dir;
    const QByteArray self = QFileInfo(QString::fromLocal8Bit(argv[0])).absoluteFilePath().toLocal8Bit();
    const QString text = dir.filePath(QStringLiteral("text.dat"));
    const QString photographs = dir.filePath(QStringLiteral("photographs.dat"));
    const QString savable = dir.filePath(QStringLiteral("savable.dat"));
    if (!storePage(text, textPage()) || !storePage(photographs, photographPage(pagestore::kLargestPageFile - 2))
        || !storePage(savable, photographPage(pagestore::kLargestPageText - 4096))) {
        std::printf("cannot write the pages in %s\n", qPrintable(dir.path()));
        return 1;
    }
    for (const int copies : counts)
        measureCopies(self.constData(), dir.filePath(QStringLiteral("small")), text, copies, "a page of 20 paragraphs");
    measureCopies(self.constData(), dir.filePath(QStringLiteral("largest")), photographs, 3, "the largest page of photographs");
    measureDiffering(self.constData(), dir.filePath(QStringLiteral("differing")), savable);
    measureSaveOverArrived(self.constData(), dir.filePath(QStringLiteral("arriving")), savable);
    return 0;
}
