#include "pictures.h"
#include "rtfpages.h"

#include "richtext/picture.h"
#include "editor/richtextedit.h"

#include <QApplication>
#include <QClipboard>
#include <QKeyEvent>
#include <QSignalSpy>
#include <QTest>

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
std::string attributes(const RichTextEdit &editor)
{
    return QStringLiteral("%1%2%3 %4 %5 %6").arg(int(editor.selBold())).arg(int(editor.selItalic())).arg(int(editor.selUnderline()))
        .arg(editor.selFontName()).arg(editor.selFontSize()).arg(editor.selColor().isValid() ? editor.selColor().name() : "mixed").toStdString();
}

} // namespace

// A selection's attributes read on or mixed; the caret's, and unset ones, are
// checked where typing starts a new page.
TEST(RichTextEdit, LoadsRichTextOrPlainTextAndReadsTheSelectionsAttributes)
{
    RichTextEdit editor;
    for (const auto &[bytes, text] : {std::pair{"Caf\xe9 \x93q\x94\r\nsecond\rthird\n", u"Caf\u00e9 \u201cq\u201d\nsecond\nthird\n"},
                                      std::pair{"a\r\r\nb\r", u"a\n\nb\n"},
                                      std::pair{"\xEF\xBB\xBF" "Caf\xc3\xa9 \\rtf", u"Caf\u00e9 \\rtf"},
                                      std::pair{"{\\rtf1{\\fonttbl{\\f1 Courier;}}{\\colortbl;\\red255\\green0\\blue0;}{\\f1\\fs48\\b\\i\\ul\\cf1 bold} plain}", u"bold plain"}})
        EXPECT_TRUE(editor.loadBytes(bytes) && editor.text() == QString::fromUtf16(text)) << editor.text().toStdString();
    select(editor, 0, 4);
    EXPECT_EQ(attributes(editor), "111 Courier 24 #ff0000");
    select(editor, 0, 10);
    EXPECT_EQ(attributes(editor), "222  0 mixed");
}

TEST(RichTextEdit, ReportsKeysThatEditOrMoveButNotAModifierAlone)
{
    RichTextEdit editor;
    QSignalSpy keys(&editor, &RichTextEdit::keyDown);
    QTest::keyClick(&editor, Qt::Key_A);
    QTest::keyClick(&editor, Qt::Key_Left);
    for (const Qt::Key modifier : {Qt::Key_Control, Qt::Key_Shift, Qt::Key_Alt, Qt::Key_Meta, Qt::Key_AltGr}) {
        QKeyEvent press(QEvent::KeyPress, modifier, Qt::NoModifier);
        QApplication::sendEvent(&editor, &press);
    }
    EXPECT_EQ(keys.count(), 2);
}

// A picture pasted from the clipboard is stored compactly; text typed after it
// keeps the text's format; a page's format must not leak into the next page
// typed in the same editor, and an empty line is no content.
TEST(RichTextEdit, TypingAfterAPastedPictureKeepsTheTextsFormatUntilTheEditorIsEmptied)
{
    RichTextEdit editor;
    editor.setTextRtf("{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}{\\f1 Courier New;}}\\pard\\f1\\fs28\\b\\i\\ul Before\\par}");
    editor.moveCursor(QTextCursor::End);
    QApplication::clipboard()->setImage(testpictures::drawing());
    editor.paste();
    QTest::keyClicks(&editor, QStringLiteral("after"));
    RichTextEdit reopened;
    reopened.setTextRtf(editor.textRtf());
    EXPECT_EQ(reopened.text(), QStringLiteral("Beforeafter"));
    EXPECT_EQ(rtfpages::storedBytes(*reopened.document()), richtext::compactPicture(testpictures::drawing()).bytes);
    select(reopened, 7, 12);
    EXPECT_EQ(attributes(reopened), "111 Courier New 14 #000000");

    editor.clear();
    QTest::keyClicks(&editor, QStringLiteral("new"));
    select(editor, 0, 3);
    EXPECT_EQ(attributes(editor), "000 Sans Serif 9 " + editor.palette().color(QPalette::Text).name().toStdString());

    select(editor, 3, 3);
    editor.setSelBold(true);
    EXPECT_TRUE(editor.loadBytes("plain note") && editor.selBold() == Tri::Off);
    EXPECT_TRUE(editor.loadBytes("\n") && !editor.hasContent());
}
