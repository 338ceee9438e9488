#include "diary/passwordfile.h"
#include "access/signin.h"

#include "diskfull.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "testdataroot.h"

#include <gtest/gtest.h>

namespace {

using Shown = ScriptedDialogs::Shown;
using Kind = ScriptedDialogs::Kind;

class SignInTest : public ::testing::Test
{
protected:
    void storePassword(const QString &typed) { ASSERT_TRUE(passwordfile::write(data.root().passwordFile(), typed)); }
    bool signIn() { return SignIn(data.root().passwordFile(), dialogs, program); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    RecordingProgram program;
};

} // namespace

TEST_F(SignInTest, MissingFileEndsTheProgramWithTheTamperMessage)
{
    dialogs.answerMessage(Dialogs::Button::Ok);
    EXPECT_FALSE(signIn());
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(dialogs.shown(), QList{ScriptedDialogs::shownBox(messages::passwordFileTampered())});
    EXPECT_FALSE(QFile::exists(data.root().passwordFile()));
}

TEST_F(SignInTest, NoPasswordMarkerOnlyTellsTheUser)
{
    storePassword(QStringLiteral("none"));
    dialogs.answerMessage(Dialogs::Button::Ok);
    EXPECT_TRUE(signIn());
    EXPECT_FALSE(program.ended());
    EXPECT_EQ(dialogs.shown(), QList{ScriptedDialogs::shownBox(messages::noPassword())});
}

TEST_F(SignInTest, OneMaskedAttemptMustMatchExactly)
{
    storePassword(QStringLiteral("Sea Shell"));
    dialogs.answerInput(QStringLiteral("Sea Shell"));
    EXPECT_TRUE(signIn());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, QStringLiteral("Enter the Password"));
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Password"));
    EXPECT_EQ(dialogs.shown()[0].echo, Dialogs::Echo::Masked);
    EXPECT_FALSE(program.ended());

    for (const QString &answer : {QStringLiteral("sea shell"), QString(), QStringLiteral("Sea Shell ")}) {
        ScriptedDialogs again;
        RecordingProgram ended;
        again.answerInput(answer);
        again.answerMessage(Dialogs::Button::Ok);
        EXPECT_FALSE(SignIn(data.root().passwordFile(), again, ended));
        EXPECT_TRUE(ended.ended());
        EXPECT_EQ(again.shown().value(1), ScriptedDialogs::shownBox(messages::wrongPassword()));
    }
}

TEST_F(SignInTest, OnlyTheFirstLineCountsAndAnEmptyFileTakesAnEmptyAnswer)
{
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::ScramblePassword(u"first") + "\r\nsecond\r\n");
    dialogs.answerInput(QStringLiteral("first"));
    EXPECT_TRUE(signIn());

    data.writeFile(QStringLiteral("pw.dat"), QByteArray());
    dialogs.answerInput(QString());
    EXPECT_TRUE(signIn());
    EXPECT_FALSE(program.ended());
}

// Cancel at either box keeps the old password; a short or unmatched one is asked again.
TEST(ChangePasswordTest, AsksTwiceMaskedAndAgainAfterARefusal)
{
    TestDataRoot data;
    const QString file = data.root().passwordFile();
    data.writeFile(QStringLiteral("pw.dat"), "old\r\nlines\r\n");
    const QString ask = QStringLiteral("Enter Password, for no password enter letters: ''none''.");
    const QString repeat = QStringLiteral("Enter the same password again.");
    const QString notSaved = messages::passwordNotChanged().text;
    ScriptedDialogs dialogs;
    dialogs.answerInput(QString());
    dialogs.answerMessage(Dialogs::Button::Ok);
    dialogs.answerInput(QStringLiteral("long enough"));
    dialogs.answerInput(QString());
    dialogs.answerMessage(Dialogs::Button::Ok);
    ChangePassword(file, dialogs);
    ChangePassword(file, dialogs);
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), QByteArray("old\r\nlines\r\n"));
    EXPECT_EQ(dialogs.texts(), (QStringList{ask, notSaved, ask, repeat, notSaved}));
    EXPECT_EQ(dialogs.shown()[1], ScriptedDialogs::shownBox(messages::passwordNotChanged()));

    dialogs.answerInput(QStringLiteral("abc"));
    dialogs.answerMessage(Dialogs::Button::Ok);
    dialogs.answerInput(QStringLiteral("abcd"));
    dialogs.answerInput(QStringLiteral("abce"));
    dialogs.answerMessage(Dialogs::Button::Ok);
    dialogs.answerInput(QStringLiteral("a b "));
    dialogs.answerInput(QStringLiteral("a b "));
    dialogs.answerMessage(Dialogs::Button::Ok);
    ChangePassword(file, dialogs);
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), passwordfile::ScramblePassword(u"a b ") + "\r\n");
    const QList<Shown> shown = dialogs.shown().mid(5);
    EXPECT_EQ(dialogs.texts().mid(5), (QStringList{ask, messages::passwordTooShort(4).text, ask, repeat, messages::passwordsDiffer().text,
                                                   ask, repeat, messages::passwordSaved().text}));
    EXPECT_EQ(shown[1], ScriptedDialogs::shownBox(messages::passwordTooShort(4)));
    EXPECT_EQ(shown[4], ScriptedDialogs::shownBox(messages::passwordsDiffer()));
    EXPECT_EQ(shown.last(), ScriptedDialogs::shownBox(messages::passwordSaved()));
    for (const Shown &box : dialogs.shown()) {
        if (box.kind == Kind::Input) {
            EXPECT_EQ(std::pair(box.title, box.echo), std::pair(QStringLiteral("Enter Password"), Dialogs::Echo::Masked));
        }
    }
}

TEST(ChangePasswordTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    TestDataRoot data;
    const QString file = data.root().passwordFile();
    ASSERT_TRUE(passwordfile::write(file, u"keep me"));
    const QByteArray old = data.readFile(QStringLiteral("pw.dat"));
    ScriptedDialogs dialogs;
    dialogs.answerInput(QStringLiteral("a rather long new password"));
    dialogs.answerInput(QStringLiteral("a rather long new password"));
    dialogs.answerMessage(Dialogs::Button::Ok);
    {
        const DiskFull full(4);
        ChangePassword(file, dialogs);
    }
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), old);
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::passwordNotSaved()));
}
