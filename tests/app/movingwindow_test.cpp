#include "formharness.h"
#include "modaldialog.h"

#include "ui/choicedialog.h"
#include "ui/dayfield.h"
#include "ui/startfolder.h"

#include <QDialogButtonBox>

namespace {

class MovingTest : public FormTest
{
protected:
    void SetUp() override
    {
        storePage("2026-11-20", "Kept on 2026-11-20");
        storePage("2026-12-04", "Kept on 2026-12-04");
        harness.startWithoutPassword();
    }
    const ScriptedDialogs::Shown &shown(qsizetype index) const { return harness.dialogs.shown().at(index); }

    // A folder of the user's, away from the diary.
    TestDataRoot outside;
};

} // namespace

// The import asks what it needs only: the format, the folder, and what to do
// with the day that has a page; the open page then shows what was added.
TEST_F(MovingTest, ImportDiaryAddsBelowTheOpenPageAndTellsEachDay)
{
    outside.writeFile(QStringLiteral("2026-12-04.md"), "Skating on the **lake**.\n");
    outside.writeFile(QStringLiteral("2026-12-10.md"), "A new day.\n");
    QTest::keyClicks(&page(), QStringLiteral("typed "));
    harness.dialogs.answerChoice(Dialogs::Choice{5, std::nullopt});
    harness.dialogs.answerOpenFolder(outside.path());
    // The unsaved typing, adding below the page, the summary.
    run("m25", {Button::No, Button::Yes, Button::Ok});
    EXPECT_EQ(lastTexts(3), (QStringList{diarytexts::kSaveQuestion, messages::importOverPages(1).text,
                                         "2 days imported: 1 new page, 1 page added to, 0 days skipped, 0 failed.\n"
                                         "\n2026-12-04: added below its page\n2026-12-10: new page"}));
    // The sign-in, the format, the folder and three messages; the typing refused.
    EXPECT_EQ(std::tuple(harness.dialogs.shown().size(), page().text(), pagestore::exists(harness.data.root(), QDate(2026, 12, 10))),
              std::tuple(6, QStringLiteral("Kept on 2026-12-04\n\nSkating on the lake."), true));
}

TEST_F(MovingTest, ExportOffersTheDiarysDaysWritesTheChosenFormNamesTheFormsOfADayItCannotReadAndAProgressBoxShowsOnlyForLongJobs)
{
    const QString pdf = outside.path() + QStringLiteral("/range.pdf");
    const Dialogs::DayRange pages{QDate(2026, 11, 20), QDate(2026, 12, 4)};
    harness.dialogs.answerChoice(Dialogs::Choice{0, pages});
    harness.dialogs.answerSaveFile(pdf);
    run("m26", {Button::Ok});
    EXPECT_EQ(std::pair(shown(1).range, shown(1).offeredIndex), std::pair(std::optional(pages), 0));
    const QString documents = startFolder(QStandardPaths::DocumentsLocation);
    EXPECT_EQ(std::tuple(shown(2).text, shown(3), QFile::exists(pdf)),
              std::tuple(documents + QStringLiteral("/diary 2026-11-20 to 2026-12-04.pdf"), ScriptedDialogs::shownBox(messages::exportSaved()), true));

    const QString folder = outside.path() + QStringLiteral("/md");
    ASSERT_TRUE(QDir().mkpath(folder));
    const Dialogs::DayRange chosen{QDate(2026, 12, 1), QDate(2026, 12, 4)};
    harness.dialogs.answerChoice(Dialogs::Choice{1, chosen});
    harness.dialogs.answerOpenFolder(folder);
    run("m26", {Button::Ok});
    EXPECT_EQ(std::pair(shown(5).folder, QDir(folder).entryList({QStringLiteral("*.md")})), std::pair(documents, QStringList{QStringLiteral("2026-12-04.md")}));
    harness.dialogs.answerChoice(std::nullopt);
    run("m26");
    EXPECT_EQ(std::pair(shown(7).range, shown(7).offeredIndex), std::pair(std::optional(chosen), 1)) << "the last export's days are offered again";

    QFile huge(harness.data.path() + QStringLiteral("/pages/2026-11-20.dat"));
    ASSERT_TRUE(huge.resize(pagestore::kLargestPageFile + 1));
    harness.dialogs.answerChoice(Dialogs::Choice{1, pages});
    harness.dialogs.answerOpenFolder(folder);
    run("m26", {Button::Ok});
    EXPECT_EQ(harness.dialogs.shown().last(), ScriptedDialogs::shownBox(messages::exportPartial(QStringLiteral("2026-11-20"))));

    // A short job passes without a box; a long one shows its bar and can be stopped.
    QWidget window;
    ProgressBox box(&window, QStringLiteral("Exporting..."));
    EXPECT_TRUE(box.update(1, ProgressBox::kShownAbove) && !window.findChild<QProgressDialog *>());
    EXPECT_TRUE(box.update(1, ProgressBox::kShownAbove + 1));
    auto *dialog = window.findChild<QProgressDialog *>();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(dialog->value(), 1);
    dialog->cancel();
    EXPECT_FALSE(box.update(2, ProgressBox::kShownAbove + 1));

    // A day typed in a form Export does not read greys out OK and names the forms it takes.
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    QList<std::pair<bool, bool>> states;
    QString told;
    whenModalShown([&](QDialog &dialog) {
        const auto days = dialog.findChildren<DayField *>();
        auto *forms = dialog.findChild<QLabel *>(QStringLiteral("dayForms"));
        ASSERT_TRUE(days.size() == 2 && forms);
        const auto state = [&] { return std::pair(dialog.findChild<QDialogButtonBox *>()->button(QDialogButtonBox::Ok)->isEnabled(), forms->isVisible()); };
        states << state();
        days[0]->setText(QStringLiteral("11/12/2026"));
        states << state();
        told = forms->text();
        days[0]->setText(QStringLiteral("11.12.2026"));
        states << state();
    });
    runChoiceDialog(nullptr, QStringLiteral("Export"), QStringLiteral("Format:"), {QStringLiteral("PDF")}, {0, Dialogs::DayRange{QDate(2026, 11, 20), QDate(2026, 12, 4)}});
    QLocale::setDefault(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(states, (QList<std::pair<bool, bool>>{{true, false}, {false, true}, {true, false}}));
    EXPECT_EQ(told, QStringLiteral("Type each day as 20.11.2026, 2026-11-20 or 20 November 2026."));
}
