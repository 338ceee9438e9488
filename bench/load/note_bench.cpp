#include "diary/notestore.h"
#include "editor/richtextedit.h"
#include "richtext/pagecontent.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryFile>
#include <QTextDocument>

#include <algorithm>
#include <cstdio>
#include <functional>

namespace {

// A note of short lines, as typed, of about the given size.
QByteArray noteOf(qsizetype bytes)
{
    const QByteArray line = "Anna's birthday, buy flowers and call at nine\r\n";
    QByteArray note;
    note.reserve(bytes + line.size());
    while (note.size() < bytes)
        note += line;
    return note;
}

double bestMs(const std::function<void()> &work)
{
    double best = 1e18;
    for (int run = 0; run < 2; ++run) {
        QElapsedTimer timer;
        timer.start();
        work();
        best = std::min(best, double(timer.nsecsElapsed()) / 1e6);
    }
    return best;
}

} // namespace

// A yearly note's text put into a bare document and into the note editor,
// for growing sizes, beside reading the same bytes from a file with QFile.
// Time per MiB stays flat when loading is linear.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    RichTextEdit editor;
    editor.show();
    std::printf("%8s %12s %14s %8s %16s %8s\n", "MiB", "QFile ms/MiB", "document ms/MiB", "ratio", "editor ms/MiB", "ratio");
    std::setvbuf(stdout, nullptr, _IONBF, 0);
    for (const int mebibytes : {1, 2, 4, 8, 16, 32}) {
        const QByteArray note = noteOf(qsizetype(mebibytes) << 20);
        QTemporaryFile file;
        if (!file.open() || file.write(note) != note.size() || !file.flush())
            return 1;
        const double read = bestMs([&] {
            QFile in(file.fileName());
            in.open(QIODevice::ReadOnly);
            in.readAll();
        });
        const double document = bestMs([&] {
            QTextDocument page;
            (void)richtext::loadBytes(note, page);
        });
        std::printf("%8d %12.2f %14.2f %8.1f", mebibytes, read / mebibytes, document / mebibytes, document / read);
        // The editor lays every line out, a second a MiB: beyond a note's limit it only takes time.
        if (mebibytes > 4) {
            std::printf("\n");
            continue;
        }
        const double shown = bestMs([&] {
            (void)editor.loadBytes(note);
            QCoreApplication::processEvents();
        });
        std::printf(" %16.2f %8.1f\n", shown / mebibytes, shown / read);
    }
    return 0;
}
