#include "diary/passwordfile.h"

#include "readers.h"
#include "toolfixture.h"

namespace {

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
    play({{.line = "encrypt --root {root}", .password = "correct horse"},
          {.line = "export --root {root} --format pdf --from 2024-03-05 --out {out}/march.pdf", .err = "", .password = "correct horse"},
          {.line = "export --root {root} --format md --to 2024-03-05 --out {out}/pages", .password = "correct horse", .file = "pages/2024-03-05.md",
           .shows = "\n\nPage of 2024-03-05\n"},
          {.line = "export --root {root} --format md --one-file --out {out}/whole", .password = "correct horse"}});
    const QString text = readers::pdfSheets(out.filePath(QStringLiteral("march.pdf"))).join(u'\f');
    EXPECT_TRUE(text.contains(QStringLiteral("Page of 2024-03-05")) && text.contains(QStringLiteral("Page of 2024-03-06")));
    EXPECT_FALSE(text.contains(QStringLiteral("2024-03-04"))) << text.toStdString();
    EXPECT_EQ(readers::names(out.filePath(QStringLiteral("pages"))), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-05.md")}));
    EXPECT_EQ(QString::fromUtf8(written(QStringLiteral("whole/diary.md"))).count(QStringLiteral("\nPage of 2024-03-0")), 3);
}

TEST_F(ExportRange, MoreThanThreeHundredPagesReportProgressAtEveryTenth)
{
    const QDate first(2000, 1, 1);
    for (int day = 0; day < 298; ++day)
        page(first.addDays(day), "{\\rtf1 a day}");
    QByteArray progress;
    for (const int done : {31, 61, 91, 121, 151, 181, 211, 241, 271, 301})
        progress += "Exported " + QByteArray::number(done) + " of 301 pages\n";
    play({{"export --root {root} --format md --out {out}", 0, nullptr, progress.constData()}});
    ASSERT_TRUE(pagestore::remove(data.root(), first));
    play({{"export --root {root} --format md --out {out}", 0, nullptr, ""}});
}

// A page too large to be one of ours is left out and named; the rest is exported.
TEST_F(ExportRange, APageThatCannotBeReadIsLeftOutAndNamed)
{
    ASSERT_TRUE(QFile(data.path() + QStringLiteral("/pages/2024-03-05.dat")).resize(pagestore::kLargestPageFile + 1));
    const char *said = "quillnest-tool: the pages of 2024-03-05 could not be read and were left out of {out}/";
    play({{"export --root {root} --format md --out {out}/pages", 1, nullptr, (said + QByteArray("pages\n")).constData()},
          {"export --root {root} --format pdf --out {out}/march.pdf", 1, nullptr, (said + QByteArray("march.pdf\n")).constData()}});
    EXPECT_EQ(readers::names(out.filePath(QStringLiteral("pages"))), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-06.md")}));
    EXPECT_TRUE(QFileInfo(out.filePath(QStringLiteral("march.pdf"))).size() > 0);
}
