#include "pictures.h"
#include "rtfpages.h"

#include "richtext/picture.h"
#include "editor/richtextedit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>
#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

using Tri = RichTextEdit::TriState;

void select(RichTextEdit &editor, int from, int to)
{
    QTextCursor cursor = editor.textCursor();
    cursor.setPosition(from);
    cursor.setPosition(to, QTextCursor::KeepAnchor);
    editor.setTextCursor(cursor);
}

// Bold, italic and underline (0 off, 1 on, 2 mixed), font, size and colour of the selection.
QString attributes(const RichTextEdit &editor)
{
    return QStringLiteral("%1%2%3 %4 %5 %6").arg(int(editor.selBold())).arg(int(editor.selItalic())).arg(int(editor.selUnderline()))
        .arg(editor.selFontName()).arg(editor.selFontSize()).arg(editor.selColor().isValid() ? editor.selColor().name() : "mixed");
}

} // namespace

TEST(RichTextEdit, SelectionAttributesReadOnOffOrMixedAndWrite)
{
    RichTextEdit editor;
    editor.setPlainText(QStringLiteral("one two"));
    select(editor, 0, 3);
    editor.setSelBold(true);
    editor.setSelItalic(true);
    editor.setSelUnderline(true);
    editor.setSelFontName(QStringLiteral("Courier"));
    editor.setSelFontSize(24);
    editor.setSelColor(QColor(255, 0, 0));

    select(editor, 4, 7);
    EXPECT_EQ(attributes(editor), "000 Sans Serif 9 " + editor.palette().color(QPalette::Text).name());
    select(editor, 0, 7);
    EXPECT_EQ(attributes(editor), "222  0 mixed");
    editor.setSelBold(false);
    EXPECT_EQ(editor.selBold(), Tri::Off);

    // With nothing selected the attribute is the insertion point's.
    select(editor, 7, 7);
    editor.setSelBold(true);
    EXPECT_EQ(editor.selBold(), Tri::On);
    editor.insertPlainText(QStringLiteral("!"));
    select(editor, 7, 8);
    EXPECT_EQ(editor.selBold(), Tri::On);
    EXPECT_TRUE(editor.textRtf().contains("\\b !"));
}

TEST(RichTextEdit, LoadsRichTextOrPlainText)
{
    RichTextEdit editor;
    for (const auto &[bytes, text] : {std::pair{"Caf\xe9 \x93q\x94\r\nsecond\rthird\n", u"Caf\u00e9 \u201cq\u201d\nsecond\nthird\n"},
                                      std::pair{"a\r\r\nb\r", u"a\n\nb\n"},
                                      std::pair{"\xEF\xBB\xBF" "Caf\xc3\xa9 \\rtf", u"Caf\u00e9 \\rtf"},
                                      std::pair{"{\\rtf1 \\b bold\\b0  plain}", u"bold plain"}}) {
        EXPECT_TRUE(editor.loadBytes(bytes));
        EXPECT_EQ(editor.text(), QString::fromUtf16(text));
    }
    select(editor, 0, 4);
    EXPECT_EQ(editor.selBold(), Tri::On);
}

TEST(RichTextEdit, APictureIsPastedAtTheCaretAndCountsAsContent)
{
    RichTextEdit editor;
    EXPECT_FALSE(editor.hasContent());
    editor.setPlainText(QStringLiteral("\n"));
    EXPECT_FALSE(editor.hasContent());
    editor.setPlainText(QStringLiteral("abc"));
    EXPECT_TRUE(editor.hasContent());

    select(editor, 1, 2);
    editor.pastePicture(testpictures::drawing());
    EXPECT_EQ(editor.document()->toRawText(), QStringLiteral("a\uFFFCc"));
    EXPECT_EQ(editor.text(), QStringLiteral("ac"));
    const QByteArray stored = rtfpages::storedBytes(*editor.document());
    EXPECT_EQ(stored, richtext::compactPicture(testpictures::drawing()).bytes);

    RichTextEdit reloaded;
    reloaded.setTextRtf(editor.textRtf());
    EXPECT_EQ(rtfpages::storedBytes(*reloaded.document()), stored);

    RichTextEdit onlyPicture;
    QApplication::clipboard()->setImage(testpictures::drawing());
    onlyPicture.paste();
    EXPECT_TRUE(onlyPicture.hasContent());
    EXPECT_EQ(onlyPicture.text(), QString());
    EXPECT_EQ(rtfpages::storedBytes(*onlyPicture.document()), stored);
}

TEST(RichTextEdit, ReportsKeysThatEditOrMoveButNotAModifierAlone)
{
    RichTextEdit editor;
    QSignalSpy keys(&editor, &RichTextEdit::keyDown);
    QTest::keyClicks(&editor, QStringLiteral("ab"));
    QTest::keyClick(&editor, Qt::Key_Left);
    EXPECT_EQ(keys.count(), 3);
    for (const Qt::Key modifier : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Meta, Qt::Key_AltGr}) {
        QKeyEvent press(QEvent::KeyPress, modifier, Qt::NoModifier);
        QApplication::sendEvent(&editor, &press);
    }
    EXPECT_EQ(keys.count(), 3);
}

// Text typed after a pasted picture keeps the text's format; a page's format
// must not leak into the next page typed in the same editor.
TEST(RichTextEdit, TypingKeepsTheTextsFormatUntilTheEditorIsEmptied)
{
    RichTextEdit editor;
    editor.setTextRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs28\\b\\i\\ul Before\\par}");
    editor.moveCursor(QTextCursor::End);
    editor.pastePicture(testpictures::drawing());
    QTest::keyClicks(&editor, QStringLiteral("after"));
    RichTextEdit reopened;
    reopened.setTextRtf(editor.textRtf());
    EXPECT_EQ(reopened.text(), QStringLiteral("Beforeafter"));
    select(reopened, 7, 12);
    EXPECT_EQ(attributes(reopened), "111 Courier New 14 #000000");

    ASSERT_EQ(editor.selBold(), Tri::On);
    editor.clear();
    QTest::keyClicks(&editor, QStringLiteral("new"));
    const QTextCharFormat typed = editor.document()->begin().begin().fragment().charFormat();
    for (const auto property : {QTextFormat::FontWeight, QTextFormat::FontPointSize, QTextFormat::FontFamilies})
        EXPECT_FALSE(typed.hasProperty(property)) << property;
    EXPECT_FALSE(typed.fontItalic() || typed.fontUnderline());
    EXPECT_FALSE(editor.textRtf().contains("\\b"));

    editor.setFocus();
    editor.setCurrentCharFormat(typed);
    editor.setSelBold(true);
    EXPECT_TRUE(editor.loadBytes("plain note"));
    EXPECT_EQ(editor.selBold(), Tri::Off);
}
