#include "formharness.h"

#include "app/filelistbox.h"
#include "diary/notestore.h"

#include <QFileInfo>
#include <QGuiApplication>
#include <QHelpEvent>
#include <QKeyEvent>
#include <QTabBar>

namespace {

using namespace diarytexts;

// Three pages, and yearly notes on today, the 4th, and on Christmas.
class DiaryTest : public FormTest
{
protected:
    void SetUp() override
    {
        for (const auto &[day, text] : {std::pair{"2026-11-20", "November page"}, {"2026-12-01", "First of December"}, {"2026-12-04", "Today we went skating"}})
            storePage(day, text);
        ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
        ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 25}, u"Christmas"));
        harness.startWithoutPassword();
    }

    QString storedNote(int month, int day) const
    {
        return notestore::decodeNote(notestore::load(harness.data.root(), daykeys::MonthDay{month, day}).value_or(QByteArray()));
    }
    template <typename T = QWidget>
    T &control(const char *name) const { return *named<T>(form(), name); }
    void click(QListWidget &list) { QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(list.item(0)).center()); }
};

} // namespace

// A key that runs a window command is no typing, whichever editor has the focus.
TEST_F(DiaryTest, WindowKeysActInEveryEditorAndNeverMarkThePageChanged)
{
    form().show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    const auto press = [](QWidget &editor, Qt::Key key, Qt::KeyboardModifiers modifiers = Qt::NoModifier) {
        // A real keyboard sends Ctrl down on its own first.
        QKeyEvent control(QEvent::KeyPress, Qt::Key_Control, Qt::ControlModifier);
        if (modifiers & Qt::ControlModifier)
            QApplication::sendEvent(&editor, &control);
        QTest::keyClick(&editor, key, modifiers);
    };
    page().setFocus();
    answer({Button::No});
    press(page(), Qt::Key_Delete);
    press(page(), Qt::Key_N, Qt::ControlModifier);
    EXPECT_EQ(form().session().book().filechanged(), 0);
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(std::pair(harness.dialogs.texts().last(), harness.dialogs.texts().count(kSaveQuestion)), std::pair(kDeletePage, qsizetype(0)));

    note().setPlainText(QStringLiteral("Anna's birthday"));
    note().setFocus();
    note().moveCursor(QTextCursor::Start);
    answer({Button::No});
    press(note(), Qt::Key_Delete);
    EXPECT_EQ(std::pair(note().text(), harness.dialogs.texts().count(kDeletePage)), std::pair(QStringLiteral("Anna's birthday"), qsizetype(2)));
    harness.dialogs.answerOpenFile(QString());
    press(note(), Qt::Key_A, Qt::ControlModifier);

    control<QLineEdit>("Text4").setText(QStringLiteral("skating"));
    control<QLineEdit>("Text4").setFocus();
    harness.dialogs.answerOpenFile(QString());
    press(control<QLineEdit>("Text4"), Qt::Key_A, Qt::ControlModifier);
    EXPECT_EQ(harness.dialogs.shown().last().kind, ScriptedDialogs::Kind::OpenFile);
}

// Open and Search ask about unsaved typing, open a clicked page, and closed give back the day they left.
TEST_F(DiaryTest, TheOpenAndSearchPanelsOpenTheClickedPageClosedBringTheDayBackAndHideTheCalendarAndTheSearchChoicesFindTheShownTextAndMarkItsMatches)
{
    answer({Button::No});
    QTest::keyClicks(&page(), QStringLiteral("z"));
    run("m3");
    EXPECT_EQ(std::pair(harness.dialogs.texts().last(), control<QGroupBox>("Frame3").isVisibleTo(&form())), std::pair(kSaveQuestion, true));
    click(control<FileListBox>("File3"));
    EXPECT_EQ(page().text(), QStringLiteral("November page"));
    run("m5");
    ASSERT_EQ(search(QStringLiteral("December")).size(), 1);
    click(control<QListWidget>("List1"));
    EXPECT_EQ(page().text(), QStringLiteral("First of December"));
    control<QPushButton>("Command1").click();
    EXPECT_EQ(std::pair(control<QGroupBox>("Frame5").isVisibleTo(&form()), control<QLineEdit>("Text4").text()), std::pair(false, QString()));
    choose(QDate(2026, 12, 4));

    run("m5");
    EXPECT_TRUE(page().text().isEmpty());
    search(QStringLiteral("nowhere"));
    EXPECT_TRUE(control<QLabel>("lblNoMatches").isVisibleTo(&form()));
    control<QPushButton>("Command1").click();
    EXPECT_EQ(page().text(), QStringLiteral("Today we went skating"));
    run("m3");
    control<QPushButton>("Command3").click();
    EXPECT_EQ(page().text(), QStringLiteral("Today we went skating"));

    // What lies under a panel must not show through it, at the designed size or any other.
    form().show();
    for (const auto &[name, command] : {std::pair{"Frame5", "m5"}, std::pair{"Frame3", "openPanel"}}) {
        SCOPED_TRACE(name);
        run(command);
        QWidget &panel = control(name);
        for (QSize size : {QSize(840, 553), QSize(1300, 900)}) {
            control("canvas").resize(size);
            ASSERT_TRUE(panel.geometry().intersects(calendar().geometry()));
            const QImage over = control("canvas").grab(panel.geometry()).toImage();
            calendar().hide();
            EXPECT_EQ(control("canvas").grab(panel.geometry()).toImage(), over);
            calendar().show();
        }
        panel.hide();
    }

    const QByteArray bold = "{\\rtf1\\ansi{\\fonttbl{\\f0 Arial;}}\\f0 We went ska\\b ting\\b0  on the lake.\\par Skating again.\\par}";
    ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 12, 5), bold));
    form().session().book().rereadPages();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&form()));
    run("m5");
    QCheckBox &matchCase = control<QCheckBox>("chkMatchCase");
    QCheckBox &textOnly = control<QCheckBox>("chkTextOnly");
    EXPECT_EQ((std::pair{matchCase.isChecked() && !textOnly.isChecked(), search(QStringLiteral("Arial"))}), std::pair(true, QStringList{QStringLiteral("2026-12-05.dat")}));
    matchCase.setChecked(false);
    textOnly.setChecked(true);
    ASSERT_EQ(search(QStringLiteral("lake SKATING")), QStringList{QStringLiteral("2026-12-05.dat")});

    QListWidget &found = control<QListWidget>("List1");
    QHelpEvent tip(QEvent::ToolTip, found.visualItemRect(found.item(0)).center(), {});
    QApplication::sendEvent(found.viewport(), &tip);
    EXPECT_EQ(found.item(0)->toolTip(), QStringLiteral("We went skating on the lake."));
    click(found);
    const QString text = page().document()->toPlainText();
    QList<int> marked;
    std::ranges::transform(page().extraSelections(), std::back_inserter(marked), [](const auto &mark) { return mark.cursor.selectionStart(); });
    const QList<int> matches{int(text.indexOf(u"skating")), int(text.indexOf(u"lake")), int(text.indexOf(u"Skating"))};
    EXPECT_EQ(marked, matches);
    // The caret on the first match, then F3 and Shift+F3 go round the page's matches both ways.
    page().setFocus();
    QList<int> walked{page().textCursor().position()};
    for (const Qt::KeyboardModifiers modifiers : {Qt::NoModifier, Qt::NoModifier, Qt::NoModifier, Qt::ShiftModifier}) {
        QTest::keyClick(&page(), Qt::Key_F3, modifiers);
        walked.append(page().textCursor().position());
    }
    EXPECT_EQ(std::pair(walked, form().session().book().filechanged()), std::pair(QList{matches[0], matches[1], matches[2], matches[0], matches[2]}, 0))
        << "the marks are no part of the page";
    choose(QDate(2026, 12, 4));
    EXPECT_TRUE(page().extraSelections().isEmpty());
    control<QPushButton>("Command1").click();
    run("m5");
    EXPECT_TRUE(textOnly.isChecked()) << "the choices last while the program runs";
}


// Loading is no edit: Ctrl+Z right after it changes nothing, so the note has
// nothing to ask about. Which days are bold is the notes' rule; the window
// shows the day's page count, file name and date.
TEST_F(DiaryTest, UndoRightAfterADayLoadsKeepsItsPageAndNoteTheLabelsFollowTheDayHistoryRestoresVersionsAndATypedNoteIsAskedAbout)
{
    for (RichTextEdit *editor : {&page(), &note()}) {
        editor->setFocus();
        QTest::keyClick(editor, Qt::Key_Z, Qt::ControlModifier);
    }
    EXPECT_EQ(std::pair(page().text(), note().text()), std::pair(QStringLiteral("Today we went skating"), QStringLiteral("Anna's birthday")));
    const auto labels = [this] { return QStringList{control<QLabel>("text3").text(), control<QLabel>("Label3").text(), control<QLabel>("dtpick").text()}; };
    EXPECT_EQ(labels(), (QStringList{"3", "2026-12-04.dat", "12/4/2026"}));
    answer({Button::No});
    choose(QDate(2026, 12, 2));
    EXPECT_EQ(std::tuple(harness.dialogs.texts().last(), labels(), calendar().isBold(QDate(2026, 12, 25)) && !calendar().isBold(QDate(2026, 12, 24))),
              std::tuple(kSaveQuestion, QStringList{"0", "", "12/2/2026"}, true));
    choose(QDate(2026, 12, 4));

    QTest::keyClicks(&page(), QStringLiteral("Later: "));
    run("m2", {Button::Yes});
    run("m21");
    auto *window = form().findChild<PageHistoryWindow *>();
    ASSERT_NE(window, nullptr);
    ASSERT_EQ(window->List1->count(), 1);
    EXPECT_EQ(std::pair(window->List1->item(0)->text().endsWith(QStringLiteral("Today we went skating")), window->rtxt->isReadOnly()), std::pair(true, true));
    window->findChild<QPushButton *>(QStringLiteral("Restore"))->click();
    EXPECT_EQ(std::pair(window->isVisible(), page().text()), std::pair(false, QStringLiteral("Today we went skating")));

    ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna is 40"));
    PageHistoryWindow notes(form().session());
    notes.tabs->setCurrentIndex(1);
    ASSERT_EQ(notes.List1->count(), 1);
    notes.findChild<QPushButton *>(QStringLiteral("Restore"))->click();
    EXPECT_EQ(std::tuple(storedNote(12, 4), note().text(), calendar().isBold(QDate(2026, 12, 4))),
              std::tuple(QStringLiteral("Anna's birthday"), QStringLiteral("Anna's birthday"), true));

    // A note typed into is asked about before the day or the window is left.
    typeAtEnd(note(), QStringLiteral(", cake"));
    for (const char *command : {"SSCommand1", "SSCommand4"}) {
        answer({Button::Cancel});
        named<QToolButton>(form(), command)->click();
        EXPECT_EQ(page().text(), QStringLiteral("Today we went skating"));
    }
    answer({Button::Yes});
    choose(QDate(2026, 12, 1));
    EXPECT_EQ(storedNote(12, 4), QStringLiteral("Anna's birthday, cake"));

    // Save Date bolds its day at once, Delete Date unbolds it.
    typeAtEnd(note(), QStringLiteral("Dentist"));
    run("m9");
    EXPECT_TRUE(calendar().isBold(QDate(2026, 12, 1)));
    run("m10", {Button::Ok});
    EXPECT_EQ(std::pair(calendar().isBold(QDate(2026, 12, 1)), note().toPlainText()), std::pair(false, QString()));

    // Closing asks about the note, then the page, and leaves nothing to offer at the next start.
    form().show();
    typeAtEnd(note(), QStringLiteral("Call Bob"));
    typeAtEnd(page(), QStringLiteral(" again"));
    answer({Button::Cancel});
    EXPECT_FALSE(form().close());
    run("m7", {Button::No, Button::No});
    EXPECT_EQ(std::pair(lastTexts(2), notestore::exists(harness.data.root(), daykeys::MonthDay{12, 1})),
              std::pair(QStringList{QStringLiteral("The note for December 1 has been changed. Do you want to save it?"), kSaveQuestion}, false));
}


TEST_F(DiaryTest, BackUpDiarySavesTheWholeDiaryWhereTheUserChoseAndADeletedDiaryFolderIsSaidOnceAndNotMadeAnew)
{
    QTemporaryDir out;
    const QString zip = out.filePath(QStringLiteral("mine.zip"));
    const QString copy = QStringLiteral("pages/2026-12-01.sync-conflict-20261201-101010-ABCDEFG.dat");
    ASSERT_TRUE(QFile::link(QStringLiteral("/dev/zero"), harness.data.path() + u'/' + copy));
    harness.dialogs.answerSaveFile(zip);
    run("m22", {Button::Ok});
    const ScriptedDialogs::Shown asked = harness.dialogs.shown()[1];
    EXPECT_EQ(std::pair(asked.text, asked.filter),
              std::pair(QDir::home().filePath(QStringLiteral("quillnest-backup-2026-12-04.zip")), QStringLiteral("Zip archives (*.zip)|*.zip")));
    EXPECT_EQ(std::tuple(harness.dialogs.shown().last(), QGuiApplication::overrideCursor() == nullptr, QFileInfo::exists(zip)),
              std::tuple(ScriptedDialogs::shownBox(messages::backupSavedWithout({copy})), true, true));
    ASSERT_TRUE(QFile::remove(harness.data.path() + u'/' + copy));
    harness.dialogs.answerSaveFile(zip);
    run("m22", {Button::Ok});
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::backupSaved()));

    harness.dialogs.answerSaveFile(QString());
    run("m22");
    harness.dialogs.answerSaveFile(out.filePath(QStringLiteral("no/such/folder.zip")));
    run("m22", {Button::Ok});
    EXPECT_EQ(std::pair(harness.dialogs.shown().last(), harness.dialogs.shown().size()),
              std::pair(ScriptedDialogs::shownBox(messages::backupFailed(harness.dialogs.texts().last())), qsizetype(8))) << "a cancelled dialog shows nothing more";

    // A diary folder deleted under the open window is said once and never made
    // anew by a draft; drafts go on once it is back.
    const QString gone = messages::folderGone(harness.data.path()).text;
    form().session().drafts().setDelay(std::chrono::milliseconds(0));
    ASSERT_TRUE(QDir(harness.data.path()).removeRecursively());
    answer({Button::Ok});
    typeAtEnd(page(), QStringLiteral(" and fell"));
    typeAtEnd(note(), QStringLiteral(" and Ben's"));
    form().session().drafts().flush();
    EXPECT_FALSE(QFileInfo::exists(harness.data.path()));
    ASSERT_TRUE(QDir().mkpath(harness.data.root().pagesDir()));
    typeAtEnd(page(), QStringLiteral(" at last"));
    form().session().drafts().flush();
    EXPECT_EQ(std::pair(harness.dialogs.texts().count(gone), harness.data.everyName(TestDataRoot::drafts()).isEmpty()), std::pair(qsizetype(1), false));
}

using OnThisDayWindowTest = FormTest;

// Earlier years of the selected day come back under the note (which years is
// the diary's rule), and a click opens one as any other way of opening a page
// would, unsaved typing asked about.
TEST_F(OnThisDayWindowTest, TheEarlierYearsOfTheDayOpenTheirPages)
{
    for (const char *day : {"2019-12-04", "2019-12-05", "2024-02-28", "2024-02-29", "2024-12-04", "2024-12-05"})
        storePage(day, QStringLiteral("Written on %1").arg(QString::fromLatin1(day)).toLatin1().constData());
    harness.startWithoutPassword();
    QListView &years = *named<QListView>(form(), "lstOnThisDay");
    const auto year = [&](int row) { return years.model()->index(row, 0); };
    // Each year's label and its tip, the page's text.
    const auto shown = [&] {
        QStringList texts;
        for (int row = 0; row < years.model()->rowCount(); ++row)
            texts.append(year(row).data().toString() + QStringLiteral(": ") + year(row).data(Qt::ToolTipRole).toString());
        return years.isVisibleTo(&form()) ? texts : QStringList{QStringLiteral("hidden")};
    };
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("2024: Written on 2024-12-04"), QStringLiteral("2019: Written on 2019-12-04")}));
    // The same years on the next day stand for that day's pages.
    choose(QDate(2026, 12, 5));
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("2024: Written on 2024-12-05"), QStringLiteral("2019: Written on 2019-12-05")}));

    QTest::keyClicks(&page(), QStringLiteral("unsaved"));
    answer({Button::No});
    // Anywhere on the row, not only on the year's digits.
    QTest::mouseClick(years.viewport(), Qt::LeftButton, {}, QPoint(years.viewport()->width() - 3, years.visualRect(year(1)).center().y()));
    QCoreApplication::processEvents();
    EXPECT_EQ(std::tuple(harness.dialogs.texts().last(), page().text(), calendar().selectedDate(), shown()),
              std::tuple(kSaveQuestion, QStringLiteral("Written on 2019-12-05"), QDate(2019, 12, 5), QStringList{QStringLiteral("hidden")}));

    // The leap day comes back on the 28th beside that year's own 28th, told apart by its date.
    choose(QDate(2027, 2, 28));
    EXPECT_EQ(shown(), (QStringList{QStringLiteral("29 Feb 2024: Written on 2024-02-29"), QStringLiteral("2024: Written on 2024-02-28")}));
}
