#include "filleddiary.h"

#include "diskfull.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"

#include <QAction>

namespace {

using Button = Dialogs::Button;

class DiskFullTest : public FilledDiary
{
protected:
    void SetUp() override
    {
        FilledDiary::SetUp();
        start();
    }
};

} // namespace

// Each write fails part-way, after some of its bytes reached the disk.
TEST_F(DiskFullTest, AWriteCutOffByAFullDiskKeepsEveryFileAndSaysSo)
{
    const DiarySnapshot before(harness.data);
    const QString longText(20000, QLatin1Char('x'));

    type(QStringLiteral("Long day. "));
    named<RichTextEdit>(form(), "rtxt2")->insertPlainText(longText);
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(4096);
        form().session().book().SavePage();
    }
    const QString tooLarge = QStringLiteral(": The file has grown larger than this disk or system allows.");
    expectError(messages::pageNotSaved(harness.data.root().pagePath(QStringLiteral("2026-12-04")) + tooLarge));
    EXPECT_EQ(form().session().book().filechanged(), 1);
    EXPECT_TRUE(pageText().startsWith(QStringLiteral("Long day. xxx")));

    named<RichTextEdit>(form(), "rtxt")->setPlainText(longText);
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(4096);
        named<QAction>(form(), "m9")->trigger();
    }
    expectError(messages::noteNotSaved(harness.data.root().notePath(QStringLiteral("Dec-4")) + tooLarge));
    EXPECT_EQ(noteText(), longText);

    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(8);
        named<QAction>(form(), "m18")->trigger();
    }
    expectError(messages::passwordNotSaved());

    EXPECT_EQ(before.changes(), QStringList());
}

// A file where the history folder belongs: no page or note is replaced or
// deleted without its earlier version unless the user says to go on.
TEST_F(DiskFullTest, AChangeWhoseEarlierVersionCannotBeKeptWaitsForTheUser)
{
    harness.data.writeFile(QStringLiteral("history"), "in the way");
    const DiarySnapshot before(harness.data);
    const auto lastText = [&] { return harness.dialogs.shown().last().text; };

    type(QStringLiteral("Later. "));
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::No);
    form().session().book().SavePage();
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::pageVersionNotKept()));
    EXPECT_EQ(form().session().book().filechanged(), 1);

    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::No);
    form().session().book().DeletePage();
    EXPECT_EQ(lastText(), messages::pageDeletionNotKept().text);

    named<RichTextEdit>(form(), "rtxt")->setPlainText(QStringLiteral("Anna is 40"));
    harness.dialogs.answerMessage(Button::No);
    named<QAction>(form(), "m9")->trigger();
    EXPECT_EQ(lastText(), messages::noteVersionNotKept().text);
    harness.dialogs.answerMessage(Button::Ok);
    harness.dialogs.answerMessage(Button::No);
    named<QAction>(form(), "m10")->trigger();
    EXPECT_EQ(lastText(), messages::noteDeletionNotKept().text);
    EXPECT_EQ(before.changes(), QStringList());

    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Yes);
    form().session().book().SavePage();
    EXPECT_EQ(form().session().book().filechanged(), 0);
    EXPECT_EQ(before.changes(), QStringList{QStringLiteral("pages/2026-12-04.dat")});
}
