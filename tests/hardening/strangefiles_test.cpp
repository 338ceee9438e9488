#include "filleddiary.h"

#include "app/filelistbox.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "richtext/rtflimits.h"
#include "session/daybook.h"

#include <QPushButton>
#include <QToolButton>
#include <QBuffer>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPainter>
#include <QRandomGenerator>
#include <QStringEncoder>

namespace {

using Button = Dialogs::Button;

QByteArray noise(qsizetype size)
{
    QByteArray bytes(size, Qt::Uninitialized);
    QRandomGenerator random(7);
    for (char &byte : bytes)
        byte = static_cast<char>(random.bounded(256));
    return bytes;
}

// A page holding a PNG that cannot be drawn from any part of itself: every pixel differs.
QByteArray pictureRtf()
{
    QImage image(96, 64, QImage::Format_RGB32);
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x)
            image.setPixel(x, y, qRgb(x * 37 % 256, y * 91 % 256, (x * y) % 256));
    }
    QBuffer png;
    png.open(QIODevice::WriteOnly);
    image.save(&png, "png");
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0 Arial;}}\r\n\\pard Before the photo\\par\r\n{\\pict\\pngblip\\picw96\\pich64\r\n"
           + png.data().toHex() + "\r\n}\\par After the photo\\par\r\n}";
}

} // namespace

// Days after the written ones, so the page list has them last: binary, empty, huge.
TEST_F(FilledDiary, BinaryEmptyAndHugeFilesInThePagesFolderLeaveTheWindowUsable)
{
    harness.data.writeFile(QStringLiteral("pages/2026-12-05.dat"), noise(64 * 1024));
    harness.data.writeFile(QStringLiteral("pages/2026-12-06.dat"), QByteArray());
    QFile huge(harness.data.root().pagesDir() + QStringLiteral("/2026-12-07.dat"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(qsizetype(100) << 20));
    huge.close();
    ASSERT_GT(huge.size(), pagestore::kLargestPageFile);
    start();
    const DiarySnapshot before(harness.data);

    harness.dialogs.answerMessage(Button::Ok);
    named<QToolButton>(form(), "SSCommand4")->click();
    expectError(messages::pageNotOpened());
    EXPECT_TRUE(pageText().isEmpty());

    named<QToolButton>(form(), "SSCommand2")->click();
    EXPECT_EQ(named<QLabel>(form(), "Label3")->text(), QStringLiteral("2026-12-06.dat"));
    EXPECT_TRUE(pageText().isEmpty());
    named<QToolButton>(form(), "SSCommand2")->click();
    EXPECT_EQ(named<QLabel>(form(), "Label3")->text(), QStringLiteral("2026-12-05.dat"));
    named<QToolButton>(form(), "SSCommand2")->click();
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));

    named<QLineEdit>(form(), "Text4")->setText(QStringLiteral("skating"));
    named<QPushButton>(form(), "Command4")->click();
    ASSERT_EQ(named<QListWidget>(form(), "List1")->count(), 1);
    EXPECT_EQ(named<QListWidget>(form(), "List1")->item(0)->text(), QStringLiteral("2026-12-04.dat"));
    EXPECT_EQ(harness.dialogs.shown().size(), 2);
    EXPECT_EQ(before.changes(), QStringList());
}

// More text than the window can lay out quickly is refused when opened and
// when saved, and either way the stored files stay as they were.
TEST_F(FilledDiary, APageWithMoreTextThanAPageHoldsIsNeitherOpenedNorStored)
{
    // Lines of a page's width: one paragraph that long would take the layout minutes.
    const QByteArray text = QByteArray(63, 'w').append('\n').repeated(richtext::limits::kPageCharacters / 64);
    harness.data.writeFile(QStringLiteral("pages/2026-12-07.dat"), *pagestore::encodePage("{\\rtf1\\ansi " + QByteArray(text).replace('\n', "\\par ") + "x}"));
    start();
    const DiarySnapshot before(harness.data);

    harness.dialogs.answerMessage(Button::Ok);
    named<QToolButton>(form(), "SSCommand4")->click();
    expectError(messages::pageNotOpened(harness.data.root().pagesDir()
                                        + QStringLiteral("/2026-12-07.dat: It holds more text than a page can hold (4194304 characters).")));
    EXPECT_TRUE(pageText().isEmpty());

    choose(QDate(2026, 12, 9));
    named<RichTextEdit>(form(), "rtxt2")->insertPlainText(QString::fromLatin1(text) + u'x');
    harness.dialogs.answerMessage(Button::Ok);
    form().session().book().SavePage();
    expectError(messages::pageTooLarge(QStringLiteral("The page holds more text than a page can hold (4194304 characters).")));
    EXPECT_EQ(before.changes(), QStringList());
}

TEST_F(FilledDiary, APageCutOffInsideAPictureOpensWithWhatIsLeft)
{
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 2), pictureRtf()));
    const QString path = harness.data.root().pagePath(QStringLiteral("2026-12-02"));
    QFile stored(path);
    ASSERT_TRUE(stored.resize(stored.size() * 3 / 5));
    start();
    const DiarySnapshot before(harness.data);

    choose(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().startsWith(QStringLiteral("Before the photo")));
    EXPECT_FALSE(pageText().contains(QStringLiteral("After")));
    // The picture shows as a crossed-out box: the user sees that something is missing.
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->document()->toRawText().count(QChar::ObjectReplacementCharacter), 1);
    EXPECT_EQ(form().session().book().filechanged(), 0);

    choose(QDate(2026, 12, 1));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(before.changes(), QStringList());
}

// Notes written on other machines: only a byte-order mark says the file is not Windows-1252.
TEST_F(FilledDiary, NotesInAnotherEncodingReadAsWritten)
{
    const QString note = QStringLiteral("Anna\u2019s day \u2014 caf\u00e9, \u03b1\u03b2\u03b3 and \u6f22\u5b57");
    QStringEncoder utf16(QStringConverter::Utf16LE, QStringConverter::Flag::WriteBom);
    harness.data.writeFile(QStringLiteral("dates/Dec-1.dat"), QByteArray(utf16.encode(note + QStringLiteral("\r\n"))));
    QStringEncoder utf16be(QStringConverter::Utf16BE, QStringConverter::Flag::WriteBom);
    harness.data.writeFile(QStringLiteral("dates/Dec-2.dat"), QByteArray(utf16be.encode(note)));
    harness.data.writeFile(QStringLiteral("dates/Dec-3.dat"), "\xEF\xBB\xBF" + note.toUtf8());
    harness.data.writeFile(QStringLiteral("dates/Dec-5.dat"), "caf\xc3\xa9\r\n");
    start();
    const DiarySnapshot before(harness.data);

    choose(QDate(2026, 12, 1));
    EXPECT_EQ(noteText(), note);
    choose(QDate(2026, 12, 2));
    EXPECT_EQ(noteText(), note);
    choose(QDate(2026, 12, 3));
    EXPECT_EQ(noteText(), note);
    // UTF-8 without a mark cannot be told from Windows-1252, which it is read as.
    choose(QDate(2026, 12, 5));
    EXPECT_EQ(noteText(), QStringLiteral("caf\u00c3\u00a9"));
    EXPECT_EQ(before.changes(), QStringList());
}
