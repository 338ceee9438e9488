#include "diary/pagestore.h"
#include "diary/passwordfile.h"

#include "readers.h"
#include "testdataroot.h"

#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using readers::bytesOf;
using readers::names;

namespace {

struct ToolRun
{
    int code = -1;
    QString err;

    // What the tool itself said on stderr, without the platform's notes.
    QStringList said() const
    {
        QStringList lines = err.split(u'\n', Qt::SkipEmptyParts);
        lines.removeIf([](const QString &line) {
            return !line.startsWith(QStringLiteral("quillnest-tool:")) && !line.startsWith(QStringLiteral("Exported "));
        });
        return lines;
    }
};

// As on a terminal of a machine without any display.
ToolRun tool(const QStringList &arguments, const QByteArray &password = {})
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    for (const QString &name : {QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("DISPLAY"), QStringLiteral("WAYLAND_DISPLAY")})
        environment.remove(name);
    QProcess process;
    process.setProcessEnvironment(environment);
    const QStringList passwordFd{QStringLiteral("--password-fd"), QStringLiteral("0")};
    process.start(QStringLiteral(QUILLNEST_TOOL), password.isEmpty() ? arguments : arguments + passwordFd);
    process.write(password.isEmpty() ? QByteArray() : password + '\n');
    process.closeWriteChannel();
    process.waitForFinished(120000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1, QString::fromLocal8Bit(process.readAllStandardError())};
}

QString pdfText(const QString &pdf)
{
    return readers::pdfSheets(pdf).join(u'\f');
}

void storeDays(const DataRoot &root)
{
    for (const QDate day : {QDate(2024, 3, 4), QDate(2024, 3, 5), QDate(2024, 3, 6)})
        ASSERT_TRUE(pagestore::save(root, day, "{\\rtf1 Page of " + daykeys::dayKey(day).toLatin1() + "\\par}"));
}

const QString kExport = QStringLiteral("export");
const QString kRoot = QStringLiteral("--root");
const QString kFormat = QStringLiteral("--format");
const QString kOut = QStringLiteral("--out");
const QString kFrom = QStringLiteral("--from");
const QString kTo = QStringLiteral("--to");
const QString kMd = QStringLiteral("md");
const QString kPdf = QStringLiteral("pdf");

} // namespace

TEST(ExportRange, EncryptedDiaryExportsARangeWithItsPasswordWithoutADisplay)
{
    if (const QStringList absent = readers::missing({QStringLiteral("pdftotext")}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    TestDataRoot data;
    storeDays(data.root());
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"oldpass"));
    ASSERT_EQ(tool({QStringLiteral("encrypt"), kRoot, data.path()}, "correct horse").code, 0);
    QTemporaryDir out;
    const QString pdf = out.filePath(QStringLiteral("march.pdf"));
    const QStringList pdfExport{kExport, kRoot, data.path(), kFormat, kPdf, kFrom, QStringLiteral("2024-03-05"), kOut, pdf};

    const ToolRun wrong = tool(pdfExport, "correct horsf");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("wrong password"))) << wrong.err.toStdString();
    EXPECT_TRUE(names(out.path()).isEmpty());

    const ToolRun printed = tool(pdfExport, "correct horse");
    ASSERT_EQ(printed.code, 0) << printed.err.toStdString();
    EXPECT_TRUE(printed.said().isEmpty()) << printed.err.toStdString();
    const QString text = pdfText(pdf);
    EXPECT_TRUE(text.contains(QStringLiteral("Page of 2024-03-05")) && text.contains(QStringLiteral("Page of 2024-03-06")));
    EXPECT_FALSE(text.contains(QStringLiteral("2024-03-04"))) << text.toStdString();

    const QString pages = out.filePath(QStringLiteral("pages"));
    ASSERT_EQ(tool({kExport, kRoot, data.path(), kFormat, kMd, kTo, QStringLiteral("2024-03-05"), kOut, pages}, "correct horse").code, 0);
    EXPECT_EQ(names(pages), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-05.md")}));
    EXPECT_TRUE(bytesOf(pages + QStringLiteral("/2024-03-05.md")).endsWith("\n\nPage of 2024-03-05\n"));
    const QString whole = out.filePath(QStringLiteral("whole"));
    ASSERT_EQ(tool({kExport, kRoot, data.path(), kFormat, kMd, QStringLiteral("--one-file"), kOut, whole}, "correct horse").code, 0);
    EXPECT_EQ(QString::fromUtf8(bytesOf(whole + QStringLiteral("/diary.md"))).count(QStringLiteral("\nPage of 2024-03-0")), 3);
}

TEST(ExportRange, MoreThanThreeHundredPagesReportProgressAtEveryTenth)
{
    TestDataRoot data;
    const QDate first(2000, 1, 1);
    for (int day = 0; day < 301; ++day)
        ASSERT_TRUE(pagestore::save(data.root(), first.addDays(day), "{\\rtf1 a day}"));
    QTemporaryDir out;
    const QStringList md{kExport, kRoot, data.path(), kFormat, kMd, kOut, out.path()};

    const ToolRun many = tool(md);
    ASSERT_EQ(many.code, 0) << many.err.toStdString();
    QStringList expected;
    for (const int done : {31, 61, 91, 121, 151, 181, 211, 241, 271, 301})
        expected.append(QStringLiteral("Exported %1 of 301 pages").arg(done));
    EXPECT_EQ(many.said(), expected);

    ASSERT_TRUE(pagestore::remove(data.root(), first));
    const ToolRun fewer = tool(md);
    EXPECT_EQ(fewer.code, 0);
    EXPECT_TRUE(fewer.said().isEmpty()) << fewer.err.toStdString();
}

TEST(ExportRange, WrongArgumentsAndEmptyRangesAreRefused)
{
    TestDataRoot data;
    storeDays(data.root());
    QTemporaryDir out;
    const QStringList md{kExport, kRoot, data.path(), kOut, out.filePath(kMd), kFormat, kMd};
    EXPECT_EQ(tool(md + QStringList{kFrom, QStringLiteral("2024-02-30")}).code, 2);
    EXPECT_EQ(tool({kExport, kRoot, data.path(), kOut, out.path(), kFrom, QStringLiteral("2024-03-05")}).code, 2)
        << "rtf, txt and html export everything";
    EXPECT_EQ(tool({kExport, kRoot, data.path(), kOut, out.path(), kFormat, kPdf, QStringLiteral("--one-file")}).code, 2);
    const ToolRun backwards = tool(md + QStringList{kFrom, QStringLiteral("2024-03-06"), kTo, QStringLiteral("2024-03-04")});
    EXPECT_EQ(backwards.code, 1);
    EXPECT_EQ(backwards.said(), QStringList{QStringLiteral("quillnest-tool: no page between 2024-03-06 and 2024-03-04")});
    EXPECT_EQ(tool({kExport, kRoot, data.path(), kFormat, kPdf, kOut, QStringLiteral("/proc/quillnest.pdf")}).code, 1);
    EXPECT_TRUE(names(out.path()).isEmpty());
}

// A page too large to be one of ours is left out and named; the rest is exported.
TEST(ExportRange, APageThatCannotBeReadIsLeftOutAndNamed)
{
    TestDataRoot data;
    storeDays(data.root());
    QFile huge(data.path() + QStringLiteral("/pages/2024-03-05.dat"));
    ASSERT_TRUE(huge.resize(pagestore::kLargestPageFile + 1));
    QTemporaryDir out;
    const QString said = QStringLiteral("quillnest-tool: the pages of 2024-03-05 could not be read and were left out of %1");

    const QString pages = out.filePath(QStringLiteral("pages"));
    const ToolRun md = tool({kExport, kRoot, data.path(), kFormat, kMd, kOut, pages});
    EXPECT_EQ(md.code, 1);
    EXPECT_EQ(md.said(), QStringList{said.arg(pages)});
    EXPECT_EQ(names(pages), (QStringList{QStringLiteral("2024-03-04.md"), QStringLiteral("2024-03-06.md")}));

    const QString pdf = out.filePath(QStringLiteral("march.pdf"));
    const ToolRun printed = tool({kExport, kRoot, data.path(), kFormat, kPdf, kOut, pdf});
    EXPECT_EQ(printed.code, 1);
    EXPECT_EQ(printed.said(), QStringList{said.arg(pdf)});
    EXPECT_TRUE(QFileInfo(pdf).size() > 0);
}
