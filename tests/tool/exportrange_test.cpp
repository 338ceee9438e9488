#include "diary/passwordfile.h"

#include "readers.h"
#include "toolfixture.h"

#include <QRegularExpression>

using readers::names;

namespace {

// What the tool itself said on stderr, without the platform's notes.
QStringList said(const ToolRun &ran)
{
    return ran.err.split(u'\n').filter(QRegularExpression(QStringLiteral("^(quillnest-tool:|Exported )")));
}

class ExportRange : public ToolTest
{
protected:
    void SetUp() override
    {
        for (const QDate day : {QDate(2024, 3, 4), QDate(2024, 3, 5), QDate(2024, 3, 6)})
            page(day, "{\\rtf1 Page of " + daykeys::dayKey(day).toLatin1() + "\\par}");
    }
};

} // namespace

TEST_F(ExportRange, EncryptedDiaryExportsARangeWithItsPasswordWithoutADisplay)
{
    if (const QStringList absent = readers::missing({QStringLiteral("pdftotext")}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"oldpass"));
    ASSERT_EQ(run("encrypt --root {root}", "correct horse").code, 0);
    const ToolRun printed = run("export --root {root} --format pdf --from 2024-03-05 --out {out}/march.pdf", "correct horse");
    ASSERT_EQ(printed.code, 0) << printed.err.toStdString();
    EXPECT_TRUE(said(printed).isEmpty()) << printed.err.toStdString();
    const QString text = readers::pdfSheets(out.filePath(QStringLiteral("march.pdf"))).join(u'\f');
    EXPECT_TRUE(text.contains(QStringLiteral("Page of 2024-03-05")) && text.contains(QStringLiteral("Page of 2024-03-06")));
    EXPECT_FALSE(text.contains(QStringLiteral("2024-03-04"))) << text.toStdString();

    ASSERT_EQ(run("export --root {root} --format md --to 2024-03-05 --out {out}/pages", "correct horse").code, 0);
    EXPECT_EQ(names(out.filePath(QStringLiteral("pages"))), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-05.md")}));
    EXPECT_TRUE(written(QStringLiteral("pages/2024-03-05.md")).endsWith("\n\nPage of 2024-03-05\n"));
    ASSERT_EQ(run("export --root {root} --format md --one-file --out {out}/whole", "correct horse").code, 0);
    EXPECT_EQ(QString::fromUtf8(written(QStringLiteral("whole/diary.md"))).count(QStringLiteral("\nPage of 2024-03-0")), 3);
}

TEST_F(ExportRange, MoreThanThreeHundredPagesReportProgressAtEveryTenth)
{
    const QDate first(2000, 1, 1);
    for (int day = 0; day < 298; ++day)
        page(first.addDays(day), "{\\rtf1 a day}");
    const ToolRun many = run("export --root {root} --format md --out {out}");
    ASSERT_EQ(many.code, 0) << many.err.toStdString();
    QStringList expected;
    for (const int done : {31, 61, 91, 121, 151, 181, 211, 241, 271, 301})
        expected.append(QStringLiteral("Exported %1 of 301 pages").arg(done));
    EXPECT_EQ(said(many), expected);
    ASSERT_TRUE(pagestore::remove(data.root(), first));
    const ToolRun fewer = run("export --root {root} --format md --out {out}");
    EXPECT_EQ(fewer.code, 0);
    EXPECT_TRUE(said(fewer).isEmpty()) << fewer.err.toStdString();
}

TEST_F(ExportRange, WrongArgumentsAndEmptyRangesAreRefused)
{
    play({{"export --root {root} --out {out}/md --format md --from 2024-02-30", 2}, {"export --root {root} --out {out} --from 2024-03-05", 2},
          {"export --root {root} --out {out} --format pdf --one-file", 2}});
    const ToolRun backwards = run("export --root {root} --out {out}/md --format md --from 2024-03-06 --to 2024-03-04");
    EXPECT_EQ(backwards.code, 1);
    EXPECT_EQ(said(backwards), QStringList{QStringLiteral("quillnest-tool: no page between 2024-03-06 and 2024-03-04")});
    EXPECT_EQ(run("export --root {root} --format pdf --out /proc/quillnest.pdf").code, 1);
    EXPECT_TRUE(names(out.path()).isEmpty());
}

// A page too large to be one of ours is left out and named; the rest is exported.
TEST_F(ExportRange, APageThatCannotBeReadIsLeftOutAndNamed)
{
    ASSERT_TRUE(QFile(data.path() + QStringLiteral("/pages/2024-03-05.dat")).resize(pagestore::kLargestPageFile + 1));
    const QString said5 = QStringLiteral("quillnest-tool: the pages of 2024-03-05 could not be read and were left out of %1");
    const ToolRun md = run("export --root {root} --format md --out {out}/pages");
    EXPECT_EQ(md.code, 1);
    EXPECT_EQ(said(md), QStringList{said5.arg(out.filePath(QStringLiteral("pages")))});
    EXPECT_EQ(names(out.filePath(QStringLiteral("pages"))), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-06.md")}));
    const ToolRun printed = run("export --root {root} --format pdf --out {out}/march.pdf");
    EXPECT_EQ(printed.code, 1);
    EXPECT_EQ(said(printed), QStringList{said5.arg(out.filePath(QStringLiteral("march.pdf")))});
    EXPECT_TRUE(QFileInfo(out.filePath(QStringLiteral("march.pdf"))).size() > 0);
}
