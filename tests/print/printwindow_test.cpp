#include "formharness.h"
#include "readers.h"

#include "diary/history.h"
#include "ui/designgeometry.h"
#include "ui/startfolder.h"

using namespace Qt::StringLiterals;

namespace {

// A landscape PDF printer stands in for a system without printers.
class PrintWindowTest : public FormTest
{
protected:
    void SetUp() override
    {
        storePage("2026-12-04", "Today we went skating");
        harness.withoutPassword();
        AppServices services = harness.services();
        services.printer = [this] {
            auto printer = std::make_unique<QPrinter>(QPrinter::HighResolution);
            printer->setOutputFormat(QPrinter::PdfFormat);
            printer->setPageSize(pageSize);
            printer->setPageOrientation(QPageLayout::Landscape);
            return printer;
        };
        harness.start(services);
    }

    Frmprint *open()
    {
        run("m17");
        return form().findChild<Frmprint *>();
    }
    void click(Frmprint *window, const char *key) { window->Toolbar1->findChild<QToolButton *>(QLatin1String(key))->click(); }
    // The close box: the window goes once its close handling has run.
    void closeWindow(Frmprint *window)
    {
        window->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    QPageSize pageSize{QPageSize::Letter};
};

} // namespace

// Portrait whatever the printer was set to: Letter less 360 a side, a page
// high but never past the screen. The copy is saved as the selected day's
// page; put away, the window takes a fresh copy the next time. What was
// printed counts as dealt with, even when the printing was cancelled.
TEST_F(PrintWindowTest, OpensAFreshCopyLaidOutForThePrinterToSaveAsTheSelectedDayOrToPrint)
{
    Frmprint *window = open();
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(std::tuple(window->isVisible(), window->windowTitle(), window->rtxt->text()), std::tuple(true, u"Print"_s, u"Today we went skating"_s));
    EXPECT_EQ(std::tuple(window->rtxt->lineWrapColumnOrWidth(), window->width(), window->screen()->availableGeometry().contains(window->frameGeometry())),
              std::tuple(11520 * window->rtxt->logicalDpiX() / 1440, fromTwips(0, 0, 11720, 15920).width(), true));

    choose(QDate(2026, 12, 2));
    click(window, "Save");
    EXPECT_EQ(std::pair(window->printchanged, storedPage("2026-12-02")), std::pair(0, u"Today we went skating"_s));

    click(window, "Delete");
    EXPECT_FALSE(window->isVisible());
    page().setPlainText(u"Changed in the main window"_s);
    EXPECT_EQ(open(), window);
    EXPECT_EQ(std::tuple(window->isVisible(), window->rtxt->text(), window->rtxt->document()->useDesignMetrics()), std::tuple(true, u"Changed in the main window"_s, true));

    QTest::keyClicks(window->rtxt, u"Printed: "_s);
    harness.dialogs.answerSaveFile(QString());
    click(window, "Print");
    EXPECT_EQ(window->printchanged, 0);
    EXPECT_EQ(harness.dialogs.shown().last(), (ScriptedDialogs::Shown{.kind = ScriptedDialogs::Kind::SaveFile,
                                                                      .text = QDir(startFolder(QStandardPaths::DocumentsLocation)).filePath(u"2026-12-02.pdf"_s),
                                                                      .title = u"Print to File"_s, .filter = u"PDF Files (*.pdf)|*.pdf|All Files (*.*)|*.*"_s}));

    const QString pdf = harness.data.path() + u"/day.pdf"_s;
    harness.dialogs.answerSaveFile(pdf);
    window->Command1->click();
    EXPECT_EQ(readers::pdfSheets(pdf).join(u'\f').trimmed(), u"Printed: Changed in the main window"_s);
}

// An empty page would only come out as a blank sheet. A page too small to
// preview keeps the window hidden, and is measured again the next time.
TEST_F(PrintWindowTest, NothingToPrintOrAPageTooSmallToPreviewShowsNoWindow)
{
    choose(QDate(2026, 12, 2));
    answer({Button::Ok});
    EXPECT_EQ(open(), nullptr);

    choose(QDate(2026, 12, 4));
    pageSize = QPageSize(QSizeF(612, 10), QPageSize::Point);
    answer({Button::Ok, Button::Ok});
    EXPECT_FALSE(open()->isVisible());
    open();
    EXPECT_EQ(lastTexts(3), (QStringList{messages::nothingToPrint().text, messages::previewNotCompatible().text, messages::previewNotCompatible().text}));
}

// Typing and format keys touch the copy, moving about and putting it away do
// not. A touched copy is drafted and offered for saving on close; a copy let
// go without storing it is kept in the page's history.
TEST_F(PrintWindowTest, TouchedCopiesAreDraftedOfferedForSavingOnCloseAndKeptWhenLetGo)
{
    form().session().drafts().setDelay(std::chrono::milliseconds(0));
    const auto drafted = [this] {
        QCoreApplication::processEvents();
        form().session().drafts().flush();
        return harness.data.everyName(TestDataRoot::drafts());
    };
    Frmprint *window = open();
    QTest::keyClick(window->rtxt, Qt::Key_Left);
    EXPECT_EQ(window->printchanged, 0);
    QTest::keyClicks(window->rtxt, u"Skates. "_s);
    EXPECT_EQ(std::pair(window->printchanged, drafted()), std::pair(1, QStringList{u"print@2026-12-04.dat"_s}));
    click(window, "Delete");
    EXPECT_EQ(window->printchanged, 0);
    click(window, "Bold");
    EXPECT_EQ(window->printchanged, 1);
    answer({Button::Yes, Button::Yes});
    closeWindow(window);
    EXPECT_EQ(std::pair(storedPage("2026-12-04"), drafted()), std::pair(u"Skates. Today we went skating"_s, QStringList()));

    window = open();
    QTest::keyClicks(window->rtxt, u"x"_s);
    answer({Button::No});
    closeWindow(window);
    EXPECT_EQ(lastTexts(1), QStringList{messages::savePage().text});
    EXPECT_EQ(std::pair(form().findChild<Frmprint *>(), storedPage("2026-12-04")), (std::pair<Frmprint *, QString>(nullptr, u"Skates. Today we went skating"_s)));

    window = open();
    QTest::keyClicks(window->rtxt, u"More. "_s);
    click(window, "Delete");
    closeWindow(window);
    EXPECT_TRUE(drafted().isEmpty());
    const auto versions = history::versions(harness.data.root(), harness.data.root().pagePath(u"2026-12-04"_s));
    ASSERT_EQ(versions.size(), 2);
    EXPECT_TRUE(pagestore::loadFile(harness.data.root(), versions[0].path)->contains("More. Skates. Today"));
}
