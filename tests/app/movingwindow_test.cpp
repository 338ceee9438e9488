#include "formharness.h"
#include "diarytexts.h"

#include "app/progressbox.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "ui/startfolder.h"

#include <QDir>
#include <QFile>
#include <QProgressDialog>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

using Button = Dialogs::Button;

class MovingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        for (const char *day : {"2026-11-20", "2026-12-04"})
            ASSERT_TRUE(pagestore::save(harness.data.root(), QDate::fromString(QString::fromLatin1(day), Qt::ISODate),
                                        diarytexts::page(QStringLiteral("Kept on %1").arg(QString::fromLatin1(day)).toLatin1().constData())));
        harness.startWithoutPassword();
    }

    void writeFile(const QString &path, const QByteArray &bytes)
    {
        QFile file(path);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly));
        file.write(bytes);
    }

    Form1 &form() const { return *harness.form; }

    FormHarness harness;
    QTemporaryDir outside;
};

} // namespace

// The import asks what it needs only: the format, the folder, and what to do
// with the day that has a page; the open page then shows what was added.
TEST_F(MovingTest, ImportDiaryAddsBelowTheOpenPageAndTellsEachDay)
{
    writeFile(outside.filePath(QStringLiteral("2026-12-04.md")), "Skating on the **lake**.\n");
    writeFile(outside.filePath(QStringLiteral("2026-12-10.md")), "A new day.\n");
    QTest::keyClicks(named<RichTextEdit>(form(), "rtxt2"), QStringLiteral("typed "));
    harness.dialogs.answerChoice(Dialogs::Choice{5, std::nullopt});
    harness.dialogs.answerOpenFolder(outside.path());
    harness.dialogs.answerMessage(Button::No);  // the unsaved typing
    harness.dialogs.answerMessage(Button::Yes); // add below the page
    harness.dialogs.answerMessage(Button::Ok);  // the summary
    const qsizetype before = harness.dialogs.shown().size();
    named<QAction>(form(), "m25")->trigger();

    const QStringList texts = harness.dialogs.texts().mid(before);
    ASSERT_EQ(texts.size(), 5);
    EXPECT_EQ(texts[2], diarytexts::kSaveQuestion);
    EXPECT_EQ(texts[3], messages::importOverPages(1).text);
    EXPECT_TRUE(texts[4].startsWith(QStringLiteral("2 days imported: 1 new page, 1 page added to, 0 days skipped, 0 failed.")))
        << texts[4].toStdString();
    EXPECT_TRUE(texts[4].contains(QStringLiteral("2026-12-04: added below its page")));
    EXPECT_TRUE(texts[4].contains(QStringLiteral("2026-12-10: new page")));
    const QString shown = named<RichTextEdit>(form(), "rtxt2")->text();
    EXPECT_TRUE(shown.startsWith(QStringLiteral("Kept on 2026-12-04"))) << shown.toStdString();
    EXPECT_TRUE(shown.contains(QStringLiteral("Skating on the lake."))) << shown.toStdString();
    EXPECT_FALSE(shown.contains(QStringLiteral("typed")));
    EXPECT_TRUE(pagestore::exists(harness.data.root(), QDate(2026, 12, 10)));
}

TEST_F(MovingTest, ExportOffersTheDiarysDaysAndWritesTheChosenForm)
{
    const QString pdf = outside.filePath(QStringLiteral("range.pdf"));
    const Dialogs::DayRange pages{QDate(2026, 11, 20), QDate(2026, 12, 4)};
    harness.dialogs.answerChoice(Dialogs::Choice{0, pages});
    harness.dialogs.answerSaveFile(pdf);
    harness.dialogs.answerMessage(Button::Ok);
    const qsizetype before = harness.dialogs.shown().size();
    named<QAction>(form(), "m26")->trigger();
    EXPECT_EQ(harness.dialogs.shown().at(before).range, pages);
    const QString documents = startFolder(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(harness.dialogs.shown().at(before + 1).text, documents + QStringLiteral("/diary 2026-11-20 to 2026-12-04.pdf"));
    EXPECT_EQ(harness.dialogs.shown().at(before).offeredIndex, 0);
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::exportSaved()));
    QFile written(pdf);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(5) == "%PDF-");

    const QString folder = outside.filePath(QStringLiteral("md"));
    ASSERT_TRUE(QDir().mkpath(folder));
    const Dialogs::DayRange chosen{QDate(2026, 12, 1), QDate(2026, 12, 4)};
    harness.dialogs.answerChoice(Dialogs::Choice{1, chosen});
    harness.dialogs.answerOpenFolder(folder);
    harness.dialogs.answerMessage(Button::Ok);
    named<QAction>(form(), "m26")->trigger();
    EXPECT_EQ(harness.dialogs.shown().at(before + 4).folder, documents);
    EXPECT_EQ(QDir(folder).entryList({QStringLiteral("*.md")}), QStringList{QStringLiteral("2026-12-04.md")});

    harness.dialogs.answerChoice(std::nullopt);
    named<QAction>(form(), "m26")->trigger();
    EXPECT_EQ(harness.dialogs.shown().last().range, chosen) << "the last export's days are offered again";
    EXPECT_EQ(harness.dialogs.shown().last().offeredIndex, 1);

    QFile huge(harness.data.path() + QStringLiteral("/pages/2026-11-20.dat"));
    ASSERT_TRUE(huge.resize(pagestore::kLargestPageFile + 1));
    harness.dialogs.answerChoice(Dialogs::Choice{1, pages});
    harness.dialogs.answerOpenFolder(folder);
    harness.dialogs.answerMessage(Button::Ok);
    named<QAction>(form(), "m26")->trigger();
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::exportPartial(QStringLiteral("2026-11-20"))));
}

// A short job passes without a box; a long one shows its bar and can be stopped.
TEST(ProgressBoxTest, ShowsOnlyForLongJobsAndHearsCancel)
{
    QWidget window;
    ProgressBox box(&window, QStringLiteral("Exporting..."));
    EXPECT_TRUE(box.update(1, ProgressBox::kShownAbove));
    EXPECT_EQ(window.findChild<QProgressDialog *>(), nullptr);
    EXPECT_TRUE(box.update(1, ProgressBox::kShownAbove + 1));
    auto *dialog = window.findChild<QProgressDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->value(), 1);
    dialog->cancel();
    EXPECT_FALSE(box.update(2, ProgressBox::kShownAbove + 1));
}
