#include "filleddiary.h"

#include "app/filelistbox.h"
#include "editor/richtextedit.h"
#include "session/daybook.h"

#include <QPushButton>
#include <QToolButton>
#include <QDir>
#include <QFile>
#include <QLabel>

namespace {

using Button = Dialogs::Button;

class FoldersTest : public FilledDiary
{
protected:
    // The folder goes; when asked, a plain file of that name takes its place.
    void breakFolder(const QString &name, bool plainFile)
    {
        ASSERT_TRUE(QDir(harness.data.path() + QLatin1Char('/') + name).removeRecursively());
        if (plainFile)
            harness.data.writeFile(name, "not a folder\r\n");
    }

    void expectPageSaveRefused()
    {
        type(QStringLiteral("Written into the void"));
        harness.dialogs.answerMessage(Button::Ok);
        form().session().book().SavePage();
        expectError(messages::pageNotSaved());
        EXPECT_EQ(form().session().book().filechanged(), 1);
    }

    void expectNoteSaveRefused()
    {
        named<RichTextEdit>(form(), "rtxt")->setPlainText(QStringLiteral("A note with nowhere to go"));
        harness.dialogs.answerMessage(Button::Ok);
        named<QAction>(form(), "m9")->trigger();
        expectError(messages::noteNotSaved());
    }
};

} // namespace

TEST_F(FoldersTest, APagesFolderMissingOrAFileRefusesSavesAndKeepsEverything)
{
    for (const bool plainFile : {false, true}) {
        SCOPED_TRACE(plainFile ? "pages is a plain file" : "pages is missing");
        breakFolder(QStringLiteral("pages"), plainFile);
        start();
        const DiarySnapshot before(harness.data);
        EXPECT_TRUE(form().session().book().pages().isEmpty());
        EXPECT_EQ(named<QLabel>(form(), "text3")->text(), QStringLiteral("0"));
        EXPECT_EQ(noteText(), QStringLiteral("Anna's birthday"));
        expectPageSaveRefused();
        EXPECT_EQ(before.changes(), QStringList());
        harness.close();
    }
}

TEST_F(FoldersTest, ADatesFolderMissingOrAFileRefusesSavesAndKeepsEverything)
{
    for (const bool plainFile : {false, true}) {
        SCOPED_TRACE(plainFile ? "dates is a plain file" : "dates is missing");
        breakFolder(QStringLiteral("dates"), plainFile);
        start();
        const DiarySnapshot before(harness.data);
        EXPECT_EQ(pageText(), QStringLiteral("Today we went skating"));
        EXPECT_TRUE(noteText().isEmpty());
        expectNoteSaveRefused();
        EXPECT_EQ(before.changes(), QStringList());
        harness.close();
    }
}

TEST_F(FoldersTest, APageDeletedBetweenTheListAndTheOpenIsReported)
{
    start();
    ASSERT_TRUE(QFile::remove(harness.data.root().pagesDir() + QStringLiteral("/2026-12-01.dat")));
    const DiarySnapshot before(harness.data);

    harness.dialogs.answerMessage(Button::Ok);
    named<QToolButton>(form(), "SSCommand2")->click();
    expectError(messages::pageNotOpened(harness.data.root().pagesDir() + QStringLiteral("/2026-12-01.dat: The file or its folder does not exist.")));
    EXPECT_TRUE(pageText().isEmpty());
    EXPECT_TRUE(named<QLabel>(form(), "Label3")->text().isEmpty());
    EXPECT_EQ(form().session().book().filechanged(), 0);

    named<QToolButton>(form(), "SSCommand2")->click();
    EXPECT_EQ(pageText(), QStringLiteral("November page"));
    EXPECT_EQ(before.changes(), QStringList());
}
