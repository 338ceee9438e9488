#include "formharness.h"

#include "app/filelistbox.h"
#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"

#include <QApplication>
#include <QDir>
#include <QKeyEvent>
#include <QGroupBox>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;

const QString kSaveQuestion = QStringLiteral("File has been changed. Do you want to save the file?");
const QString kOverwrite = QStringLiteral("File already exists. Overwrite File?");
const QString kNoText = QStringLiteral("Error...No text to save! Enter text first, then save the file.");
const QString kPageNotFound = QStringLiteral("Error...File not found. Open file that you wish to delete and then press ''Delete''.");
const QString kDeletePage = QStringLiteral("Are you sure you want to delete the file? This can not be undone!");

QByteArray page(const char *text)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard ") + text + "\\par\r\n}";
}

class DiaryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        storePage("2026-11-20", "November page");
        storePage("2026-12-01", "First of December");
        storePage("2026-12-04", "Today we went skating");
        harness.withoutPassword();
        harness.start();
    }

    void storePage(const char *day, const char *text)
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QString::fromLatin1(day), page(text)));
    }
    bool pageExists(const char *day) const { return pagestore::exists(harness.data.root(), QString::fromLatin1(day)); }
    QString storedText(const char *day) const
    {
        RichTextEdit reader;
        reader.setTextRtf(*pagestore::load(harness.data.root(), QString::fromLatin1(day)));
        return reader.text();
    }

    // As the user would: a click on the calendar.
    void choose(QDate day) { form().monthview1->setSelectedDate(day); }
    void type(const QString &text) { QTest::keyClicks(form().rtxt2, text); }
    Form1 &form() const { return *harness.form; }
    QString pageText() const { return form().rtxt2->text(); }
    QString noteText() const { return form().rtxt->text(); }

    FormHarness harness;
};

} // namespace

TEST_F(DiaryTest, TodaysPageOpensAtStartAndChosenDaysFollow)
{
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(form().text3->text(), QStringLiteral("3"));
    EXPECT_EQ(form().Label3->text(), QStringLiteral("2026-12-04.dat"));

    choose(QDate(2026, 12, 1));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(form().text3->text(), QStringLiteral("2"));
    EXPECT_EQ(form().dtpick->text(), QStringLiteral("12/1/2026"));
    EXPECT_EQ(form().lblvalue.text(), QStringLiteral("2026-12-01"));

    choose(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(form().text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(form().Label3->text().isEmpty());
    EXPECT_EQ(form().Text2.text(), QStringLiteral("Dec-2"));
    EXPECT_TRUE(harness.dialogs.shown().size() == 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DiaryTest, UnsavedTypingIsOfferedForSavingOnceBeforeTheDayMoves)
{
    choose(QDate(2026, 12, 2));
    type(QStringLiteral("A new day"));
    EXPECT_EQ(form().filechanged, 1);
    harness.dialogs.answerMessage(Button::Yes);
    choose(QDate(2026, 12, 3));
    EXPECT_EQ(harness.dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(storedText("2026-12-02"), QStringLiteral("A new day"));
    EXPECT_EQ(form().filechanged, 0);

    type(QStringLiteral("dropped"));
    harness.dialogs.answerMessage(Button::No);
    choose(QDate(2026, 12, 1));
    EXPECT_FALSE(pageExists("2026-12-03"));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(harness.dialogs.texts().count(kSaveQuestion), 2);
}

TEST_F(DiaryTest, SavingOverAPageAsksAndARefusalKeepsTheTyping)
{
    type(QStringLiteral("More: "));
    harness.dialogs.answerMessage(Button::No);
    form().SavePage();
    EXPECT_EQ(harness.dialogs.texts().last(), kOverwrite);
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(form().filechanged, 1);

    harness.dialogs.answerMessage(Button::Yes);
    form().SavePage();
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("More: Today we went skating"));
    EXPECT_EQ(form().filechanged, 0);
    EXPECT_EQ(form().text3->text(), QStringLiteral("3"));

    form().rtxt2->clear();
    harness.dialogs.answerMessage(Button::Ok);
    form().SavePage();
    EXPECT_EQ(harness.dialogs.texts().last(), kNoText);
    EXPECT_EQ(harness.dialogs.shown().last().title, QStringLiteral("File Not Saved"));
}

TEST_F(DiaryTest, ANewPageGetsItsNumberAndAFailedSaveKeepsItChanged)
{
    choose(QDate(2026, 12, 3));
    type(QStringLiteral("Snow"));
    form().SavePage();
    EXPECT_EQ(form().text3->text(), QStringLiteral("3"));
    EXPECT_EQ(form().Label3->text(), QStringLiteral("2026-12-03.dat"));
    EXPECT_EQ(pageText(), QStringLiteral("Snow"));

    choose(QDate(2026, 12, 5));
    type(QStringLiteral("lost?"));
    QDir(harness.data.root().pagesDir()).removeRecursively();
    harness.dialogs.answerMessage(Button::Ok);
    form().SavePage();
    EXPECT_EQ(harness.dialogs.texts().last(), QStringLiteral("An error has occured! The file was not saved!"));
    EXPECT_EQ(harness.dialogs.shown().last().title, QStringLiteral("ERROR"));
    EXPECT_EQ(form().filechanged, 1);
}

TEST_F(DiaryTest, DeletingAPage)
{
    type(QStringLiteral("x"));
    harness.dialogs.answerMessage(Button::No);
    form().DeletePage();
    EXPECT_EQ(harness.dialogs.texts().last(), kDeletePage);
    EXPECT_EQ(harness.dialogs.shown().last().defaultButton, Button::No) << "Delete then Enter must not delete";
    EXPECT_TRUE(pageExists("2026-12-04"));
    EXPECT_EQ(form().filechanged, 1);

    harness.dialogs.answerMessage(Button::Yes);
    form().DeletePage();
    EXPECT_FALSE(pageExists("2026-12-04"));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_TRUE(noteText().isEmpty());
    EXPECT_EQ(form().text3->text(), QStringLiteral("0"));
    EXPECT_EQ(form().File3->entries().size(), 2);
    EXPECT_EQ(form().filechanged, 0);

    type(QStringLiteral("y"));
    harness.dialogs.answerMessage(Button::Ok);
    form().DeletePage();
    EXPECT_EQ(harness.dialogs.texts().last(), kPageNotFound);
    EXPECT_EQ(form().filechanged, 1);
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
    form().rtxt2->setFocus();
    harness.dialogs.answerMessage(Button::No);
    press(form().rtxt2, Qt::Key_Delete);
    EXPECT_EQ(harness.dialogs.texts().last(), kDeletePage);
    press(form().rtxt2, Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form().filechanged, 0);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(harness.dialogs.texts().count(kSaveQuestion), 0);

    form().rtxt->setPlainText(QStringLiteral("Anna's birthday"));
    form().rtxt->setFocus();
    form().rtxt->moveCursor(QTextCursor::Start);
    harness.dialogs.answerMessage(Button::No);
    press(form().rtxt, Qt::Key_Delete);
    EXPECT_EQ(noteText(), QStringLiteral("Anna's birthday"));
    EXPECT_EQ(harness.dialogs.texts().count(kDeletePage), 2);
    harness.dialogs.answerOpenFile(QString());
    press(form().rtxt, Qt::Key_A, Qt::ControlModifier);
    EXPECT_FALSE(form().rtxt->textCursor().hasSelection());

    form().Text4->setText(QStringLiteral("skating"));
    form().Text4->setFocus();
    harness.dialogs.answerOpenFile(QString());
    press(form().Text4, Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(form().Text4->selectedText(), QString());
    EXPECT_EQ(harness.dialogs.shown().last().kind, ScriptedDialogs::Kind::OpenFile);
}

// What the last page was written in must not carry over into a new one.
TEST_F(DiaryTest, ANewPageStartsInTheEditorsDefaultFormat)
{
    ASSERT_TRUE(pagestore::save(harness.data.root(), QStringLiteral("2026-12-01"),
                                QByteArray("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs48\\b Big\\par}")));
    choose(QDate(2026, 12, 1));
    form().rtxt2->moveCursor(QTextCursor::End);
    choose(QDate(2026, 12, 2));
    type(QStringLiteral("plain"));
    form().SavePage();
    const QByteArray stored = *pagestore::load(harness.data.root(), QStringLiteral("2026-12-02"));
    EXPECT_FALSE(stored.contains("\\b")) << stored.constData();
    EXPECT_FALSE(stored.contains("\\fs48")) << stored.constData();
    EXPECT_FALSE(stored.contains("Courier")) << stored.constData();
}

TEST_F(DiaryTest, PageButtonsWalkTheListAndStopAtItsEnds)
{
    form().SSCommand2_Click();
    EXPECT_EQ(form().text3->text(), QStringLiteral("2"));
    form().SSCommand3_Click();
    form().SSCommand3_Click();
    EXPECT_EQ(form().text3->text(), QStringLiteral("3"));
    form().SSCommand1_Click();
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(form().monthview1->date(), QDate(2026, 11, 20));
    EXPECT_EQ(form().Text2.text(), QStringLiteral("Nov-20"));
    EXPECT_EQ(form().txtm.text(), QStringLiteral("Nov"));
    form().SSCommand2_Click();
    EXPECT_EQ(form().text3->text(), QStringLiteral("1"));
    form().SSCommand4_Click();
    EXPECT_EQ(form().lblvalue.text(), QStringLiteral("2026-12-04"));

    for (const QString &name : QDir(harness.data.root().pagesDir()).entryList(QDir::Files))
        QFile::remove(harness.data.root().pagesDir() + QLatin1Char('/') + name);
    form().File3->refresh();
    form().SSCommand4_Click();
    EXPECT_EQ(form().text3->text(), QStringLiteral("0"));
    EXPECT_TRUE(pageText().isEmpty());
}

TEST_F(DiaryTest, TheOpenPanelOpensTheClickedPage)
{
    harness.dialogs.answerMessage(Button::No);
    type(QStringLiteral("z"));
    form().m3_Click();
    EXPECT_EQ(harness.dialogs.texts().last(), kSaveQuestion);
    EXPECT_TRUE(form().Frame3->isVisibleTo(&form()));
    form().File3->item(0)->setSelected(true);
    form().File3_Click();
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(form().dtpick->text(), QStringLiteral("11/20/2026"));
}

TEST_F(DiaryTest, NewFileGoesBackToToday)
{
    form().NewPage();
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    choose(QDate(2026, 11, 2));
    form().NewPage();
    EXPECT_EQ(form().monthview1->date(), QDate(2026, 12, 4));
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(form().Text2.text(), QStringLiteral("Dec-4"));
    EXPECT_EQ(form().txtm.text(), QStringLiteral("Dec"));
}

TEST_F(DiaryTest, YearlyNotesComeBackAndAreMarkedBold)
{
    form().rtxt->setPlainText(QStringLiteral("Grandma's birthday"));
    form().m9_Click();
    EXPECT_EQ(harness.data.readFile(QStringLiteral("dates/Dec-4.dat")), QByteArray("Grandma's birthday\r\n"));
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Dec-25"), u"Christmas"));
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Jan-1"), u"New year"));
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Feb-29"), u"Leap day"));
    form().File2.refresh();

    choose(QDate(2027, 12, 5));
    EXPECT_TRUE(noteText().isEmpty());
    choose(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday"));
    // The month did not change, so no pass ran yet.
    EXPECT_FALSE(form().monthview1->isBold(QDate(2027, 12, 25)));
    choose(QDate(2027, 2, 10));
    EXPECT_FALSE(form().monthview1->isBold(QDate(2027, 2, 28)));
    choose(QDate(2027, 12, 10));
    EXPECT_TRUE(form().monthview1->isBold(QDate(2027, 12, 25)));
    EXPECT_TRUE(form().monthview1->isBold(QDate(2027, 12, 4)));
    EXPECT_FALSE(form().monthview1->isBold(QDate(2028, 1, 1)));
    choose(QDate(2028, 2, 1));
    EXPECT_TRUE(form().monthview1->isBold(QDate(2028, 2, 29)));

    // Saving and loading again never grows the note.
    choose(QDate(2027, 12, 4));
    form().m9_Click();
    choose(QDate(2027, 12, 5));
    choose(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday"));
}

TEST_F(DiaryTest, DeletingANote)
{
    harness.dialogs.answerMessage(Button::Ok);
    form().m10_Click();
    EXPECT_EQ(harness.dialogs.texts().last(),
              QStringLiteral("Error...File not found. Open date file that you wish to delete and then press ''Delete''."));
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);

    form().rtxt->setPlainText(QStringLiteral("keep"));
    form().m9_Click();
    harness.dialogs.answerMessage(Button::Cancel);
    form().m10_Click();
    EXPECT_EQ(harness.dialogs.shown().last().defaultButton, Button::Cancel);
    EXPECT_TRUE(notestore::exists(harness.data.root(), QStringLiteral("Dec-4")));
    EXPECT_EQ(noteText(), QStringLiteral("keep"));

    harness.dialogs.answerMessage(Button::Ok);
    form().m10_Click();
    EXPECT_EQ(harness.dialogs.shown().last().title, QStringLiteral("Delete File"));
    EXPECT_FALSE(notestore::exists(harness.data.root(), QStringLiteral("Dec-4")));
    EXPECT_TRUE(noteText().isEmpty());
}

TEST_F(DiaryTest, AFailedNoteSaveSaysSoAndKeepsTheOldNote)
{
    ASSERT_TRUE(notestore::save(harness.data.root(), QStringLiteral("Dec-4"), u"old"));
    form().rtxt->setPlainText(QStringLiteral("new"));
    QFile::remove(harness.data.root().datesDir() + QStringLiteral("/Dec-4.dat"));
    QDir(harness.data.path()).rename(QStringLiteral("dates"), QStringLiteral("dates-away"));
    harness.dialogs.answerMessage(Button::Ok);
    form().m9_Click();
    EXPECT_EQ(harness.dialogs.texts().last(), QStringLiteral("An error has occured! The date was not saved!"));
    EXPECT_EQ(harness.dialogs.shown().last().icon, Dialogs::Icon::Critical);
}

TEST_F(DiaryTest, SearchingThroughThePanel)
{
    type(QStringLiteral("Skating "));
    harness.dialogs.answerMessage(Button::No);
    form().showSearchPanel();
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(form().text3->text(), QStringLiteral("0"));
    form().Text4->setText(QStringLiteral("December"));
    form().Command4_Click();
    ASSERT_EQ(form().List1->count(), 1);
    EXPECT_EQ(form().List1->item(0)->text(), QStringLiteral("2026-12-01.dat"));

    form().List1->item(0)->setSelected(true);
    form().List1_Click();
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_TRUE(form().Frame5->isVisibleTo(&form()));

    form().Text4->setText(QStringLiteral("skating"));
    form().Command4_Click();
    EXPECT_EQ(form().List1->count(), 1);
    form().Text4->setText(QStringLiteral("Skating"));
    form().Command4_Click();
    EXPECT_EQ(form().List1->count(), 0);

    form().Command1_Click();
    EXPECT_FALSE(form().Frame5->isVisibleTo(&form()));
    EXPECT_TRUE(form().Text4->text().isEmpty());
}

TEST_F(DiaryTest, EndingOffersUnsavedTypingFirst)
{
    type(QStringLiteral("Last words. "));
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    form().m7_Click();
    EXPECT_EQ(harness.dialogs.texts().mid(1, 2), (QStringList{kSaveQuestion, kOverwrite}));
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Last words. Today we went skating"));
    EXPECT_TRUE(harness.program.ended());
}

TEST_F(DiaryTest, DamagedPagesOpenWithoutACrash)
{
    harness.data.writeFile(QStringLiteral("pages/2026-12-02.dat"), QByteArray());
    harness.data.writeFile(QStringLiteral("pages/2026-12-03.dat"), QByteArray("\x01\x02garbage\xff\r\n", 13));
    harness.data.writeFile(QStringLiteral("pages/x"), "not a page");
    form().File3->refresh();
    choose(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    choose(QDate(2026, 12, 3));
    EXPECT_EQ(form().text3->text(), QStringLiteral("4"));
    form().SSCommand4_Click();
    EXPECT_EQ(form().Label3->text(), QStringLiteral("x"));
    EXPECT_EQ(form().monthview1->date(), QDate(2026, 12, 3));
    QFile::remove(harness.data.root().pagesDir() + QStringLiteral("/2026-11-20.dat"));
    harness.dialogs.answerMessage(Button::Ok);
    form().SSCommand1_Click();
    EXPECT_EQ(harness.dialogs.texts().last(), QStringLiteral("An error has occured! The file was not opened!"));
    EXPECT_TRUE(pageText().isEmpty());
}

// What lies under a panel must not show through it, at the designed size or any other.
TEST_F(DiaryTest, TheSearchAndOpenPanelsHideTheCalendarUnderThem)
{
    form().show();
    for (QGroupBox *panel : {form().Frame5, form().Frame3}) {
        SCOPED_TRACE(panel->objectName().toStdString());
        panel == form().Frame5 ? form().showSearchPanel() : form().showOpenPanel();
        for (QSize size : {QSize(840, 553), QSize(1300, 900)}) {
            form().canvas->resize(size);
            ASSERT_TRUE(panel->geometry().intersects(form().monthview1->geometry()));
            const QImage over = form().canvas->grab(panel->geometry()).toImage();
            form().monthview1->hide();
            EXPECT_EQ(form().canvas->grab(panel->geometry()).toImage(), over);
            form().monthview1->show();
        }
        panel->hide();
    }
}
