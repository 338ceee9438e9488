#include "ui/filefilter.h"

#include "qtprinters.h"
#include "scripteddialogs.h"

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

using namespace Qt::StringLiterals;
using Shown = ScriptedDialogs::Shown;
using Kind = ScriptedDialogs::Kind;

TEST(FileFilter, PipeFormBecomesQtNameFilters)
{
    EXPECT_EQ(qtNameFilters(QStringLiteral("All Images (*.jpg, *.bmp, *.gif)|*.jpg;*.bmp;*.gif|All Files (*.*)|*.*")),
              (QStringList{QStringLiteral("All Images (*.jpg, *.bmp, *.gif) (*.jpg *.bmp *.gif)"),
                           QStringLiteral("All Files (*.*) (*)")}));
    EXPECT_EQ(qtNameFilters(QStringLiteral("Text| *.txt ;; *.rtf|Dangling")),
              QStringList{QStringLiteral("Text (*.txt *.rtf)")});
    EXPECT_TRUE(qtNameFilters(QString()).isEmpty());
}

TEST(ScriptedDialogs, AnswersInOrderAndRecordsEveryBox)
{
    ScriptedDialogs dialogs;
    dialogs.answerInput(QStringLiteral("secret"));
    dialogs.answerMessage(Dialogs::Button::No);
    dialogs.answerOpenFile(QStringLiteral("/tmp/a.jpg"));
    dialogs.answerColor(std::nullopt);
    dialogs.answerColor(QColor(Qt::red));

    EXPECT_EQ(dialogs.input(u"Enter the Password"_s, u"Password"_s, Dialogs::Echo::Masked), u"secret");
    EXPECT_EQ(dialogs.message(u"Save?"_s, u"Diary"_s, Dialogs::Icon::Question, Dialogs::Buttons::YesNo),
              Dialogs::Button::No);
    EXPECT_EQ(dialogs.openFile(QString(), u"Images|*.jpg"_s), u"/tmp/a.jpg");
    const Dialogs::ColorFlags flags = Dialogs::PreselectCurrent | Dialogs::CustomColorsOpen;
    EXPECT_EQ(dialogs.color(flags, Qt::blue), std::nullopt);
    EXPECT_EQ(dialogs.color(flags, Qt::blue), QColor(Qt::red));

    EXPECT_EQ(flags.toInt(), 3);
    EXPECT_EQ(dialogs.texts(), (QStringList{u"Enter the Password"_s, u"Save?"_s, QString(), QString(), QString()}));
    EXPECT_EQ(dialogs.shown()[1], (Shown{.kind = Kind::Message, .text = u"Save?"_s, .title = u"Diary"_s,
                                         .icon = Dialogs::Icon::Question, .buttons = Dialogs::Buttons::YesNo}));
    EXPECT_EQ(dialogs.shown()[0].echo, Dialogs::Echo::Masked);
    EXPECT_EQ(dialogs.shown()[2].filter, u"Images|*.jpg");
    EXPECT_EQ(dialogs.shown()[3], (Shown{.kind = Kind::Color, .colorFlags = flags, .color = Qt::blue}));
}

TEST(ScriptedDialogs, UnexpectedBoxesFailTheTestAndAreCancelled)
{
    ScriptedDialogs dialogs;
    Dialogs::Button pressed = Dialogs::Button::Ok;
    EXPECT_NONFATAL_FAILURE(pressed = dialogs.message(u"Sure?"_s, u"Delete"_s, Dialogs::Icon::Question,
                                                      Dialogs::Buttons::OkCancel),
                            "unexpected message box \"Sure?\"");
    EXPECT_EQ(pressed, Dialogs::Button::Cancel);

    dialogs.answerInput(QStringLiteral("typed"));
    EXPECT_NONFATAL_FAILURE(pressed = dialogs.message(u"Sure?"_s, u"Delete"_s, Dialogs::Icon::Question,
                                                      Dialogs::Buttons::YesNo),
                            "unexpected");
    EXPECT_EQ(pressed, Dialogs::Button::No);
    EXPECT_EQ(dialogs.input(u"Name"_s, u"Ask"_s, Dialogs::Echo::Plain), u"typed");

    dialogs.answerMessage(Dialogs::Button::Yes);
    EXPECT_NONFATAL_FAILURE(pressed = dialogs.message(u"Saved"_s, u"Diary"_s, Dialogs::Icon::Information,
                                                      Dialogs::Buttons::Ok),
                            "is not on the box \"Saved\"");
    EXPECT_EQ(pressed, Dialogs::Button::Ok);
    EXPECT_EQ(dialogs.shown().size(), 4);
}

TEST(ScriptedDialogs, AnAnswerNeverAskedForFailsTheTest)
{
    EXPECT_NONFATAL_FAILURE(
        {
            ScriptedDialogs dialogs;
            dialogs.answerOpenFile(QStringLiteral("/tmp/a.jpg"));
        },
        "1 scripted answer(s) left over");
}
