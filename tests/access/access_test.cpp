#include "access/signin.h"
#include "diary/passwordfile.h"

#include "diskfull.h"
#include "recordingprogram.h"
#include "scripteddialogs.h"
#include "testdataroot.h"

#include <variant>

#include <gtest/gtest.h>

namespace {

using namespace Qt::StringLiterals;
using namespace passwordfile;
using Button = Dialogs::Button;

class AccessTest : public ::testing::Test
{
protected:
    // Queues the answers in the order the boxes come: a button or a typed text.
    void answer(std::initializer_list<std::variant<Button, QString>> answers)
    {
        for (const auto &given : answers) {
            if (const auto *button = std::get_if<Button>(&given))
                dialogs.answerMessage(*button);
            else
                dialogs.answerInput(std::get<QString>(given));
        }
    }
    QString path() const { return data.root().passwordFile(); }
    QByteArray stored() const { return data.readFile(u"pw.dat"_s); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
    RecordingProgram program;
};
using PasswordFile = AccessTest;
using SignInTest = AccessTest;
using ChangePasswordTest = AccessTest;

} // namespace

TEST_F(PasswordFile, ScrambleLeavesOutWhatWouldPass255AndOnlyTheFirstLineIsRead)
{
    EXPECT_EQ(ScramblePassword(u"Ab"), QByteArray("Op"));
    EXPECT_EQ(ScramblePassword(u""), QByteArray());
    // ÿ (255) cannot shift, so it takes no part in the password.
    EXPECT_EQ(ScramblePassword(QString::fromUtf8("seaÿside")), ScramblePassword(u"seaside"));
    EXPECT_NE(ScramblePassword(u"Secret"), ScramblePassword(u"secret"));
    EXPECT_EQ(noPasswordMarker(), QByteArray("|}|s")) << "\"none\", scrambled";
    EXPECT_EQ(readStored(QStringLiteral(QUILLNEST_SKELETON "/pw.dat")), noPasswordMarker()) << "a new diary has no password";

    EXPECT_EQ(readStored(path()), QByteArray()) << "no file";
    for (const auto &[bytes, first] : {std::pair{"", ""}, {"abc\r\nmore\r\n", "abc"}, {"abc\rmore", "abc"}, {"no line end", "no line end"}}) {
        data.writeFile(u"pw.dat"_s, bytes);
        EXPECT_EQ(readStored(path()), QByteArray(first)) << bytes;
    }
}

TEST_F(PasswordFile, WriteReplacesTheFileWithOneLineAndAFailedOneKeepsTheOld)
{
    data.writeFile(u"pw.dat"_s, "old\r\nsecond line\r\n");
    ASSERT_TRUE(write(path(), u"my new pass"));
    EXPECT_EQ(stored(), ScramblePassword(u"my new pass") + "\r\n");
    EXPECT_EQ(readStored(path()), ScramblePassword(u"my new pass"));
    {
        const DiskFull full(2);
        EXPECT_FALSE(write(path(), u"a much longer password"));
    }
    EXPECT_EQ(stored(), ScramblePassword(u"my new pass") + "\r\n");
    EXPECT_EQ(data.everyName(u"."_s), (QStringList{u"dates"_s, u"pages"_s, u"pw.dat"_s}));
}

// A missing file ends the program; "none" only tells; one masked attempt
// must match the first line exactly, and an empty file takes an empty answer.
TEST_F(SignInTest, OnlyTheStoredPasswordOrNoneLetsTheUserIn)
{
    answer({Button::Ok});
    EXPECT_FALSE(SignIn(path(), dialogs, program));
    EXPECT_TRUE(program.ended());
    EXPECT_EQ(dialogs.shown(), QList{ScriptedDialogs::shownBox(messages::passwordFileTampered())});
    EXPECT_FALSE(QFile::exists(path()));

    const struct
    {
        QByteArray file;
        std::variant<Button, QString> typed;
        bool in;
        QList<ScriptedDialogs::Shown> told;
    } rows[] = {
        {ScramblePassword(u"none") + "\r\n", Button::Ok, true, {ScriptedDialogs::shownBox(messages::noPassword())}},
        {ScramblePassword(u"Sea Shell") + "\r\n", u"Sea Shell"_s, true, {}},
        {ScramblePassword(u"Sea Shell") + "\r\n", u"sea shell"_s, false, {ScriptedDialogs::shownBox(messages::wrongPassword())}},
        {ScramblePassword(u"Sea Shell") + "\r\n", QString(), false, {ScriptedDialogs::shownBox(messages::wrongPassword())}},
        {ScramblePassword(u"Sea Shell") + "\r\n", u"Sea Shell "_s, false, {ScriptedDialogs::shownBox(messages::wrongPassword())}},
        {ScramblePassword(u"first") + "\r\nsecond\r\n", u"first"_s, true, {}},
        {QByteArray(), QString(), true, {}},
    };
    for (const auto &row : rows) {
        SCOPED_TRACE(row.file.toStdString());
        data.writeFile(u"pw.dat"_s, row.file);
        ScriptedDialogs again;
        RecordingProgram ended;
        if (const auto *typed = std::get_if<QString>(&row.typed))
            again.answerInput(*typed);
        for (qsizetype i = 0; i < row.told.size(); ++i)
            again.answerMessage(Button::Ok);
        EXPECT_EQ(SignIn(path(), again, ended), row.in);
        EXPECT_EQ(ended.ended(), !row.in);
        EXPECT_EQ(again.shown().mid(std::holds_alternative<QString>(row.typed) ? 1 : 0), row.told);
        if (std::holds_alternative<QString>(row.typed)) {
            const auto &asked = again.shown().constFirst();
            EXPECT_EQ(std::tuple(asked.text, asked.title, asked.echo), std::tuple(u"Enter the Password"_s, u"Password"_s, Dialogs::Echo::Masked));
        }
    }
}

// Cancel at either box keeps the old password; a short or unmatched one is asked again.
TEST_F(ChangePasswordTest, AsksTwiceMaskedAndAgainAfterARefusal)
{
    data.writeFile(u"pw.dat"_s, "old\r\nlines\r\n");
    const QString ask = u"Enter Password, for no password enter letters: ''none''."_s;
    const QString repeat = u"Enter the same password again."_s;
    const QString notSaved = messages::passwordNotChanged().text;
    answer({QString(), Button::Ok, u"long enough"_s, QString(), Button::Ok});
    ChangePassword(path(), dialogs);
    ChangePassword(path(), dialogs);
    EXPECT_EQ(stored(), QByteArray("old\r\nlines\r\n"));
    EXPECT_EQ(dialogs.texts(), (QStringList{ask, notSaved, ask, repeat, notSaved}));
    EXPECT_EQ(dialogs.shown()[1], ScriptedDialogs::shownBox(messages::passwordNotChanged()));

    answer({u"abc"_s, Button::Ok, u"abcd"_s, u"abce"_s, Button::Ok, u"a b "_s, u"a b "_s, Button::Ok});
    ChangePassword(path(), dialogs);
    EXPECT_EQ(stored(), ScramblePassword(u"a b ") + "\r\n");
    const QList<ScriptedDialogs::Shown> shown = dialogs.shown().mid(5);
    EXPECT_EQ(dialogs.texts().mid(5), (QStringList{ask, messages::passwordTooShort(4).text, ask, repeat, messages::passwordsDiffer().text,
                                                   ask, repeat, messages::passwordSaved().text}));
    EXPECT_EQ((QList{shown[1], shown[4], shown.last()}),
              (QList{ScriptedDialogs::shownBox(messages::passwordTooShort(4)), ScriptedDialogs::shownBox(messages::passwordsDiffer()),
                     ScriptedDialogs::shownBox(messages::passwordSaved())}));
    for (const auto &box : dialogs.shown()) {
        if (box.kind == ScriptedDialogs::Kind::Input) {
            EXPECT_EQ(std::pair(box.title, box.echo), std::pair(u"Enter Password"_s, Dialogs::Echo::Masked));
        }
    }
}

TEST_F(ChangePasswordTest, AFailedWriteKeepsTheOldFileAndSaysSo)
{
    ASSERT_TRUE(write(path(), u"keep me"));
    const QByteArray old = stored();
    answer({u"a rather long new password"_s, u"a rather long new password"_s, Button::Ok});
    {
        const DiskFull full(4);
        ChangePassword(path(), dialogs);
    }
    EXPECT_EQ(stored(), old);
    EXPECT_EQ(dialogs.shown().last(), ScriptedDialogs::shownBox(messages::passwordNotSaved()));
}
