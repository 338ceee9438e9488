#include "editor/richtextedit.h"
#include "print/pageloop.h"
#include "print/printermeasures.h"
#include "print/printrichtext.h"

#include "readers.h"
#include "scripteddialogs.h"
#include "testapplication.h"

#include <QGuiApplication>
#include <QPrinter>
#include <QRegularExpression>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

const QMargins kInch(1440, 1440, 1440, 1440);

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

// A page that does not move on ends the printing as surely as the text's end;
// a page the printer refuses stops it.
TEST(PageLoop, EndsAtTheTextsEndOrWhenAPageDoesNotMoveOn)
{
    int newPages = 0;
    const auto newPage = [&] { return ++newPages != 4; };
    EXPECT_EQ(printing::printPages(90, [](int from) { return from + 30; }, newPage), 3);
    EXPECT_EQ(printing::printPages(90, [](int) { return 40; }, newPage), 2);
    EXPECT_EQ(printing::printPages(90, [](int from) { return from + 30; }, newPage), std::nullopt);
}

// Paragraphs that run over a sheet's end come out word for word once, in
// order, every full sheet holding as many lines. Each margin takes its own
// side: a wide right one only narrows the line, a deep bottom one only
// shortens the page.
TEST_F(PrintEngineTest, SheetsHoldEveryWordOnceInTheRoomTheirMarginsLeave)
{
    EXPECT_EQ(printed(QString()), QStringList{QString()});
    QStringList words;
    QStringList paragraphs;
    for (int paragraph = 1; paragraph <= 25; ++paragraph) {
        QStringList own;
        for (int word = 0; word < paragraph * 7; ++word)
            own.append(u"p%1w%2"_s.arg(paragraph).arg(word));
        words += own;
        paragraphs.append(own.join(u' '));
    }
    const QString text = paragraphs.join(u'\n');
    const QStringList sheets = printed(text);
    ASSERT_GE(sheets.size(), 3);
    EXPECT_EQ(sheets.join(u'\n').split(QRegularExpression(u"\\s+"_s)), words);
    const auto held = [](const QString &sheet) { return int(sheet.count(u'\n') + 1); };
    int continued = 0;
    for (qsizetype sheet = 1; sheet < sheets.size(); ++sheet) {
        continued += !sheets[sheet].section(u' ', 0, 0).endsWith(u"w0"_s);
        EXPECT_TRUE(sheet + 1 == sheets.size() || held(sheets[sheet]) == held(sheets[0])) << "sheet " << sheet + 1;
    }
    EXPECT_GT(continued, 0) << "no sheet starts inside a paragraph";
    // The last line of a text may fit where a following one would not.
    EXPECT_EQ(printed(sheets[0] + u'\n' + sheets[1]).size(), 2);
    EXPECT_EQ(held(printed(text, QMargins(720, 1440, 8640, 1440))[0]), held(sheets[0]));
    EXPECT_NEAR(held(printed(text, QMargins(1440, 720, 1440, 8640))[0]), held(sheets[0]) * (15840 - 720 - 8640) / 12960, 1);
}

// In twips: the printer's own margins are its offset; a full page has none.
TEST_F(PrintEngineTest, PrinterMeasuresAndMarginsShapeTheLayout)
{
    EXPECT_TRUE(printing::pageFrame(QSize(12240, 15840), QSize(12000, 15600), QPoint(100, 100), kInch).page == (printing::TwipsRect{0, 0, 12000, 15600}));
    printer.setPageMargins(QMarginsF(5, 5, 5, 5), QPageLayout::Point);
    EXPECT_EQ(std::pair(printing::pageTwips(printer), printing::offsetTwips(printer)), std::pair(QSize(12240, 15840), QPoint(100, 100)));
    // Qt rounds the printable area out to whole pixels: a twip over 12040 by 15640.
    EXPECT_EQ(printing::printableTwips(printer), QSize(12041, 15641));
    EXPECT_TRUE(printing::pageFrame(printer, kInch).drawing == (printing::TwipsRect{1340, 1340, 10700, 14300}));
    printer.setFullPage(true);
    EXPECT_TRUE(printing::pageFrame(printer, kInch).drawing == (printing::TwipsRect{1440, 1440, 10800, 14400}));
    printer.setPageOrientation(QPageLayout::Landscape);
    const auto uneven = LayoutForPrinter(editor, printer, QMargins(360, 2000, 1080, 3000));
    EXPECT_EQ(std::tuple(uneven.lineWidth, uneven.pageHeight, editor.lineWrapMode(), editor.lineWrapColumnOrWidth()),
              std::tuple(15840 - 360 - 1080, 12240 - 2000 - 3000, QTextEdit::FixedPixelWidth, 14400 * editor.logicalDpiX() / 1440));
}

// A picture larger than the text area is printed scaled down to fit it, its
// proportions kept; the page keeps the picture's own size.
TEST_F(PrintEngineTest, PicturesLargerThanTheTextAreaAreScaledToFitIt)
{
    for (const QSize size : {QSize(3000, 1000), QSize(400, 3000)}) {
        QImage picture(size, QImage::Format_RGB32);
        picture.fill(Qt::darkGreen);
        editor.textCursor().insertBlock();
        editor.pastePicture(picture);
    }
    const QByteArray page = editor.textRtf();
    PrintRichText(editor, printer, dialogs, kInch);
    EXPECT_EQ(editor.textRtf(), page);
    // Letter less an inch a side leaves 6.5 by 9 inches.
    EXPECT_EQ(readers::pdfPictures(pdf), (QList<std::array<int, 3>>{{1, 65, 22}, {2, 12, 90}}));
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
