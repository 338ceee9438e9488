#include "formharness.h"
#include "diarytexts.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "diary/backup.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "history/pagehistorywindow.h"
#include "session/daybook.h"

#include <QPushButton>
#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QCheckBox>
#include <QGroupBox>
#include <QHelpEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;

using namespace diarytexts;

class DiaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        storePage("2026-11-20", "November page");
        storePage("2026-12-01", "First of December");
        storePage("2026-12-04", "Today we went skating");
        harness.startWithoutPassword();
    }

    void storePage(const char *day, const char *text)
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate), page(text)));
    }
    QString storedText(const char *day) const
    {
        RichTextEdit reader;
        reader.setTextRtf(*pagestore::load(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)));
        return reader.text();
    }

    // As the user would: a click on the calendar.
    void choose(QDate day) { named<MonthCalendar>(form(), "monthview1")->setSelectedDate(day); }
    void type(const QString &text) { QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), text); }
    Form1 &form() const { return *harness.form; }
    QString pageText() const { return named<RichTextEdit>(form(), "rtxt2")->text(); }
    QString noteText() const { return named<RichTextEdit>(form(), "rtxt")->text(); }

    FormHarness harness;
};

} // namespace

TEST_F(DiaryTest, TheLabelsFollowTheChosenDay)
{
    EXPECT_EQ(named<QLabel>(form(), "text3")->text(), QStringLiteral("3"));
    EXPECT_EQ(named<QLabel>(form(), "Label3")->text(), QStringLiteral("2026-12-04.dat"));
    choose(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(named<QLabel>(form(), "text3")->text(), QStringLiteral("0"));
    EXPECT_TRUE(named<QLabel>(form(), "Label3")->text().isEmpty());
    EXPECT_EQ(named<QLabel>(form(), "dtpick")->text(), QStringLiteral("12/2/2026"));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// A key that runs a window command is no typing, whichever editor has the focus.
TEST_F(DiaryTest, WindowKeysActInEveryEditorAndNeverMarkThePageChanged)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    const auto press = [](QWidget *editor, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        // A real keyboard sends Ctrl down on its own first.
        if (modifiers & Qt::ControlModifier) {
            QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
            QApplication::sendEvent(editor, &control);
        }
        QTest::keyClick(editor, key, modifiers);
    };
    named<RichTextEdit>(form(), "rtxt2")->setFocus();
    harness.dialogs.answerMessage(Button::No);
    press(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_Delete);
    EXPECT_EQ(harness.dialogs.texts().last(), kDeletePage);
    press(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form().session().book().filechanged(), 0);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(harness.dialogs.texts().count(kSaveQuestion), 0);

    named<RichTextEdit>(form(), "rtxt")->setPlainText(QStringLiteral("Anna's birthday"));
    named<RichTextEdit>(form(), "rtxt")->setFocus();
    named<RichTextEdit>(form(), "rtxt")->moveCursor(QTextCursor::Start);
    harness.dialogs.answerMessage(Button::No);
    press(named<RichTextEdit>(form(), "rtxt"), Qt::Key_Delete);
    EXPECT_EQ(noteText(), QStringLiteral("Anna's birthday"));
    EXPECT_EQ(harness.dialogs.texts().count(kDeletePage), 2);
    harness.dialogs.answerOpenFile(QString());
    press(named<RichTextEdit>(form(), "rtxt"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(named<RichTextEdit>(form(), "rtxt")->textCursor().hasSelection());

    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("skating"));
    named<QLineEdit>(form(), "Text4")->setFocus();
    harness.dialogs.answerOpenFile(QString());
    press(named<QLineEdit>(form(), "Text4"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(named<QLineEdit>(form(), "Text4")->selectedText(), QString());
    EXPECT_EQ(harness.dialogs.shown().last().kind, ScriptedDialogs::Kind::OpenFile);
}

// What the last page was written in must not carry over into a new one.
TEST_F(DiaryTest, ANewPageStartsInTheEditorsDefaultFormat)
{
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 1),
                                QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs48\\b Big\\par}")));
    choose(QDate(2026, 12, 1));
    named<RichTextEdit>(form(), "rtxt2")->moveCursor(QTextCursor::End);
    choose(QDate(2026, 12, 2));
    type(QStringLiteral("plain"));
    named<QAction>(form(), "m2")->trigger();
    const QByteArray stored = *pagestore::load(harness.data.root(), QDate(2026, 12, 2));
    EXPECT_FALSE(stored.contains("\\b")) << stored.constData();
    EXPECT_FALSE(stored.contains("\\fs48")) << stored.constData();
    EXPECT_FALSE(stored.contains("Courier")) << stored.constData();
}

TEST_F(DiaryTest, ThePanelsOpenTheClickedPage)
{
    const auto click = [](QListWidget *list) {
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, list->visualItemRect(list->item(0)).center());
    };
    harness.dialogs.answerMessage(Button::No);
    type(QStringLiteral("z"));
    named<QAction>(form(), "m3")->trigger();
    EXPECT_EQ(harness.dialogs.texts().last(), kSaveQuestion);
    EXPECT_TRUE(named<QGroupBox>(form(), "Frame3")->isVisibleTo(&form()));
    click(named<FileListBox>(form(), "File3"));
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(named<QLabel>(form(), "dtpick")->text(), QStringLiteral("11/20/2026"));

    named<QAction>(form(), "m5")->trigger();
    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("December"));
    named<QPushButton>(form(), "Command4")->click();
    ASSERT_EQ(named<QListWidget>(form(), "List1")->count(), 1);
    click(named<QListWidget>(form(), "List1"));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    named<QPushButton>(form(), "Command1")->click();
    EXPECT_FALSE(named<QGroupBox>(form(), "Frame5")->isVisibleTo(&form()));
    EXPECT_TRUE(named<QLineEdit>(form(), "Text4")->text().isEmpty());
}

// The month shown when the program starts has its note days in bold at once.
TEST(DiaryStartTest, NoteDaysAreBoldFromTheStart)
{
    FormHarness harness;
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 25}, u"Christmas"));
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Grandma's birthday"));
    harness.startWithoutPassword();
    EXPECT_EQ(named<RichTextEdit>(*harness.form, "rtxt")->toPlainText(), QStringLiteral("Grandma's birthday"));
    EXPECT_TRUE(named<MonthCalendar>(*harness.form, "monthview1")->isBold(QDate(2026, 12, 25)));
    EXPECT_TRUE(named<MonthCalendar>(*harness.form, "monthview1")->isBold(QDate(2026, 12, 4)));
    EXPECT_FALSE(named<MonthCalendar>(*harness.form, "monthview1")->isBold(QDate(2026, 12, 24)));

    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    named<QAction>(*harness.form, "m10")->trigger();
    EXPECT_FALSE(named<MonthCalendar>(*harness.form, "monthview1")->isBold(QDate(2026, 12, 4)));
    EXPECT_TRUE(named<RichTextEdit>(*harness.form, "rtxt")->toPlainText().isEmpty());
}

TEST_F(DiaryTest, EndingOffersUnsavedTypingFirst)
{
    type(QStringLiteral("Last words. "));
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    named<QAction>(form(), "m7")->trigger();
    EXPECT_EQ(harness.dialogs.texts().mid(1, 2), (QStringList{kSaveQuestion, kOverwrite}));
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Last words. Today we went skating"));
    EXPECT_TRUE(harness.program.ended());
}

// What lies under a panel must not show through it, at the designed size or any other.
TEST_F(DiaryTest, TheSearchAndOpenPanelsHideTheCalendarUnderThem)
{
    form().show();
    for (QGroupBox *panel : {named<QGroupBox>(form(), "Frame5"), named<QGroupBox>(form(), "Frame3")}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        panel == named<QGroupBox>(form(), "Frame5") ? named<QAction>(form(), "m5")->trigger() : named<QAction>(form(), "openPanel")->trigger();
        for (QSize size : {QSize(840, 553), QSize(1300, 900)}) {
            named(form(), "canvas")->resize(size);
            ASSERT_TRUE(panel->geometry().intersects(named<MonthCalendar>(form(), "monthview1")->geometry()));
            const QImage over = named(form(), "canvas")->grab(panel->geometry()).toImage();
            named<MonthCalendar>(form(), "monthview1")->hide();
            EXPECT_EQ(named(form(), "canvas")->grab(panel->geometry()).toImage(), over);
            named<MonthCalendar>(form(), "monthview1")->show();
        }
        panel->hide();
    }
}

TEST_F(DiaryTest, PageHistoryShowsAndRestoresAnEarlierVersion)
{
    type(QStringLiteral("Later: "));
    harness.dialogs.answerMessage(Button::Yes);
    named<QAction>(form(), "m2")->trigger();
    named<QAction>(form(), "m21")->trigger();
    auto *window = form().findChild<PageHistoryWindow *>();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    ASSERT_EQ(window->List1->count(), 1);
    EXPECT_TRUE(window->List1->item(0)->text().endsWith(QStringLiteral("Today we went skating")));
    EXPECT_EQ(window->rtxt->text(), QStringLiteral("Today we went skating"));
    EXPECT_TRUE(window->rtxt->isReadOnly());

    window->findChild<QPushButton *>(QStringLiteral("Restore"))->click();
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(form().session().book().filechanged(), 0);
}

TEST_F(DiaryTest, BackUpDiarySavesTheWholeDiaryWhereTheUserChose)
{
    storePage("2026-12-04", "Skating, then tea");
    QTemporaryDir out;
    const QString zip = out.filePath(QStringLiteral("mine.zip"));
    harness.dialogs.answerSaveFile(zip);
    harness.dialogs.answerMessage(Button::Ok);
    named<QAction>(form(), "m22")->trigger();
    const ScriptedDialogs::Shown asked = harness.dialogs.shown()[1];
    EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(asked.text, QDir::home().filePath(QStringLiteral("quillnest-backup-2026-12-04.zip")));
    EXPECT_EQ(asked.filter, QStringLiteral("Zip archives (*.zip)|*.zip"));
    EXPECT_EQ(harness.dialogs.shown().last(),
              ScriptedDialogs::shownBox(messages::backupSaved()));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
    const QString restored = out.filePath(QStringLiteral("restored"));
    ASSERT_TRUE(backup::restore(zip, restored));
    EXPECT_EQ(QDir(restored + QStringLiteral("/pages")).entryList(QDir::Files).size(), 3);
    EXPECT_EQ(QDir(restored + QStringLiteral("/history/pages/2026-12")).entryList(QDir::Files).size(), 1);

    harness.dialogs.answerSaveFile(QString());
    named<QAction>(form(), "m22")->trigger();
    harness.dialogs.answerSaveFile(out.filePath(QStringLiteral("no/such/folder.zip")));
    harness.dialogs.answerMessage(Button::Ok);
    named<QAction>(form(), "m22")->trigger();
    EXPECT_TRUE(harness.dialogs.texts().last().startsWith(QStringLiteral("The backup ")));
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::backupFailed(harness.dialogs.texts().last())));
    EXPECT_EQ(harness.dialogs.shown().size(), 6) << "a cancelled dialog shows nothing more";
}

TEST_F(DiaryTest, TheSearchChoicesFindTheShownTextAndTheOpenedResultMarksItsMatches)
{
    const QByteArray bold = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 We went ska\\b ting\\b0  on the lake.\\par Skating again.\\par}";
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 5), bold));
    form().session().book().rereadPages();
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    const auto results = [this](const QString &term) {
        named<QLineEdit>(form(), "Text4")->setText(term);
        named<QPushButton>(form(), "Command4")->click();
        QStringList names;
        for (int row = 0; row < named<QListWidget>(form(), "List1")->count(); ++row)
            names.append(named<QListWidget>(form(), "List1")->item(row)->text());
        return names;
    };
    named<QAction>(form(), "m5")->trigger();
    EXPECT_TRUE(named<QCheckBox>(form(), "chkMatchCase")->isChecked());
    EXPECT_FALSE(named<QCheckBox>(form(), "chkTextOnly")->isChecked());
    EXPECT_EQ(results(QStringLiteral("skating")), QStringList{QStringLiteral("2026-12-04.dat")});
    EXPECT_EQ(results(QStringLiteral("Arial")), QStringList{QStringLiteral("2026-12-05.dat")});

    named<QCheckBox>(form(), "chkMatchCase")->setChecked(false);
    named<QCheckBox>(form(), "chkTextOnly")->setChecked(true);
    EXPECT_TRUE(results(QStringLiteral("Arial")).isEmpty());
    EXPECT_EQ(results(QStringLiteral("SKATING")), (QStringList{QStringLiteral("2026-12-04.dat"), QStringLiteral("2026-12-05.dat")}));
    ASSERT_EQ(results(QStringLiteral("lake SKATING")), QStringList{QStringLiteral("2026-12-05.dat")});

    QListWidget &found = *named<QListWidget>(form(), "List1");
    QListWidgetItem *result = found.item(0);
    QHelpEvent tip(QEvent::ToolTip, found.visualItemRect(result).center(), {});
    QApplication::sendEvent(found.viewport(), &tip);
    EXPECT_EQ(result->toolTip(), QStringLiteral("We went skating on the lake."));

    QTest::mouseClick(found.viewport(), Qt::LeftButton, {}, found.visualItemRect(result).center());
    const QString text = named<RichTextEdit>(form(), "rtxt2")->document()->toPlainText();
    const auto marked = [this] {
        QList<int> starts;
        for (const QTextEdit::ExtraSelection &mark : named<RichTextEdit>(form(), "rtxt2")->extraSelections())
            starts.append(mark.cursor.selectionStart());
        return starts;
    };
    const QList<int> matches{int(text.indexOf(u"skating")), int(text.indexOf(u"lake")), int(text.indexOf(u"Skating"))};
    EXPECT_EQ(marked(), matches);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->textCursor().position(), matches[0]);
    named<RichTextEdit>(form(), "rtxt2")->setFocus();
    QTest::keyClick(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_F3);
    QTest::keyClick(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_F3);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->textCursor().position(), matches[2]);
    QTest::keyClick(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_F3);
    QTest::keyClick(named<RichTextEdit>(form(), "rtxt2"), Qt::Key_F3, Qt::ShiftModifier);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->textCursor().position(), matches[2]) << "round the page both ways";
    EXPECT_EQ(form().session().book().filechanged(), 0);

    // The marks are no part of the page: a save stores what the page holds.
    form().session().book().markChanged();
    harness.dialogs.answerMessage(Button::Yes);
    named<QAction>(form(), "m2")->trigger();
    EXPECT_FALSE(pagestore::load(harness.data.root(), QDate(2026, 12, 5))->contains("\\highlight"));

    choose(QDate(2026, 12, 4));
    EXPECT_TRUE(named<RichTextEdit>(form(), "rtxt2")->extraSelections().isEmpty());
    named<QPushButton>(form(), "Command1")->click();
    named<QAction>(form(), "m5")->trigger();
    EXPECT_TRUE(named<QCheckBox>(form(), "chkTextOnly")->isChecked()) << "the choices last while the program runs";
}

// Earlier years of the selected day come back under the note, and a click
// opens one as any other way of opening a page would, unsaved typing asked about.
TEST(OnThisDayWindowTest, TheEarlierYearsOfTheDayOpenTheirPages)
{
    FormHarness harness;
    for (const char *day : {"2019-12-04", "2019-12-05", "2024-02-28", "2024-02-29", "2024-12-04", "2024-12-05", "2026-12-04"})
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate),
                                    diarytexts::page(QStringLiteral("Written on %1").arg(QString::fromLatin1(day)).toLatin1().constData())));
    Form1 &form = harness.startWithoutPassword();
    QListView &years = *named<QListView>(form, "lstOnThisDay");
    const auto year = [&](int row) { return years.model()->index(row, 0); };
    const auto shown = [&] {
        QStringList texts;
        for (int row = 0; row < years.model()->rowCount(); ++row)
            texts.append(year(row).data().toString());
        return years.isVisibleTo(&form) ? texts : QStringList{QStringLiteral("hidden")};
    };
    const QStringList both{QStringLiteral("2024"), QStringLiteral("2019")};
    EXPECT_EQ(shown(), both);
    EXPECT_EQ(year(1).data(Qt::ToolTipRole).toString(), QStringLiteral("Written on 2019-12-04"));
    // The same years on the next day still stand for that day's pages.
    named<MonthCalendar>(form, "monthview1")->setSelectedDate(QDate(2026, 12, 5));
    EXPECT_EQ(shown(), both);
    EXPECT_EQ(year(1).data(Qt::ToolTipRole).toString(), QStringLiteral("Written on 2019-12-05"));

    QTest::keyClicks(named<RichTextEdit>(form, "rtxt2"), QStringLiteral("unsaved"));
    harness.dialogs.answerMessage(Button::No);
    QTest::mouseClick(years.viewport(), Qt::LeftButton, {}, years.visualRect(year(1)).center());
    QCoreApplication::processEvents();
    EXPECT_EQ(harness.dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(named<RichTextEdit>(form, "rtxt2")->text(), QStringLiteral("Written on 2019-12-05"));
    EXPECT_EQ(named<MonthCalendar>(form, "monthview1")->selectedDate(), QDate(2019, 12, 5));
    EXPECT_EQ(shown(), QStringList{QStringLiteral("hidden")});

    named<MonthCalendar>(form, "monthview1")->setSelectedDate(QDate(2027, 12, 4));
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("2026"), QStringLiteral("2024"), QStringLiteral("2019")}));

    // The leap day comes back on the 28th beside that year's own 28th, told apart by its date.
    named<MonthCalendar>(form, "monthview1")->setSelectedDate(QDate(2027, 2, 28));
    const QStringList leap = shown();
    ASSERT_EQ(leap.size(), 2);
    EXPECT_TRUE(leap[0].contains(QStringLiteral("29")) && leap[0].contains(QStringLiteral("2024"))) << leap[0].toStdString();
    EXPECT_EQ(leap[1], QStringLiteral("2024"));
    EXPECT_EQ(year(0).data(Qt::ToolTipRole).toString(), QStringLiteral("Written on 2024-02-29"));
}
