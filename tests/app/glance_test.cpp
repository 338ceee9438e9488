#include "formharness.h"
#include "cheapkdf.h"

#include "glance/glancewindow.h"
#include "glance/statisticspanel.h"
#include "glance/yeargrid.h"
#include "session/vaultcontrols.h"

#include <QHelpEvent>
#include <QToolTip>

namespace {

// Every shaded day of the grid's year.
QMap<QDate, int> shades(const YearGrid &grid)
{
    QMap<QDate, int> shaded;
    for (QDate day(grid.year(), 1, 1); day.year() == grid.year(); day = day.addDays(1))
        if (grid.shadeOf(day) != 0)
            shaded.insert(day, grid.shadeOf(day));
    return shaded;
}

} // namespace

using Glance = FormTest;

// The quarters of the year's pages shade their days; the keys move the focus and
// say it, Enter and a click open a day as the calendar does, with its question;
// a save shades again; the years step; a tag lists its pages, which open.
// Locked, an encrypted diary's figures, tags and shades leave the window; unlocked, they come back.
TEST_F(Glance, CellsShadeByQuartersKeysAndClicksOpenDaysYearsStepTagsListTheirPagesAndTheLockEmptiesTheWindow)
{
    // Eight days of 1 to 8 words across a month's end, the last tagged, and a
    // tagged page of the year before; the window asked for twice.
    for (int words = 1; words <= 8; ++words) {
        const QStringList text = (words == 8 ? QStringList{"#garden"} : QStringList()) + QStringList(words == 8 ? 7 : words, QStringLiteral("w"));
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 11, 26).addDays(words), diarytexts::page(text.join(u' ').toLatin1().constData())));
    }
    storePage("2025-06-15", "Summer #garden #trip");
    useCheapKeyDerivation();
    harness.startWithoutPassword();
    form().show();
    run("m32");
    run("m32");
    ASSERT_EQ(form().findChildren<GlanceWindow *>().size(), 1);
    GlanceWindow &window = *form().findChild<GlanceWindow *>();
    YearGrid &grid = window.grid();
    const QDate first(2026, 11, 27);
    const QMap<QDate, int> quarters{{first, 1}, {first.addDays(1), 1}, {first.addDays(2), 2}, {first.addDays(3), 2},
                                    {first.addDays(4), 3}, {first.addDays(5), 3}, {first.addDays(6), 4}, {first.addDays(7), 4}};
    EXPECT_EQ(std::tuple(grid.year(), grid.focusedDay(), shades(grid), window.statistics().figures().mid(0, 2)),
              std::tuple(2026, QDate(2026, 12, 4), quarters, QStringList{"8", "9"}));

    // Drawn as told: the fourth shade filled, a day without a page left empty inside its outline.
    const QImage drawn = grid.grab().toImage();
    EXPECT_EQ(std::pair(drawn.pixel(grid.cellRect(QDate(2026, 12, 4)).center()), drawn.pixel(grid.cellRect(QDate(2026, 12, 5)).center())),
              std::pair(yearshades::fillOf(4, grid.palette()).rgb(), grid.palette().color(QPalette::Window).rgb()));
    const QPoint tipped = grid.cellRect(QDate(2026, 12, 4)).center();
    QHelpEvent tip(QEvent::ToolTip, tipped, grid.mapToGlobal(tipped));
    QCoreApplication::sendEvent(&grid, &tip);
    EXPECT_EQ(QToolTip::text(), QStringLiteral("Friday 4 December 2026\n8 words\n#garden w w w w w w w"));

    QTest::keyClick(&grid, Qt::Key_Left);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(grid.accessibleName(), QStringLiteral("Saturday 28 November 2026, 2 words"));
    QTest::keyClick(&grid, Qt::Key_Return);
    EXPECT_EQ(std::pair(form().session().book().selectedDay(), page().text()), std::pair(QDate(2026, 11, 28), QStringLiteral("w w")));
    typeAtEnd(page(), QStringLiteral(" w w w w w w w w w"));
    run("m2", {Button::Yes});
    EXPECT_EQ(std::pair(grid.shadeOf(QDate(2026, 11, 28)), grid.shadeOf(first.addDays(2))), std::pair(4, 1));
    typeAtEnd(page(), QStringLiteral(" w"));
    answer({Button::No});
    QTest::mouseClick(&grid, Qt::LeftButton, {}, grid.cellRect(QDate(2026, 12, 6)).center());
    EXPECT_EQ(std::pair(lastTexts(1), form().session().book().selectedDay()), std::pair(QStringList{diarytexts::kSaveQuestion}, QDate(2026, 12, 6)));

    QTest::keyClick(&grid, Qt::Key_PageUp);
    EXPECT_EQ(std::tuple(grid.year(), grid.focusedDay(), shades(grid), window.statistics().figures()),
              std::tuple(2025, QDate(2025, 12, 6), QMap<QDate, int>{{QDate(2025, 6, 15), 1}},
                         QStringList{"1", "9", "3", "48", "3", "5", "1 day", "8 days", "-", "8 days", "Sunday", "Friday"}));
    named<QPushButton>(window, "next")->click();
    EXPECT_EQ(grid.year(), 2026);

    auto &tags = *named<QListWidget>(window, "tags");
    auto &tagged = *named<QListWidget>(window, "taggedPages");
    EXPECT_EQ(itemTexts(tags), (QStringList{"#garden (2)", "#trip (1)"}));
    tags.setCurrentRow(0);
    EXPECT_EQ(itemTexts(tagged), (QStringList{"2026-12-04.dat", "2025-06-15.dat"}));
    emit tagged.itemActivated(tagged.item(1));
    EXPECT_EQ(std::pair(form().session().book().selectedDay(), page().text()), std::pair(QDate(2025, 6, 15), QStringLiteral("Summer #garden #trip")));
    // A save reads the figures again and keeps the chosen tag.
    run("m2", {Button::Yes});
    EXPECT_EQ(std::pair(tags.currentRow(), tagged.count()), std::pair(0, 2));

    const auto shown = std::pair(shades(grid), tags.count());
    answer({Button::Yes});
    harness.dialogs.answerInput(QStringLiteral("correct horse"));
    harness.dialogs.answerInput(QStringLiteral("correct horse"));
    run("m23", {Button::Ok});
    run("m27");
    ASSERT_TRUE(form().session().vault().isLocked());
    EXPECT_EQ(std::tuple(shades(grid), tags.count(), tagged.count(), window.statistics().figures().join(QString())),
              std::tuple(QMap<QDate, int>(), 0, 0, QString()));
    ASSERT_TRUE(form().session().vault().unlockDiary(QStringLiteral("correct horse")));
    EXPECT_EQ(std::pair(shades(grid), tags.count()), shown);
}
