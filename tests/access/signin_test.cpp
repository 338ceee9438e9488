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

const QString kTamper = QStringLiteral("The password file has been erased or tampered with! This program will now close!");
const QString kWrong = QStringLiteral("The password you have entered is incorrect. This program will end now.");
const QString kNoPassword =
    QStringLiteral("Quillnest has no password. Click on ''File'' and click 'Change Password' to asign a password.");

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
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, kTamper);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Password File has been tampered with!"));
    EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Icon::Critical);
    EXPECT_FALSE(QFile::exists(data.root().passwordFile()));
}

TEST_F(SignInTest, NoPasswordMarkerOnlyTellsTheUser)
{
    storePassword(QStringLiteral("none"));
    dialogs.answerMessage(Dialogs::Button::Ok);
    EXPECT_TRUE(signIn());
    EXPECT_FALSE(program.ended());
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown()[0].text, kNoPassword);
    EXPECT_EQ(dialogs.shown()[0].title, QStringLiteral("Quillnest version 2"));
    EXPECT_EQ(dialogs.shown()[0].icon, Dialogs::Icon::Exclamation);
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
        EXPECT_EQ(again.texts(), (QStringList{QStringLiteral("Enter the Password"), kWrong}));
        EXPECT_EQ(again.shown()[1].title, QStringLiteral("Wrong Password!"));
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
    const QString notSaved = QStringLiteral("Password has not been saved!");
    const QString tooShort = QStringLiteral("Password must have at least 4 characters. The password will not be saved!");
    const QString differ = QStringLiteral("The two passwords are not the same. Please enter the new password again.");
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
    EXPECT_EQ(dialogs.shown()[1], (Shown{Kind::Message, notSaved, QStringLiteral("Password NOT Saved"), Dialogs::Icon::Information,
                                         Dialogs::Buttons::Ok}));

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
    EXPECT_EQ(dialogs.texts().mid(5), (QStringList{ask, tooShort, ask, repeat, differ, ask, repeat, QStringLiteral("Password has been saved")}));
    EXPECT_EQ(shown[1].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(shown[4].icon, Dialogs::Icon::Exclamation);
    EXPECT_EQ(shown.last().title, QStringLiteral("Password Saved"));
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
    EXPECT_EQ(dialogs.shown().last().text, QStringLiteral("An error has occured! The password was not saved!"));
    EXPECT_EQ(dialogs.shown().last().title, QStringLiteral("ERROR"));
    EXPECT_EQ(dialogs.shown().last().icon, Dialogs::Icon::Critical);
}
