#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"

#include "testdataroot.h"

#include <QDir>

#include <gtest/gtest.h>

namespace {

const QDate kDay(2026, 12, 4);

QStringList ids(const QList<history::Version> &versions)
{
    QStringList found;
    for (const history::Version &version : versions)
        found.append(version.id);
    return found;
}

} // namespace

TEST(History, OverwritesAndDeletesKeepThePreviousBytesAndARestoreKeepsWhatItReplaces)
{
    TestDataRoot data;
    const QString page = data.root().pagePath(kDay);
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 first}"));
    EXPECT_TRUE(history::versions(data.root(), page).isEmpty()) << "a new page replaces nothing";
    const QByteArray first = data.readFile(QStringLiteral("pages/2026-12-04.dat"));
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 second}"));
    const QByteArray second = data.readFile(QStringLiteral("pages/2026-12-04.dat"));
    ASSERT_TRUE(pagestore::remove(data.root(), kDay));

    const QList<history::Version> kept = history::versions(data.root(), page);
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(data.readFile(QDir(data.path()).relativeFilePath(kept[0].path)), second);
    EXPECT_EQ(data.readFile(QDir(data.path()).relativeFilePath(kept[1].path)), first);
    EXPECT_EQ(kept[1].size, first.size());
    EXPECT_GE(kept[0].replaced, kept[1].replaced);

    ASSERT_TRUE(history::restore(data.root(), page, kept[1].id));
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2026-12-04.dat")), first);
    ASSERT_TRUE(pagestore::save(data.root(), kDay, "{\\rtf1 third}"));
    EXPECT_EQ(history::versions(data.root(), page).size(), 3);
    EXPECT_FALSE(history::restore(data.root(), page, QStringLiteral("19990101-000000-000")));
    EXPECT_FALSE(history::restore(data.root(), page, QStringLiteral("../../../pw")));

    const QString note = data.root().notePath(QStringLiteral("Dec-4"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Grandma"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Grandma's birthday"));
    ASSERT_TRUE(notestore::remove(data.root(), daykeys::MonthDay{12, 4}));
    const QList<history::Version> notes = history::versions(data.root(), note);
    ASSERT_EQ(notes.size(), 2);
    EXPECT_EQ(data.readFile(QDir(data.path()).relativeFilePath(notes[0].path)), QByteArray("Grandma's birthday\r\n"));
    EXPECT_TRUE(notes[0].path.contains(QStringLiteral("/history/dates/Dec-4@")));
    EXPECT_TRUE(kept[0].path.contains(QStringLiteral("/history/pages/2026-12/2026-12-04@")));
}

// The newest thirty stay whatever their age, and so does anything younger than ninety days.
TEST(History, PruningTakesOnlyOldVersionsBeyondTheNewestThirty)
{
    TestDataRoot data;
    const QString page = data.root().pagePath(kDay);
    const QString folder = history::versionFolder(data.root(), page);
    ASSERT_TRUE(QDir().mkpath(folder));
    const QDateTime now(QDate(2026, 12, 4), QTime(12, 0), Qt::UTC);
    const auto add = [&](const QDateTime &when) {
        data.writeFile(QDir(data.path()).relativeFilePath(folder) + QStringLiteral("/2026-12-04@") + when.toString(u"yyyyMMdd-HHmmss-zzz") +
                           QStringLiteral(".dat"),
                       "old");
    };
    for (int day = 0; day < 35; ++day)
        add(now.addDays(-200 - day));
    history::prune(data.root(), page, now);
    QStringList left = ids(history::versions(data.root(), page));
    ASSERT_EQ(left.size(), 30);
    EXPECT_EQ(left.first(), now.addDays(-200).toString(u"yyyyMMdd-HHmmss-zzz"));
    EXPECT_EQ(left.last(), now.addDays(-229).toString(u"yyyyMMdd-HHmmss-zzz"));

    for (int day = 0; day < 40; ++day)
        add(now.addDays(-89).addSecs(day));
    history::prune(data.root(), page, now);
    left = ids(history::versions(data.root(), page));
    EXPECT_EQ(left.size(), 40);
    EXPECT_EQ(left.last(), now.addDays(-89).toString(u"yyyyMMdd-HHmmss-zzz"));

    data.writeFile(QDir(data.path()).relativeFilePath(folder) + QStringLiteral("/notes of mine.dat"), "mine");
    data.writeFile(QDir(data.path()).relativeFilePath(folder) + QStringLiteral("/2026-12-05@20000101-000000-000.dat"), "another day");
    history::prune(data.root(), page, now.addYears(1));
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/notes of mine.dat"))) << "only our own versions are pruned";
    EXPECT_TRUE(QFile::exists(folder + QStringLiteral("/2026-12-05@20000101-000000-000.dat"))) << "and only the day's";
}
