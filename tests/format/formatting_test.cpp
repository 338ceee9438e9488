#include "format/formatting.h"
#include "ui/modcenter.h"

#include "scripteddialogs.h"
#include "testapplication.h"

#include <gtest/gtest.h>

namespace {

using TriState = RichTextEdit::TriState;

class FormattingTest : public ::testing::Test
{
protected:
    FormattingTest() { editor.setPlainText(QStringLiteral("one two three")); }

    void select(int from, int to)
    {
        QTextCursor cursor = editor.textCursor();
        cursor.setPosition(from);
        cursor.setPosition(to, QTextCursor::KeepAnchor);
        editor.setTextCursor(cursor);
    }

    QApplication &app = testApplication();
    RichTextEdit editor;
};

} // namespace

// A toggle turns on what is off and off what is on, and leaves a mix as it is.
// With nothing selected the caret's attribute changes, the one typed text takes.
TEST_F(FormattingTest, ToggleRule)
{
    select(0, 3);
    formatting::toggleBold(editor);
    formatting::toggleUnderline(editor);
    formatting::toggleUnderline(editor);
    EXPECT_EQ(std::pair(editor.selBold(), editor.selUnderline()), std::pair(TriState::On, TriState::Off));
    select(0, 7);
    formatting::toggleBold(editor);
    EXPECT_EQ(editor.selBold(), TriState::Mixed);

    select(13, 13);
    formatting::toggleItalic(editor);
    EXPECT_EQ(std::pair(editor.selItalic(), editor.currentCharFormat().fontItalic()), std::pair(TriState::On, true));
}

// The colour box opens centred on the last colour chosen, black at first; a
// cancel applies that colour, and the centring ends either way.
TEST_F(FormattingTest, ColourRemembersTheLastChoiceAndAlwaysClosesItsBracket)
{
    ScriptedDialogs dialogs;
    formatting::ColorChooser chooser(dialogs);
    select(0, 3);
    dialogs.answerColor(QColor(0x80, 0, 0x20));
    formatting::colorSelection(editor, chooser);
    EXPECT_EQ(std::tuple(editor.selColor(), dialogs.shown().last().color, dialogs.shown().last().colorFlags, dialogs.shown().last().centred, CenteringInForce()),
              std::tuple(QColor(0x80, 0, 0x20), QColor(Qt::black), Dialogs::ColorFlags(3), true, false));

    select(4, 7);
    dialogs.answerColor(std::nullopt);
    formatting::colorSelection(editor, chooser);
    EXPECT_EQ(std::tuple(editor.selColor(), dialogs.shown().last().color, CenteringInForce()),
              std::tuple(QColor(0x80, 0, 0x20), QColor(0x80, 0, 0x20), false));
}

TEST(FontFamilies, EachFamilyOnceUnderItsPlainNameAndTheDesktopsFirst)
{
    const QStringList installed{"C059 [UKWN]", "C059 [urw]", "DejaVu Sans", "Nimbus Sans [URW ]", "arial", "Nimbus Sans [UKWN]", "Z003"};
    EXPECT_EQ(formatting::plainFamilies(installed, QStringLiteral("DejaVu Sans")),
              (QStringList{"DejaVu Sans", "arial", "C059", "Nimbus Sans", "Z003"}));
    EXPECT_EQ(formatting::plainFamilies(installed, QStringLiteral("Missing")), (QStringList{"arial", "C059", "DejaVu Sans", "Nimbus Sans", "Z003"}));
}
