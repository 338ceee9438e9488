#include "formharness.h"

#include "app/windowknock.h"
#include "diary/diarylock.h"

// A second start's refusal, after its message, knocks on the window holding
// its diary, which comes forward; only that diary's knock reaches it, and only
// its own user may knock.
TEST(WindowKnock, ASecondStartBringsTheWindowOfItsDiaryOnlyForward)
{
    FormHarness first;
    const QString left = DiaryLock::knockPath(first.data.root());
    ASSERT_TRUE(QFile(left).open(QIODevice::WriteOnly)) << "a socket file a killed program left";
    first.startWithoutPassword();
    EXPECT_EQ(QFile::permissions(left) & (QFile::ReadGroup | QFile::WriteGroup | QFile::ReadOther | QFile::WriteOther),
              QFile::Permissions()) << "no other user may knock";
    first.form->show();
    QWidget elsewhere;
    elsewhere.show();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&elsewhere));
    first.form->showMinimized();

    FormHarness second;
    second.dialogs.answerMessage(Dialogs::Button::Ok);
    AppServices services = second.services();
    services.startDirectory = first.data.path() + QStringLiteral("/pages/..");
    second.start(services);
    EXPECT_EQ(std::pair(second.form->startedUp(), second.dialogs.texts()), std::pair(false, QStringList{kDiaryAlreadyOpen}));
    EXPECT_TRUE(QTest::qWaitFor([&] { return QApplication::activeWindow() == first.form.get(); }) && !first.form->isMinimized());
    EXPECT_FALSE(knockOnWindow(second.data.root())) << "another diary's window hears nothing";
}
