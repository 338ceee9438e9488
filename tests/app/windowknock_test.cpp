#include "formharness.h"

#include "app/windowknock.h"
#include "diary/diarylock.h"

// Two starts in one test program: the window's listener and a second start's knock.
TEST(WindowKnock, ASecondStartReachesTheWindowOfItsDiaryOnly)
{
    testApplication();
    TestDataRoot data;
    TestDataRoot other;
    QFile left(DiaryLock::knockPath(data.root()));
    ASSERT_TRUE(left.open(QIODevice::WriteOnly)) << "a socket file a killed program left";
    left.close();
    int heard = 0;
    const KnockListener listener(data.root(), [&] { ++heard; });
    ASSERT_TRUE(listener.listening());
    EXPECT_EQ(QFile::permissions(left.fileName()) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions()) << "no other user may knock";

    EXPECT_FALSE(knockOnWindow(other.root())) << "another diary's window hears nothing";
    EXPECT_TRUE(knockOnWindow(DataRoot(data.path() + QStringLiteral("/pages/.."))));
    EXPECT_TRUE(QTest::qWaitFor([&] { return heard > 0; }));
    EXPECT_EQ(heard, 1);
}

// The knock goes out from the second window's refusal, after its message.
TEST(WindowKnock, TheWindowHoldingTheDiaryComesForward)
{
    FormHarness first;
    first.startWithoutPassword();
    first.form->show();
    QWidget elsewhere;
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    first.form->showMinimized();

    FormHarness second;
    second.dialogs.answerMessage(Dialogs::Button::Ok);
    AppServices services = second.services();
    services.startDirectory = first.data.path();
    second.start(services);
    EXPECT_FALSE(second.form->startedUp());
    EXPECT_EQ(second.dialogs.texts(), QStringList{kDiaryAlreadyOpen});
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == first.form.get(); }));
    EXPECT_FALSE(first.form->isMinimized());
}
