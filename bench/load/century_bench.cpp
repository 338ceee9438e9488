#include "../core/diarygen.h"

#include "diary/lookledger.h"
#include "diary/passwordfile.h"
#include "app/form1.h"
#include "app/monthcalendar.h"
#include "app/onthisdaylist.h"
#include "seams/dialogs.h"
#include "benchwindow.h"
#include "../support/besttime.h"

#include <QPushButton>
#include <QToolButton>
#include <QApplication>
#include <QCommandLineParser>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QListWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <functional>
#include <time.h>
#include <vector>

namespace {

// The window's events are handled before each run and within it.
Best withEvents(int runs, const std::function<void()> &step, const std::function<void()> &prepare = [] {})
{
    return bestMs(
        runs,
        [&] {
            step();
            QCoreApplication::processEvents();
        },
        [&] {
            prepare();
            QCoreApplication::processEvents();
        });
}

void report(const char *what, Best best)
{
    std::printf("%-44s %9.2f ms (processor %.2f ms)\n", what, best.ms, best.cpuMs);
    std::fflush(stdout);
}

// Notes start on 1 March 1927, so the first 366 days give every month and
// day, 29 February included, one yearly note.
diarygen::Options century(int days)
{
    diarygen::Options options;
    options.days = days;
    options.first = QDate(1927, 3, 1);
    options.noteEvery = 1;
    return options;
}

} // namespace

// Start-up of the main window on a century of pages and its everyday steps,
// each the best of several runs.
int main(int argc, char *argv[])
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    QCommandLineParser parser;
    parser.addHelpOption();
    const QCommandLineOption daysOption(QStringLiteral("days"), QStringLiteral("Pages in the diary."), QStringLiteral("N"),
                                        QStringLiteral("36500"));
    const QCommandLineOption runsOption(QStringLiteral("runs"), QStringLiteral("Runs of each step."), QStringLiteral("N"),
                                        QStringLiteral("5"));
    // Making the diary takes minutes on a busy machine; a run can keep it for the next.
    const QCommandLineOption keptOption(QStringLiteral("kept"), QStringLiteral("Make the diary in DIR once and use it from then on."),
                                        QStringLiteral("DIR"));
    parser.addOptions({daysOption, runsOption, keptOption});
    parser.process(app);
    const int runs = parser.value(runsOption).toInt();
    const diarygen::Options options = century(parser.value(daysOption).toInt());

    QTemporaryDir temporary;
    const QString path = parser.isSet(keptOption) ? parser.value(keptOption) : temporary.path();
    const DataRoot root(path);
    if (!QFileInfo::exists(root.passwordFile())) {
        QDir(path).mkpath(QStringLiteral("pages"));
        QDir(path).mkpath(QStringLiteral("dates"));
        QElapsedTimer made;
        made.start();
        const int pages = diarygen::generate(root, options);
        std::printf("diary made in %.1f s\n", double(made.elapsed()) / 1000);
        if (pages != options.days || !passwordfile::write(root.passwordFile(), u"none"))
            return 1;
    }
    const int pages = int(QDir(root.pagesDir()).entryList(QDir::Files).size());
    const int notes = int(QDir(root.datesDir()).entryList(QDir::Files).size());
    std::printf("diary: %d pages, %d notes\n", pages, notes);

    // Every box is answered at once, as a user in a hurry would: OK, Yes.
    const QDate lastDay = options.first.addDays(options.days - 1);
    BenchWindowServices bench(path, lastDay, Dialogs::Button::Yes);
    const AppServices &services = bench.services;

    std::unique_ptr<BenchWindow> window;
    // The window before goes first: it holds the diary open.
    // The look for a sealed file is remembered in the user's cache: a cache of the bench's own.
    QTemporaryDir cache;
    qputenv("XDG_CACHE_HOME", cache.path().toLocal8Bit());
    const auto start = [&] {
        window = std::make_unique<BenchWindow>(services);
        window->form.show();
    };
    report("start-up, nothing remembered", withEvents(runs, start, [&] {
        window.reset();
        QFile::remove(LookLedger::recordPath(path));
    }));
    report("start-up (sign-in, lists, today's page)", withEvents(runs, start, [&] { window.reset(); }));

    Form1 &form = window->form;
    auto &calendar = control<MonthCalendar>(form, "monthview1");
    const auto button = [&](const char *name) { return [&, name] { control<QToolButton>(form, name).click(); }; };
    int step = 0;
    report("day change (a day with a page)", withEvents(runs, [&] { calendar.setSelectedDate(lastDay.addDays(-400 - 3 * ++step)); }));
    report("first page button", withEvents(runs, button("SSCommand1"), button("SSCommand4")));
    report("next page button", withEvents(runs, button("SSCommand3")));
    report("last page button", withEvents(runs, button("SSCommand4"), button("SSCommand1")));
    report("previous page button", withEvents(runs, button("SSCommand2")));
    report("day change into another month (its bold pass included)",
           withEvents(runs, [&] { calendar.setSelectedDate(lastDay.addMonths(-(++step % 240) - 1)); }));
    control<QLineEdit>(form, "Text4").setText(QStringLiteral("harbour with Anna"));
    report("search over every page", withEvents(runs, [&] { control<QPushButton>(form, "Command4").click(); }));
    std::printf("search found %d pages; %d boxes were shown\n", int(control<QListWidget>(form, "List1").count()), bench.dialogs.shown);

    // The same day changes, to the same days, with "On this day" and with the
    // window as it was before it: pages differ in size from day to day.
    // Rounds take turns, so what else the machine does weighs on both alike.
    int visit = 0;
    const auto dayChange = [&] { calendar.setSelectedDate(lastDay.addDays(-400 - 3 * (visit++ % 20))); };
    constexpr int kRounds = 6;
    double shown = 1e9;
    double without = 1e9;
    int years = 0;
    for (int round = 0; round < kRounds; ++round) {
        delete form.findChild<QObject *>(QStringLiteral("onThisDay"));
        auto &yearList = control<QListView>(form, "lstOnThisDay");
        auto &caption = control<QLabel>(form, "lblOnThisDay");
        yearList.hide();
        caption.hide();
        visit = 0;
        without = std::min(without, withEvents(runs, dayChange).ms);
        const auto *list = new OnThisDayList(form.session(), caption, yearList, &form);
        visit = 0;
        shown = std::min(shown, withEvents(runs, dayChange).ms);
        years = list->rowCount();
    }
    std::printf("On this day lists %d years\n", years);
    std::printf("%-44s %9.2f ms\n%-44s %9.2f ms\n", "day change, On this day shown", shown, "day change without On this day", without);
    std::printf("ratio %.3f\n", shown / without);
    return 0;
}
