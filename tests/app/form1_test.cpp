#include "formharness.h"

#include "reminder/remindersettings.h"
#include "reminder/reminderunits.h"
#include "sync/presence.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QListView>

namespace {

// Controls smaller than they need to show whole, and toolbar buttons too low for their icons.
QStringList cutOff(const Form1 &form)
{
    const QToolBar *toolbar = named<QToolBar>(form, "Toolbar1");
    QStringList cut;
    for (const QWidget *control : named(form, "canvas")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly))
        if (control->isVisible() && control != toolbar && control->size().expandedTo(control->minimumSizeHint()) != control->size())
            cut.append(control->objectName());
    for (const QToolButton *button : toolbar->findChildren<QToolButton *>())
        if (button->isVisible() && (button->height() < toolbar->iconSize().height() + 4 || !toolbar->rect().contains(button->geometry())))
            cut.append(button->objectName());
    return cut;
}

} // namespace

using Form1Test = FormTest;

TEST_F(Form1Test, StartUpSetsTodayAndTheFontListsEveryControlIsWholeAtAnySizeTheMenusReachAboutPasswordAndEndAndTheSignInDecidesWhichDiaryOpens)
{
    // A page a year ago, so "On this day" shows under the note.
    storePage("2025-12-04", "A year ago");
    harness.startWithoutPassword();
    ASSERT_TRUE(form().startedUp());
    EXPECT_EQ(std::tuple(form().windowTitle(), calendar().date(), named<QComboBox>(form(), "cmbFontSize")->currentText()),
              std::tuple(QStringLiteral("Quillnest ... version 2"), QDate(2026, 12, 4), QStringLiteral("10")));
    // The font list shows every name whole.
    const QComboBox &names = *named<QComboBox>(form(), "cmbFontName");
    const QFontMetrics metrics(names.view()->font());
    for (int i = 0; i < names.count(); ++i)
        EXPECT_LT(metrics.horizontalAdvance(names.itemText(i)), names.view()->minimumWidth());

    // At its smallest and maximised every control is whole.
    form().show();
    QToolBar &toolbar = *named<QToolBar>(form(), "Toolbar1");
    QWidget &canvas = *named(form(), "canvas");
    ASSERT_TRUE(named<QListView>(form(), "lstOnThisDay")->isVisible());
    const QStringList designedCuts = cutOff(form());
    // The day's text and file name were drawn a little shorter than their fonts; the pictures are scaled.
    EXPECT_EQ(designedCuts, (QStringList{"Image1", "Label5", "Label3"}));
    const auto noNewCuts = [&] {
        for (const QString &name : cutOff(form()))
            EXPECT_TRUE(designedCuts.contains(name)) << name.toStdString();
    };
    form().resize(400, 300);
    EXPECT_EQ(std::pair(form().size(), canvas.size()), std::pair(form().minimumSize(), QSize(840, 553)));

    // Maximised on a 1920x1080 desktop, its panel taking the rest.
    form().resize(1920, 1050);
    toolbar.layout()->activate();
    EXPECT_EQ(toolbar.iconSize(), QSize(30, 30));
    noNewCuts();

    // Tall and narrow, the calendar and headings take the largest font that fits across.
    canvas.resize(840, 1000);
    noNewCuts();
    EXPECT_TRUE(calendar().font().pointSizeF() > 8.5 && calendar().font().pointSizeF() < note().font().pointSizeF()) << calendar().font().pointSizeF();
    // Icons follow the height, but no faster than the width, and within twice their size.
    for (const auto &[size, icon] : {std::pair{QSize(840, 1000), 16}, {QSize(2800, 2000), 32}, {QSize(420, 276), 16}}) {
        canvas.resize(size);
        EXPECT_EQ(toolbar.iconSize(), QSize(icon, icon));
    }

    answer({Button::Ok});
    run("m12");
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::about()));
    harness.dialogs.answerInput(QStringLiteral("new password"));
    harness.dialogs.answerInput(QStringLiteral("new password"));
    answer({Button::Ok});
    run("m18");
    EXPECT_EQ(std::pair(harness.data.readFile(QStringLiteral("pw.dat")), harness.program.ended()),
              std::pair(passwordfile::ScramblePassword(u"new password") + "\r\n", false));
    // Exit ends at once, so the window's file telling other computers the diary is open here goes first.
    const auto present = [&] { return QFileInfo::exists(harness.data.path() + QStringLiteral("/.quillnest/open/") + presence::thisComputer()); };
    EXPECT_TRUE(present());
    run("m7");
    EXPECT_EQ(std::pair(harness.program.endCount(), present()), std::pair(1, false));

    // A failed sign-in ends before the window shows; the development folder leads to the developer's diary.
    FormHarness missing;
    missing.dialogs.answerMessage(Button::Ok);
    missing.start();
    EXPECT_EQ(std::tuple(missing.form->startedUp(), missing.form->isVisible(), missing.program.ended()), std::tuple(false, false, true));

    TestDataRoot developersDiary;
    developersDiary.writeFile(QStringLiteral("pw.dat"), QByteArray());
    FormHarness developer;
    FormHarness elsewhere;
    developer.developmentFolder = developer.data.path();
    elsewhere.developmentFolder = QStringLiteral("/no/such/build/folder");
    for (FormHarness *started : {&developer, &elsewhere})
        started->developmentDataFolder = developersDiary.path();
    // The empty password file of the developer's diary asks; the start folder has none.
    developer.dialogs.answerInput(QString());
    developer.start();
    elsewhere.startWithoutPassword();
    EXPECT_EQ(std::pair(developer.form->session().dataRoot().path(), elsewhere.form->session().dataRoot().path()),
              std::pair(developersDiary.path(), elsewhere.data.path()));
}

// Date > Daily Reminder... asks the time, installs the timer on this diary and remembers both for the next start;
// unchecked, the timer goes; a timer that cannot be started leaves the switch off and says why.
TEST_F(Form1Test, DailyReminderAsksItsTimeInstallsTheTimerForThisDiaryAndRemovesIt)
{
    const QTemporaryDir config;
    const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(config.path()));
    harness.settingsFile = config.filePath(QStringLiteral("quillnest/quillnest.conf"));
    QList<QStringList> asked;
    bool refuse = false;
    harness.systemctl = [&](const QStringList &arguments) {
        asked.append(arguments);
        return refuse ? Outcome::failure(QStringLiteral("no user manager")) : Outcome::success();
    };
    harness.startWithoutPassword();
    QAction &item = *named<QAction>(form(), "m30");
    const QString timer = reminder::unitFolder() + QStringLiteral("/quillnest-reminder.timer");
    const auto state = [&] {
        return std::tuple(item.isChecked(), reminder::read(harness.settingsFile).on, reminder::read(harness.settingsFile).time,
                          QFileInfo::exists(timer), std::exchange(asked, {}));
    };
    using State = decltype(state());
    EXPECT_EQ(std::tuple(named<QMenu>(form(), "m8")->actions().last(), item.isCheckable()), std::tuple(&item, true));
    EXPECT_EQ(state(), State(false, false, QTime(20, 0), false, {})) << "off as shipped";

    harness.dialogs.answerTime(std::nullopt);
    item.trigger();
    EXPECT_EQ(state(), State(false, false, QTime(20, 0), false, {})) << "cancelled";
    harness.dialogs.answerTime(QTime(21, 30));
    item.trigger();
    EXPECT_EQ(state(), State(true, true, QTime(21, 30), true, {{"daemon-reload"}, {"enable", "--now", "quillnest-reminder.timer"}}));
    QFile service(reminder::unitFolder() + QStringLiteral("/quillnest-reminder.service"));
    ASSERT_TRUE(service.open(QIODevice::ReadOnly));
    EXPECT_TRUE(service.readAll().contains(" remind --root \"" + QFile::encodeName(harness.data.path()) + "\"\n"));

    harness.startWithoutPassword();
    QAction &again = *named<QAction>(form(), "m30");
    EXPECT_TRUE(again.isChecked()) << "on at the next start";
    again.trigger();
    EXPECT_EQ(std::tuple(again.isChecked(), reminder::read(harness.settingsFile).on, QFileInfo::exists(timer), std::exchange(asked, {})),
              std::tuple(false, false, false, QList<QStringList>{{"disable", "--now", "quillnest-reminder.timer"}, {"daemon-reload"}}));

    refuse = true;
    harness.dialogs.answerTime(QTime(6, 0));
    answer({Button::Ok});
    again.trigger();
    EXPECT_EQ(std::tuple(again.isChecked(), reminder::read(harness.settingsFile).on, QFileInfo::exists(timer), harness.dialogs.shown().last()),
              std::tuple(false, false, false, ScriptedDialogs::shownBox(messages::reminderNotOn(QStringLiteral("no user manager")))));
    EXPECT_EQ(harness.dialogs.shown().at(harness.dialogs.shown().size() - 2).time, QTime(21, 30)) << "the kept time offered";
    harness.close();
    ownConfig.isNull() ? qunsetenv("XDG_CONFIG_HOME") : qputenv("XDG_CONFIG_HOME", ownConfig);
}
