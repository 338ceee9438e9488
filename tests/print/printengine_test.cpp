#include "editor/richtextedit.h"
#include "print/pageloop.h"
#include "print/printermeasures.h"
#include "print/printrichtext.h"

#include "readers.h"
#include "scripteddialogs.h"
#include "testapplication.h"

#include <QApplication>
#include <QFileInfo>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

using printing::TwipsRect;
using namespace Qt::StringLiterals;

namespace printing {
void PrintTo(const TwipsRect &rect, std::ostream *out)
{
    *out << '(' << rect.left << ", " << rect.top << ", " << rect.right << ", " << rect.bottom << ')';
}
} // namespace printing

namespace {

const QSize kLetter(12240, 15840);
const QMargins kInch(1440, 1440, 1440, 1440);

QString lines(int count)
{
    QStringList text;
    for (int i = 1; i <= count; ++i)
        text.append(u"Line %1"_s.arg(i));
    return text.join(u'\n');
}

int firstLine(const QString &page)
{
    return page.section(u'\n', 0, 0).mid(5).toInt();
}

class PrintEngineTest : public ::testing::Test
{
protected:
    PrintEngineTest()
    {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setPageSize(QPageSize(QPageSize::Letter));
        printer.setOutputFileName(pdf);
    }

    // The pages of the PDF that printing `text` gives, each trimmed.
    QStringList printed(const QString &text, const QMargins &margins = kInch)
    {
        editor.setPlainText(text);
        PrintRichText(editor, printer, dialogs, margins);
        EXPECT_TRUE(dialogs.shown().isEmpty());
        QStringList pages = readers::pdfSheets(pdf);
        std::ranges::for_each(pages, [](QString &page) { page = page.trimmed(); });
        EXPECT_TRUE(readers::output(u"pdfinfo"_s, {pdf}).value_or(QString()).contains(QRegularExpression(u"\nPages: +%1\n"_s.arg(pages.size()))));
        return pages;
    }

    QApplication &application = testApplication();
    QTemporaryDir folder;
    QString pdf = folder.filePath(u"page.pdf"_s);
    QPrinter printer{QPrinter::HighResolution};
    RichTextEdit editor;
    ScriptedDialogs dialogs;
};

} // namespace

// The printer's own margins are its offset; a full page has none; the
// editor is laid out to the line the printer gives.
TEST_F(PrintEngineTest, TextAreaAndDrawingRectangleInTwips)
{
    const QSize printable(12000, 15600);
    EXPECT_EQ(printing::pageFrame(kLetter, printable, QPoint(0, 0), kInch).drawing, (TwipsRect{1440, 1440, 10800, 14400}));
    const auto offset = printing::pageFrame(kLetter, printable, QPoint(100, 100), kInch);
    EXPECT_EQ(std::pair(offset.drawing, offset.page), std::pair(TwipsRect{1340, 1340, 10700, 14300}, TwipsRect{0, 0, 12000, 15600}));
    EXPECT_EQ(printing::pixelsToTwips(125, 1200), 150);

    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Point);
    EXPECT_EQ(std::pair(printing::pageTwips(printer), printing::offsetTwips(printer)), std::pair(kLetter, QPoint(100, 100)));
    EXPECT_NEAR(printing::printableTwips(printer).width(), 12040, 1);
    EXPECT_NEAR(printing::printableTwips(printer).height(), 15640, 1);
    EXPECT_EQ(printing::pageFrame(printer, kInch).drawing, (TwipsRect{1340, 1340, 10700, 14300}));
    printer.setFullPage(true);
    EXPECT_EQ(printing::pageFrame(printer, kInch).drawing, (TwipsRect{1440, 1440, 10800, 14400}));

    printer.setPageOrientation(QPageLayout::Landscape);
    const auto uneven = LayoutForPrinter(editor, printer, QMargins(360, 2000, 1080, 3000));
    EXPECT_EQ(std::pair(uneven.lineWidth, uneven.pageHeight), std::pair(15840 - 360 - 1080, 12240 - 2000 - 3000));
    ASSERT_EQ(LayoutForPrinter(editor, printer, QMargins(360, 360, 360, 360)).lineWidth, 15120);
    EXPECT_EQ(editor.lineWrapMode(), QTextEdit::FixedPixelWidth);
    EXPECT_EQ(editor.lineWrapColumnOrWidth(), 15120 * editor.logicalDpiX() / 1440);
}

TEST(PageLoop, EndsAtTheTextsEndOrWhenAPageDoesNotMoveOn)
{
    int newPages = 0;
    const auto newPage = [&] { return ++newPages < 100; };
    EXPECT_EQ(printing::printPages(0, [](int) { return 0; }, newPage), 1);
    EXPECT_EQ(newPages, 0);
    EXPECT_EQ(printing::printPages(90, [](int from) { return from + 30; }, newPage), 3);
    EXPECT_EQ(newPages, 2);
    QList<int> starts;
    EXPECT_EQ(printing::printPages(90, [&](int from) { starts.append(from); return 40; }, newPage), 2);
    EXPECT_EQ(starts, (QList<int>{0, 40}));
    int refused = 0;
    EXPECT_EQ(printing::printPages(90, [](int from) { return from + 30; }, [&] { return ++refused < 2; }), std::nullopt);
    EXPECT_EQ(refused, 2);
}

// Where the pages start says how many lines a page takes; no page holds
// hidden copies of its neighbours' lines. Each margin takes its own side: a
// wide right one only narrows the line, a deep bottom one only shortens the page.
TEST_F(PrintEngineTest, PagesComeOutAsTheTextAndTheMarginsNeed)
{
    EXPECT_EQ(printed(QString()), QStringList{QString()});
    const QStringList long_ = printed(lines(200));
    ASSERT_GE(long_.size(), 3);
    const int firstPage = firstLine(long_[1]) - 1;
    const int perPage = firstLine(long_[2]) - firstLine(long_[1]);
    ASSERT_GT(firstPage, 40);
    EXPECT_NEAR(perPage, firstPage, 1);
    EXPECT_EQ(long_.size(), 1 + (200 - firstPage + perPage - 1) / perPage);
    for (qsizetype page = 1; page < long_.size(); ++page)
        EXPECT_EQ(firstLine(long_[page]), firstPage + 1 + (page - 1) * perPage);
    EXPECT_TRUE(long_.last().endsWith(u"Line 200"_s));
    EXPECT_EQ(long_[0].section(u'\n', -1), u"Line %1"_s.arg(firstPage));
    EXPECT_EQ(long_[1].section(u'\n', -1), u"Line %1"_s.arg(firstPage + perPage));

    // The last line of a text may fit where a following one would not,
    // so the fill of two pages is found at its boundary.
    int twoPages = firstPage + perPage;
    for (int more = 0; more < 3 && printed(lines(twoPages + 1)).size() == 2; ++more)
        ++twoPages;
    const QStringList two = printed(lines(twoPages));
    ASSERT_EQ(two.size(), 2);
    EXPECT_EQ(firstLine(two[1]), firstLine(long_[1]));
    EXPECT_TRUE(two[1].endsWith(u"Line %1"_s.arg(twoPages)));
    EXPECT_EQ(printed(lines(twoPages + 1)).size(), 3);

    const auto linesOnFirstPage = [](const QStringList &pages) { return pages.first().count(u'\n') + 1; };
    EXPECT_EQ(linesOnFirstPage(printed(lines(200), QMargins(720, 1440, 8640, 1440))), firstPage);
    EXPECT_NEAR(linesOnFirstPage(printed(lines(200), QMargins(1440, 720, 1440, 8640))), firstPage * (15840 - 720 - 8640) / 12960, 1);
}

// Paragraphs that run over a sheet's end come out word for word once, in
// order: a sheet never repeats the line that ended the one before.
TEST_F(PrintEngineTest, EachLineComesOutOnceOnOneSheet)
{
    QStringList words;
    QStringList paragraphs;
    for (int paragraph = 1; paragraph <= 40; ++paragraph) {
        QStringList own;
        for (int word = 0; word < paragraph * 7; ++word)
            own.append(u"p%1w%2"_s.arg(paragraph).arg(word));
        words += own;
        paragraphs.append(own.join(u' '));
    }
    const QStringList pages = printed(paragraphs.join(u'\n'));
    ASSERT_GE(pages.size(), 3);
    int continued = 0;
    for (qsizetype page = 1; page < pages.size(); ++page) {
        EXPECT_FALSE(pages[page].contains(pages[page - 1].section(u'\n', -1))) << "sheet " << page + 1;
        continued += !pages[page].section(u' ', 0, 0).endsWith(u"w0"_s);
    }
    EXPECT_GT(continued, 0) << "no sheet starts inside a paragraph";
    EXPECT_EQ(pages.join(u'\n').split(QRegularExpression(u"\\s+"_s)), words);
}

// A picture larger than the text area is printed scaled down to fit it, its
// proportions kept; the page itself keeps the picture's own size. Letter less
// an inch on each side leaves 6.5 by 9 inches.
TEST_F(PrintEngineTest, PicturesLargerThanTheTextAreaAreScaledToFitIt)
{
    editor.setPlainText(u"Wide, then tall"_s);
    editor.moveCursor(QTextCursor::End);
    for (const QSize size : {QSize(3000, 1000), QSize(400, 3000)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        editor.textCursor().insertBlock();
        editor.pastePicture(picture);
    }
    const QByteArray page = editor.textRtf();
    PrintRichText(editor, printer, dialogs, kInch);
    EXPECT_EQ(editor.textRtf(), page);
    const QList<readers::PdfPicture> pictures = readers::pdfPictures(pdf);
    ASSERT_EQ(pictures.size(), 2);
    const std::tuple<int, qreal, qreal> expected[]{{1, 6.5, 6.5 / 3}, {2, 1.2, 9}};
    for (int i = 0; i < 2; ++i) {
        EXPECT_EQ(pictures[i].sheet, std::get<0>(expected[i]));
        EXPECT_NEAR(pictures[i].inches.width(), std::get<1>(expected[i]), 0.02);
        EXPECT_NEAR(pictures[i].inches.height(), std::get<2>(expected[i]), 0.02);
    }
}

TEST_F(PrintEngineTest, FailuresAreReportedAndLeaveNoFile)
{
    editor.setPlainText(u"Nothing comes of this"_s);
    const QString missing = folder.filePath(u"gone/page.pdf"_s);
    printer.setOutputFileName(missing);
    for (int box = 0; box < 3; ++box)
        dialogs.answerMessage(Dialogs::Button::Ok);
    PrintRichText(editor, printer, dialogs, kInch);
    EXPECT_EQ(dialogs.shown(), (QList{ScriptedDialogs::shownBox(messages::printFailed()),
                                      ScriptedDialogs::shownBox(messages::printFailure(5, u"No such file or directory"_s,
                                                                                       QGuiApplication::applicationDisplayName()))}));
    EXPECT_FALSE(QFileInfo::exists(missing));
    printer.setOutputFileName(QString());
    PrintRichText(editor, printer, dialogs, kInch);
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::printerError()));
}
