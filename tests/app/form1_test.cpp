#include "formharness.h"

#include "app/monthcalendar.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diarytexts.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"

#include <QComboBox>
#include <QAbstractItemView>
#include <QLabel>
#include <QListView>
#include <QListWidget>
#include <QFontMetrics>
#include <QToolBar>
#include <QToolButton>
#include <QLayout>

#include <gtest/gtest.h>

namespace {

// Where each control stands on the canvas, the toolbar's buttons and boxes
// one by one; the pictures behind the controls are left out.
QList<std::pair<QString, QRect>> controlPlaces(const Form1 &form)
{
    QList<std::pair<QString, QRect>> places;
    for (const QWidget *control : named(form, "canvas")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisible() || control->objectName().startsWith(QLatin1String("Image")))
            continue;
        const bool toolbar = control == named<QToolBar>(form, "Toolbar1");
        for (const QWidget *part : toolbar ? control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly) : QList<QWidget *>{})
            if (part->isVisible() && part->width() > 1)
                places.append({part->objectName(), QRect(part->mapTo(named(form, "canvas"), QPoint()), part->size())});
        if (!toolbar)
            places.append({control->objectName(), control->geometry()});
    }
    return places;
}

QStringList overlapping(const Form1 &form)
{
    const auto places = controlPlaces(form);
    QStringList pairs;
    for (qsizetype i = 0; i < places.size(); ++i)
        for (qsizetype j = i + 1; j < places.size(); ++j)
            if (places[i].second.intersects(places[j].second))
                pairs.append(places[i].first + QLatin1Char('/') + places[j].first);
    return pairs;
}

// Controls smaller than they need to show whole, and toolbar buttons too low for their icons.
QStringList cutOff(const Form1 &form)
{
    QStringList cut;
    for (const QWidget *control : named(form, "canvas")->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QSize needed = control->minimumSizeHint();
        if (control->isVisible() && control != named<QToolBar>(form, "Toolbar1") && needed.isValid() &&
            (needed.width() > control->width() || needed.height() > control->height()))
            cut.append(control->objectName());
    }
    const int icon = named<QToolBar>(form, "Toolbar1")->iconSize().height();
    for (const QToolButton *button : named<QToolBar>(form, "Toolbar1")->findChildren<QToolButton *>())
        if (button->isVisible() && (button->height() < icon + 4 || !named<QToolBar>(form, "Toolbar1")->rect().contains(button->geometry())))
            cut.append(button->objectName());
    return cut;
}

} // namespace

TEST(Form1Test, StartUpSetsTodayTheFontListsAndAnUnchangedPage)
{
    FormHarness harness;
    Form1 &form = harness.startWithoutPassword();
    ASSERT_TRUE(form.startedUp());
    EXPECT_FALSE(harness.program.ended());

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quillnest ... version 2"));
    EXPECT_EQ(named<MonthCalendar>(form, "monthview1")->date(), QDate(2026, 12, 4));
    EXPECT_EQ(named<QLabel>(form, "dtpick")->text(), QStringLiteral("12/4/2026"));
    EXPECT_EQ(form.session().book().dayKey(), QStringLiteral("2026-12-04"));

    EXPECT_EQ(named<QComboBox>(form, "cmbFontSize")->currentText(), QStringLiteral("10"));
    // The font list shows every name whole.
    const QComboBox &names = *named<QComboBox>(form, "cmbFontName");
    const QFontMetrics metrics(names.view()->font());
    for (int i = 0; i < names.count(); ++i)
        EXPECT_LT(metrics.horizontalAdvance(names.itemText(i)), names.view()->minimumWidth());
}

TEST(Form1Test, AFailedSignInEndsBeforeTheWindowEverShows)
{
    FormHarness missing;
    missing.dialogs.answerMessage(Dialogs::Button::Ok);
    missing.start();
    EXPECT_FALSE(missing.form->startedUp());
    EXPECT_TRUE(missing.program.ended());
    EXPECT_FALSE(missing.form->isVisible());
}

TEST(Form1Test, TheDevelopmentFolderRedirectsToTheDevelopersDiary)
{
    FormHarness harness;
    TestDataRoot developersDiary;
    developersDiary.writeFile(QStringLiteral("pw.dat"), QByteArray());
    harness.developmentFolder = harness.data.path();
    harness.developmentDataFolder = developersDiary.path();
    // The empty password file of the developer's diary asks; the start folder has none.
    harness.dialogs.answerInput(QString());
    harness.start();
    ASSERT_TRUE(harness.form->startedUp());
    EXPECT_EQ(harness.form->session().dataRoot().path(), developersDiary.path());

    FormHarness elsewhere;
    elsewhere.developmentFolder = QStringLiteral("/no/such/build/folder");
    elsewhere.developmentDataFolder = developersDiary.path();
    elsewhere.startWithoutPassword();
    EXPECT_EQ(elsewhere.form->session().dataRoot().path(), elsewhere.data.path());
}

// A shortcut given twice would act on only one of its commands; a button
// without its menu's action would do something the menu does not.
TEST(Form1Test, EveryKeyAndButtonReachesOneCommand)
{
    FormHarness harness;
    Form1 &form = harness.startWithoutPassword();
    // The menus' keys act in the whole window; the formatting keys only in the page.
    QStringList shortcuts;
    for (const QAction *action : form.findChildren<QAction *>()) {
        if (!action->shortcut().isEmpty())
            shortcuts.append(action->shortcut().toString() + (action->shortcutContext() == Qt::WindowShortcut ? "" : " in page"));
    }
    EXPECT_EQ(shortcuts, (QStringList{"Ctrl+N", "Ctrl+O", "Ctrl+S", "Ctrl+F", "Ctrl+A", "Ctrl+P", "Del", "Ctrl+L", "F1", "F3",
                                      "Shift+F3", "Ctrl+B in page", "Ctrl+I in page", "Ctrl+U in page"}));
    for (QAction *action : named<QToolBar>(form, "Toolbar1")->actions()) {
        if (action->isSeparator() || !named<QToolBar>(form, "Toolbar1")->widgetForAction(action)->inherits("QToolButton"))
            continue;
        const QWidget *button = named<QToolBar>(form, "Toolbar1")->widgetForAction(action);
        EXPECT_FALSE(action->icon().isNull()) << button->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), button->objectName());
        EXPECT_EQ(action->toolTip(), button->objectName());
        EXPECT_EQ(QList<QAction *>(named<QToolBar>(form, "Toolbar1")->actions()).count(action), 1);
    }
    for (const char *shared : {"m15", "m2", "m5", "m16", "m17", "m4", "m14"})
        EXPECT_TRUE(named<QToolBar>(form, "Toolbar1")->actions().contains(named<QAction>(form, shared))) << shared;
    EXPECT_FALSE(named<QToolBar>(form, "Toolbar1")->actions().contains(named<QAction>(form, "m3"))) << "the toolbar's Open does not ask to save";
}

TEST(Form1Test, AboutPasswordAndTheWaysToEnd)
{
    FormHarness harness;
    Form1 &form = harness.startWithoutPassword();

    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    named<QAction>(form, "m12")->trigger();
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::about()));

    harness.dialogs.answerInput(QStringLiteral("new password"));
    harness.dialogs.answerInput(QStringLiteral("new password"));
    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    named<QAction>(form, "m18")->trigger();
    EXPECT_EQ(harness.data.readFile(QStringLiteral("pw.dat")), passwordfile::ScramblePassword(u"new password") + "\r\n");

    EXPECT_FALSE(harness.program.ended());
    named<QAction>(form, "m7")->trigger();
    EXPECT_EQ(harness.program.endCount(), 1);

    FormHarness closing;
    closing.startWithoutPassword();
    closing.form->show();
    closing.form->close();
    EXPECT_EQ(closing.program.endCount(), 1);
}

TEST(Form1Test, AtItsSmallestAndMaximisedEveryControlIsWhole)
{
    FormHarness harness;
    // A page a year ago, so "On this day" shows under the note.
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2025, 12, 4), diarytexts::page("A year ago")));
    Form1 &form = harness.startWithoutPassword();
    form.show();
    ASSERT_TRUE(named<QListView>(form, "lstOnThisDay")->isVisible());
    const QStringList designedOverlaps = overlapping(form);
    const QStringList designedCuts = cutOff(form);
    // The day's text and file name were drawn a little shorter than their fonts; the pictures are scaled.
    EXPECT_EQ(designedCuts, (QStringList{"Image1", "Label5", "Label3"}));

    form.resize(400, 300);
    EXPECT_EQ(form.size(), form.minimumSize());
    EXPECT_EQ(named(form, "canvas")->size(), QSize(840, 553));

    // Maximised on a 1920x1080 desktop, its panel taking the rest.
    form.resize(1920, 1050);
    named<QToolBar>(form, "Toolbar1")->layout()->activate();
    EXPECT_EQ(named<QToolBar>(form, "Toolbar1")->iconSize(), QSize(30, 30));
    EXPECT_EQ(overlapping(form), designedOverlaps);
    for (const QString &name : cutOff(form))
        EXPECT_TRUE(designedCuts.contains(name)) << name.toStdString();

    // Tall and narrow, the calendar and headings take the largest font that fits across.
    named(form, "canvas")->resize(840, 1000);
    for (const QString &name : cutOff(form))
        EXPECT_TRUE(designedCuts.contains(name)) << name.toStdString();
    EXPECT_GT(named<MonthCalendar>(form, "monthview1")->font().pointSizeF(), 8.5);
    EXPECT_LT(named<MonthCalendar>(form, "monthview1")->font().pointSizeF(), named<RichTextEdit>(form, "rtxt")->font().pointSizeF());
    // Icons follow the height, but no faster than the width, and within twice their size.
    EXPECT_EQ(named<QToolBar>(form, "Toolbar1")->iconSize(), QSize(16, 16));
    named(form, "canvas")->resize(2800, 2000);
    EXPECT_EQ(named<QToolBar>(form, "Toolbar1")->iconSize(), QSize(32, 32));
    named(form, "canvas")->resize(420, 276);
    EXPECT_EQ(named<QToolBar>(form, "Toolbar1")->iconSize(), QSize(16, 16));
}
