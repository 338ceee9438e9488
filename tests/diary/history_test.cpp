#include "diary/history.h"

#include "diaryfixture.h"

using History = DiaryTest;

TEST_F(History, OverwritesAndDeletesKeepThePreviousBytesAndARestoreKeepsWhatItReplaces)
{
    const QString pagePath = data.root().pagePath(kDay);
    const auto bytesOf = [&](const history::Version &version) { return data.readFile(QDir(data.path()).relativeFilePath(version.path)); };
    page(kDay, "{\\rtf1 first}");
    EXPECT_TRUE(history::versions(data.root(), pagePath).isEmpty()) << "a new page replaces nothing";
    const QByteArray first = data.readFile(kPage);
    page(kDay, "{\\rtf1 second}");
    const QByteArray second = data.readFile(kPage);
    ASSERT_TRUE(pagestore::remove(data.root(), kDay));
    const QList<history::Version> kept = history::versions(data.root(), pagePath);
    ASSERT_EQ(kept.size(), 2);
    EXPECT_EQ(bytesOf(kept[0]), second);
    EXPECT_EQ(bytesOf(kept[1]), first);
    EXPECT_EQ(kept[1].size, first.size());
    EXPECT_TRUE(kept[0].path.contains(QStringLiteral("/history/pages/2026-12/2026-12-04@")));

    ASSERT_TRUE(history::restore(data.root(), pagePath, kept[1].id));
    EXPECT_EQ(data.readFile(kPage), first);
    page(kDay, "{\\rtf1 third}");
    EXPECT_EQ(history::versions(data.root(), pagePath).size(), 3);
    EXPECT_FALSE(history::restore(data.root(), pagePath, QStringLiteral("../../../pw")));

    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Grandma"));
    ASSERT_TRUE(notestore::remove(data.root(), daykeys::MonthDay{12, 4}));
    const QList<history::Version> notes = history::versions(data.root(), data.root().notePath(QStringLiteral("Dec-4")));
    ASSERT_EQ(notes.size(), 1);
    EXPECT_EQ(bytesOf(notes[0]), QByteArray("Grandma\r\n"));
}

// The newest thirty stay whatever their age, and so does anything younger than ninety days.
TEST_F(History, PruningTakesOnlyOldVersionsBeyondTheNewestThirty)
{
    const QString pagePath = data.root().pagePath(kDay);
    const QString folder = QDir(data.path()).relativeFilePath(history::versionFolder(data.root(), pagePath)) + u'/';
    const QDateTime now(kDay, QTime(12, 0), Qt::UTC);
    const auto id = [&](int daysAgo, int seconds = 0) { return now.addDays(-daysAgo).addSecs(seconds).toString(u"yyyyMMdd-HHmmss-zzz"); };
    const auto add = [&](int daysAgo, int seconds) { data.writeFile(folder + QStringLiteral("2026-12-04@") + id(daysAgo, seconds) + QStringLiteral(".dat"), "old"); };
    ASSERT_TRUE(QDir(data.path()).mkpath(folder));
    for (int day = 0; day < 35; ++day)
        add(200 + day, 0);
    history::prune(data.root(), pagePath, now);
    QList<history::Version> left = history::versions(data.root(), pagePath);
    ASSERT_EQ(left.size(), 30);
    EXPECT_EQ(std::pair(left.first().id, left.last().id), std::pair(id(200), id(229)));

    for (int second = 0; second < 40; ++second)
        add(89, second);
    history::prune(data.root(), pagePath, now);
    left = history::versions(data.root(), pagePath);
    EXPECT_EQ(std::pair(left.size(), left.last().id), std::pair(qsizetype(40), id(89)));

    data.writeFile(folder + QStringLiteral("notes of mine.dat"), "mine");
    data.writeFile(folder + QStringLiteral("2026-12-05@20000101-000000-000.dat"), "another day");
    history::prune(data.root(), pagePath, now.addYears(1));
    EXPECT_EQ(data.readFile(folder + QStringLiteral("notes of mine.dat")), "mine") << "only our own versions are pruned";
    EXPECT_EQ(data.readFile(folder + QStringLiteral("2026-12-05@20000101-000000-000.dat")), "another day") << "and only the day's";
}
