#include "formharness.h"
#include "pdfreader.h"

#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "ui/designgeometry.h"
#include "app/monthcalendar.h"
#include "diary/history.h"
#include "diary/pagestore.h"
#include "print/frmprint.h"
#include "editor/richtextedit.h"
#include "ui/startfolder.h"

#include <QCoreApplication>
#include <QDir>
#include <QScreen>
#include <QTemporaryDir>
#include <QLabel>
#include <QPushButton>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;

const QString kSaveQuestion = messages::savePage().text;
const QString kOverwrite = messages::overwritePage().text;
const QString kNotCompatible = messages::previewNotCompatible().text;

QByteArray page(const char *text)
{
    return QByteArray("{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard ") + text + "\\par\r\n}";
}

// A PDF printer on a page of the given size, standing in for a system without printers.
printing::PrinterSource pdfPrinter(QPageSize size)
{
    return [size] {
        auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
        printer->setOutputFormat(QPrinter::PdfFormat);
        printer->setPageSize(size);
        printer->setPageOrientation(QPageLayout::Landscape);
        return printer;
    };
}

class PrintWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 4), page("Today we went skating")));
        harness.withoutPassword();
        AppServices services = harness.services();
        services.printer = pdfPrinter(pageSize);
        harness.start(services);
    }

    Frmprint *open()
    {
        named<QAction>(form(), "m17")->trigger();
        return form().findChild<Frmprint *>();
    }

    void click(Frmprint *window, const char *key) { window->Toolbar1->findChild<QToolButton *>(QString::fromLatin1(key))->click(); }

    // The close box: the window goes once its close handling has run.
    void closeWindow(Frmprint *window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QString stored(const char *day) const
    {
        RichTextEdit reader;
        reader.setTextRtf(pagestore::load(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate)).value_or(QByteArray()));
        return reader.text();
    }

    Form1 &form() const { return *harness.form; }
    QStringList texts() const { return harness.dialogs.texts(); }

    QPageSize pageSize{QPageSize::Letter};
    FormHarness harness;
    QTemporaryDir folder;
};

class TinyPagePrintWindowTest : public PrintWindowTest
{
protected:
    TinyPagePrintWindowTest() { pageSize = QPageSize(QSizeF(612, 10), QPageSize::Point); }
};

} // namespace

TEST_F(PrintWindowTest, OpensWithAFreshCopyLaidOutForThePrinter)
{
    Frmprint *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->windowTitle(), QStringLiteral("Print"));
    EXPECT_EQ(window->rtxt->text(), QStringLiteral("Today we went skating"));

    // Portrait whatever the printer was set to: Letter less 360 on each side.
    EXPECT_EQ(window->rtxt->lineWrapColumnOrWidth(), 11520 * window->rtxt->logicalDpiX() / 1440);
    // Laid out a page high, but never past the screen: the copy scrolls instead.
    const QRect screen = window->screen()->availableGeometry();
    EXPECT_EQ(window->width(), fromTwips(0, 0, 11720, 15920).width());
    EXPECT_LT(window->height(), fromTwips(0, 0, 11720, 15920).height());
    EXPECT_TRUE(screen.contains(window->frameGeometry()));

    click(window, "Delete");
    EXPECT_FALSE(window->isVisible());
    EXPECT_EQ(window->printchanged, 0);
    named<RichTextEdit>(form(), "rtxt2")->setPlainText(QStringLiteral("Changed in the main window"));
    EXPECT_EQ(open(), window);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(window->rtxt->text(), QStringLiteral("Changed in the main window"));
    EXPECT_TRUE(window->rtxt->document()->useDesignMetrics());
    EXPECT_TRUE(harness.dialogs.shown().size() == 1);
}

// A day without a page has nothing to print: the window is not opened for
// a blank sheet. A picture alone is something to print.
TEST_F(PrintWindowTest, AnEmptyPageIsNotPrinted)
{
    named<MonthCalendar>(form(), "monthview1")->setSelectedDate(QDate(2026, 12, 2));
    harness.dialogs.answerMessage(Button::Ok);
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::nothingToPrint()));

    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    named<RichTextEdit>(form(), "rtxt2")->pastePicture(picture);
    Frmprint *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_TRUE(window->isVisible());
    EXPECT_EQ(harness.dialogs.shown().size(), 2);
}

TEST_F(PrintWindowTest, TouchedCopiesAreOfferedForSavingOnClose)
{
    Frmprint *window = open();
    QTest::keyClick(window->rtxt, Qt::Key_Right);
    EXPECT_EQ(window->printchanged, 0);
    QTest::keyClicks(window->rtxt, QStringLiteral("x"));
    EXPECT_EQ(window->printchanged, 1);
    click(window, "Delete");
    EXPECT_EQ(window->printchanged, 0);

    click(window, "Bold");
    EXPECT_EQ(window->printchanged, 1);
    harness.dialogs.answerMessage(Button::No);
    closeWindow(window);
    EXPECT_EQ(texts(), (QStringList{texts().first(), kSaveQuestion}));
    EXPECT_EQ(form().findChild<Frmprint *>(), nullptr);
    EXPECT_EQ(stored("2026-12-04"), QStringLiteral("Today we went skating"));

    window = open();
    EXPECT_EQ(window->printchanged, 0);
    QTest::keyClicks(window->rtxt, QStringLiteral("Skates. "));
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    closeWindow(window);
    EXPECT_EQ(texts().mid(2), (QStringList{kSaveQuestion, kOverwrite}));
    EXPECT_EQ(stored("2026-12-04"), QStringLiteral("Skates. Today we went skating"));
    EXPECT_EQ(named<RichTextEdit>(form(), "rtxt2")->text(), QStringLiteral("Skates. Today we went skating"));
    EXPECT_EQ(form().session().book().filechanged(), 0);
}

TEST_F(PrintWindowTest, PrintingWritesTheCopyAndCountsAsDealtWith)
{
    Frmprint *window = open();
    QTest::keyClicks(window->rtxt, QStringLiteral("Printed: "));
    harness.dialogs.answerSaveFile(QString());
    click(window, "Print");
    EXPECT_EQ(window->printchanged, 0);
    const ScriptedDialogs::Shown asked = harness.dialogs.shown().last();
    EXPECT_EQ(asked.kind, ScriptedDialogs::Kind::SaveFile);
    EXPECT_EQ(asked.text, QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(QStringLiteral("2026-12-04.pdf")));
    EXPECT_EQ(asked.filter, QStringLiteral("PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    const QString pdf = folder.filePath(QStringLiteral("day.pdf"));
    harness.dialogs.answerSaveFile(pdf);
    window->Command1->click();
    EXPECT_EQ(pdfPageTexts(pdf), QStringList{QStringLiteral("Printed: Today we went skating")});
    EXPECT_EQ(window->printchanged, 0);

    closeWindow(window);
    EXPECT_EQ(harness.dialogs.shown().size(), 3);
}

// The copy is saved as the selected day's page, and the main window's own typing stays unsaved.
TEST_F(PrintWindowTest, SavingStoresUnderTheSelectedDayAndLeavesTheMainFlag)
{
    Frmprint *window = open();
    named<MonthCalendar>(form(), "monthview1")->setSelectedDate(QDate(2026, 12, 2));
    click(window, "Save");
    EXPECT_EQ(window->printchanged, 0);
    EXPECT_EQ(stored("2026-12-02"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(named<QLabel>(form(), "text3")->text(), QStringLiteral("1"));

    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), QStringLiteral("Unsaved "));
    QTest::keyClicks(window->rtxt, QStringLiteral("Again "));
    harness.dialogs.answerMessage(Button::Yes);
    click(window, "Save");
    EXPECT_EQ(texts().last(), kOverwrite);
    EXPECT_EQ(stored("2026-12-02"), QStringLiteral("Again Today we went skating"));
    EXPECT_EQ(form().session().book().filechanged(), 1);
}

TEST_F(TinyPagePrintWindowTest, APageTooSmallToPreviewKeepsTheWindowHidden)
{
    harness.dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(open()->isVisible());
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::previewNotCompatible()));
    harness.dialogs.answerMessage(Button::Ok);
    open();
    EXPECT_EQ(texts().count(kNotCompatible), 2);
}

// The copy is drafted while it holds unsaved changes; a copy the window lets
// go without storing it is kept in the page's history.
TEST_F(PrintWindowTest, TheCopyIsDraftedUntilStoredAndKeptWhenLetGo)
{
    form().session().drafts().setDelay(std::chrono::milliseconds(0));
    const auto drafted = [this] {
        QCoreApplication::processEvents();
        form().session().drafts().flush();
        return harness.data.everyName(QStringLiteral(".drafts"));
    };
    Frmprint *window = open();
    QTest::keyClicks(window->rtxt, QStringLiteral("Skates. "));
    EXPECT_EQ(drafted(), QStringList{QStringLiteral("print@2026-12-04.dat")});
    harness.dialogs.answerMessage(Button::Yes);
    click(window, "Save");
    EXPECT_TRUE(drafted().isEmpty());

    QTest::keyClicks(window->rtxt, QStringLiteral("More. "));
    click(window, "Delete");
    closeWindow(window);
    EXPECT_TRUE(drafted().isEmpty());
    const auto versions = history::versions(harness.data.root(), harness.data.root().pagePath(QStringLiteral("2026-12-04")));
    ASSERT_EQ(versions.size(), 2);
    EXPECT_TRUE(pagestore::loadFile(harness.data.root(), versions[0].path)->contains("Skates. More. Today"));
}
