#include "../core/diarygen.h"

#include "editor/richtextedit.h"
#include "richtext/rtftext.h"
#include "spelling/editorspelling.h"
#include "spelling/service.h"
#include "spelling/spellhighlighter.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QKeyEvent>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

namespace {

// The largest page file of the century diary century_bench makes: its days
// from 1 March 1927, a picture every twentieth day.
QByteArray centurysLargestPage()
{
    QByteArray largest;
    for (int day = 0; day < 36500; ++day) {
        QByteArray page = diarygen::pageRtf(7919u + unsigned(day), day % 20 == 0);
        if (page.size() > largest.size())
            largest = std::move(page);
    }
    return largest;
}

// The generator's prose, page after page without pictures, to 5,000 words
// and a misspelling in every paragraph.
QByteArray fiveThousandWords()
{
    QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Arial;}}\\pard\\f0\\fs20 ";
    int words = 0;
    for (unsigned seed = 1; words < 5000; ++seed) {
        const QString text = richtext::visibleText(diarygen::pageRtf(seed, false));
        for (const QString &word : text.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts)) {
            if (words < 5000)
                rtf += word.toLatin1() + (++words % 60 == 0 ? " recieve\\par " : " ");
        }
    }
    return rtf + "}";
}

double msSince(const QElapsedTimer &timer)
{
    return double(timer.nsecsElapsed()) / 1e6;
}

struct Editor
{
    explicit Editor(spelling::Service *service)
    {
        editor.resize(900, 700);
        editor.show();
        if (service)
            spelling = std::make_unique<spelling::EditorSpelling>(editor, *service);
    }
    RichTextEdit editor;
    std::unique_ptr<spelling::EditorSpelling> spelling;
};

// The page put into the editor and the window's next turn of events, its
// first paint included: what a user waits for before typing.
double openMs(Editor &editor, const QByteArray &rtf)
{
    QElapsedTimer timer;
    timer.start();
    editor.editor.setTextRtf(rtf);
    QCoreApplication::processEvents();
    return msSince(timer);
}

double bestOpenMs(spelling::Service *service, const QByteArray &rtf)
{
    std::vector<double> took;
    for (int run = 0; run < 9; ++run) {
        Editor editor(service);
        openMs(editor, "{\\rtf1 }");
        took.push_back(openMs(editor, rtf));
    }
    std::sort(took.begin(), took.end());
    return took[took.size() / 2];
}

// From the page opened to every word looked at, in slices between events.
double checkedMs(spelling::Service &service, const QByteArray &rtf)
{
    Editor editor(&service);
    QElapsedTimer timer;
    timer.start();
    editor.editor.setTextRtf(rtf);
    while (!editor.spelling->highlighter().isFinished())
        QCoreApplication::processEvents();
    return msSince(timer);
}

struct Spread
{
    double median = 0;
    double worst = 0;
};

// Keys typed into the page from the moment it opened, the check's slices
// running meanwhile, each with everything the window does after it.
Spread keystrokes(spelling::Service *service, const QByteArray &rtf)
{
    Editor editor(service);
    editor.editor.setTextRtf(rtf);
    editor.editor.setFocus();
    std::vector<double> took;
    for (int key = 0; key < 200; ++key) {
        QElapsedTimer timer;
        timer.start();
        QKeyEvent press(QEvent::KeyPress, key % 6 == 5 ? Qt::Key_Space : Qt::Key_A, Qt::NoModifier,
                        key % 6 == 5 ? QStringLiteral(" ") : QStringLiteral("a"));
        QCoreApplication::sendEvent(&editor.editor, &press);
        QCoreApplication::processEvents();
        took.push_back(msSince(timer));
    }
    std::sort(took.begin(), took.end());
    return {took[took.size() / 2], took.back()};
}

void measure(const char *what, spelling::Service &service, const QByteArray &rtf)
{
    const double plain = bestOpenMs(nullptr, rtf);
    const double checked = bestOpenMs(&service, rtf);
    std::printf("%s (%lld bytes): opening %.2f ms without the checker, %.2f ms with it (%.2fx; goal at most 1.1x); "
                "every word checked %.1f ms after opening\n",
                what, static_cast<long long>(rtf.size()), plain, checked, checked / plain, checkedMs(service, rtf));
    const Spread without = keystrokes(nullptr, rtf);
    const Spread with = keystrokes(&service, rtf);
    std::printf("%s: keystroke median / worst %.2f / %.2f ms without the checker, %.2f / %.2f ms with it "
                "(goal: worst within one frame, 16 ms)\n",
                what, without.median, without.worst, with.median, with.worst);
}

} // namespace

// Opening and typing into pages with the spelling checked, against the same
// with no checker, on the system's en_US dictionary.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QTemporaryDir config;
    spelling::Service service(config.filePath(QStringLiteral("words.txt")), spelling::installed(), QLocale(QStringLiteral("en_US")));
    if (service.language().isEmpty()) {
        std::fprintf(stderr, "no en_US Hunspell dictionary installed\n");
        return 1;
    }
    measure("the century diary's largest page", service, centurysLargestPage());
    measure("a 5,000-word page", service, fiveThousandWords());
    return 0;
}
