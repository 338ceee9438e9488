#include "diary/pagestore.h"

#include "testdataroot.h"

#include <QDir>
#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

namespace {

struct ToolRun
{
    int code = -1;
    QString out;
    QString err;
};

// The password, when given, goes in through the descriptor the tool reads it from.
ToolRun tool(QStringList arguments, const std::optional<QByteArray> &password = std::nullopt)
{
    if (password)
        arguments << QStringLiteral("--password-fd") << QStringLiteral("0");
    QProcess process;
    process.start(QStringLiteral(QUILLNEST_TOOL), arguments);
    if (password)
        process.write(*password + "\n");
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

QString sample(const char *name)
{
    return QStringLiteral(IMPORT_SAMPLES "/") + QLatin1String(name);
}

QStringList importDiary(const TestDataRoot &data, const char *from, const char *sampleName, const QStringList &more = {})
{
    return QStringList{QStringLiteral("import-diary"), QStringLiteral("--root"), data.path(), QStringLiteral("--from"),
                       QLatin1String(from), sample(sampleName)}
           + more;
}

} // namespace

TEST(ImportDiary, PrintsEachDayAndNeverDoublesADayOnASecondRun)
{
    TestDataRoot data;
    const QByteArray mine = "{\\rtf1 mine\\par}";
    ASSERT_TRUE(pagestore::save(data.root(), QStringLiteral("2024-03-19"), mine));

    const ToolRun first = tool(importDiary(data, "markdown", "markdown"));
    EXPECT_EQ(first.code, 0) << first.err.toStdString();
    EXPECT_EQ(first.out, QStringLiteral("2024-03-05 new page, 2 entries\n"
                                        "2024-03-19 skipped: it has a page\n"
                                        "2 days: 1 new, 0 added below a page, 1 skipped, 0 failed\n"));
    const auto imported = pagestore::load(data.root(), QStringLiteral("2024-03-05"));

    const ToolRun again = tool(importDiary(data, "markdown", "markdown"));
    EXPECT_EQ(again.code, 0);
    EXPECT_EQ(again.out, QStringLiteral("2024-03-05 skipped: it has a page\n"
                                        "2024-03-19 skipped: it has a page\n"
                                        "2 days: 0 new, 0 added below a page, 2 skipped, 0 failed\n"));
    EXPECT_EQ(pagestore::load(data.root(), QStringLiteral("2024-03-05")), imported);

    const ToolRun appended = tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("append")}));
    EXPECT_EQ(appended.code, 0);
    EXPECT_EQ(appended.out, QStringLiteral("2024-03-05 added below the page\n"
                                           "2024-03-19 added below the page\n"
                                           "2 days: 0 new, 2 added below a page, 0 skipped, 0 failed\n"));
    const QByteArray below = pagestore::load(data.root(), QStringLiteral("2024-03-19")).value_or(QByteArray());
    EXPECT_LT(below.indexOf("mine"), below.indexOf("winter"));

    QFile::remove(data.root().pagePath(QStringLiteral("2024-03-05")));
    QDir().mkpath(data.root().pagePath(QStringLiteral("2024-03-05")));
    const ToolRun failed = tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("append")}));
    EXPECT_EQ(failed.code, 1);
    EXPECT_TRUE(failed.out.startsWith(QStringLiteral("2024-03-05 failed: "))) << failed.out.toStdString();
    EXPECT_TRUE(failed.out.endsWith(QStringLiteral("2 days: 0 new, 1 added below a page, 0 skipped, 1 failed\n")));
}

TEST(ImportDiary, ARefusedExportOrWrongArgumentsStoreNothing)
{
    TestDataRoot data;
    const ToolRun refused = tool(importDiary(data, "rednotebook", "rednotebook-broken"));
    EXPECT_EQ(refused.code, 1);
    EXPECT_EQ(refused.err, QStringLiteral("quillnest-tool: 2024-04.txt: line 5, column 2: end of sequence flow not found\n"));
    EXPECT_TRUE(refused.out.isEmpty());
    EXPECT_TRUE(data.everyName(QStringLiteral("pages")).isEmpty());

    EXPECT_EQ(tool(importDiary(data, "nowhere", "markdown")).code, 2);
    EXPECT_EQ(tool(importDiary(data, "markdown", "markdown", {QStringLiteral("--existing"), QStringLiteral("replace")})).code, 2);
    EXPECT_EQ(tool({QStringLiteral("import-diary"), QStringLiteral("--root"), data.path(), sample("markdown")}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("import-diary"), QStringLiteral("--from"), QStringLiteral("markdown"), sample("markdown")}).code, 2);
    EXPECT_EQ(tool(importDiary(data, "markdown", "missing")).code, 1);

    EXPECT_TRUE(tool({QStringLiteral("--help")}).out.contains(QStringLiteral("import-diary")));
}

TEST(ImportDiary, AnEncryptedDiaryTakesTheEntriesWithItsPassword)
{
    TestDataRoot data;
    const ToolRun encrypted = tool({QStringLiteral("encrypt"), QStringLiteral("--root"), data.path()}, "correct horse");
    ASSERT_EQ(encrypted.code, 0) << encrypted.err.toStdString();

    const ToolRun wrong = tool(importDiary(data, "rednotebook", "rednotebook"), "correct horsf");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("wrong password")));
    EXPECT_TRUE(data.everyName(QStringLiteral("pages")).isEmpty());

    const ToolRun imported = tool(importDiary(data, "rednotebook", "rednotebook"), "correct horse");
    ASSERT_EQ(imported.code, 0) << imported.err.toStdString();
    EXPECT_FALSE(imported.err.contains(QStringLiteral("QFont"))) << "Qt's readers have nothing to warn about";
    EXPECT_TRUE(imported.out.startsWith(QStringLiteral("2024-02-29 new page, 1 entry\n"))) << imported.out.toStdString();
    EXPECT_TRUE(imported.out.endsWith(QStringLiteral("6 days: 6 new, 0 added below a page, 0 skipped, 0 failed\n")));
    EXPECT_FALSE(pagestore::load(data.root(), QStringLiteral("2024-03-05")).value_or(QByteArray()).contains("harbour"))
        << "the page is sealed, not only scrambled";
    const QStringList search{QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("harbour")};
    EXPECT_EQ(tool(search, "correct horse").out, QStringLiteral("2024-03-05.dat\n"));
}
