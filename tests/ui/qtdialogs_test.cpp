#include "ui/dayfield.h"
#include "ui/filefilter.h"
#include "ui/modcenter.h"
#include "ui/qtdialogs.h"
#include "ui/startfolder.h"

#include "modaldialog.h"
#include "qtprinters.h"
#include "seams/messages.h"
#include "seentext.h"
#include "testapplication.h"

#include <QCalendarWidget>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QPushButton>
#include <QTableView>
#include <QTextDocument>
#include <QTextEdit>
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
    // Shows a window placed in a corner, where Qt would otherwise leave it; gives where it stands.
    static QPoint shownInCorner(QWidget &window)
    {
        window.move(kCorner);
        window.show();
        return window.pos();
    }
    // A box that widens as it settles, shown in a corner: whether it was moved to the middle.
    static bool boxCentred()
    {
        QMessageBox box(QMessageBox::Critical, u"Error"_s, u"A much longer message that widens the box"_s);
        const QPoint shownAt = shownInCorner(box);
        return shownAt == centeredOrigin(box.screen()->geometry(), box.size());
    }

    static constexpr QPoint kCorner{3, 5};
    QtDialogs dialogs;
};

} // namespace

TEST_F(QtDialogsTest, MessageInputAndFileBoxesShowWhatTheyAreGivenGiveTheAnswerAndStartInTheUsersFolder)
{
    whenShown<QMessageBox>([](QMessageBox &box) {
        EXPECT_EQ(std::tuple(box.text(), box.windowTitle(), box.icon(), box.standardButtons()),
                  std::tuple(u"Wrong password"_s, u"Diary"_s, QMessageBox::Critical, QMessageBox::Ok));
    });
    EXPECT_EQ(dialogs.message(u"Wrong password"_s, u"Diary"_s, Dialogs::Icon::Critical, Buttons::Ok), Button::Ok);
    whenModalShown([](QDialog &dialog) { dialog.close(); });
    EXPECT_EQ(dialogs.message(u"Save?"_s, u"Diary"_s, Dialogs::Icon::Information, Buttons::YesNo), Button::No);
    // Enter takes the preferred button.
    using Icon = Dialogs::Icon;
    for (const auto &[buttons, preferred, icon] : {std::tuple{Buttons::YesNo, Button::Yes, Icon::Question},
                                                   {Buttons::YesNo, Button::No, Icon::Question}, {Buttons::OkCancel, Button::Cancel, Icon::Exclamation}}) {
        whenModalShown([](QDialog &dialog) { QTest::keyClick(&dialog, Qt::Key_Return); });
        EXPECT_EQ(dialogs.message(u"Delete?"_s, u"Diary"_s, icon, buttons, preferred), preferred);
    }
    // The input box masks on request; a cancel gives empty text, whatever was typed.
    whenShown<QInputDialog>([](QInputDialog &input) {
        EXPECT_EQ(std::pair(input.labelText(), input.textEchoMode()), std::pair(u"Enter the Password"_s, QLineEdit::Password));
        input.setTextValue(u"hunter22"_s);
        input.accept();
    });
    EXPECT_EQ(dialogs.input(u"Enter the Password"_s, u"Password"_s, Dialogs::Echo::Masked), u"hunter22");
    whenShown<QInputDialog>([](QInputDialog &input) { input.setTextValue(u"typed"_s); });
    EXPECT_EQ(dialogs.input(u"New password"_s, u"Enter Password"_s, Dialogs::Echo::Masked), QString());

    // Open offers the filters, the first one selected; Save suggests a name and keeps its extension.
    QTemporaryDir dir;
    const QString picture = dir.filePath(u"photo.jpg"_s);
    QFile(picture).open(QIODevice::WriteOnly);
    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_EQ(files.nameFilters(), (QStringList{u"Images (*.jpg *.gif)"_s, u"All Files (*.*) (*)"_s}));
        EXPECT_EQ(std::pair(files.selectedNameFilter(), files.directory().path()), std::pair(u"Images"_s, dir.path()));
        files.selectFile(picture);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.openFile(QString(), u"Images|*.jpg;*.gif|All Files (*.*)|*.*"_s, dir.path()), picture);

    whenShown<QFileDialog>([&](QFileDialog &files) {
        EXPECT_EQ(files.acceptMode(), QFileDialog::AcceptSave);
        files.selectFile(u"typed"_s);
        static_cast<QDialog &>(files).accept();
    });
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, dir.filePath(u"2026-12-04.pdf"_s), u"PDF Files|*.pdf"_s), dir.filePath(u"typed.pdf"_s));
    whenModalShown([](QDialog &) {});
    EXPECT_EQ(dialogs.saveFile(u"Print to File"_s, u"2026-12-04.pdf"_s, u"PDF Files|*.pdf"_s), QString());

    EXPECT_EQ(std::pair(qtNameFilters(u"Text| *.txt ;; *.rtf|Dangling"_s), qtNameFilters({})), std::pair(QStringList{u"Text (*.txt *.rtf)"_s}, QStringList()));

    // They start in the user's folder of their kind, else at home.
    const QByteArray ownHome = qgetenv("HOME");
    const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME");
    qputenv("HOME", QFile::encodeName(dir.path()));
    qunsetenv("XDG_CONFIG_HOME");
    QDir(dir.path()).mkpath(u"Documents"_s);
    EXPECT_EQ(std::pair(startFolder(QStandardPaths::PicturesLocation), startFolder(QStandardPaths::DocumentsLocation)),
              std::pair(dir.path(), dir.path() + u"/Documents"_s));
    qputenv("HOME", ownHome);
    if (!ownConfig.isEmpty())
        qputenv("XDG_CONFIG_HOME", ownConfig);
}

// A computer's or a file's name from the folder is shown as written in every box: markup in it is neither
// drawn nor followed to the file an <img> names.
TEST_F(QtDialogsTest, NamesFromTheFolderAreShownAsWrittenNeverAsMarkup)
{
    const QString name = u"<i>Anna<img src=nowhere.png>"_s;
    const QTextDocument page(u"page"_s);
    const messages::Box presence = messages::openElsewhere(name, u"9:00"_s), copy = messages::passwordFileCopy(name, name);
    const std::pair<QString, std::function<void()>> boxes[]{
        {presence.text, [&] { messages::ask(dialogs, presence); }},
        {copy.text, [&] { messages::tell(dialogs, copy); }},
        {name, [&] { dialogs.input(name, u"Password"_s, Dialogs::Echo::Masked); }},
        {name, [&] { dialogs.choose(u"Import"_s, name, {u"jrnl"_s}, {}); }},
        {name + u'\n' + name, [&] { dialogs.compare(u"Changed"_s, name, {name, &page}, {u"There"_s, &page}, {u"Keep"_s}); }},
    };
    for (const auto &[shown, show] : boxes) {
        QStringList seen;
        whenModalShown([&seen](QDialog &dialog) {
            for (const QLabel *label : dialog.findChildren<QLabel *>())
                seen << seenText(label->text(), label->textFormat());
        });
        show();
        EXPECT_TRUE(seen.join(u'\n').contains(shown)) << seen.join(u'|').toStdString();
    }
}

// The box behind Export...: what it offers first, and days typed as people type
// them, in the locale's short form (with a four-digit year) or a common other.
TEST_F(QtDialogsTest, ChoiceBoxOffersItsChoiceAndTakesDaysTypedInTheFormsPeopleUse)
{
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedKingdom));
    whenModalShown([&](QDialog &dialog) {
        const QList<DayField *> days = dialog.findChildren<DayField *>();
        ASSERT_EQ(days.size(), 2);
        QPushButton *ok = dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok);
        days[0]->actions().constFirst()->trigger();
        auto *calendar = days[0]->findChild<QCalendarWidget *>();
        ASSERT_NE(calendar, nullptr);
        QTest::keySequence(calendar->findChild<QTableView *>(), QKeySequence(Qt::Key_Right, Qt::Key_Return));
        EXPECT_EQ(days[0]->day(), QDate(2026, 11, 21)) << "the day after the field's, picked from the calendar";
        days[0]->setText(u"8/12/2026"_s);
        days[1]->setText(u"31 Dec"_s);
        EXPECT_FALSE(ok->isEnabled()) << "a day without its year is no day";
        days[1]->setText(u"1 Dec 2026"_s);
        EXPECT_TRUE(ok->isEnabled());
        ok->click();
    });
    const Dialogs::Choice offered{2, Dialogs::DayRange{QDate(2026, 11, 20), QDate(2026, 12, 4)}};
    EXPECT_EQ(dialogs.choose(u"Export"_s, u"Format:"_s, {u"PDF"_s, u"Markdown"_s, u"One file"_s}, offered),
              (Dialogs::Choice{2, Dialogs::DayRange{QDate(2026, 12, 1), QDate(2026, 12, 8)}}))
        << "the typed days, the range turned round";
    QLocale::setDefault(QLocale::c());

    const QDate day(2026, 12, 8);
    const QLocale us(QLocale::English, QLocale::UnitedStates);
    const QLocale de(QLocale::German, QLocale::Germany);
    EXPECT_EQ(std::pair(dayText(day, us), dayText(day, de)), std::pair(u"12/8/2026"_s, u"08.12.2026"_s)) << "a four-digit year always";
    for (const QString &typed : {u"12/8/2026"_s, u"12/08/2026"_s, u" 2026-12-08 "_s, u"2026-12-8"_s, u"8 Dec 2026"_s,
                                 u"8 December 2026"_s, u"December 8, 2026"_s, u"Dec 8, 2026"_s})
        EXPECT_EQ(dayFromText(typed, us), day) << typed.toStdString();
    EXPECT_EQ(std::pair(dayFromText(u"8.12.2026"_s, de), dayFromText(u"8 Dezember 2026"_s, de)), std::pair(day, day));
    for (const QString &typed : {QString(), u"12/8"_s, u"12/8/26"_s, u"2026-02-30"_s, u"next Tuesday"_s})
        EXPECT_FALSE(dayFromText(typed, us).isValid()) << typed.toStdString();
}

// The two versions are shown as they are, neither editable, and the button pressed is the answer.
TEST_F(QtDialogsTest, CompareBoxShowsBothVersionsReadOnlyAndAnswersWithTheButtonPressed)
{
    const QTextDocument here(u"mine"_s), there(u"theirs"_s);
    whenModalShown([&](QDialog &dialog) {
        QStringList shown;
        for (const QTextEdit *side : dialog.findChildren<QTextEdit *>())
            shown << (side->isReadOnly() ? u"read-only "_s : QString()) + side->toPlainText();
        EXPECT_EQ(shown, (QStringList{u"read-only mine"_s, u"read-only theirs"_s}));
        for (QPushButton *button : dialog.findChildren<QPushButton *>()) {
            if (button->text() == u"Keep both")
                button->click();
        }
    });
    EXPECT_EQ(dialogs.compare(u"Changed"_s, u"Choose"_s, {u"Here"_s, &here}, {u"There"_s, &there},
                              {u"Keep this"_s, u"Keep the other"_s, u"Keep both"_s}),
              2);
}

// While centring is in force a dialog appears centred, other windows are not
// moved, and the bracket's end stops it even when it was started twice.
TEST_F(QtDialogsTest, DialogsInsideTheCenteringBracketAppearCentred)
{
    // Half the room left, rounded half to even; never above or left of the screen when the box is larger.
    for (const auto &[size, origin] : {std::pair{QSize(400, 300), QPoint(312, 234)}, {QSize(401, 299), QPoint(312, 234)}, {QSize(403, 301), QPoint(310, 234)},
                                       {QSize(1101, 768), QPoint(-38, 0)}, {QSize(1025, 769), QPoint(0, 0)}})
        EXPECT_EQ(centeredOrigin(QRect(0, 0, 1024, 768), size), origin) << size.width() << "x" << size.height();
    EXPECT_EQ(centeredOrigin(QRect(1024, 0, 800, 600), QSize(400, 300)), QPoint(1224, 150));
    {
        const CenteringBracket bracket;
        StartCentering();
        EXPECT_TRUE(boxCentred());
        QWidget window(nullptr, Qt::ToolTip);
        EXPECT_EQ(shownInCorner(window), kCorner) << "other windows are not moved";
    }
    EXPECT_FALSE(boxCentred()) << "one stop ends what two starts began";
}
