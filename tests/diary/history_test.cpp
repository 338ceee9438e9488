#include "diary/history.h"

#include "diaryfixture.h"

using namespace Qt::StringLiterals;
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
    EXPECT_EQ(std::tuple(bytesOf(kept[0]), bytesOf(kept[1]), kept[1].size, kept[0].path.contains(u"/history/pages/2026-12/2026-12-04@")),
              std::tuple(second, first, first.size(), true));

    ASSERT_TRUE(history::restore(data.root(), pagePath, kept[1].id));
    EXPECT_EQ(data.readFile(kPage), first);
    page(kDay, "{\\rtf1 third}");
    EXPECT_TRUE(history::versions(data.root(), pagePath).size() == 3 && !history::restore(data.root(), pagePath, QStringLiteral("../../../pw")));

    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{12, 4}, u"Grandma"));
    ASSERT_TRUE(notestore::remove(data.root(), daykeys::MonthDay{12, 4}));
    const QList<history::Version> notes = history::versions(data.root(), data.root().notePath(QStringLiteral("Dec-4")));
    EXPECT_EQ(std::pair(notes.size(), bytesOf(notes.value(0))), std::pair(qsizetype(1), QByteArray("Grandma\r\n")));
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
    EXPECT_EQ(std::tuple(left.size(), left.value(0).id, left.value(29).id), std::tuple(qsizetype(30), id(200), id(229)));

    for (int second = 0; second < 40; ++second)
        add(89, second);
    history::prune(data.root(), pagePath, now);
    left = history::versions(data.root(), pagePath);
    EXPECT_EQ(std::pair(left.size(), left.last().id), std::pair(qsizetype(40), id(89)));

    data.writeFile(folder + QStringLiteral("notes of mine.dat"), "mine");
    data.writeFile(folder + QStringLiteral("2026-12-05@20000101-000000-000.dat"), "another day");
    history::prune(data.root(), pagePath, now.addYears(1));
    EXPECT_EQ(std::pair(data.readFile(folder + u"notes of mine.dat"_s), data.readFile(folder + u"2026-12-05@20000101-000000-000.dat"_s)),
              std::pair(QByteArray("mine"), QByteArray("another day"))) << "only our own versions are pruned, and only the day's";
}
