#include "formharness.h"
#include "diarytexts.h"

#include "app/monthcalendar.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <QTextCursor>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class ToolbarTest : public ::testing::Test
{
protected:
    // Today, 4 December, has no page; the first has a formatted one.
    void SetUp() override
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 1),
                                    "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs48\\b We went skating\\par}"));
        harness.startWithoutPassword();
    }
    Form1 &form() const { return *harness.form; }
    void selectAll() { named<RichTextEdit>(form(), "rtxt2")->selectAll(); }
    // As the mouse selects: no key goes down.
    void select(int from, int to)
    {
        QTextCursor cursor = named<RichTextEdit>(form(), "rtxt2")->textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        named<RichTextEdit>(form(), "rtxt2")->setTextCursor(cursor);
    }
    void press(const char *key) { named<QToolBar>(form(), "Toolbar1")->findChild<QToolButton *>(QString::fromLatin1(key))->click(); }
    bool checked(const char *key) { return named<QToolBar>(form(), "Toolbar1")->findChild<QToolButton *>(QString::fromLatin1(key))->isChecked(); }
    void choose(int day) { named<MonthCalendar>(form(), "monthview1")->setSelectedDate(QDate(2026, 12, day)); }
    void chooseEntry(QComboBox *list, const QString &text) { list->setCurrentIndex(list->findText(text)); }
    void typeSize(const QString &text)
    {
        QLineEdit *field = named<QComboBox>(form(), "cmbFontSize")->lineEdit();
        field->selectAll();
        QTest::keyClicks(field, text);
        QTest::keyClick(field, Qt::Key_Return);
    }
    QByteArray stored(int day) const
    {
        return pagestore::load(harness.data.root(), QDate(2026, 12, day)).value_or(QByteArray());
    }

    FormHarness harness;
};

} // namespace

TEST_F(ToolbarTest, KeysReachTheirCommands)
{
    QSignalSpy pictures(named<QAction>(form(), "m16"), &QAction::triggered);
    QSignalSpy prints(named<QAction>(form(), "m17"), &QAction::triggered);
    harness.dialogs.answerOpenFile(QString());
    press("Picture");
    EXPECT_EQ(pictures.count(), 1);
    EXPECT_EQ(prints.count(), 0);

    // Unlike File > Open File, the toolbar's Open asks nothing: the question comes when a page opens.
    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), QStringLiteral("x"));
    press("Open");
    EXPECT_TRUE(named<QGroupBox>(form(), "Frame3")->isVisibleTo(&form()));
    EXPECT_EQ(harness.dialogs.shown().size(), 2);
    press("Help");
    EXPECT_EQ(harness.opened.size(), 1);
}

TEST_F(ToolbarTest, FormattingFromTheToolbarAndTheFontLists)
{
    named<RichTextEdit>(form(), "rtxt2")->setPlainText(QStringLiteral("one two three"));
    selectAll();
    press("Align Center");
    press("Align Center");
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selAlignment(), Qt::AlignHCenter);

    chooseEntry(named<QComboBox>(form(), "cmbFontSize"), QStringLiteral("24"));
    const QString family = named<QComboBox>(form(), "cmbFontName")->itemText(named<QComboBox>(form(), "cmbFontName")->count() - 1);
    chooseEntry(named<QComboBox>(form(), "cmbFontName"), family);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selFontName(), family);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selFontSize(), 24);
    EXPECT_EQ(named<QComboBox>(form(), "cmbFontSize")->currentText(), QStringLiteral("24"));

    // Typing into a list's field selects nothing; a size counts on Enter, if it is one.
    named<QComboBox>(form(), "cmbFontSize")->lineEdit()->setText(QStringLiteral("12"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selFontSize(), 24);
    const std::pair<const char *, qreal> typed[]{{"11", 11}, {"0", 11}, {"1639", 11}, {"big", 11}, {"", 11},
                                                 {"1638", 1638}, {"1", 1}, {"10.3", 10.5}, {"72", 72}};
    for (const auto &[text, size] : typed) {
        typeSize(QString::fromLatin1(text));
        EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selFontSize(), size) << text;
        EXPECT_EQ(named<QComboBox>(form(), "cmbFontSize")->currentText(), QString::number(size)) << text;
    }
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->selFontName(), family);
}

// Formatting done with the mouse alone is a change the page offers to save.
TEST_F(ToolbarTest, FormattingAPageAsksToSaveIt)
{
    const QString family = named<QComboBox>(form(), "cmbFontName")->itemText(named<QComboBox>(form(), "cmbFontName")->count() - 1);
    const std::pair<std::function<void()>, QByteArray> commands[]{
        {[&] { press("Underline"); }, "\\ul"},
        {[&] {
             harness.dialogs.answerColor(QColor(Qt::red));
             press("Color");
         },
         "\\red255\\green0\\blue0"},
        {[&] { chooseEntry(named<QComboBox>(form(), "cmbFontName"), family); }, family.toLatin1() + ';'},
        {[&] { chooseEntry(named<QComboBox>(form(), "cmbFontSize"), QStringLiteral("16")); }, "\\fs32"},
        {[&] { press("Align Right"); }, "\\qr"},
    };
    for (const auto &[format, mark] : commands) {
        choose(1);
        select(3, 7);
        format();
        harness.dialogs.answerMessage(Dialogs::Button::Yes);
        harness.dialogs.answerMessage(Dialogs::Button::Yes);
        choose(2);
        EXPECT_EQ(harness.dialogs.texts().mid(harness.dialogs.texts().size() - 2), (QStringList{diarytexts::kSaveQuestion, diarytexts::kOverwrite}));
        EXPECT_TRUE(stored(1).contains(mark)) << mark.constData();
    }

    // With nothing selected, Bold only sets what is typed next.
    choose(1);
    const qsizetype shown = harness.dialogs.shown().size();
    press("Bold");
    choose(2);
    EXPECT_EQ(harness.dialogs.shown().size(), shown);
}

// The first page of a start and one begun after leaving a formatted page are stored alike.
TEST_F(ToolbarTest, EveryNewPageStartsInTheFontOfTheFirst)
{
    const auto font = [this](int day) {
        RichTextEdit reader;
        reader.setTextRtf(stored(day));
        reader.selectAll();
        return std::pair(reader.selFontName(), reader.selFontSize());
    };
    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), QStringLiteral("first"));
    named<QAction>(form(), "m2")->trigger();
    choose(1);
    named<RichTextEdit>(form(), "rtxt2")->moveCursor(QTextCursor::End);
    choose(2);
    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), QStringLiteral("second"));
    named<QAction>(form(), "m2")->trigger();
    EXPECT_EQ(font(4), std::pair(named<QComboBox>(form(), "cmbFontName")->itemText(0), qreal(10)));
    EXPECT_EQ(font(2), font(4));
}

// The keys show the caret's text, and Ctrl+B, I and U press them from the page.
TEST_F(ToolbarTest, BoldItalicAndUnderlineFollowTheCaretAndTheirKeys)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    choose(1);
    named<RichTextEdit>(form(), "rtxt2")->setFocus();
    select(3, 7);
    EXPECT_TRUE(checked("Bold"));
    EXPECT_EQ(named<QComboBox>(form(), "cmbFontName")->currentText(), QStringLiteral("Courier New"));
    EXPECT_EQ(named<QComboBox>(form(), "cmbFontSize")->currentText(), QStringLiteral("24"));
    for (const Qt::Key key : {Qt::Key_B, Qt::Key_I, Qt::Key_U})
        QTest::keyClick(named<RichTextEdit>(form(), "rtxt2"), key, Qt::ControlModifier);
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("We went skating"));
    EXPECT_EQ(std::tuple(checked("Bold"), checked("Italic"), checked("Underline")), std::tuple(false, true, true));

    select(0, 7);
    press("Italic");
    EXPECT_FALSE(checked("Italic"));
    select(10, 10);
    EXPECT_EQ(std::tuple(checked("Bold"), checked("Italic"), checked("Underline")), std::tuple(true, false, false));
}
