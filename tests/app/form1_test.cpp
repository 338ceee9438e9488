#include "formharness.h"

#include "reminder/remindersettings.h"
#include "reminder/reminderunits.h"
#include "sync/presence.h"

#include <QAbstractItemView>
#include <QFileInfo>
#include <QFontMetrics>
#include <QLayout>
#include <QListView>
#include <QStandardPaths>

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

TEST_F(Form1Test, StartUpSetsTodayAndTheFontListsEveryControlIsWholeAtAnySizeTheMenusReachTheReminderAboutPasswordAndEndAndTheSignInDecidesTheDiary)
{
    // A page a year ago, so "On this day" shows under the note.
    storePage("2025-12-04", "A year ago");
    QStandardPaths::setTestModeEnabled(true);
    const QTemporaryDir config;
    harness.settingsFile = config.filePath(QStringLiteral("quillnest.conf"));
    QString refusal;
    harness.systemctl = [&](const QStringList &) { return refusal.isEmpty() ? Outcome::success() : Outcome::failure(refusal); };
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

    // Date > Daily Reminder... asks the time, installs the timer on this diary and remembers both for the next start;
    // unchecked, the timer goes; a timer that cannot be started leaves the switch off and says why.
    const QString unit = reminder::unitFolder() + QStringLiteral("/quillnest-reminder.");
    const auto state = [&] {
        QFile service(unit + QStringLiteral("service"));
        const bool forThisDiary = service.open(QIODevice::ReadOnly) && service.readAll().endsWith(" --root \"" + QFile::encodeName(harness.data.path()) + "\"\n");
        const reminder::Settings kept = reminder::read(harness.settingsFile);
        return std::tuple(named<QAction>(form(), "m30")->isChecked(), kept.on, kept.time, QFileInfo::exists(unit + QStringLiteral("timer")), forThisDiary);
    };
    using State = decltype(state());
    EXPECT_EQ(std::pair(named<QMenu>(form(), "m8")->actions().last(), state()), std::pair(named<QAction>(form(), "m30"), State(false, false, QTime(20, 0), false, false)))
        << "at the end of the Date menu, off as shipped";
    for (const auto time : {std::optional<QTime>(), std::optional(QTime(21, 30))}) {
        harness.dialogs.answerTime(time);
        run("m30");
    }
    EXPECT_EQ(state(), State(true, true, QTime(21, 30), true, true)) << "cancelled once, then on";
    harness.startWithoutPassword();
    EXPECT_EQ(state(), State(true, true, QTime(21, 30), true, true)) << "on at the next start";
    run("m30");
    EXPECT_EQ(state(), State(false, false, QTime(21, 30), false, false));
    refusal = QStringLiteral("no user manager");
    harness.dialogs.answerTime(QTime(6, 0));
    run("m30", {Button::Ok});
    EXPECT_EQ(std::tuple(state(), harness.dialogs.shown().at(harness.dialogs.shown().size() - 2).time, harness.dialogs.shown().last()),
              std::tuple(State(false, false, QTime(21, 30), false, false), QTime(21, 30), ScriptedDialogs::shownBox(messages::reminderNotOn(refusal))))
        << "the kept time offered";

    run("m12", {Button::Ok});
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::about()));
    harness.dialogs.answerInput(QStringLiteral("new password"));
    harness.dialogs.answerInput(QStringLiteral("new password"));
    run("m18", {Button::Ok});
    // The window the reminder's second start replaced ended once.
    EXPECT_EQ(std::pair(harness.data.readFile(QStringLiteral("pw.dat")), harness.program.endCount()),
              std::pair(passwordfile::ScramblePassword(u"new password") + "\r\n", 1));
    // Exit ends at once, so the window's file telling other computers the diary is open here goes first.
    const auto present = [&] { return QFileInfo::exists(harness.data.path() + QStringLiteral("/.quillnest/open/") + presence::thisComputer()); };
    EXPECT_TRUE(present());
    run("m7");
    EXPECT_EQ(std::pair(harness.program.endCount(), present()), std::pair(2, false));

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
    harness.close();
    QStandardPaths::setTestModeEnabled(false);
}
