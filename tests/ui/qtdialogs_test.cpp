#include "ui/dayfield.h"
#include "ui/qtdialogs.h"
#include "ui/startfolder.h"

#include "modaldialog.h"
#include "qtprinters.h"
#include "testapplication.h"

#include <QApplication>
#include <QDir>
#include <QCalendarWidget>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QKeyEvent>
#include <QTableView>
#include <QTest>

#include <gtest/gtest.h>

#include <utility>

using namespace Qt::StringLiterals;

namespace {

class QtDialogsTest : public ::testing::Test
{
protected:
    QtDialogsTest() { testApplication(); }
    QtDialogs dialogs;
};

// Runs `check` on the next modal window, which must be a Window.
template <class Window, class Check>
void whenShown(Check check)
{
    whenModalShown([check](QDialog &dialog) {
        auto *window = qobject_cast<Window *>(&dialog);
        ASSERT_NE(window, nullptr);
        check(*window);
    });
}

} // namespace

TEST_F(QtDialogsTest, MessageBoxShowsWhatItIsGivenAndReportsTheButton)
{
    whenShown<QMessageBox>([](QMessageBox &box) {
        EXPECT_EQ(box.text(), u"Wrong password");
        EXPECT_EQ(box.windowTitle(), u"Stop");
        EXPECT_EQ(box.icon(), QMessageBox::Critical);
        EXPECT_EQ(box.standardButtons(), QMessageBox::Ok);
    });
    EXPECT_EQ(dialogs.message(u"Wrong password"_s, u"Stop"_s, Dialogs::Icon::Critical, Dialogs::Buttons::Ok),
              Dialogs::Button::Ok);

    whenShown<QMessageBox>([](QMessageBox &box) {
        ASSERT_NE(box.button(QMessageBox::Yes), nullptr);
        box.button(QMessageBox::Yes)->click();
    });
    EXPECT_EQ(dialogs.message(u"Save?"_s, u"Diary"_s, Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
              Dialogs::Button::Yes);
    whenModalShown([](QDialog &dialog) { dialog.close(); });
    EXPECT_EQ(dialogs.message(u"Save?"_s, u"Diary"_s, Dialogs::Icon::Information, Dialogs::Buttons::YesNo),
              Dialogs::Button::No);
}

TEST_F(QtDialogsTest, EnterPressesTheDefaultButton)
{
    const auto enter = [] { whenModalShown([](QDialog &dialog) {
            QKeyEvent enter(QEvent::KeyPress, Qt::Key_Return, Qt::NoModifier);
            QApplication::sendEvent(&dialog, &enter);
        }); };
    enter();
    EXPECT_EQ(dialogs.message(u"Save?"_s, u"Diary"_s, Dialogs::Icon::Question, Dialogs::Buttons::YesNo), Dialogs::Button::Yes);
    const std::pair<Dialogs::Buttons, Dialogs::Button> rows[]{{Dialogs::Buttons::YesNo, Dialogs::Button::No},
                                                              {Dialogs::Buttons::OkCancel, Dialogs::Button::Cancel}};
    for (const auto &[buttons, preferred] : rows) {
        enter();
        EXPECT_EQ(dialogs.message(u"Delete?"_s, u"Diary"_s, Dialogs::Icon::Question, buttons, preferred), preferred);
    }
}

TEST_F(QtDialogsTest, InputBoxMasksOnRequestAndCancelGivesEmptyText)
{
    whenShown<QInputDialog>([](QInputDialog &input) {
        EXPECT_EQ(input.labelText(), u"Enter the Password");
        EXPECT_EQ(input.textEchoMode(), QLineEdit::Password);
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

TEST_F(QtDialogsTest, OpenFileOffersTheFiltersFirstOneSelected)
{
    QTemporaryDir dir;
    const QString picture = dir.filePath(u"photo.jpg"_s);
    QFile(picture).open(QIODevice::WriteOnly);
    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_TRUE(files.testOption(QFileDialog::DontUseNativeDialog));
        EXPECT_EQ(files.nameFilters(), (QStringList{u"Images (*.jpg *.gif)"_s, u"All Files (*.*) (*)"_s}));
        EXPECT_EQ(files.selectedNameFilter(), u"Images"_s);
        EXPECT_EQ(files.directory().path(), dir.path());
        files.selectFile(picture);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.openFile(QString(), u"Images|*.jpg;*.gif|All Files (*.*)|*.*"_s, dir.path()), picture);

    whenModalShown([](QDialog &) {});
    EXPECT_EQ(dialogs.openFile(u"Choose"_s, u"Images|*.jpg"_s, dir.path()), QString());
}

TEST_F(QtDialogsTest, SaveFileSuggestsANameAndKeepsItsExtension)
{
    QTemporaryDir dir;
    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
        EXPECT_EQ(files.defaultSuffix(), u"pdf");
        EXPECT_EQ(files.selectedNameFilter(), u"PDF Files"_s);
        EXPECT_EQ(files.directory().path(), dir.path());
        files.selectFile(u"typed"_s);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, dir.filePath(u"2026-12-04.pdf"_s), u"PDF Files|*.pdf"_s), dir.filePath(u"typed.pdf"_s));

    whenModalShown([](QDialog &) {});
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, u"2026-12-04.pdf"_s, u"PDF Files|*.pdf"_s), QString());
}

// A home of the test's own, with no list of the desktop's folders in it.
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
    EXPECT_EQ(missing, home.path());
    EXPECT_EQ(documents, home.path() + u"/Documents"_s);
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
        EXPECT_EQ(days[0]->text(), u"20/11/2026");
        EXPECT_EQ(days[1]->text(), u"04/12/2026");
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
    const QStringList formats{u"PDF"_s, u"Markdown"_s, u"One file"_s};
    const Dialogs::Choice offered{2, Dialogs::DayRange{QDate(2026, 11, 20), QDate(2026, 12, 4)}};
    EXPECT_EQ(dialogs.choose(u"Export"_s, u"Format:"_s, formats, offered),
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
    EXPECT_EQ(dayFromText(u"8.12.2026"_s, de), day);
    EXPECT_EQ(dayFromText(u"8 Dezember 2026"_s, de), day);
    for (const QString &typed : {QString(), u"12/8"_s, u"12/8/26"_s, u"2026-02-30"_s, u"next Tuesday"_s})
        EXPECT_FALSE(dayFromText(typed, us).isValid()) << typed.toStdString();
}
