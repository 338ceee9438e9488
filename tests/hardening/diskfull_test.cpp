#include "filleddiary.h"

#include "diskfull.h"
#include "editor/richtextedit.h"

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
    form().rtxt2->insertPlainText(longText);
    harness.dialogs.answerMessage(Button::Yes);
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(4096);
        form().session().SavePage();
    }
    const QString tooLarge = QStringLiteral(": The file has grown larger than this disk or system allows.");
    expectError(kPageNotSaved, harness.data.root().pagePath(QStringLiteral("2026-12-04")) + tooLarge);
    EXPECT_EQ(form().session().filechanged(), 1);
    EXPECT_TRUE(pageText().startsWith(QStringLiteral("Long day. xxx")));

    form().rtxt->setPlainText(longText);
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(4096);
        form().m9->trigger();
    }
    expectError(kNoteNotSaved, harness.data.root().notePath(QStringLiteral("Dec-4")) + tooLarge);
    EXPECT_EQ(noteText(), longText);

    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    harness.dialogs.answerMessage(Button::Ok);
    {
        const DiskFull full(8);
        form().m18->trigger();
    }
    expectError(kPasswordNotSaved);

    EXPECT_EQ(before.changes(), QStringList());
}
