#include "formharness.h"

#include "app/monthcalendar.h"
#include "picture/frmpicture.h"
#include "picture/picturebox.h"
#include "richtext/picture.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"
#include "pictures.h"
#include "testimages.h"
#include "ui/modcenter.h"
#include "ui/startfolder.h"

#include <QAbstractItemView>
#include <QClipboard>
#include <QComboBox>
#include <QFile>
#include <QGuiApplication>
#include <QLineEdit>
#include <QRegularExpression>
#include <QScreen>
#include <QStyle>
#include <QTemporaryDir>
#include <QTest>
#include <QTextBlock>
#include <QToolBar>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;

namespace {

using Shown = ScriptedDialogs::Shown;

const QString kFilter = u"All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*"_s;
const QChar kPictureMark(QChar::ObjectReplacementCharacter);

const Shown kNotValid = [] {
    Shown shown = ScriptedDialogs::shownBox(messages::notAPicture());
    shown.centred = true;
    return shown;
}();

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

// The pictures of a page as it stores them, in the order they stand in it.
QList<QImage> pictures(const QTextDocument &page)
{
    QList<QImage> found;
    for (QTextBlock block = page.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat())
                found.append(rgb(richtext::decodeImage(richtext::storedPicture(page, format.toImageFormat())->bytes)));
        }
    }
    return found;
}

class FrmpictureTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        harness.startWithoutPassword();
        harness.form->show();
    }

    QString write(const QString &name, const QByteArray &bytes) { return testimages::fileIn(files, name, bytes); }
    QString png(const QImage &image) { return write(u"picture.png"_s, testpictures::encoded(image, "png")); }

    static constexpr bool kRefused = true;
    void addPicture(const QString &path, bool refused = false)
    {
        harness.dialogs.answerOpenFile(path);
        if (refused)
            harness.dialogs.answerMessage(Dialogs::Button::Ok);
        named<QAction>(form(), "m16")->trigger();
    }
    // As the user does: open the list and choose the entry.
    void pick(const QString &entry)
    {
        QComboBox *field = window().Combo1;
        field->showPopup();
        field->view()->setCurrentIndex(field->model()->index(field->findText(entry), 0));
        QTest::keyClick(field->view(), Qt::Key_Return);
    }
    void press(const char *key) { QTest::mouseClick(window().Toolbar1->findChild<QWidget *>(QLatin1String(key)), Qt::LeftButton); }
    void choose(QDate day) { named<MonthCalendar>(form(), "monthview1")->setSelectedDate(day); }

    Form1 &form() const { return *harness.form; }
    RichTextEdit &editor() const { return *named<RichTextEdit>(form(), "rtxt2"); }
    Frmpicture &window() const { return *form().findChild<Frmpicture *>(); }
    QSize preview() const { return window().Picture1->size(); }

    FormHarness harness;
    QTemporaryDir files;
};

} // namespace

TEST_F(FrmpictureTest, AFileThatIsNoPictureIsReportedCentredAndACancelEndsQuietly)
{
    addPicture(QString());
    EXPECT_EQ(std::tuple(harness.dialogs.shown().size(), form().session().book().filechanged(), form().findChild<Frmpicture *>()),
              std::tuple(2, 1, nullptr));

    addPicture(write(u"notes.txt"_s, "Dear diary"), kRefused);
    EXPECT_EQ(harness.dialogs.shown().last(), kNotValid);
    EXPECT_EQ(form().findChild<Frmpicture *>(), nullptr);
    EXPECT_FALSE(CenteringInForce());

    addPicture(png(testimages::blocks(30, 20)));
    press("Close");
    addPicture(files.filePath(u"missing.jpg"_s), kRefused);
    EXPECT_EQ(harness.dialogs.shown().last(), kNotValid);
    EXPECT_EQ(std::pair(window().isVisible(), window().Picture2->picture().size()), std::pair(false, QSize(30, 20)));
    EXPECT_FALSE(CenteringInForce());

    // The page counts as changed: moving to another day asks to save it.
    harness.dialogs.answerMessage(Dialogs::Button::No);
    choose(QDate(2026, 12, 5));
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::savePage()));
}

// Close keeps the window for the next picture, which opens unscaled; the close box discards it.
TEST_F(FrmpictureTest, EachFormatOpensUnscaledCentredAndFocusedAndOnlyTheCloseBoxDiscardsTheWindow)
{
    QGuiApplication::clipboard()->setText(u"kept"_s);
    const QImage blocks = testimages::blocks(120, 80);
    const Frmpicture *kept = nullptr;
    for (const QString &path : {write(u"p.bmp"_s, testpictures::encoded(blocks, "bmp")), testimages::dataFile("blocks.gif"),
                                write(u"p.jpg"_s, testpictures::encoded(blocks, "jpeg")), png(blocks)}) {
        SCOPED_TRACE(path.toStdString());
        addPicture(path);
        EXPECT_EQ(harness.dialogs.shown().last(), (Shown{.kind = ScriptedDialogs::Kind::OpenFile, .filter = kFilter, .centred = true,
                                                         .folder = startFolder(QStandardPaths::PicturesLocation)}));
        EXPECT_FALSE(CenteringInForce());
        ASSERT_TRUE(window().isVisible());
        EXPECT_TRUE(!kept || kept == &window());
        kept = &window();
        EXPECT_EQ(std::tuple(form().session().book().filechanged(), window().Combo1->currentText(), window().focusWidget(), window().Picture2->picture().size()),
                  std::tuple(1, u"1"_s, static_cast<QWidget *>(window().Combo1), QSize(120, 80)));
        EXPECT_EQ(window().Picture1->geometry(), QRect((window().width() - 120) / 2, 40, 120, 80));
        EXPECT_TRUE(window().screen()->availableGeometry().contains(window().frameGeometry()));
        // Centred over the main window, give or take the title bar reserved before it was shown.
        EXPECT_LE((window().frameGeometry().center() - form().frameGeometry().center()).manhattanLength(), window().style()->pixelMetric(QStyle::PM_TitleBarHeight));
        pick(u".50"_s);
        press("Close");
        EXPECT_EQ(std::tuple(window().isVisible(), QGuiApplication::clipboard()->text(), editor().toPlainText(), preview()), std::tuple(false, u"kept"_s, QString(), QSize(60, 40)));
    }
    addPicture(png(testimages::blocks(30, 20)));
    window().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form().findChild<Frmpicture *>(), nullptr);
    addPicture(png(testimages::blocks(30, 20)));
    EXPECT_EQ(std::pair(window().isVisible(), preview()), std::pair(true, QSize(30, 20)));
}

TEST_F(FrmpictureTest, PickingAScaleStretchesTheUnscaledPictureSmoothlyUnlessTooLarge)
{
    // Black and white pixels in turn, where only smooth resampling gives grey.
    QImage checks(200, 100, QImage::Format_Mono);
    checks.setColorTable({qRgb(255, 255, 255), qRgb(0, 0, 0)});
    for (int y = 0; y < 100; ++y) {
        for (int x = 0; x < 200; ++x)
            checks.setPixel(x, y, (x + y) % 2);
    }
    checks.convertTo(QImage::Format_RGB32);
    addPicture(png(checks));
    pick(u"2"_s);
    EXPECT_EQ(preview(), QSize(400, 200));
    pick(u".50"_s);
    EXPECT_EQ(preview(), QSize(100, 50));
    EXPECT_NEAR(qGray(window().Picture1->picture().pixel(50, 25)), 128, 63);
    pick(u"1"_s);
    EXPECT_EQ(std::pair(rgb(window().Picture1->picture()), window().Picture1->geometry()), std::pair(checks, QRect(222, 40, 200, 100)));

    // Typed text is not a pick, even when it is an entry of the list.
    window().Combo1->lineEdit()->selectAll();
    QTest::keyClicks(window().Combo1->lineEdit(), u"2"_s);
    QTest::keyClick(window().Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(preview(), QSize(200, 100));

    // Wider than the window: cut off evenly, the half pixel to the even side.
    addPicture(png(testimages::blocks(500, 20)));
    pick(u"2"_s);
    EXPECT_EQ(window().Picture1->geometry(), QRect(-178, 40, 1000, 40));

    // Too large to show: refused, and the field goes back.
    addPicture(png(testimages::blocks(12000, 10)));
    pick(u".50"_s);
    harness.dialogs.answerMessage(Dialogs::Button::Ok);
    pick(u"2"_s);
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::pictureTooLarge()));
    EXPECT_EQ(std::pair(preview(), window().Combo1->currentText()), std::pair(QSize(6000, 5), u".50"_s));
}

TEST_F(FrmpictureTest, PasteReplacesTheSelectionAndTheReopenedPageHoldsThePictures)
{
    QTest::keyClicks(&editor(), u"Hello world"_s);
    QTextCursor caret = editor().textCursor();
    caret.setPosition(5);
    editor().setTextCursor(caret);

    const QImage first = testimages::blocks(160, 96);
    addPicture(png(first));
    pick(u".50"_s);
    const QImage halved = rgb(window().Picture1->picture());
    press("Paste");
    EXPECT_FALSE(window().isVisible());
    EXPECT_EQ(rgb(QGuiApplication::clipboard()->image()), halved);
    EXPECT_EQ(editor().toPlainText(), u"Hello"_s + kPictureMark + u" world"_s);

    caret.setPosition(7);
    caret.setPosition(12, QTextCursor::KeepAnchor);
    editor().setTextCursor(caret);
    const QImage second = testimages::blocks(48, 40);
    addPicture(write(u"second.bmp"_s, testpictures::encoded(second, "bmp")));
    press("Paste");
    EXPECT_EQ(editor().toPlainText(), u"Hello"_s + kPictureMark + u" "_s + kPictureMark);
    EXPECT_EQ(pictures(*editor().document()), QList<QImage>({halved, second}));

    form().session().book().SavePage();
    choose(QDate(2026, 12, 5));
    choose(QDate(2026, 12, 4));
    EXPECT_EQ(editor().toPlainText(), u"Hello"_s + kPictureMark + u" "_s + kPictureMark);
    EXPECT_EQ(pictures(*editor().document()), QList<QImage>({halved, second}));
}

// The dialog's filter names only three formats: the help must say where the others are.
TEST(PictureHelp, SaysWhereFormatsBeyondTheFilterArePicked)
{
    QFile help(QStringLiteral(QUILLNEST_SKELETON "/help.htm"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll()).remove(QRegularExpression(u"<[^>]*>"_s)).simplified();
    const QString section = text.mid(text.indexOf(u"Add Picture asks"_s), 200);
    EXPECT_TRUE(section.contains(u"JPEG, BMP and GIF"_s)) << section.toStdString();
    EXPECT_TRUE(section.contains(kFilter.section(QLatin1Char('|'), 2, 2))) << section.toStdString();
}
