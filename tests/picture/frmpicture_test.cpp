#include "formharness.h"

#include "picture/frmpicture.h"
#include "picture/picturebox.h"
#include "richtext/picture.h"
#include "pictures.h"
#include "ui/modcenter.h"
#include "ui/startfolder.h"

#include <QClipboard>

using namespace Qt::StringLiterals;
using testpictures::drawing;

namespace {

using Shown = ScriptedDialogs::Shown;

const QString kFilter = u"All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*"_s;
const QChar kPictureMark(QChar::ObjectReplacementCharacter);

QImage rgb(const QImage &image)
{
    return image.convertToFormat(QImage::Format_RGB32);
}

class FrmpictureTest : public FormTest
{
protected:
    void SetUp() override
    {
        harness.startWithoutPassword();
        harness.form->show();
    }

    QString write(const QString &name, const QByteArray &bytes)
    {
        harness.data.writeFile(name, bytes);
        return harness.data.path() + u'/' + name;
    }
    QString png(const QImage &image) { return write(u"picture.png"_s, testpictures::encoded(image, "png")); }

    static constexpr bool kRefused = true;
    void addPicture(const QString &path, bool refused = false)
    {
        harness.dialogs.answerOpenFile(path);
        if (refused)
            answer({Dialogs::Button::Ok});
        run("m16");
    }
    // A file the window refuses is told of centred, and leaves the centring off.
    void expectRefused()
    {
        EXPECT_EQ(std::tuple(harness.dialogs.shown().last().text, harness.dialogs.shown().last().centred, CenteringInForce()),
                  std::tuple(messages::notAPicture().text, true, false));
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

    Frmpicture &window() const { return *form().findChild<Frmpicture *>(); }
    QSize preview() const { return window().Picture1->size(); }
};

} // namespace

// A cancel ends quietly; a file that is no picture opens no window, and one
// that cannot be read leaves the window as it was. The page counts as changed.
TEST_F(FrmpictureTest, AFileThatIsNoPictureIsReportedCentredAndACancelEndsQuietly)
{
    addPicture(QString());
    EXPECT_EQ(std::tuple(harness.dialogs.shown().size(), form().session().book().filechanged(), form().findChild<Frmpicture *>()),
              std::tuple(2, 1, nullptr));

    addPicture(write(u"notes.txt"_s, "Dear diary"), kRefused);
    expectRefused();
    EXPECT_EQ(form().findChild<Frmpicture *>(), nullptr);

    addPicture(png(drawing(30, 20)));
    press("Close");
    addPicture(harness.data.path() + u"/missing.jpg"_s, kRefused);
    expectRefused();
    EXPECT_EQ(std::pair(window().isVisible(), window().Picture2->picture().size()), std::pair(false, QSize(30, 20)));

    answer({Dialogs::Button::No});
    choose(QDate(2026, 12, 5));
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::savePage()));
}

// Close keeps the window for the next picture, which opens unscaled; the close box discards it.
TEST_F(FrmpictureTest, APictureOpensUnscaledCentredAndFocusedAndOnlyTheCloseBoxDiscardsTheWindow)
{
    QGuiApplication::clipboard()->setText(u"kept"_s);
    addPicture(png(drawing(120, 80)));
    EXPECT_EQ(std::pair(harness.dialogs.shown().last(), CenteringInForce()),
              std::pair(Shown{.kind = ScriptedDialogs::Kind::OpenFile, .filter = kFilter, .centred = true, .folder = startFolder(QStandardPaths::PicturesLocation)},
                        false));
    ASSERT_TRUE(window().isVisible());
    EXPECT_EQ(std::tuple(window().Combo1->currentText(), window().focusWidget(), window().Picture2->picture().size(), window().Picture1->geometry(),
                         window().screen()->availableGeometry().contains(window().frameGeometry())),
              std::tuple(u"1"_s, static_cast<QWidget *>(window().Combo1), QSize(120, 80), QRect((window().width() - 120) / 2, 40, 120, 80), true));
    // Centred over the main window, give or take the title bar reserved before it was shown.
    EXPECT_LE((window().frameGeometry().center() - form().frameGeometry().center()).manhattanLength(), window().style()->pixelMetric(QStyle::PM_TitleBarHeight));
    pick(u".50"_s);
    press("Close");
    EXPECT_EQ(std::tuple(window().isVisible(), QGuiApplication::clipboard()->text(), page().toPlainText(), preview()), std::tuple(false, u"kept"_s, QString(), QSize(60, 40)));

    const Frmpicture *kept = &window();
    addPicture(png(drawing(30, 20)));
    EXPECT_EQ(std::tuple(&window(), window().isVisible(), preview(), window().Combo1->currentText()), std::tuple(kept, true, QSize(30, 20), u"1"_s));
    window().close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(form().findChild<Frmpicture *>(), nullptr);
    addPicture(png(drawing(30, 20)));
    EXPECT_EQ(std::pair(window().isVisible(), preview()), std::pair(true, QSize(30, 20)));
}

TEST_F(FrmpictureTest, PickingAScaleStretchesTheUnscaledPictureSmoothlyUnlessTooLarge)
{
    // A line a pixel high, which only smooth resampling halves into a paler one.
    const QImage line = drawing(200, 100);
    addPicture(png(line));
    pick(u"2"_s);
    EXPECT_EQ(preview(), QSize(400, 200));
    pick(u".50"_s);
    EXPECT_EQ(preview(), QSize(100, 50));
    EXPECT_NEAR(qGreen(window().Picture1->picture().pixel(50, 25)), 142, 60);
    pick(u"1"_s);
    EXPECT_EQ(std::pair(rgb(window().Picture1->picture()), window().Picture1->geometry()), std::pair(line, QRect(222, 40, 200, 100)));

    // Typed text is not a pick, even when it is an entry of the list.
    window().Combo1->lineEdit()->selectAll();
    QTest::keyClicks(window().Combo1->lineEdit(), u"2"_s);
    QTest::keyClick(window().Combo1->lineEdit(), Qt::Key_Return);
    EXPECT_EQ(preview(), QSize(200, 100));

    // Wider than the window: cut off evenly, the half pixel to the even side.
    addPicture(png(drawing(500, 20)));
    pick(u"2"_s);
    EXPECT_EQ(window().Picture1->geometry(), QRect(-178, 40, 1000, 40));

    // Too large to show: refused, and the field goes back.
    addPicture(png(drawing(12000, 10)));
    pick(u".50"_s);
    answer({Dialogs::Button::Ok});
    pick(u"2"_s);
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::pictureTooLarge()));
    EXPECT_EQ(std::pair(preview(), window().Combo1->currentText()), std::pair(QSize(6000, 5), u".50"_s));
}

// The picture pasted is the scaled one, in place of the selection, and the
// reopened page holds it.
TEST_F(FrmpictureTest, PasteReplacesTheSelectionAndTheReopenedPageHoldsThePicture)
{
    QTest::keyClicks(&page(), u"Hello world"_s);
    selectOnPage(11, 6);
    addPicture(png(drawing(160, 96)));
    pick(u".50"_s);
    const QImage halved = rgb(window().Picture1->picture());
    press("Paste");
    EXPECT_EQ(std::pair(window().isVisible(), rgb(QGuiApplication::clipboard()->image())), std::pair(false, halved));

    form().session().book().SavePage();
    choose(QDate(2026, 12, 5));
    choose(QDate(2026, 12, 4));
    EXPECT_EQ(page().toPlainText(), u"Hello "_s + kPictureMark);
    QTextCursor caret(page().document());
    caret.setPosition(7);
    EXPECT_EQ(rgb(richtext::decodeImage(richtext::storedPicture(*page().document(), caret.charFormat().toImageFormat())->bytes)), halved);
}

// The dialog's filter names only three formats: the help must say where the others are.
TEST(PictureHelp, SaysWhereFormatsBeyondTheFilterArePicked)
{
    QFile help(QStringLiteral(QUILLNEST_SKELETON "/help.htm"));
    ASSERT_TRUE(help.open(QIODevice::ReadOnly));
    const QString text = QString::fromUtf8(help.readAll()).remove(QRegularExpression(u"<[^>]*>"_s)).simplified();
    const QString section = text.mid(text.indexOf(u"Add Picture asks"_s), 200);
    EXPECT_TRUE(section.contains(u"JPEG, BMP and GIF"_s) && section.contains(kFilter.section(QLatin1Char('|'), 2, 2))) << section.toStdString();
}
