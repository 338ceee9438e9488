#include "signedinsession.h"

#include "session/diarysearch.h"

using DiarySearchTest = SignedInSession;

TEST_F(DiarySearchTest, SearchLeavesNoPageOpenAndAResultOpensIt)
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

// The text search keeps what pages show between searches: every change of a page must show in the next one.
TEST_F(DiarySearchTest, ARepeatedTextSearchFollowsEverySaveRestoreAndDelete)
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
