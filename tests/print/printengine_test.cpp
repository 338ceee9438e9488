#include "editor/richtextedit.h"
#include "print/pageloop.h"
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
    QStringList printed(const QString &text)
    {
        editor.setPlainText(text);
        PrintRichText(editor, printer, dialogs, kInch);
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
