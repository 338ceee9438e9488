#include "ui/dayfield.h"
#include "ui/filefilter.h"
#include "ui/modcenter.h"
#include "ui/qtdialogs.h"
#include "ui/startfolder.h"

#include "modaldialog.h"
#include "qtprinters.h"
#include "testapplication.h"

#include <QApplication>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QKeyEvent>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Button = Dialogs::Button;
using Buttons = Dialogs::Buttons;

namespace {

class QtDialogsTest : public ::testing::Test
{
protected:
    QtDialogsTest() { testApplication(); }
    ~QtDialogsTest() override { StopCentering(); }

    // Runs `check` on the next modal window, which must be a Window.
    template <class Window, class Check>
    static void whenShown(Check check)
    {
        whenModalShown([check](QDialog &dialog) {
            auto *window = qobject_cast<Window *>(&dialog);
            ASSERT_NE(window, nullptr);
            check(*window);
        });
    }
    Button ask(const QString &text, Buttons buttons = Buttons::YesNo, Dialogs::Icon icon = Dialogs::Icon::Question)
    {
        return dialogs.message(text, u"Diary"_s, icon, buttons);
    }
    static QPoint centerOf(const QWidget &window) { return centeredOrigin(window.screen()->geometry(), window.size()); }
    // Shows a window placed in a corner, where Qt would otherwise leave it; gives where it stands.
    static QPoint shownInCorner(QWidget &window)
    {
        window.move(kCorner);
        window.show();
        return window.pos();
    }
    static QPoint savedBoxInCorner()
    {
        QMessageBox box(QMessageBox::Information, u"Saved"_s, u"Page saved"_s);
        return shownInCorner(box);
    }

    static constexpr QPoint kCorner{3, 5};
    QtDialogs dialogs;
};

} // namespace

TEST_F(QtDialogsTest, MessageAndInputBoxesShowWhatTheyAreGivenAndGiveTheAnswer)
{
    whenShown<QMessageBox>([](QMessageBox &box) {
        EXPECT_EQ(std::tuple(box.text(), box.windowTitle(), box.icon(), box.standardButtons()),
                  std::tuple(u"Wrong password"_s, u"Diary"_s, QMessageBox::Critical, QMessageBox::Ok));
    });
    EXPECT_EQ(ask(u"Wrong password"_s, Buttons::Ok, Dialogs::Icon::Critical), Button::Ok);
    whenShown<QMessageBox>([](QMessageBox &box) { box.button(QMessageBox::Yes)->click(); });
    EXPECT_EQ(ask(u"Save?"_s), Button::Yes);
    whenModalShown([](QDialog &dialog) { dialog.close(); });
    EXPECT_EQ(ask(u"Save?"_s, Buttons::YesNo, Dialogs::Icon::Information), Button::No);

    const auto enter = [] {
        whenModalShown([](QDialog &dialog) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &enter);
        });
    };
    enter();
    EXPECT_EQ(ask(u"Save?"_s), Button::Yes);
    for (const auto &[buttons, preferred] : {std::pair{Buttons::YesNo, Button::No}, {Buttons::OkCancel, Button::Cancel}}) {
        enter();
        EXPECT_EQ(dialogs.message(u"Delete?"_s, u"Diary"_s, Dialogs::Icon::Question, buttons, preferred), preferred);
    }
    // The input box masks on request; a cancel gives empty text.
    whenShown<QInputDialog>([](QInputDialog &input) {
        EXPECT_EQ(std::pair(input.labelText(), input.textEchoMode()), std::pair(u"Enter the Password"_s, QLineEdit::Password));
        input.setTextValue(u"hunter22"_s);
        input.accept();
    });
    EXPECT_EQ(dialogs.input(u"Enter the Password"_s, u"Password"_s, Dialogs::Echo::Masked), u"hunter22");
    whenShown<QInputDialog>([](QInputDialog &input) {
        EXPECT_EQ(input.textEchoMode(), QLineEdit::Normal);
        input.setTextValue(u"typed"_s);
    });
    EXPECT_EQ(dialogs.input(u"New password"_s, u"Enter Password"_s, Dialogs::Echo::Plain), QString());
}

// Open offers the filters, the first one selected; Save suggests a name and keeps its extension.
TEST_F(QtDialogsTest, FileBoxesOfferTheFiltersInTheFolderGiven)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(u"photo.jpg"_s);
    QFile(picture).open(QIODevice::WriteOnly);
    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_TRUE(files.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(files.nameFilters(), (QStringList{u"Images (*.jpg *.gif)"_s, u"All Files (*.*) (*)"_s}));
        EXPECT_EQ(std::pair(files.selectedNameFilter(), files.directory().path()), std::pair(u"Images"_s, dir.path()));
        files.selectFile(picture);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.openFile(QString(), u"Images|*.jpg;*.gif|All Files (*.*)|*.*"_s, dir.path()), picture);
    whenModalShown([](QDialog &) {});
    EXPECT_EQ(dialogs.openFile(u"Choose"_s, u"Images|*.jpg"_s, dir.path()), QString());

    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_EQ(std::tuple(files.acceptMode(), files.defaultSuffix(), files.selectedNameFilter(), files.directory().path()),
                  std::tuple(QFileDialog::AcceptSave, u"pdf"_s, u"PDF Files"_s, dir.path()));
        files.selectFile(u"typed"_s);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, dir.filePath(u"2026-12-04.pdf"_s), u"PDF Files|*.pdf"_s), dir.filePath(u"typed.pdf"_s));
    whenModalShown([](QDialog &) {});
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, u"2026-12-04.pdf"_s, u"PDF Files|*.pdf"_s), QString());

    EXPECT_EQ(qtNameFilters(u"All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*"_s),
              (QStringList{u"All Images (*.jpg, *.bmp, *.gif) (*.jpg *.bmp *.gif)"_s, u"All Files (*.*) (*)"_s}));
    EXPECT_EQ(qtNameFilters(u"Text| *.txt ;; *.rtf|Dangling"_s), QStringList{u"Text (*.txt *.rtf)"_s});
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

// The box behind Export...: what it offers first, and days typed as people type them.
TEST_F(QtDialogsTest, ChoiceBoxOffersItsChoiceAndTakesTypedDays)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    const auto type = [](DayField *field, const QString &text) {
        field->selectAll();
        QTest::keyClicks(field, text);
    };
    whenModalShown([&](QDialog &dialog) {
        EXPECT_EQ(dialog.findChild<QComboBox *>()->currentIndex(), 2);
        const QList<DayField *> days = dialog.findChildren<DayField *>();
        ASSERT_EQ(days.size(), 2);
        EXPECT_EQ(std::pair(days[0]->text(), days[1]->text()), std::pair(u"20/11/2026"_s, u"04/12/2026"_s));
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        days[0]->actions().constFirst()->trigger();
        auto *calendar = days[0]->findChild<QCalendarWidget *>();
        ASSERT_NE(calendar, nullptr);
        EXPECT_EQ(calendar->selectedDate(), QDate(2026, 11, 20));
        QTest::keyClick(calendar->findChild<QTableView *>(), Qt::Key_Right);
        QTest::keyClick(calendar->findChild<QTableView *>(), Qt::Key_Return);
        EXPECT_EQ(days[0]->day(), QDate(2026, 11, 21)) << "a day picked from the calendar";
        type(days[0], u"8/12/2026"_s);
        type(days[1], u"31 Dec"_s);
        EXPECT_FALSE(ok->isEnabled()) << "a day without its year is no day";
        type(days[1], u"1 Dec 2026"_s);
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    const Dialogs::Choice offered{2, Dialogs::DayRange{QDate(2026, 11, 20), QDate(2026, 12, 4)}};
    EXPECT_EQ(dialogs.choose(u"Export"_s, u"Format:"_s, {u"PDF"_s, u"Markdown"_s, u"One file"_s}, offered),
              (Dialogs::Choice{2, Dialogs::DayRange{QDate(2026, 12, 1), QDate(2026, 12, 8)}}))
        << "the typed days, the range turned round";
    QLocale::setDefault(QLocale::c());
}

TEST(DayField, ReadsTheShownFormAndTheCommonOthers)
{
    const QDate day(2026, 12, 8);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(dayText(day, us), u"12/8/2026") << "a four-digit year where the locale has two";
    EXPECT_EQ(dayText(day, de), u"08.12.2026");
    for (const QString &typed : {u"12/8/2026"_s, u"12/08/2026"_s, u" 2026-12-08 "_s, u"2026-12-8"_s, u"8 Dec 2026"_s,
                                 u"8 December 2026"_s, u"December 8, 2026"_s, u"Dec 8, 2026"_s})
        EXPECT_EQ(dayFromText(typed, us), day) << typed.toStdString();
    EXPECT_EQ(std::pair(dayFromText(u"8.12.2026"_s, de), dayFromText(u"8 Dezember 2026"_s, de)), std::pair(day, day));
    for (const QString &typed : {QString(), u"12/8"_s, u"12/8/26"_s, u"2026-02-30"_s, u"next Tuesday"_s})
        EXPECT_FALSE(dayFromText(typed, us).isValid()) << typed.toStdString();
}

// Inside the bracket a dialog, the seam's boxes too, appears centred; other
// windows are not moved, and nothing is once the bracket closes.
TEST_F(QtDialogsTest, DialogsInsideTheCenteringBracketAppearCentred)
{
    // Half the room left, rounded half to even; never above or left of the screen when the box is larger.
    for (const auto &[screen, size, origin] : {std::tuple{QRect(0, 0, 1024, 768), QSize(400, 300), QPoint(312, 234)}, {QRect(0, 0, 1024, 768), QSize(401, 299), QPoint(312, 234)},
                                              {QRect(0, 0, 1024, 768), QSize(403, 301), QPoint(310, 234)}, {QRect(0, 0, 1024, 768), QSize(1101, 768), QPoint(-38, 0)},
                                              {QRect(0, 0, 1024, 768), QSize(1025, 769), QPoint(0, 0)}, {QRect(1024, 0, 800, 600), QSize(400, 300), QPoint(1224, 150)}})
        EXPECT_EQ(centeredOrigin(screen, size), origin) << size.width() << "x" << size.height();
    StopCentering();
    EXPECT_EQ(savedBoxInCorner(), kCorner);
    StartCentering();
    StartCentering();
    QMessageBox inside(QMessageBox::Critical, u"Error"_s, u"A much longer message that widens the box"_s);
    EXPECT_NE(shownInCorner(inside), kCorner);
    EXPECT_EQ(inside.pos(), centerOf(inside));
    for (const Qt::WindowType type : {Qt::Widget, Qt::ToolTip}) {
        QWidget window(nullptr, type);
        window.resize(200, 100);
        EXPECT_EQ(shownInCorner(window), kCorner) << type;
    }
    StopCentering();
    EXPECT_EQ(savedBoxInCorner(), kCorner);

    QPoint shownAt;
    QPoint center;
    whenModalShown([&](QDialog &dialog) {
        shownAt = dialog.pos();
        center = centerOf(dialog);
    });
    {
        const CenteringBracket bracket;
        ask(u"The picture could not be loaded, so nothing was added to the page."_s, Buttons::OkCancel, Dialogs::Icon::Exclamation);
    }
    EXPECT_EQ(shownAt, center);
    EXPECT_EQ(savedBoxInCorner(), kCorner);
}

TEST(StartFolder, TheUsersFolderOfThatKindElseHome)
{
    const QTemporaryDir home;
    const QByteArray ownHome = qgetenv("HOME");
    const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(home.path()));
    qunsetenv("XDG_CONFIG_HOME");
    const QString missing = startFolder(QStandardPaths::PicturesLocation);
    QDir(home.path()).mkpath(u"Documents"_s);
    const QString documents = startFolder(QStandardPaths::DocumentsLocation);
    qputenv("HOME", ownHome);
    if (!ownConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", ownConfig);
    EXPECT_EQ(std::pair(missing, documents), std::pair(home.path(), home.path() + u"/Documents"_s));
}
