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
using Shown = ScriptedDialogs::Shown;

class AccessTest : public ::testing::Test
{
protected:
    // Queues the answers in the order the boxes come: a button or a typed text.
    void answer(std::initializer_list<std::variant<Button, QString>> answers)
    {
        for (const auto &given : answers)
            given.index() == 0 ? dialogs.answerMessage(std::get<0>(given)) : dialogs.answerInput(std::get<1>(given));
    }
    static Shown masked(const QString &prompt, const QString &title = u"Enter Password"_s)
    {
        return {.kind = ScriptedDialogs::Kind::Input, .text = prompt, .title = title, .echo = Dialogs::Echo::Masked};
    }
    static Shown box(const messages::Box &box) { return ScriptedDialogs::shownBox(box); }
    QString path() const { return data.root().passwordFile(); }
    QByteArray stored() const { return data.readFile(u"pw.dat"_s); }

    TestDataRoot data;
    ScriptedDialogs dialogs;
};
using SignInTest = AccessTest;
using ChangePasswordTest = AccessTest;

} // namespace

// A missing file ends the program; "none" only tells; one masked attempt must
// match the first line exactly, each character shifted up by 14 and ÿ (255),
// which cannot shift, left out. An empty file takes an empty answer.
TEST_F(SignInTest, OnlyTheStoredPasswordOrNoneLetsTheUserIn)
{
    EXPECT_EQ(readStored(QStringLiteral(QUILLNEST_SKELETON "/pw.dat")), QByteArray("|}|s")) << "a new diary has no password";
    const std::tuple<std::optional<QByteArray>, std::optional<QString>, bool, std::optional<messages::Box>> rows[] = {
        {std::nullopt, std::nullopt, false, messages::passwordFileTampered()},
        {"|}|s\r\n", std::nullopt, true, messages::noPassword()},
        {"Op", u"Ab"_s, true, {}},
        {"Op", QString::fromUtf8("Aÿb"), true, {}},
        {"Op", u"ab"_s, false, messages::wrongPassword()},
        {"Op", QString(), false, messages::wrongPassword()},
        {"Op", u"Ab "_s, false, messages::wrongPassword()},
        {"Op\r\nsecond\r\n", u"Ab"_s, true, {}},
        {"Op\rsecond", u"Ab"_s, true, {}},
        {"", QString(), true, {}},
    };
    for (const auto &[file, typed, in, told] : rows) {
        SCOPED_TRACE(file.value_or("no file").toStdString());
        if (file)
            data.writeFile(u"pw.dat"_s, *file);
        ScriptedDialogs again;
        RecordingProgram ended;
        QList<Shown> expected;
        if (typed) {
            again.answerInput(*typed);
            expected.append(masked(u"Enter the Password"_s, u"Password"_s));
        }
        if (told) {
            again.answerMessage(Button::Ok);
            expected.append(box(*told));
        }
        const bool signedIn = SignIn(path(), again, ended);
        EXPECT_EQ(std::tuple(signedIn, ended.ended(), again.shown(), QFile::exists(path())), std::tuple(in, !in, expected, file.has_value()));
    }
}

// Cancel at either box keeps the old password; a short or unmatched one is asked
// again. The new one replaces the file whole or not at all, with nothing left beside it.
TEST_F(ChangePasswordTest, AsksTwiceMaskedAgainAfterARefusalAndAFailedWriteKeepsTheOldFile)
{
    data.writeFile(u"pw.dat"_s, "old\r\nlines\r\n");
    const Shown ask = masked(u"Enter Password, for no password enter letters: ''none''."_s);
    const Shown repeat = masked(u"Enter the same password again."_s);
    const Shown notChanged = box(messages::passwordNotChanged());
    answer({QString(), Button::Ok, u"long enough"_s, QString(), Button::Ok});
    ChangePassword(path(), dialogs);
    ChangePassword(path(), dialogs);
    EXPECT_EQ(std::pair(stored(), dialogs.shown()), std::pair(QByteArray("old\r\nlines\r\n"), QList{ask, notChanged, ask, repeat, notChanged}));

    answer({u"abc"_s, Button::Ok, u"abcd"_s, u"abce"_s, Button::Ok, u"a b "_s, u"a b "_s, Button::Ok});
    ChangePassword(path(), dialogs);
    EXPECT_EQ(stored(), ScramblePassword(u"a b ") + "\r\n");
    EXPECT_EQ(dialogs.shown().mid(5), (QList{ask, box(messages::passwordTooShort(4)), ask, repeat, box(messages::passwordsDiffer()), ask,
                                             repeat, box(messages::passwordSaved())}));

    answer({u"a rather long new password"_s, u"a rather long new password"_s, Button::Ok});
    {
        const DiskFull full(4);
        ChangePassword(path(), dialogs);
    }
    EXPECT_EQ(std::tuple(stored(), dialogs.shown().last(), data.everyName(u"."_s)),
              std::tuple(ScramblePassword(u"a b ") + "\r\n", box(messages::passwordNotSaved()), QStringList{u"dates"_s, u"pages"_s, u"pw.dat"_s}));
}
