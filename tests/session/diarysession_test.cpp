#include "diary/diarylock.h"
#include "session/daybook.h"
#include "session/diarysearch.h"
#include "session/diarysession.h"
#include "diarytexts.h"

#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "fileopens.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "richtext/rtfreader.h"
#include "session/yearnotes.h"
#include "scripteddialogs.h"
#include "testapplication.h"
#include "testdataroot.h"

#include <QDir>
#include <QGuiApplication>
#include <QLocale>
#include <QSignalSpy>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;

using namespace diarytexts;

// A session on a diary of three pages, signed in on 4 December 2026, without a window.
class DiarySessionTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        storePage("2026-11-20", "November page");
        storePage("2026-12-01", "First of December");
        storePage("2026-12-04", "Today we went skating");
        ASSERT_TRUE(notestore::save(data.root(), QStringLiteral("Dec-25"), u"Christmas"));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
        dialogs.answerMessage(Button::Ok);
        session.setDataRoot(data.path());
        ASSERT_TRUE(session.signIn(program));
    }

    void storePage(const char *day, const char *text) { ASSERT_TRUE(pagestore::save(data.root(), QString::fromLatin1(day), page(text))); }
    bool pageExists(const char *day) const { return pagestore::exists(data.root(), QString::fromLatin1(day)); }
    QString storedText(const char *day) const
    {
        QTextDocument document;
        EXPECT_TRUE(richtext::readRtf(*pagestore::load(data.root(), QString::fromLatin1(day)), document));
        return richtext::plainText(document);
    }
    void type(const QString &text)
    {
        QTextCursor(&session.book().page()).insertText(text);
        session.book().markChanged();
    }
    QString pageText() { return richtext::plainText(session.book().page()); }
    QString noteText() { return richtext::plainText(session.notes().note()); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session{dialogs, clock};
};

} // namespace

TEST_F(DiarySessionTest, TodaysPageOpensAtSignInAndChosenDaysFollow)
{
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-04.dat"));
    EXPECT_EQ(session.book().filechanged(), 0);

    session.chooseDay(QDate(2026, 12, 1));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(session.book().pageNumber(), 2);
    EXPECT_EQ(session.book().dayKey(), QStringLiteral("2026-12-01"));

    session.chooseDay(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_TRUE(session.book().openPageName().isEmpty());
    EXPECT_EQ(session.notes().noteKey(), QStringLiteral("Dec-2"));
    EXPECT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

// The month shown at start-up has its note days marked, not only months moved to later.
TEST_F(DiarySessionTest, NoteDaysAreMarkedFromTheStartAndWhenTheMonthChanges)
{
    TestDataRoot other;
    ASSERT_TRUE(notestore::save(other.root(), QStringLiteral("Dec-25"), u"Christmas"));
    ASSERT_TRUE(passwordfile::write(other.root().passwordFile(), u"none"));
    DiarySession fresh(dialogs, clock);
    QSignalSpy marked(&fresh.notes(), &YearNotes::noteDayMarked);
    dialogs.answerMessage(Button::Ok);
    fresh.setDataRoot(other.path());
    ASSERT_TRUE(fresh.signIn(program));
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0][0].toDate(), QDate(2026, 12, 25));

    ASSERT_TRUE(notestore::save(other.root(), QStringLiteral("Feb-29"), u"Leap day"));
    fresh.notes().rereadNotes();
    fresh.chooseDay(QDate(2027, 2, 10));
    EXPECT_EQ(marked.size(), 1) << "2027 has no 29 February";
    fresh.chooseDay(QDate(2028, 1, 1));
    fresh.chooseDay(QDate(2028, 2, 1));
    EXPECT_EQ(marked.last()[0].toDate(), QDate(2028, 2, 29));
}

TEST_F(DiarySessionTest, UnsavedTypingIsOfferedForSavingOnceBeforeTheDayMoves)
{
    session.chooseDay(QDate(2026, 12, 2));
    type(QStringLiteral("A new day"));
    dialogs.answerMessage(Button::Yes);
    session.chooseDay(QDate(2026, 12, 3));
    EXPECT_EQ(dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(storedText("2026-12-02"), QStringLiteral("A new day"));
    EXPECT_EQ(session.book().filechanged(), 0);

    type(QStringLiteral("dropped"));
    dialogs.answerMessage(Button::No);
    session.chooseDay(QDate(2026, 12, 1));
    EXPECT_FALSE(pageExists("2026-12-03"));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    EXPECT_EQ(dialogs.texts().count(kSaveQuestion), 2);
}

TEST_F(DiarySessionTest, SavingOverAPageAsksAndARefusalKeepsTheTyping)
{
    type(QStringLiteral("More: "));
    dialogs.answerMessage(Button::No);
    session.book().SavePage();
    EXPECT_EQ(dialogs.texts().last(), kOverwrite);
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 1);

    dialogs.answerMessage(Button::Yes);
    session.book().SavePage();
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("More: Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 0);
    EXPECT_EQ(session.book().pageNumber(), 3);

    session.book().page().clear();
    QSignalSpy focus(&session.book(), &DayBook::pageWantsFocus);
    dialogs.answerMessage(Button::Ok);
    session.book().SavePage();
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("File Not Saved"));
    EXPECT_EQ(focus.size(), 1);
}

TEST_F(DiarySessionTest, ANewPageGetsItsNumberInTheList)
{
    session.chooseDay(QDate(2026, 12, 3));
    type(QStringLiteral("Snow"));
    session.book().SavePage();
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-03.dat"));
    EXPECT_EQ(pageText(), QStringLiteral("Snow"));

}

// A save that the question leads to can move the page number; the page opened is the one it ends on.
TEST_F(DiarySessionTest, APageButtonAfterAYesOpensThePageTheSaveLeftOpen)
{
    session.chooseDay(QDate(2026, 12, 2));
    type(QStringLiteral("Snow"));
    dialogs.answerMessage(Button::Yes);
    session.book().firstPage();
    EXPECT_EQ(session.book().pages().size(), 4);
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(pageText(), QStringLiteral("Snow"));
}

TEST_F(DiarySessionTest, DeletingAPage)
{
    type(QStringLiteral("x"));
    dialogs.answerMessage(Button::No);
    session.book().DeletePage();
    EXPECT_EQ(dialogs.texts().last(), kDeletePage);
    EXPECT_EQ(dialogs.shown().last().defaultButton, Button::No) << "Delete then Enter must not delete";
    EXPECT_TRUE(pageExists("2026-12-04"));
    EXPECT_EQ(session.book().filechanged(), 1);

    dialogs.answerMessage(Button::Yes);
    session.book().DeletePage();
    EXPECT_FALSE(pageExists("2026-12-04"));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_EQ(session.book().pages().size(), 2);
    EXPECT_EQ(session.book().filechanged(), 0);

    type(QStringLiteral("y"));
    dialogs.answerMessage(Button::Ok);
    session.book().DeletePage();
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("File Not Found"));
    EXPECT_EQ(session.book().filechanged(), 1);
    EXPECT_EQ(QGuiApplication::overrideCursor(), nullptr);
}

TEST_F(DiarySessionTest, PageButtonsWalkTheListAndStopAtItsEnds)
{
    session.book().previousPage();
    EXPECT_EQ(session.book().pageNumber(), 2);
    session.book().nextPage();
    session.book().nextPage();
    EXPECT_EQ(session.book().pageNumber(), 3);
    session.book().firstPage();
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 11, 20));
    EXPECT_EQ(session.notes().noteKey(), QStringLiteral("Nov-20"));
    EXPECT_EQ(session.notes().month(), QStringLiteral("Nov"));
    session.book().previousPage();
    EXPECT_EQ(session.book().pageNumber(), 1);
    session.book().lastPage();
    EXPECT_EQ(session.book().dayKey(), QStringLiteral("2026-12-04"));

    for (const QString &name : QDir(data.root().pagesDir()).entryList(QDir::Files))
        QFile::remove(data.root().pagesDir() + QLatin1Char('/') + name);
    session.book().rereadPages();
    session.book().lastPage();
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_TRUE(pageText().isEmpty());
}

TEST_F(DiarySessionTest, NewFileGoesBackToToday)
{
    QSignalSpy focus(&session.book(), &DayBook::pageWantsFocus);
    session.book().NewPage();
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    session.chooseDay(QDate(2026, 11, 2));
    session.book().NewPage();
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 12, 4));
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.notes().noteKey(), QStringLiteral("Dec-4"));
    EXPECT_EQ(focus.size(), 2);
}

// Each way of moving reads the page and the note once and tells each change at most once.
TEST_F(DiarySessionTest, EveryMoveReadsAndTellsOnce)
{
    for (const char *note : {"Nov-20", "Dec-1", "Dec-4"})
        ASSERT_TRUE(notestore::save(data.root(), QString::fromLatin1(note), u"A note"));
    struct Move
    {
        const char *name;
        std::function<void()> move;
        QMap<QString, int> opens;
    };
    const auto opened = [](const char *page, const char *note) { return QMap<QString, int>{{page, 1}, {note, 1}}; };
    const std::vector<Move> moves{
        {"calendar", [&] { session.chooseDay(QDate(2026, 12, 1)); }, opened("2026-12-01.dat", "Dec-1.dat")},
        {"first page", [&] { session.book().firstPage(); }, opened("2026-11-20.dat", "Nov-20.dat")},
        {"next page", [&] { session.book().nextPage(); }, opened("2026-12-01.dat", "Dec-1.dat")},
        {"last page", [&] { session.book().lastPage(); }, opened("2026-12-04.dat", "Dec-4.dat")},
        {"previous page", [&] { session.book().previousPage(); }, opened("2026-12-01.dat", "Dec-1.dat")},
        {"Open list", [&] { session.book().openListed(0); }, opened("2026-11-20.dat", "Nov-20.dat")},
        {"New File", [&] { session.book().NewPage(); }, opened("2026-12-04.dat", "Dec-4.dat")},
        {"search result", [&] { session.search().openResult(QStringLiteral("2026-12-01.dat")); }, opened("2026-12-01.dat", "Dec-1.dat")},
    };
    FileOpens files({data.root().pagesDir(), data.root().datesDir()});
    for (const Move &move : moves) {
        SCOPED_TRACE(move.name);
        if (&move == &moves.back()) {
            ASSERT_TRUE(session.book().leavePageForSearch());
        }
        files.take();
        QSignalSpy page(&session.book(), &DayBook::pageReplaced);
        QSignalSpy note(&session.notes(), &YearNotes::noteReplaced);
        QSignalSpy day(&session.book(), &DayBook::dayChanged);
        QSignalSpy number(&session.book(), &DayBook::pageNumberChanged);
        QSignalSpy name(&session.book(), &DayBook::openPageNameChanged);
        move.move();
        EXPECT_EQ(files.take(), move.opens);
        EXPECT_EQ(page.size(), 1);
        EXPECT_EQ(note.size(), 1);
        EXPECT_LE(day.size(), 1);
        EXPECT_LE(number.size(), 1);
        EXPECT_LE(name.size(), 1);
        EXPECT_EQ(noteText(), QStringLiteral("A note"));
    }
}

// The note's question comes first and Cancel leaves everything; a save the
// user then refuses keeps the typing, with no question asked twice.
TEST_F(DiarySessionTest, ADayChangeAsksItsQuestionsOnceAndARefusedSaveStays)
{
    QSignalSpy day(&session.book(), &DayBook::dayChanged);
    type(QStringLiteral("More: "));
    QTextCursor(&session.notes().note()).insertText(QStringLiteral("Skates"));
    dialogs.answerMessage(Button::Cancel);
    session.chooseDay(QDate(2026, 12, 1));
    dialogs.answerMessage(Button::No);
    dialogs.answerMessage(Button::Yes);
    dialogs.answerMessage(Button::No);
    session.chooseDay(QDate(2026, 12, 1));

    QStringList titles;
    for (const auto &shown : dialogs.shown().mid(1))
        titles << shown.title;
    EXPECT_EQ(titles, (QStringList{"Save Date?", "Save Date?", "Save File?", "Overwrite File?"}));
    EXPECT_EQ(pageText(), QStringLiteral("More: Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 1);
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 12, 4));
    EXPECT_EQ(day.size(), 2) << "the calendar goes back to the day shown";
    EXPECT_EQ(day.last()[0].toDate(), QDate(2026, 12, 4));
}

TEST_F(DiarySessionTest, YearlyNotesAreSavedDeletedAndComeBackEveryYear)
{
    QTextCursor(&session.notes().note()).insertText(QStringLiteral("Grandma's birthday"));
    session.notes().saveNote();
    EXPECT_EQ(data.readFile(QStringLiteral("dates/Dec-4.dat")), QByteArray("Grandma's birthday\r\n"));
    session.chooseDay(QDate(2027, 12, 5));
    EXPECT_TRUE(noteText().isEmpty());
    session.chooseDay(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday"));
    session.notes().saveNote();
    session.chooseDay(QDate(2027, 12, 5));
    session.chooseDay(QDate(2027, 12, 4));
    EXPECT_EQ(noteText(), QStringLiteral("Grandma's birthday")) << "saving and loading again never grows the note";

    QSignalSpy marked(&session.notes(), &YearNotes::noteDayMarked);
    dialogs.answerMessage(Button::Cancel);
    session.notes().deleteNote();
    EXPECT_EQ(dialogs.shown().last().defaultButton, Button::Cancel);
    EXPECT_TRUE(notestore::exists(data.root(), QStringLiteral("Dec-4")));
    dialogs.answerMessage(Button::Ok);
    session.notes().deleteNote();
    EXPECT_FALSE(notestore::exists(data.root(), QStringLiteral("Dec-4")));
    EXPECT_TRUE(noteText().isEmpty());
    ASSERT_EQ(marked.size(), 1);
    EXPECT_EQ(marked[0], (QList<QVariant>{QDate(2027, 12, 4), false}));

    dialogs.answerMessage(Button::Ok);
    session.notes().deleteNote();
    EXPECT_EQ(dialogs.texts().last(),
              QStringLiteral("Error...File not found. Open date file that you wish to delete and then press ''Delete''."));
}

TEST_F(DiarySessionTest, SearchLeavesNoPageOpenAndAResultOpensIt)
{
    type(QStringLiteral("Skating "));
    dialogs.answerMessage(Button::No);
    session.book().leavePageForSearch();
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_EQ(session.book().pageNumber(), 0);
    EXPECT_EQ(session.search().search(QStringLiteral("December")), QStringList{QStringLiteral("2026-12-01.dat")});
    EXPECT_EQ(session.search().search(QStringLiteral("Skating")), QStringList());
    session.search().openResult(QStringLiteral("2026-12-01.dat"));
    EXPECT_EQ(pageText(), QStringLiteral("First of December"));
    session.search().openResult(QStringLiteral("gone.dat"));
    EXPECT_EQ(session.book().pageNumber(), 2);
}

TEST_F(DiarySessionTest, DamagedPagesOpenWithoutACrash)
{
    data.writeFile(QStringLiteral("pages/2026-12-02.dat"), QByteArray());
    data.writeFile(QStringLiteral("pages/2026-12-03.dat"), QByteArray("\x01\x02garbage\xff\r\n", 13));
    // Names that are no real day are never pages: saving one would write over the real day's page.
    for (const char *name : {"x", "2026-02-30.dat", "2026-13-01.dat", "2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat",
                             "2026-12-04 (conflicted copy 2026-12-04 183012).dat", "0000-12-04.dat", "2026-12-4.dat"})
        data.writeFile(QStringLiteral("pages/") + QLatin1String(name), page("not a page"));
    session.book().rereadPages();
    EXPECT_EQ(session.book().pages().size(), 5);
    session.chooseDay(QDate(2026, 12, 2));
    EXPECT_TRUE(pageText().isEmpty());
    session.chooseDay(QDate(2026, 12, 3));
    EXPECT_EQ(session.book().pageNumber(), 4);
    session.book().lastPage();
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-04.dat"));
    EXPECT_EQ(session.search().search(QStringLiteral("not a page")), QStringList());
}

// The copy becomes the day's page, but the page's own unsaved typing stays marked.
TEST_F(DiarySessionTest, ThePrintCopyIsStoredAsTheDaysPage)
{
    type(QStringLiteral("unsaved "));
    QTextDocument copy;
    dialogs.answerMessage(Button::Ok);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::NoText);
    QTextCursor(&copy).insertText(QStringLiteral("Printed"));
    dialogs.answerMessage(Button::No);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::Refused);
    dialogs.answerMessage(Button::Yes);
    EXPECT_EQ(session.book().savePrintCopy(copy), DayBook::Stored::Yes);
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Printed"));
    EXPECT_EQ(pageText(), QStringLiteral("Printed"));
    EXPECT_EQ(session.book().filechanged(), 1);
}

TEST_F(DiarySessionTest, RestoringAVersionIsASaveThatKeepsWhatItReplaces)
{
    EXPECT_TRUE(session.book().pageVersions().isEmpty());
    type(QStringLiteral("More: "));
    dialogs.answerMessage(Button::Yes);
    session.book().SavePage();
    const QList<history::Version> versions = session.book().pageVersions();
    ASSERT_EQ(versions.size(), 1);

    type(QStringLiteral("kept "));
    dialogs.answerMessage(Button::Yes);
    dialogs.answerMessage(Button::No);
    EXPECT_FALSE(session.book().restorePageVersion(versions[0].id)) << "a refused save keeps the typing";
    EXPECT_EQ(pageText(), QStringLiteral("kept More: Today we went skating"));

    dialogs.answerMessage(Button::No);
    ASSERT_TRUE(session.book().restorePageVersion(versions[0].id));
    EXPECT_EQ(dialogs.texts().last(), kSaveQuestion);
    EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
    EXPECT_EQ(storedText("2026-12-04"), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 0);
    EXPECT_EQ(session.book().pageVersions().size(), 2);

    dialogs.answerMessage(Button::Yes);
    session.book().DeletePage();
    EXPECT_EQ(session.book().pageNumber(), 0);
    ASSERT_TRUE(session.book().restorePageVersion(session.book().pageVersions()[0].id));
    EXPECT_EQ(session.book().pageNumber(), 3);
    EXPECT_EQ(session.book().openPageName(), QStringLiteral("2026-12-04.dat"));
}

// The text search keeps what pages show between searches: every change of a page must show in the next one.
TEST_F(DiarySessionTest, ARepeatedTextSearchFollowsEverySaveRestoreAndDelete)
{
    const textsearch::Options text{.matchCase = false, .textOnly = true};
    const QStringList today{QStringLiteral("2026-12-04.dat")};
    EXPECT_EQ(session.search().search(QStringLiteral("SKATING"), text), today);
    type(QStringLiteral("Sledging, "));
    dialogs.answerMessage(Button::Yes);
    session.book().SavePage();
    EXPECT_EQ(session.search().search(QStringLiteral("sledging skating"), text), today);
    ASSERT_TRUE(session.book().restorePageVersion(session.book().pageVersions()[0].id));
    EXPECT_EQ(session.search().search(QStringLiteral("sledging"), text), QStringList());
    dialogs.answerMessage(Button::Yes);
    session.book().DeletePage();
    EXPECT_EQ(session.search().search(QStringLiteral("skating"), text), QStringList());
}

namespace {

// A session on a diary with a password, not yet signed in.
class DiarySessionSignIn : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"secret"));
        session.setDataRoot(data.path());
    }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    DiarySession session{dialogs, clock};
};

} // namespace

TEST_F(DiarySessionSignIn, AWrongPasswordEndsBeforeAnythingIsRead)
{
    ASSERT_TRUE(notestore::save(data.root(), QStringLiteral("Dec-4"), u"private"));
    dialogs.answerInput(QStringLiteral("guess"));
    dialogs.answerMessage(Button::Ok);
    EXPECT_FALSE(session.signIn(program));
    EXPECT_TRUE(program.ended());
    EXPECT_TRUE(richtext::plainText(session.notes().note()).isEmpty());
    EXPECT_TRUE(session.book().dayKey().isEmpty());
}

// A window on a diary that a tool holds names the tool, and reads and writes nothing.
TEST_F(DiarySessionSignIn, ADiaryOpenElsewhereEndsBeforeThePasswordIsAsked)
{
    DiaryLock open(data.root());
    ASSERT_EQ(open.acquire(QStringLiteral("quillnest-tool import")), DiaryLock::State::Held);
    dialogs.answerMessage(Button::Ok);
    std::optional<std::pair<qsizetype, bool>> knocked;
    session.setOpenElsewhere([&] { knocked.emplace(dialogs.shown().size(), program.ended()); });
    EXPECT_FALSE(session.signIn(program));
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(knocked, std::make_pair(qsizetype(1), false)) << "the other window is asked forward after the message, before the end";
    const QString byTool = QStringLiteral("This diary is in use by quillnest-tool import (process %1); try again when it has finished.")
                               .arg(QCoreApplication::applicationPid());
    EXPECT_EQ(dialogs.shown(), (QList<ScriptedDialogs::Shown>{{.text = byTool, .title = QStringLiteral("Quillnest version 2"),
                                                               .icon = Dialogs::Icon::Exclamation}}));
    EXPECT_TRUE(session.book().dayKey().isEmpty());
}
