#include "formharness.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "editor/richtextedit.h"

#include <QComboBox>
#include <QDir>
#include <QAbstractItemView>
#include <QFontDatabase>
#include <QFontInfo>
#include <QFontMetrics>
#include <QSet>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QSignalSpy>
#include <QTest>
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
    for (const QWidget *control : form.canvas->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        if (!control->isVisible() || control->objectName().startsWith(QLatin1String("Image")))
            continue;
        const bool toolbar = control == form.Toolbar1;
        for (const QWidget *part : toolbar ? control->findChildren<QWidget *>(Qt::FindDirectChildrenOnly) : QList<QWidget *>{})
            if (part->isVisible() && part->width() > 1)
                places.append({part->objectName(), QRect(part->mapTo(form.canvas, QPoint()), part->size())});
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
    for (const QWidget *control : form.canvas->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
        const QSize needed = control->minimumSizeHint();
        if (control->isVisible() && control != form.Toolbar1 && needed.isValid() &&
            (needed.width() > control->width() || needed.height() > control->height()))
            cut.append(control->objectName());
    }
    const int icon = form.Toolbar1->iconSize().height();
    for (const QToolButton *button : form.Toolbar1->findChildren<QToolButton *>())
        if (button->isVisible() && (button->height() < icon + 4 || !form.Toolbar1->rect().contains(button->geometry())))
            cut.append(button->objectName());
    return cut;
}

QStringList fontSizeEntries(const QComboBox *list)
{
    QStringList entries;
    for (int i = 0; i < list->count(); ++i)
        entries.append(list->itemText(i));
    return entries;
}

} // namespace

TEST(Form1Test, StartUpSetsTodayTheFontListsAndAnUnchangedPage)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    ASSERT_TRUE(form.startedUp());
    EXPECT_FALSE(harness.program.ended());

    EXPECT_EQ(form.windowTitle(), QStringLiteral("Quillnest ... version 2"));
    EXPECT_EQ(form.monthview1->date(), QDate(2026, 12, 4));
    EXPECT_EQ(form.dtpick->text(), QStringLiteral("12/4/2026"));
    EXPECT_EQ(form.session().dayKey(), QStringLiteral("2026-12-04"));
    EXPECT_EQ(form.session().dataRoot().path(), harness.data.path());

    EXPECT_EQ(form.cmbFontSize->currentText(), QStringLiteral("10"));
    // A new page is written in the desktop's own font, and the list shows every name whole.
    const QStringList names = fontSizeEntries(form.cmbFontName);
    EXPECT_EQ(names.first(), QFontInfo(QFontDatabase::systemFont(QFontDatabase::GeneralFont)).family());
    EXPECT_EQ(names.size(), QSet<QString>(names.begin(), names.end()).size());
    EXPECT_EQ(form.cmbFontName->currentIndex(), 0);
    EXPECT_EQ(form.rtxt2->selFontName(), names.first());
    const QFontMetrics metrics(form.cmbFontName->view()->font());
    for (const QString &name : names)
        EXPECT_LT(metrics.horizontalAdvance(name), form.cmbFontName->view()->minimumWidth()) << name.toStdString();
}

TEST(Form1Test, AFailedSignInEndsBeforeTheWindowEverShows)
{
    FormHarness missing;
    missing.dialogs.answerMessage(Dialogs::Button::Ok);
    missing.start();
    EXPECT_FALSE(missing.form->startedUp());
    EXPECT_TRUE(missing.program.ended());
    EXPECT_FALSE(missing.form->isVisible());

    FormHarness wrong;
    wrong.data.writeFile(QStringLiteral("pw.dat"), QByteArray("\x81\x81\x81\x81\r\n"));
    wrong.dialogs.answerInput(QStringLiteral("guess"));
    wrong.dialogs.answerMessage(Dialogs::Button::Ok);
    wrong.start();
    EXPECT_FALSE(wrong.form->startedUp());
    EXPECT_EQ(wrong.program.endCount(), 1);
    EXPECT_EQ(wrong.dialogs.shown().last().title, QStringLiteral("Wrong Password!"));
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
    elsewhere.withoutPassword();
    elsewhere.start();
    EXPECT_EQ(elsewhere.form->session().dataRoot().path(), elsewhere.data.path());
}

TEST(Form1Test, ControlsHaveTheirDesignNamesPlacesAndSpokenNames)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    EXPECT_EQ(form.canvas->size(), QSize(840, 553));
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("rtxt2"))->geometry(), QRect(368, 192, 361, 281));
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("monthview1"))->geometry(), QRect(24, 152, 217, 193));
    EXPECT_EQ(form.findChild<QWidget *>(QStringLiteral("SSCommand3"))->geometry(), QRect(112, 0, 25, 25));
    EXPECT_EQ(form.rtxt2->accessibleName(), QStringLiteral("Diary page"));
    EXPECT_EQ(form.rtxt->accessibleName(), QStringLiteral("Important on this date"));
    EXPECT_EQ(form.text3->accessibleName(), QStringLiteral("Page number"));
    EXPECT_EQ(form.text3->text(), QStringLiteral("0"));
    EXPECT_EQ(form.Label1->text(), QStringLiteral("Important on this date"));
    EXPECT_EQ(form.Label4->text(), QStringLiteral("Date Information"));
    EXPECT_EQ(form.dtpick->font().family(), QStringLiteral("Times New Roman"));
    EXPECT_TRUE(form.dtpick->font().bold());
    EXPECT_DOUBLE_EQ(form.dtpick->font().pointSizeF(), 14.25);
    EXPECT_DOUBLE_EQ(form.Label5->font().pointSizeF(), 12);
    for (const char *name : {"Toolbar1", "Frame2", "SSCommand1", "SSCommand2", "SSCommand4", "cmbFontName", "cmbFontSize",
                             "Frame5", "Command1", "Command4", "List1", "Text4", "Frame3", "Command3", "File3", "rtxt",
                             "dtpick", "Label5", "Label3", "Image1", "Image2", "Frame1", "Text1", "rtxt3"})
        EXPECT_NE(form.findChild<QObject *>(QString::fromLatin1(name)), nullptr) << name;
    EXPECT_FALSE(form.Frame1->isVisibleTo(&form));
    EXPECT_FALSE(form.Frame3->isVisibleTo(&form));
    EXPECT_FALSE(form.Frame5->isVisibleTo(&form));
    EXPECT_TRUE(form.monthview1->isVisibleTo(&form));
}

// A shortcut given twice would act on only one of its commands; a button
// without its menu's action would do something the menu does not.
TEST(Form1Test, EveryKeyAndButtonReachesOneCommand)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    QList<QKeySequence> shortcuts;
    for (const QAction *action : form.findChildren<QAction *>()) {
        if (action->shortcut().isEmpty())
            continue;
        EXPECT_FALSE(shortcuts.contains(action->shortcut())) << action->shortcut().toString().toStdString();
        shortcuts.append(action->shortcut());
    }
    EXPECT_EQ(shortcuts.size(), 8);
    for (QAction *action : form.Toolbar1->actions()) {
        if (action->isSeparator() || !form.Toolbar1->widgetForAction(action)->inherits("QToolButton"))
            continue;
        const QWidget *button = form.Toolbar1->widgetForAction(action);
        EXPECT_FALSE(action->icon().isNull()) << button->objectName().toStdString();
        EXPECT_EQ(button->accessibleName(), button->objectName());
        EXPECT_EQ(action->toolTip(), button->objectName());
        EXPECT_EQ(QList<QAction *>(form.Toolbar1->actions()).count(action), 1);
    }
    for (QAction *shared : {form.m15, form.m2, form.m5, form.m16, form.m17, form.m4, form.m14})
        EXPECT_TRUE(form.Toolbar1->actions().contains(shared)) << shared->text().toStdString();
    EXPECT_FALSE(form.Toolbar1->actions().contains(form.m3)) << "the toolbar's Open does not ask to save";
}

TEST(Form1Test, TheLayoutFollowsTheWindowFromItsDesign)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    form.show();
    const QRect designed = form.rtxt2->geometry();

    form.canvas->resize(1680, 1106);
    EXPECT_EQ(form.rtxt2->geometry(), QRect(designed.topLeft() * 2, designed.size() * 2));
    EXPECT_DOUBLE_EQ(form.dtpick->font().pointSizeF(), 18);

    form.canvas->resize(420, 276);
    EXPECT_EQ(form.rtxt2->geometry().top(), 96);
    EXPECT_EQ(form.rtxt2->geometry().height(), 140);
    EXPECT_DOUBLE_EQ(form.dtpick->font().pointSizeF(), 8);

    const QRect beforeMinimise = form.rtxt2->geometry();
    form.canvas->resize(0, 0);
    EXPECT_EQ(form.rtxt2->geometry(), beforeMinimise);

    for (int step = 0; step < 50; ++step)
        form.canvas->resize(500 + step * 37, 400 + step * 23);
    form.canvas->resize(840, 553);
    EXPECT_EQ(form.rtxt2->geometry(), designed);
    // Start-up moved the panels away; the layout puts them back.
    EXPECT_EQ(form.Frame3->geometry().topLeft(), QPoint(24, 152));
}

TEST(Form1Test, HelpAboutPasswordAndTheWaysToEnd)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;

    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    form.m12->trigger();
    EXPECT_EQ(harness.dialogs.shown().last().title, QStringLiteral("About Quillnest version 2"));
    EXPECT_EQ(harness.dialogs.shown().last().icon, Dialogs::Icon::Information);

    form.m14->trigger();
    form.m13->trigger();
    ASSERT_EQ(harness.opened.size(), 2);
    EXPECT_EQ(harness.opened[0], QUrl::fromLocalFile(harness.data.path() + QStringLiteral("/help.htm")));
    EXPECT_EQ(harness.opened[1].scheme(), QStringLiteral("https"));

    harness.dialogs.answerInput(QStringLiteral("new password"));
    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    form.m18->trigger();
    EXPECT_EQ(harness.dialogs.shown().last().text, QStringLiteral("Password has been saved"));

    EXPECT_FALSE(harness.program.ended());
    form.m7->trigger();
    EXPECT_EQ(harness.program.endCount(), 1);

    FormHarness closing;
    closing.withoutPassword();
    closing.start();
    closing.form->show();
    closing.form->close();
    EXPECT_EQ(closing.program.endCount(), 1);
}


TEST(Form1Test, AtItsSmallestAndMaximisedEveryControlIsWhole)
{
    FormHarness harness;
    harness.withoutPassword();
    harness.start();
    Form1 &form = *harness.form;
    form.show();
    const QStringList designedOverlaps = overlapping(form);
    const QStringList designedCuts = cutOff(form);
    // The day's text and file name were drawn a little shorter than their fonts; the pictures are scaled.
    EXPECT_EQ(designedCuts, (QStringList{"Image1", "Label5", "Label3"}));

    form.resize(400, 300);
    EXPECT_EQ(form.size(), form.minimumSize());
    EXPECT_EQ(form.canvas->size(), QSize(840, 553));

    // Maximised on a 1920x1080 desktop, its panel taking the rest.
    form.resize(1920, 1050);
    form.Toolbar1->layout()->activate();
    EXPECT_EQ(form.Toolbar1->iconSize(), QSize(30, 30));
    EXPECT_EQ(overlapping(form), designedOverlaps);
    for (const QString &name : cutOff(form))
        EXPECT_TRUE(designedCuts.contains(name)) << name.toStdString();

    // Tall and narrow, the calendar and headings take the largest font that fits across.
    form.canvas->resize(840, 1000);
    for (const QString &name : cutOff(form))
        EXPECT_TRUE(designedCuts.contains(name)) << name.toStdString();
    EXPECT_GT(form.monthview1->font().pointSizeF(), 8.5);
    EXPECT_LT(form.monthview1->font().pointSizeF(), form.rtxt->font().pointSizeF());
    // Icons follow the height, but no faster than the width, and within twice their size.
    EXPECT_EQ(form.Toolbar1->iconSize(), QSize(16, 16));
    form.canvas->resize(2800, 2000);
    EXPECT_EQ(form.Toolbar1->iconSize(), QSize(32, 32));
    form.canvas->resize(420, 276);
    EXPECT_EQ(form.Toolbar1->iconSize(), QSize(16, 16));
}
