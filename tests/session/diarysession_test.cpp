#include "signedinsession.h"

#include "diary/diarylock.h"
#include "fileopens.h"
#include "session/diarysearch.h"

#include <QGuiApplication>
#include <QSignalSpy>

namespace {

using Button = Dialogs::Button;

// What spans the parts: the sign-in, and a day change that asks about the note, then the page.
using DiarySessionTest = SignedInSession;

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

// Each way of moving reads the page and the note once and tells each change at most once.
TEST_F(DiarySessionTest, EveryMoveReadsAndTellsOnce)
{
    for (const char *note : {"Nov-20", "Dec-1", "Dec-4"})
        ASSERT_TRUE(notestore::save(data.root(), *daykeys::monthDayFromNoteKey(QString::fromLatin1(note)), u"A note"));
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

    const auto note = ScriptedDialogs::shownBox(messages::saveNote(QStringLiteral("December 4")));
    EXPECT_EQ(dialogs.shown().mid(1),
              (QList{note, note, ScriptedDialogs::shownBox(messages::savePage()), ScriptedDialogs::shownBox(messages::overwritePage())}));
    EXPECT_EQ(pageText(), QStringLiteral("More: Today we went skating"));
    EXPECT_EQ(session.book().filechanged(), 1);
    EXPECT_EQ(session.book().selectedDay(), QDate(2026, 12, 4));
    EXPECT_EQ(day.size(), 2) << "the calendar goes back to the day shown";
    EXPECT_EQ(day.last()[0].toDate(), QDate(2026, 12, 4));
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
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"private"));
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
    EXPECT_EQ(dialogs.shown(), QList{ScriptedDialogs::shownBox(messages::diaryHeldElsewhere(byTool))});
    EXPECT_TRUE(session.book().dayKey().isEmpty());
}
