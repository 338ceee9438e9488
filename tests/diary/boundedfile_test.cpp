#include "diary/boundedfile.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "diary/search.h"

#include "specialfiles.h"
#include "testdataroot.h"

#include <QDir>

#include <gtest/gtest.h>

TEST(BoundedFile, ReadsOnlyARegularFileNoLargerThanTheLimit)
{
    TestDataRoot data;
    data.writeFile(QStringLiteral("four"), "1234");
    makeSpecialFile(data.root().pagePath(QStringLiteral("fifo")), SpecialFile::Fifo);
    makeSpecialFile(data.root().pagePath(QStringLiteral("zero")), SpecialFile::LinkToZero);
    const struct
    {
        QString path;
        qint64 limit;
        const char *problem;
    } cases[] = {
        {data.path() + QStringLiteral("/four"), 4, ""},
        {data.path() + QStringLiteral("/four"), 3, "larger than 3 bytes"},
        {data.root().pagePath(QStringLiteral("fifo")), 4, "not a regular file"},
        {data.root().pagePath(QStringLiteral("zero")), 4, "not a regular file"},
        {data.root().pagesDir(), 4, "not a regular file"},
        {data.path() + QStringLiteral("/none"), 4, "No such file or directory"},
    };
    for (const auto &[path, limit, problem] : cases) {
        const boundedfile::Contents read = boundedfile::read(path, limit);
        EXPECT_EQ(read.problem, QLatin1String(problem)) << path.toStdString() << " " << limit;
        EXPECT_EQ(read.bytes, read ? QByteArray("1234") : QByteArray());
        EXPECT_EQ(read.tooLarge, limit == 3);
    }
}

// Each place that reads a diary file gives up at once on a FIFO or a device
// under a diary name, where it used to block or read without end.
TEST(BoundedFile, NoDiaryReadOpensAFifoOrADevice)
{
    for (const SpecialFile kind : kSpecialFiles) {
        SCOPED_TRACE(nameOf(kind));
        TestDataRoot data;
        const DataRoot &root = data.root();
        const QString versions = data.path() + QStringLiteral("/history/dates");
        ASSERT_TRUE(QDir().mkpath(versions));
        for (const QString &path : {root.pagePath(QStringLiteral("2026-12-04")), root.notePath(QStringLiteral("Dec-4")),
                                    root.passwordFile(), versions + QStringLiteral("/Dec-5@20261204-101010-000.dat")})
            makeSpecialFile(path, kind);
        EXPECT_FALSE(pagestore::load(root, QDate(2026, 12, 4)));
        EXPECT_FALSE(notestore::load(root, daykeys::MonthDay{12, 4}));
        EXPECT_TRUE(passwordfile::readStored(root.passwordFile()).isEmpty());
        EXPECT_FALSE(history::restore(root, root.notePath(QStringLiteral("Dec-5")), QStringLiteral("20261204-101010-000")));
        EXPECT_TRUE(searchPages(root.pagesDir(), {QStringLiteral("2026-12-04.dat")}, u"").isEmpty());
    }
}

// A yearly note is a few lines: one larger than a mebibyte is neither read nor written.
TEST(BoundedFile, ANoteHasALimitOfItsOwn)
{
    TestDataRoot data;
    const daykeys::MonthDay key{12, 4};
    const QString largest(notestore::kLargestNoteFile - 2, QLatin1Char('a'));
    ASSERT_TRUE(notestore::save(data.root(), key, largest));
    EXPECT_EQ(notestore::load(data.root(), key)->size(), largest.size());
    EXPECT_FALSE(notestore::save(data.root(), key, largest + QLatin1Char('a')));
    data.writeFile(QStringLiteral("dates/Dec-4.dat"), QByteArray(notestore::kLargestNoteFile + 1, 'a'));
    EXPECT_FALSE(notestore::load(data.root(), key));
}
