#include "formharness.h"
#include "diarytexts.h"

#include "app/monthcalendar.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "history/pagehistorywindow.h"
#include "session/sessiondrafts.h"

#include <QDir>
#include <QFileInfo>
#include <QLabel>
#include <QListWidget>
#include <QLineEdit>
#include <QPushButton>
#include <QTabBar>
#include <QToolButton>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;
using namespace diarytexts;

const QString kNoteQuestion = QStringLiteral("The note for December 4 has been changed. Do you want to save it?");
const QString kNotClosed = QStringLiteral("Quillnest did not close properly");

// Every way out of a day, with typing in its page or note, on a diary of
// three pages and a yearly note on the 4th.
class KeepWritingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const auto &[day, text] : {std::pair{"2026-11-20", "November page"}, std::pair{"2026-12-01", "First of December"},
                                        std::pair{"2026-12-04", "Today we went skating"}})
            ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate), page(text)));
        ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
        harness.startWithoutPassword();
    }

    void choose(QDate day) { named<MonthCalendar>(form(), "monthview1")->setSelectedDate(day); }
    void typeNote(const QString &text)
    {
        named<RichTextEdit>(form(), "rtxt")->moveCursor(QTextCursor::End);
        QTest::keyClicks(named<RichTextEdit>(form(), "rtxt"), text);
    }
    void typePage(const QString &text)
    {
        named<RichTextEdit>(form(), "rtxt2")->moveCursor(QTextCursor::End);
        QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), text);
    }
    QString storedNote(const char *key) const
    {
        return notestore::decodeNote(notestore::load(harness.data.root(), *daykeys::monthDayFromNoteKey(QString::fromLatin1(key))).value_or(QByteArray()));
    }
    QString storedPage(const char *day) const
    {
        RichTextEdit reader;
        reader.setTextRtf(pagestore::load(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)).value_or(QByteArray()));
        return reader.text();
    }
    // Closing the window ends the program for good: the next start shows what was left behind.
    void restart()
    {
        harness.close();
        harness.startWithoutPassword();
    }
    Form1 &form() const { return *harness.form; }

    FormHarness harness;
};

} // namespace

TEST_F(KeepWritingTest, ANoteTypedIntoIsAskedAboutBeforeTheDayOrTheWindowIsLeft)
{
    typeNote(QStringLiteral(", cake"));
    harness.dialogs.answerMessage(Button::Cancel);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(harness.dialogs.shown().last().text, kNoteQuestion);
    EXPECT_EQ(harness.dialogs.shown().last().buttons, Dialogs::Buttons::YesNoCancel);
    EXPECT_EQ(named<MonthCalendar>(form(), "monthview1")->selectedDate(), QDate(2026, 12, 4));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt")->text(), QStringLiteral("Anna's birthday, cake"));

    for (auto *command : {named<QToolButton>(form(), "SSCommand1"), named<QToolButton>(form(), "SSCommand4")}) {
        harness.dialogs.answerMessage(Button::Cancel);
        command->click();
        EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("Today we went skating"));
    }
    harness.dialogs.answerMessage(Button::Yes);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(storedNote("Dec-4"), QStringLiteral("Anna's birthday, cake"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("First of December"));

    // Save Date bolds its day at once, Delete Date unbolds it.
    typeNote(QStringLiteral("Dentist"));
    named<QAction>(form(), "m9")->trigger();
    EXPECT_TRUE(named<MonthCalendar>(form(), "monthview1")->isBold(QDate(2026, 12, 1)));
    harness.dialogs.answerMessage(Button::Ok);
    named<QAction>(form(), "m10")->trigger();
    EXPECT_FALSE(named<MonthCalendar>(form(), "monthview1")->isBold(QDate(2026, 12, 1)));

    // Closing asks about the note, then the page, and leaves nothing to offer at the next start.
    form().show();
    typeNote(QStringLiteral("Call Bob"));
    typePage(QStringLiteral(" again"));
    harness.dialogs.answerMessage(Button::Cancel);
    EXPECT_FALSE(form().close());
    harness.dialogs.answerMessage(Button::No);
    harness.dialogs.answerMessage(Button::No);
    named<QAction>(form(), "m7")->trigger();
    EXPECT_EQ(harness.dialogs.texts().mid(harness.dialogs.texts().size() - 2),
              (QStringList{QStringLiteral("The note for December 1 has been changed. Do you want to save it?"), kSaveQuestion}));
    EXPECT_FALSE(notestore::exists(harness.data.root(), daykeys::MonthDay{12, 1}));
    restart();
    for (const QString &text : harness.dialogs.texts())
        EXPECT_FALSE(text.startsWith(kNotClosed)) << text.toStdString();
}

TEST_F(KeepWritingTest, PageHistoryShowsAndRestoresTheNotesEarlierVersions)
{
    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna is 40"));
    PageHistoryWindow window(form().session());
    window.tabs->setCurrentIndex(1);
    ASSERT_EQ(window.List1->count(), 1);
    EXPECT_TRUE(window.List1->item(0)->text().endsWith(QStringLiteral("Anna's birthday")));
    EXPECT_EQ(window.rtxt->toPlainText(), QStringLiteral("Anna's birthday"));
    window.findChild<QPushButton *>(QStringLiteral("Restore"))->click();
    EXPECT_EQ(storedNote("Dec-4"), QStringLiteral("Anna's birthday"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt")->text(), QStringLiteral("Anna's birthday"));
    EXPECT_TRUE(named<MonthCalendar>(form(), "monthview1")->isBold(QDate(2026, 12, 4)));
}

// Loading is no edit: Ctrl+Z right after it changes nothing, so the note has nothing to ask about.
TEST_F(KeepWritingTest, UndoRightAfterADayLoadsKeepsItsPageAndNote)
{
    for (RichTextEdit *editor : {named<RichTextEdit>(form(), "rtxt2"), named<RichTextEdit>(form(), "rtxt")}) {
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt")->text(), QStringLiteral("Anna's birthday"));
    harness.dialogs.answerMessage(Button::No);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(harness.dialogs.texts().last(), kSaveQuestion);
}

TEST_F(KeepWritingTest, ClosingSearchOrOpenBringsTheDayBackAndAResultOpensAfterItsSave)
{
    named<QAction>(form(), "m5")->trigger();
    EXPECT_TRUE(named<RichTextEdit>(form(), "rtxt2")->text().isEmpty());
    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("nowhere"));
    named<QPushButton>(form(), "Command4")->click();
    EXPECT_TRUE(named<QLabel>(form(), "lblNoMatches")->isVisibleTo(&form()));
    named<QPushButton>(form(), "Command1")->click();
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt")->text(), QStringLiteral("Anna's birthday"));
    EXPECT_EQ(named<QLabel>(form(), "Label3")->text(), QStringLiteral("2026-12-04.dat"));
    named<QAction>(form(), "m3")->trigger();
    named<QPushButton>(form(), "Command3")->click();
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("Today we went skating"));

    named<QAction>(form(), "m5")->trigger();
    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("e"));
    named<QPushButton>(form(), "Command4")->click();
    EXPECT_FALSE(named<QLabel>(form(), "lblNoMatches")->isVisibleTo(&form()));
    QListWidget &matches = *named<QListWidget>(form(), "List1");
    const auto result = [&matches](const char *name) { return matches.findItems(QString::fromLatin1(name), Qt::MatchExactly).value(0); };
    emit matches.itemClicked(result("2026-12-01.dat"));
    typePage(QStringLiteral(", cold"));
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    emit named<QListWidget>(form(), "List1")->itemClicked(result("2026-11-20.dat"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("November page"));
    EXPECT_EQ(storedPage("2026-12-01"), QStringLiteral("First of December, cold"));
    EXPECT_EQ(harness.dialogs.texts().count(kSaveQuestion), 1);
}

// A diary folder deleted under the open window is said once and never made
// anew by a draft; drafts go on once it is back.
TEST_F(KeepWritingTest, ADeletedDiaryFolderIsSaidOnceAndNotMadeAnew)
{
    const QString gone = messages::folderGone(harness.data.path()).text;
    form().session().drafts().setDelay(std::chrono::milliseconds(0));
    ASSERT_TRUE(QDir(harness.data.path()).removeRecursively());
    harness.dialogs.answerMessage(Button::Ok);
    typePage(QStringLiteral(" and fell"));
    typeNote(QStringLiteral(" and Ben's"));
    form().session().drafts().flush();
    typePage(QStringLiteral(" again"));
    form().session().drafts().flush();
    EXPECT_FALSE(QFileInfo::exists(harness.data.path()));
    EXPECT_EQ(harness.dialogs.texts().count(gone), 1);

    ASSERT_TRUE(QDir().mkpath(harness.data.root().pagesDir()));
    typePage(QStringLiteral(" at last"));
    form().session().drafts().flush();
    EXPECT_EQ(harness.dialogs.texts().count(gone), 1);
    EXPECT_FALSE(harness.data.everyName(QStringLiteral(".drafts")).isEmpty());
}

