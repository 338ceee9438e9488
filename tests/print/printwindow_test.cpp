#include "formharness.h"
#include "readers.h"

#include "app/monthcalendar.h"
#include "diary/history.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "print/frmprint.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "ui/designgeometry.h"
#include "ui/startfolder.h"

#include <QDir>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTest>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Button = Dialogs::Button;

const QString kSaveQuestion = messages::savePage().text;
const QString kOverwrite = messages::overwritePage().text;

// A landscape PDF printer stands in for a system without printers.
class PrintWindowTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 4), "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0 Times New Roman;}}\r\n\\pard Today we went skating\\par\r\n}"));
        harness.withoutPassword();
        AppServices services = harness.services();
        services.printer = [size = pageSize] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setPageSize(size);
            printer->setPageOrientation(QPageLayout::Landscape);
            return printer;
        };
        harness.start(services);
    }

    Frmprint *open()
    {
        named<QAction>(form(), "m17")->trigger();
        return form().findChild<Frmprint *>();
    }
    void click(Frmprint *window, const char *key) { window->Toolbar1->findChild<QToolButton *>(QLatin1String(key))->click(); }
    // The close box: the window goes once its close handling has run.
    void closeWindow(Frmprint *window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString stored(const QString &day) const
    {
        RichTextEdit reader;
        reader.setTextRtf(pagestore::load(harness.data.root(), QDate::fromString(day, Qt::ISODate)).value_or(QByteArray()));
        return reader.text();
    }
    Form1 &form() const { return *harness.form; }
    RichTextEdit *mainEditor() const { return named<RichTextEdit>(form(), "rtxt2"); }
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

// Portrait whatever the printer was set to: Letter less 360 a side, a page
// high but never past the screen. The copy is saved as the selected day's page.
TEST_F(PrintWindowTest, OpensAFreshCopyLaidOutForThePrinterThatSavesAsTheSelectedDay)
{
    Frmprint *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::tuple(window->isVisible(), window->windowTitle(), window->rtxt->text()), std::tuple(true, u"Print"_s, u"Today we went skating"_s));
    EXPECT_EQ(window->rtxt->lineWrapColumnOrWidth(), 11520 * window->rtxt->logicalDpiX() / 1440);
    EXPECT_EQ(window->width(), fromTwips(0, 0, 11720, 15920).width());
    EXPECT_LT(window->height(), fromTwips(0, 0, 11720, 15920).height());
    EXPECT_TRUE(window->screen()->availableGeometry().contains(window->frameGeometry()));

    named<MonthCalendar>(form(), "monthview1")->setSelectedDate(QDate(2026, 12, 2));
    click(window, "Save");
    EXPECT_EQ(std::tuple(window->printchanged, stored(u"2026-12-02"_s), named<QLabel>(form(), "text3")->text()), std::tuple(0, u"Today we went skating"_s, u"1"_s));
    QTest::keyClicks(mainEditor(), u"Unsaved "_s);
    QTest::keyClicks(window->rtxt, u"Again "_s);
    harness.dialogs.answerMessage(Button::Yes);
    click(window, "Save");
    EXPECT_EQ(texts().last(), kOverwrite);
    EXPECT_EQ(std::pair(stored(u"2026-12-02"_s), form().session().book().filechanged()), std::pair(u"Again Today we went skating"_s, 1)) << "the main window's typing stays unsaved";

    click(window, "Delete");
    EXPECT_FALSE(window->isVisible());
    mainEditor()->setPlainText(u"Changed in the main window"_s);
    EXPECT_EQ(open(), window);
    EXPECT_EQ(std::tuple(window->isVisible(), window->rtxt->text(), window->rtxt->document()->useDesignMetrics()), std::tuple(true, u"Changed in the main window"_s, true));
}

// A day without a page opens no window for a blank sheet; a picture alone is something to print.
TEST_F(PrintWindowTest, AnEmptyPageIsNotPrinted)
{
    named<MonthCalendar>(form(), "monthview1")->setSelectedDate(QDate(2026, 12, 2));
    harness.dialogs.answerMessage(Button::Ok);
    EXPECT_EQ(open(), nullptr);
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::nothingToPrint()));
    QImage picture(40, 30, QImage::Format_RGB32);
    picture.fill(Qt::darkGreen);
    mainEditor()->pastePicture(picture);
    EXPECT_TRUE(open() && open()->isVisible());
}

TEST_F(PrintWindowTest, TouchedCopiesAreOfferedForSavingOnClose)
{
    Frmprint *window = open();
    QTest::keyClick(window->rtxt, Qt::Key_Right);
    EXPECT_EQ(window->printchanged, 0);
    QTest::keyClicks(window->rtxt, u"x"_s);
    EXPECT_EQ(window->printchanged, 1);
    click(window, "Delete");
    EXPECT_EQ(window->printchanged, 0);
    click(window, "Bold");
    EXPECT_EQ(window->printchanged, 1);
    harness.dialogs.answerMessage(Button::No);
    closeWindow(window);
    EXPECT_EQ(texts(), (QStringList{texts().first(), kSaveQuestion}));
    EXPECT_EQ(std::pair(form().findChild<Frmprint *>(), stored(u"2026-12-04"_s)), (std::pair<Frmprint *, QString>(nullptr, u"Today we went skating"_s)));

    window = open();
    EXPECT_EQ(window->printchanged, 0);
    QTest::keyClicks(window->rtxt, u"Skates. "_s);
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    closeWindow(window);
    EXPECT_EQ(texts().mid(2), (QStringList{kSaveQuestion, kOverwrite}));
    EXPECT_EQ(std::pair(stored(u"2026-12-04"_s), mainEditor()->text()), std::pair(u"Skates. Today we went skating"_s, u"Skates. Today we went skating"_s));
    EXPECT_EQ(form().session().book().filechanged(), 0);
}

TEST_F(PrintWindowTest, PrintingWritesTheCopyAndCountsAsDealtWith)
{
    Frmprint *window = open();
    QTest::keyClicks(window->rtxt, u"Printed: "_s);
    harness.dialogs.answerSaveFile(QString());
    click(window, "Print");
    EXPECT_EQ(window->printchanged, 0);
    const ScriptedDialogs::Shown asked = harness.dialogs.shown().last();
    EXPECT_EQ(std::tuple(asked.kind, asked.text, asked.filter),
              std::tuple(ScriptedDialogs::Kind::SaveFile, QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(u"2026-12-04.pdf"_s),
                         u"PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"_s));
    EXPECT_TRUE(QDir(folder.path()).isEmpty());

    const QString pdf = folder.filePath(u"day.pdf"_s);
    harness.dialogs.answerSaveFile(pdf);
    window->Command1->click();
    EXPECT_EQ(std::pair(readers::pdfSheets(pdf).join(u'\f').trimmed(), window->printchanged), std::pair(u"Printed: Today we went skating"_s, 0));
    closeWindow(window);
    EXPECT_EQ(harness.dialogs.shown().size(), 3);
}

TEST_F(TinyPagePrintWindowTest, APageTooSmallToPreviewKeepsTheWindowHidden)
{
    harness.dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(open()->isVisible());
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::previewNotCompatible()));
    harness.dialogs.answerMessage(Button::Ok);
    open();
    EXPECT_EQ(texts().count(messages::previewNotCompatible().text), 2);
}

// The copy is drafted while it holds unsaved changes; a copy the window lets
// go without storing it is kept in the page's history.
TEST_F(PrintWindowTest, TheCopyIsDraftedUntilStoredAndKeptWhenLetGo)
{
    form().session().drafts().setDelay(std::chrono::milliseconds(0));
    const auto drafted = [this] {
        QCoreApplication::processEvents();
        form().session().drafts().flush();
        return harness.data.everyName(u".drafts"_s);
    };
    Frmprint *window = open();
    QTest::keyClicks(window->rtxt, u"Skates. "_s);
    EXPECT_EQ(drafted(), QStringList{u"print@2026-12-04.dat"_s});
    harness.dialogs.answerMessage(Button::Yes);
    click(window, "Save");
    EXPECT_TRUE(drafted().isEmpty());

    QTest::keyClicks(window->rtxt, u"More. "_s);
    click(window, "Delete");
    closeWindow(window);
    EXPECT_TRUE(drafted().isEmpty());
    const auto versions = history::versions(harness.data.root(), harness.data.root().pagePath(u"2026-12-04"_s));
    ASSERT_EQ(versions.size(), 2);
    EXPECT_TRUE(pagestore::loadFile(harness.data.root(), versions[0].path)->contains("Skates. More. Today"));
}
