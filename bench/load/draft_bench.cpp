#include "benchwindow.h"
#include "photograph.h"

#include "app/form1.h"
#include "app/monthcalendar.h"
#include "diary/drafts.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "editor/richtextedit.h"
#include "seams/dialogs.h"
#include "session/sessiondrafts.h"

#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QImageWriter>
#include <QKeyEvent>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

QByteArray longPage(int words)
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 ";
    for (int word = 0; word < words; ++word)
        rtf += word % 12 == 11 ? "harbour\\par " : "harbour ";
    return rtf + "}";
}

// A camera's 12-megapixel photograph under a line of text, as a picture page stores it.
QByteArray photographPage()
{
    QByteArray jpeg;
    QBuffer buffer(&jpeg);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    writer.setQuality(90);
    writer.write(photograph(QSize(4000, 3000)));
    return "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 At the harbour\\par "
           "{\\pict\\jpegblip\\picw4000\\pich3000\\picwgoal6000\\pichgoal4500\r\n"
         + jpeg.toHex() + "}\\par }";
}

// A key typed into the page editor and everything the window then does, as
// long as the user waits to see it: the draft, when it is due, included.
double keystrokeMs(RichTextEdit &editor)
{
    QElapsedTimer timer;
    timer.start();
    QKeyEvent press(QEvent::KeyPress, Qt::Key_X, Qt::NoModifier, QStringLiteral("x"));
    QCoreApplication::sendEvent(&editor, &press);
    QCoreApplication::processEvents();
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Spread
{
    double median = 0;
    double worst = 0;
};

Spread keystrokes(Form1 &form, int count)
{
    // The first keys lay the page out; they are not what typing feels like.
    for (int i = 0; i < 20; ++i)
        keystrokeMs(control<RichTextEdit>(form, "rtxt2"));
    std::vector<double> took;
    for (int i = 0; i < count; ++i)
        took.push_back(keystrokeMs(control<RichTextEdit>(form, "rtxt2")));
    std::sort(took.begin(), took.end());
    return {took[took.size() / 2], took.back()};
}

void measure(const char *what, Form1 &form, DiarySession &session)
{
    session.drafts().setDelay(std::chrono::hours(1));
    const Spread plain = keystrokes(form, 200);
    // No delay: every key is followed at once by the draft's write.
    session.drafts().setDelay(std::chrono::milliseconds(0));
    const Spread drafting = keystrokes(form, 200);
    session.drafts().flush();
    std::printf("%s: keystroke median %.2f ms, worst %.2f ms; with a draft written after every key median %.2f ms, worst %.2f ms "
                "(%.2fx; goal: worst within one frame, 16 ms)\n",
                what, plain.median, plain.worst, drafting.median, drafting.worst, drafting.worst / plain.worst);
}

// From a key to its draft on disk, with the delay the program ships with.
double draftDelayMs(Form1 &form, DiarySession &session, const QString &draft)
{
    session.drafts().setDelay(std::chrono::seconds(1));
    session.drafts().flush();
    QFile::remove(draft);
    QElapsedTimer timer;
    timer.start();
    keystrokeMs(control<RichTextEdit>(form, "rtxt2"));
    while (!QFileInfo::exists(draft))
        QCoreApplication::processEvents(QEventLoop::WaitForMoreEvents, 5);
    return double(timer.nsecsElapsed()) / 1e6;
}

} // namespace

// Typing into a long page and a page with a large photograph while
// its draft is written, against the same typing with no draft due.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("pages"));
    QDir(dir.path()).mkdir(QStringLiteral("dates"));
    const DataRoot root(dir.path());
    if (!passwordfile::write(root.passwordFile(), u"none") || !pagestore::save(root, QDate(2026, 12, 4), longPage(5000))
        || !pagestore::save(root, QDate(2026, 12, 3), photographPage()))
        return 1;

    BenchWindowServices bench(dir.path(), QDate(2026, 12, 4), Dialogs::Button::No);
    BenchWindow window(bench.services);
    Form1 &form = window.form;
    form.show();
    DiarySession &session = form.session();
    measure("5,000-word page", form, session);
    const QString draft = drafts::path(root, drafts::Kind::Page, QStringLiteral("2026-12-04"));
    std::printf("draft delay: a key to its draft on disk in %.0f ms (goal at most 2000 ms)\n", draftDelayMs(form, session, draft));

    control<MonthCalendar>(form, "monthview1").setSelectedDate(QDate(2026, 12, 3));
    std::printf("photograph page: %lld bytes stored\n", QFileInfo(root.pagePath(QStringLiteral("2026-12-03"))).size());
    measure("photograph page", form, session);
    // The copy the writer works on carries the picture: its draft is as large as the page.
    std::printf("its draft: %lld bytes\n", QFileInfo(drafts::path(root, drafts::Kind::Page, QStringLiteral("2026-12-03"))).size());
    return 0;
}
