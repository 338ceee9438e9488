#include "session/diarysession.h"
#include "diarytexts.h"

#include "diary/drafts.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "fixedclock.h"
#include "recordingprogram.h"
#include "richtext/pageexport.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"
#include "session/yearnotes.h"
#include "scripteddialogs.h"
#include "testapplication.h"
#include "testdataroot.h"

#include <QFile>

#include <algorithm>
#include <QLocale>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;
using namespace diarytexts;

const QDate kToday(2026, 12, 4);

// Each start is a new session on the same folder; the one before it ends as a
// killed program would, without closing anything.
class DraftsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        testApplication();
        QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
        ASSERT_TRUE(pagestore::save(data.root(), kToday, page("Today we went skating")));
        ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), u"none"));
        storedPage = data.readFile(QStringLiteral("pages/2026-12-04.dat"));
        start();
    }

    void start(std::initializer_list<Button> answers = {})
    {
        session.reset();
        session = std::make_unique<DiarySession>(dialogs, clock);
        dialogs.answerMessage(Button::Ok);
        for (const Button answer : answers)
            dialogs.answerMessage(answer);
        session->setDataRoot(data.path());
        ASSERT_TRUE(session->signIn(program));
    }

    void typeInPage(const QString &text)
    {
        session->book().markChanged();
        QTextCursor cursor(&session->book().page());
        cursor.movePosition(QTextCursor::End);
        cursor.insertText(text);
        session->drafts().flush();
    }
    void typeInNote(const QString &text)
    {
        session->notes().noteTyped();
        QTextCursor(&session->notes().note()).insertText(text);
        session->drafts().flush();
    }
    qsizetype offers() const
    {
        return std::count_if(dialogs.shown().begin(), dialogs.shown().end(),
                             [](const auto &shown) { return shown.title.startsWith(QStringLiteral("Unsaved")); });
    }
    QStringList draftNames() const { return data.everyName(QStringLiteral(".drafts")); }
    QList<history::Version> pageVersions() const { return history::versions(data.root(), data.root().pagePath(kToday)); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    FixedClock clock{QDate(2026, 12, 4)};
    RecordingProgram program;
    std::unique_ptr<DiarySession> session;
    QByteArray storedPage;
};

} // namespace

TEST_F(DraftsTest, AnUnsavedPageIsOfferedBackAfterAKillAndNeverReplacesTheStoredPage)
{
    EXPECT_TRUE(draftNames().isEmpty()) << "nothing typed, nothing drafted";
    typeInPage(QStringLiteral(" and sang"));
    EXPECT_EQ(draftNames(), QStringList{QStringLiteral("page@2026-12-04.dat")});

    start({Button::Yes});
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::pageFound(false, QDate(2026, 12, 4))));
    EXPECT_EQ(richtext::plainText(session->book().page()), QStringLiteral("Today we went skating and sang"));
    EXPECT_EQ(session->book().filechanged(), 1);
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2026-12-04.dat")), storedPage);

    // Killed again before saving: the draft brought back is still there.
    start({Button::No});
    EXPECT_TRUE(draftNames().isEmpty());
    EXPECT_EQ(richtext::plainText(session->book().page()), QStringLiteral("Today we went skating"));
    EXPECT_EQ(session->book().filechanged(), 0);
    ASSERT_EQ(pageVersions().size(), 1) << "a draft not wanted is set aside, not deleted";
    EXPECT_TRUE(pagestore::loadFile(data.root(), pageVersions()[0].path)->contains("and sang"));

    start();
    EXPECT_EQ(offers(), 2) << "each draft is offered once";
}

TEST_F(DraftsTest, ASaveOrANoRemovesTheDraftAndAFailedSaveKeepsIt)
{
    typeInPage(QStringLiteral(" again"));
    dialogs.answerMessage(Button::Yes);
    session->book().SavePage();
    session->drafts().flush();
    EXPECT_TRUE(draftNames().isEmpty());

    typeInPage(QStringLiteral(" dropped"));
    dialogs.answerMessage(Button::No);
    session->chooseDay(QDate(2026, 12, 2));
    session->drafts().flush();
    EXPECT_TRUE(draftNames().isEmpty());

    // The overwrite refused: the typing is still unsaved, and still drafted.
    session->chooseDay(QDate(2026, 12, 4));
    typeInPage(QStringLiteral(" kept"));
    dialogs.answerMessage(Button::No);
    session->book().SavePage();
    session->drafts().flush();
    EXPECT_EQ(draftNames(), QStringList{QStringLiteral("page@2026-12-04.dat")});
}

TEST_F(DraftsTest, AnUnsavedNoteComesBackAndOneLeftUnsavedGoesToTheHistory)
{
    typeInNote(QStringLiteral("Grandma's birthday"));
    EXPECT_EQ(draftNames(), QStringList{QStringLiteral("note@Dec-4.dat")});
    start({Button::Yes});
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::noteFound(QDate(2026, 12, 4))));
    EXPECT_EQ(richtext::plainText(session->notes().note()), QStringLiteral("Grandma's birthday"));

    // Not saved when another day is chosen: the draft is kept.
    dialogs.answerMessage(Button::No);
    session->chooseDay(QDate(2026, 12, 5));
    session->drafts().flush();
    EXPECT_TRUE(draftNames().isEmpty());
    const auto versions = history::versions(data.root(), data.root().notePath(QStringLiteral("Dec-4")));
    ASSERT_EQ(versions.size(), 1);
    EXPECT_EQ(notestore::decodeNote(*notestore::loadFile(data.root(), versions[0].path)), QStringLiteral("Grandma's birthday"));

    typeInNote(QStringLiteral("Saved"));
    session->notes().saveNote();
    session->drafts().flush();
    EXPECT_TRUE(draftNames().isEmpty());
    EXPECT_EQ(notestore::load(data.root(), daykeys::MonthDay{12, 5}), QByteArray("Saved"));
}

// A page brought back opens its own day, and the note of another day cannot follow it.
TEST_F(DraftsTest, APageOfAnotherDayOpensThatDayAndANoteOfAThirdWaitsInTheHistory)
{
    session->chooseDay(QDate(2026, 11, 30));
    typeInPage(QStringLiteral("End of November"));
    data.writeFile(QStringLiteral(".drafts/note@Jan-1.dat"), notestore::encodeNote(u"New year"));
    data.writeFile(QStringLiteral(".drafts/page@1999-99-99.dat"), "not a day");
    start({Button::Yes});
    EXPECT_EQ(session->book().dayKey(), QStringLiteral("2026-11-30"));
    EXPECT_EQ(richtext::plainText(session->book().page()), QStringLiteral("End of November"));
    EXPECT_EQ(offers(), 1);
    EXPECT_EQ(history::versions(data.root(), data.root().notePath(QStringLiteral("Jan-1"))).size(), 1);
    EXPECT_EQ(draftNames(), (QStringList{QStringLiteral("page@1999-99-99.dat"), QStringLiteral("page@2026-11-30.dat")}));
}
