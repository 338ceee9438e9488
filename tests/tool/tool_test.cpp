#include "diary/conversion.h"
#include "diary/diarylock.h"
#include "diary/drafts.h"
#include "diary/notestore.h"
#include "diary/pagestore.h"
#include "diary/passwordfile.h"
#include "vault/vault.h"

#include "specialfiles.h"
#include "testdataroot.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <csignal>
#include <cstring>

#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

namespace {

struct ToolRun
{
    int code = -1;
    QString out;
    QString err;
};

ToolRun tool(const QStringList &arguments, const QProcessEnvironment &environment = QProcessEnvironment::systemEnvironment())
{
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(QUILLNEST_TOOL), arguments);
    const bool finished = process.waitForFinished(30000);
    return {finished && process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

} // namespace

TEST(Tool, SearchPrintsMatchingPagesInOrder)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 lighthouse}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2023, 7, 1), "{\\rtf1 the lighthouse again}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2023, 7, 2), "{\\rtf1 nothing}"));
    const ToolRun found = tool({QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("lighthouse")});
    EXPECT_EQ(found.code, 0);
    EXPECT_EQ(found.out, QStringLiteral("2023-07-01.dat\n2024-03-05.dat\n"));

    const ToolRun none = tool({QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("Lighthouse")});
    EXPECT_EQ(none.code, 0);
    EXPECT_TRUE(none.out.isEmpty());
}

TEST(Tool, ExportWritesPagesAndNotes)
{
    TestDataRoot data;
    QTemporaryDir out;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 page}"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, QString::fromUtf8("Tante Käthe\nwird 80")));
    data.writeFile(QStringLiteral("pages/readme.txt"), "not a page");
    const ToolRun run = tool({QStringLiteral("export"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), out.path()});
    ASSERT_EQ(run.code, 0) << run.err.toStdString();
    QFile page(out.filePath(QStringLiteral("pages/2024-03-05.rtf")));
    ASSERT_TRUE(page.open(QIODevice::ReadOnly));
    EXPECT_EQ(page.readAll(), QByteArray("{\\rtf1 page}\r\n"));
    QFile note(out.filePath(QStringLiteral("dates/Mar-5.txt")));
    ASSERT_TRUE(note.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(note.readAll()), QString::fromUtf8("Tante Käthe\nwird 80"));
    EXPECT_FALSE(QFile::exists(out.filePath(QStringLiteral("pages/readme.rtf"))));
}

// Cron, ssh and root shells leave XDG_RUNTIME_DIR unset; stderr still holds the tool's own lines alone.
TEST(Tool, StderrHoldsOnlyTheToolsOwnLinesWithoutARuntimeFolder)
{
    TestDataRoot data;
    QTemporaryDir out;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 page}"));
    QProcessEnvironment bare = QProcessEnvironment::systemEnvironment();
    bare.remove(QStringLiteral("XDG_RUNTIME_DIR"));
    const QStringList exportPdf{QStringLiteral("export"), QStringLiteral("--root"), data.path(), QStringLiteral("--format"), QStringLiteral("pdf")};
    const ToolRun written = tool(exportPdf + QStringList{QStringLiteral("--out"), out.filePath(QStringLiteral("diary.pdf"))}, bare);
    EXPECT_EQ(written.code, 0);
    EXPECT_EQ(written.err, QString());
    EXPECT_EQ(tool(exportPdf, bare).err, QStringLiteral("quillnest-tool: --out PATH is required\n"));
}

TEST(Tool, ExportWritesPlainTextOrHtmlWithPictures)
{
    TestDataRoot data;
    QTemporaryDir out;
    const QByteArray png = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAADUlEQVR4nGP4zwAE/wEHAAH/4iOeWQAAAABJRU5ErkJggg==");
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5),
                                "{\\rtf1 Caf\\'e9 {\\b bold}\\par second{\\pict\\pngblip " + png.toHex() + "}\\par}"));
    const QStringList base{QStringLiteral("export"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), out.path()};

    ASSERT_EQ(tool(base + QStringList{QStringLiteral("--format"), QStringLiteral("txt")}).code, 0);
    QFile text(out.filePath(QStringLiteral("pages/2024-03-05.txt")));
    ASSERT_TRUE(text.open(QIODevice::ReadOnly));
    EXPECT_EQ(QString::fromUtf8(text.readAll()), QString::fromUtf8("Caf\u00e9 bold\nsecond"));

    ASSERT_EQ(tool(base + QStringList{QStringLiteral("--format"), QStringLiteral("html")}).code, 0);
    QFile html(out.filePath(QStringLiteral("pages/2024-03-05.html")));
    ASSERT_TRUE(html.open(QIODevice::ReadOnly));
    const QByteArray page = html.readAll();
    EXPECT_TRUE(page.contains("font-weight:700;\">bold"));
    EXPECT_TRUE(page.contains("src=\"data:image/png;base64," + png.toBase64() + '"'));

    EXPECT_EQ(tool(base + QStringList{QStringLiteral("--format"), QStringLiteral("docx")}).code, 2);
}

TEST(Tool, ImportStoresARichTextFileAndRefusesWhatItShould)
{
    TestDataRoot data;
    data.writeFile(QStringLiteral("in.rtf"), "{\\rtf1 imported}");
    data.writeFile(QStringLiteral("plain.txt"), "just text");
    data.writeFile(QStringLiteral("high.rtf"), QByteArray("{\\rtf1 ") + char(0xFF) + "}");
    const QString in = data.path() + QStringLiteral("/in.rtf");
    const QStringList base{QStringLiteral("import"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), QStringLiteral("2024-03-05")};

    EXPECT_EQ(tool(base + QStringList{in, QStringLiteral("--raw")}).code, 0);
    EXPECT_EQ(pagestore::load(data.root(), QDate(2024, 3, 5)), QByteArray("{\\rtf1 imported}\r\n"));
    const ToolRun again = tool(base + QStringList{in});
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(again.err.count(QLatin1Char('\n')), 1);
    EXPECT_EQ(tool(base + QStringList{in, QStringLiteral("--replace")}).code, 0);
    const QByteArray saved = pagestore::load(data.root(), QDate(2024, 3, 5)).value_or(QByteArray());
    EXPECT_TRUE(saved.startsWith("{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fnil\\fcharset0 Arial;}}"));
    EXPECT_TRUE(saved.contains("\\pard imported\\par\r\n}"));

    const QString high = data.path() + QStringLiteral("/high.rtf");
    EXPECT_EQ(tool(base + QStringList{high, QStringLiteral("--replace"), QStringLiteral("--raw")}).code, 1);
    EXPECT_EQ(tool(base + QStringList{data.path() + QStringLiteral("/plain.txt"), QStringLiteral("--replace")}).code, 1);
    EXPECT_EQ(tool(base + QStringList{data.path() + QStringLiteral("/missing.rtf")}).code, 1);
    // Sparse, so only its stated size is large.
    QFile huge(data.path() + QStringLiteral("/huge.rtf"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write("{\\rtf1 ") > 0 && huge.resize(pagestore::kLargestPageFile + 1));
    const ToolRun tooLarge = tool(base + QStringList{huge.fileName(), QStringLiteral("--replace")});
    EXPECT_EQ(tooLarge.err, QStringLiteral("quillnest-tool: %1 is larger than a page can be (40 MiB)\n").arg(huge.fileName()));
    EXPECT_EQ(pagestore::load(data.root(), QDate(2024, 3, 5)), saved);
    EXPECT_EQ(tool(base + QStringList{high, QStringLiteral("--replace")}).code, 0);
    EXPECT_TRUE(pagestore::load(data.root(), QDate(2024, 3, 5))->contains("\\'ff"));

    const QByteArray imported = *pagestore::load(data.root(), QDate(2024, 3, 5));
    // A second tool waits a few seconds for the first, then names it.
    DiaryLock first(data.root());
    ASSERT_EQ(first.acquire(QStringLiteral("quillnest-tool history")), DiaryLock::State::Held);
    QElapsedTimer waited;
    waited.start();
    const ToolRun refused = tool(base + QStringList{in, QStringLiteral("--replace")});
    EXPECT_GE(waited.elapsed(), 5000);
    EXPECT_EQ(refused.code, 1);
    EXPECT_TRUE(refused.err.contains(QStringLiteral("in use by quillnest-tool history (process %1)").arg(QCoreApplication::applicationPid())))
        << refused.err.toStdString();
    EXPECT_EQ(pagestore::load(data.root(), QDate(2024, 3, 5)), imported);
}

TEST(Tool, HistoryListsAPagesVersionsAndRestoresOne)
{
    TestDataRoot data;
    const QString day = QStringLiteral("2024-03-05");
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 Morning\\par walk}"));
    const QByteArray morning = data.readFile(QStringLiteral("pages/2024-03-05.dat"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 Evening}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 " + QByteArray(200, 'w') + "}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 short}"));
    const QStringList base{QStringLiteral("history"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), day};

    const ToolRun listed = tool(base);
    EXPECT_EQ(listed.code, 0);
    const QStringList lines = listed.out.split(QLatin1Char('\n'), Qt::SkipEmptyParts);
    ASSERT_EQ(lines.size(), 1) << listed.out.toStdString();
    EXPECT_TRUE(lines[0].endsWith(QStringLiteral("\tMorning"))) << lines[0].toStdString();
    const QString id = lines[0].section(QLatin1Char('\t'), 0, 0);

    EXPECT_EQ(tool(base + QStringList{QStringLiteral("--restore"), id}).code, 0);
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), morning);
    EXPECT_TRUE(tool(base).out.startsWith(QStringLiteral("2"))) << "the evening page is kept in turn";
    EXPECT_EQ(tool(base).out.count(QLatin1Char('\n')), 2);
    EXPECT_EQ(tool(base + QStringList{QStringLiteral("--restore"), QStringLiteral("nonsense")}).code, 1);
    EXPECT_EQ(tool({QStringLiteral("history"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), QStringLiteral("March")}).code, 2);
    const QString longLine = tool({QStringLiteral("history"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), QStringLiteral("2024-03-06")}).out;
    EXPECT_TRUE(longLine.endsWith(QLatin1Char('\t') + QString(80, QLatin1Char('w')) + QLatin1Char('\n'))) << longLine.toStdString();

    // With a file where the history folder belongs, nothing replaces a page.
    ASSERT_TRUE(QDir(data.path() + QStringLiteral("/history")).removeRecursively());
    data.writeFile(QStringLiteral("history"), "in the way");
    const QByteArray stored = data.readFile(QStringLiteral("pages/2024-03-05.dat"));
    data.writeFile(QStringLiteral("in.rtf"), "{\\rtf1 imported}");
    const ToolRun unkept = tool({QStringLiteral("import"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), day,
                                 data.path() + QStringLiteral("/in.rtf"), QStringLiteral("--replace"), QStringLiteral("--raw")});
    EXPECT_EQ(unkept.code, 1);
    EXPECT_TRUE(unkept.err.contains(QStringLiteral("earlier version could not be kept"))) << unkept.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), stored);
}

TEST(Tool, BackupAndRestoreMakeTheSameDiaryInANewFolder)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 Morning}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 Evening}"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, u"Birthday"));
    QTemporaryDir out;
    const QString zip = out.filePath(QStringLiteral("diary.zip"));
    const auto restoreInto = [&](const QString &folder) {
        return tool({QStringLiteral("restore"), QStringLiteral("--from"), zip, QStringLiteral("--root"), out.filePath(folder)});
    };

    const ToolRun saved = tool({QStringLiteral("backup"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), zip});
    ASSERT_EQ(saved.code, 0) << saved.err.toStdString();
    EXPECT_EQ(saved.out, QStringLiteral("Backup saved\n"));
    ASSERT_EQ(restoreInto(QStringLiteral("new")).code, 0);
    EXPECT_EQ(pagestore::load(DataRoot(out.filePath(QStringLiteral("new"))), QDate(2024, 3, 5)), QByteArray("{\\rtf1 Evening}\r\n"));
    EXPECT_EQ(notestore::load(DataRoot(out.filePath(QStringLiteral("new"))), daykeys::MonthDay{3, 5}), QByteArray("Birthday"));
    EXPECT_FALSE(QFileInfo::exists(out.filePath(QStringLiteral("new/history"))));
    const ToolRun again = restoreInto(QStringLiteral("new"));
    EXPECT_EQ(again.code, 1);
    EXPECT_EQ(again.err.count(QLatin1Char('\n')), 1);
    EXPECT_TRUE(again.err.contains(QStringLiteral("is not empty"))) << again.err.toStdString();

    ASSERT_EQ(tool({QStringLiteral("backup"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), zip, QStringLiteral("--with-history")}).code, 0);
    ASSERT_EQ(restoreInto(QStringLiteral("whole")).code, 0);
    EXPECT_EQ(QDir(out.filePath(QStringLiteral("whole/history/pages/2024-03"))).entryList(QDir::Files).size(), 1);

    EXPECT_EQ(tool({QStringLiteral("backup"), QStringLiteral("--root"), data.path()}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("restore"), QStringLiteral("--from"), zip}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("restore"), QStringLiteral("--from"), out.filePath(QStringLiteral("none.zip")), QStringLiteral("--root"), out.filePath(QStringLiteral("x"))}).code, 1);
}

TEST(Tool, BadInputGivesOneLineAndANonZeroExit)
{
    TestDataRoot data;
    EXPECT_EQ(tool({}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("frobnicate")}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("search"), QStringLiteral("x")}).code, 2) << "a missing --root is a wrong argument";
    EXPECT_EQ(tool({QStringLiteral("search"), QStringLiteral("--root"), QStringLiteral("/no/such/folder"), QStringLiteral("x")}).code, 1);
    EXPECT_EQ(tool({QStringLiteral("search"), QStringLiteral("--root"), data.path()}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("import"), QStringLiteral("--root"), data.path(), QStringLiteral("--day"), QStringLiteral("2024-02-30"), QStringLiteral("f.rtf")}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("export"), QStringLiteral("--root"), data.path()}).code, 2);
    EXPECT_EQ(tool({QStringLiteral("export"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), QStringLiteral("/proc/no-such")}).code, 1);

    TestDataRoot noPages;
    QDir(noPages.path()).rmdir(QStringLiteral("pages"));
    const ToolRun run = tool({QStringLiteral("search"), QStringLiteral("--root"), noPages.path(), QStringLiteral("x")});
    EXPECT_EQ(run.code, 1);
    EXPECT_TRUE(run.err.contains(QStringLiteral("pages")));

    // A data folder whose name is not UTF-8, as argv carries it.
    QTemporaryDir parent;
    ASSERT_EQ(::mkdir((QFile::encodeName(parent.path()) + "/caf\xe9").constData(), 0700), 0);
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" search --root \"$(printf '%s/caf\\351' \"$1\")\" x"),
                                       QStringLiteral(QUILLNEST_TOOL), parent.path()});
    shell.waitForFinished(30000);
    const QString odd = QString::fromLocal8Bit(shell.readAllStandardError());
    EXPECT_EQ(shell.exitCode(), 1);
    EXPECT_TRUE(odd.contains(QStringLiteral("is not UTF-8"))) << odd.toStdString();
    ASSERT_EQ(::rmdir((QFile::encodeName(parent.path()) + "/caf\xe9").constData()), 0);

    for (const char *command : {"search", "export", "import", "backup", "restore"}) {
        const ToolRun help = tool({QString::fromLatin1(command), QStringLiteral("--help")});
        EXPECT_EQ(help.code, 0);
        EXPECT_TRUE(help.out.contains(QStringLiteral("--root")));
    }
}

namespace {

ToolRun toolWithPassword(const QStringList &arguments, const QByteArray &password, const QString &workingFolder = {})
{
    QProcess process;
    process.setWorkingDirectory(workingFolder);
    process.start(QStringLiteral(QUILLNEST_TOOL), arguments + QStringList{QStringLiteral("--password-fd"), QStringLiteral("0")});
    process.write(password + "\n");
    process.closeWriteChannel();
    process.waitForFinished(60000);
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromLocal8Bit(process.readAllStandardOutput()), QString::fromLocal8Bit(process.readAllStandardError())};
}

QByteArray fileBytes(const QString &path)
{
    QFile file(path);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

TEST(Tool, EncryptedDiaryIsSearchedExportedAndDecryptedWithItsPassword)
{
    TestDataRoot data;
    const QString root = data.path();
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 the walrus sang}"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, u"Walrus day"));
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"oldpass"));
    const QByteArray plainPage = fileBytes(data.root().pagePath(QStringLiteral("2024-03-05")));

    EXPECT_EQ(toolWithPassword({QStringLiteral("encrypt"), QStringLiteral("--root"), root}, "short").code, 1);
    EXPECT_EQ(fileBytes(data.root().pagePath(QStringLiteral("2024-03-05"))), plainPage) << "a refused password changes nothing";

    const ToolRun encrypted = toolWithPassword({QStringLiteral("encrypt"), QStringLiteral("--root"), root}, "correct horse");
    ASSERT_EQ(encrypted.code, 0) << encrypted.err.toStdString();
    EXPECT_EQ(encrypted.out, QStringLiteral("Diary encrypted\n"));
    const QByteArray sealed = fileBytes(data.root().pagePath(QStringLiteral("2024-03-05")));
    EXPECT_NE(sealed, plainPage);
    EXPECT_FALSE(sealed.contains(plainPage.left(8)));

    const QStringList search{QStringLiteral("search"), QStringLiteral("--root"), root, QStringLiteral("walrus")};
    EXPECT_EQ(toolWithPassword(search, "correct horse").out, QStringLiteral("2024-03-05.dat\n"));
    const ToolRun wrong = toolWithPassword(search, "correct horsf");
    EXPECT_EQ(wrong.code, 1);
    EXPECT_TRUE(wrong.err.contains(QStringLiteral("wrong password")));
    EXPECT_TRUE(wrong.out.isEmpty());

    QTemporaryDir out;
    ASSERT_EQ(toolWithPassword({QStringLiteral("export"), QStringLiteral("--root"), root, QStringLiteral("--out"), out.path()},
                               "correct horse").code, 0);
    EXPECT_EQ(fileBytes(out.filePath(QStringLiteral("pages/2024-03-05.rtf"))), QByteArray("{\\rtf1 the walrus sang}\r\n"));
    EXPECT_EQ(fileBytes(out.filePath(QStringLiteral("dates/Mar-5.txt"))), QByteArray("Walrus day"));

    const ToolRun decrypted = toolWithPassword({QStringLiteral("decrypt"), QStringLiteral("--root"), root}, "correct horse");
    ASSERT_EQ(decrypted.code, 0) << decrypted.err.toStdString();
    EXPECT_EQ(fileBytes(data.root().pagePath(QStringLiteral("2024-03-05"))), plainPage);
    EXPECT_EQ(fileBytes(data.root().passwordFile()), passwordfile::fileBytes(u"correct horse"));
    EXPECT_EQ(tool(search).out, QStringLiteral("2024-03-05.dat\n")) << "a plain diary needs no password";
}

// A weak password, or the plain diary's own, is refused; the diary is found
// from a relative --root; a damaged copy of the key slot is mended from the
// other, and a backup keeps both copies.
TEST(Tool, EncryptRefusesWeakPasswordsAndTheKeySlotSurvivesADamagedCopy)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 the walrus sang}"));
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"walrus lighthouse 91"));
    const QString here = QFileInfo(data.path()).absolutePath();
    const QString relative = QFileInfo(data.path()).fileName();
    const QStringList encrypt{QStringLiteral("encrypt"), QStringLiteral("--root"), relative};
    for (const auto &[password, why] : {std::pair{"password1", "dictionary"}, std::pair{"walrus lighthouse 91", "plain diary's password"}}) {
        const ToolRun refused = toolWithPassword(encrypt, password, here);
        EXPECT_EQ(refused.code, 1) << password;
        EXPECT_TRUE(refused.err.contains(QString::fromUtf8(why))) << refused.err.toStdString();
    }
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), passwordfile::fileBytes(u"walrus lighthouse 91"));
    const ToolRun encrypted = toolWithPassword(encrypt, "kH7#vQ2!mZ9@", here);
    ASSERT_EQ(encrypted.code, 0) << encrypted.err.toStdString();
    EXPECT_TRUE(encrypted.err.contains(QStringLiteral("only full-disk encryption protects those")));

    const QByteArray whole = data.readFile(QStringLiteral("pw.dat"));
    QByteArray damaged = whole;
    damaged[4096 + 60] = char(damaged[4096 + 60] ^ 0x01);
    data.writeFile(QStringLiteral("pw.dat"), damaged);
    const QStringList search{QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("walrus")};
    const ToolRun mended = toolWithPassword(search, "kH7#vQ2!mZ9@");
    EXPECT_EQ(mended.out, QStringLiteral("2024-03-05.dat\n"));
    EXPECT_TRUE(mended.err.contains(QStringLiteral("replaced by the other"))) << mended.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), whole);
    data.writeFile(QStringLiteral("pw.dat"), QByteArray(4096, '\0') + whole.mid(4096));
    const ToolRun zeroed = toolWithPassword(search, "kH7#vQ2!mZ9@");
    EXPECT_EQ(zeroed.out, QStringLiteral("2024-03-05.dat\n")) << "a lost first copy is no downgrade: " << zeroed.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), whole);

    QTemporaryDir out;
    const QString zip = out.filePath(QStringLiteral("diary.zip"));
    ASSERT_EQ(tool({QStringLiteral("backup"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), zip}).code, 0);
    const QString restored = out.filePath(QStringLiteral("restored"));
    ASSERT_EQ(tool({QStringLiteral("restore"), QStringLiteral("--from"), zip, QStringLiteral("--root"), restored}).code, 0);
    EXPECT_EQ(fileBytes(restored + QStringLiteral("/pw.dat")), whole) << "the backup keeps both copies";

    const ToolRun endless = toolWithPassword(search, QByteArray(5000, 'k'));
    EXPECT_EQ(endless.code, 1) << "no password is longer than 4 KiB";
    EXPECT_TRUE(endless.out.isEmpty());
    const ToolRun decrypted = toolWithPassword({QStringLiteral("decrypt"), QStringLiteral("--root"), relative}, "kH7#vQ2!mZ9@", here);
    EXPECT_EQ(decrypted.code, 0) << decrypted.err.toStdString();
    EXPECT_EQ(tool(search).out, QStringLiteral("2024-03-05.dat\n"));
}

TEST(Tool, SearchInTheTextIgnoringCaseFindsWhatThePageShows)
{
    TestDataRoot data;
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 An\\b na\\b0  went to the harbour\\par caf\\'e9, then\\line home}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 nothing here}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 7), "{\\rtf1 \\'c9T\\'c9 was hot}"));
    const auto found = [&](QStringList options, const QString &term) {
        return tool(QStringList{QStringLiteral("search"), QStringLiteral("--root"), data.path()} + options + QStringList{term}).out;
    };
    const QString text = QStringLiteral("--text");
    const QString anyCase = QStringLiteral("--ignore-case");

    EXPECT_EQ(found({}, QStringLiteral("Anna")), QString()) << "as shipped the markup is searched, as ever";
    EXPECT_EQ(found({}, QStringLiteral("Arial")), QStringLiteral("2024-03-06.dat\n"));
    EXPECT_EQ(found({text}, QStringLiteral("Anna")), QStringLiteral("2024-03-05.dat\n"));
    EXPECT_EQ(found({text}, QStringLiteral("Arial")), QString()) << "font names are not text";
    EXPECT_EQ(found({text}, QStringLiteral("anna")), QString());
    EXPECT_EQ(found({text, anyCase}, QStringLiteral("anna")), QStringLiteral("2024-03-05.dat\n"));
    EXPECT_EQ(found({text, anyCase}, QString::fromUtf8("été")), QStringLiteral("2024-03-07.dat\n"));
    EXPECT_EQ(found({anyCase}, QStringLiteral("ARIAL")), QStringLiteral("2024-03-06.dat\n"));
    EXPECT_EQ(found({text}, QString::fromUtf8("café  harbour")), QStringLiteral("2024-03-05.dat\n")) << "every word, anywhere";
    EXPECT_EQ(found({text}, QString::fromUtf8("café river")), QString());
    EXPECT_EQ(found({}, QStringLiteral("then home")), QString());
    EXPECT_EQ(found({text}, QStringLiteral("then home")), QStringLiteral("2024-03-05.dat\n")) << "words across a line break";
    EXPECT_EQ(found({text, QStringLiteral("--context")}, QStringLiteral("harbour")),
              QStringLiteral("2024-03-05.dat\n    Anna went to the harbour\n"));
}

// Where a diary file or a file to read is a FIFO or a device, each command
// says so and ends at once, instead of blocking or reading without end.
TEST(Tool, FifosAndDevicesAreRefusedAtOnce)
{
    for (const SpecialFile kind : kSpecialFiles) {
        SCOPED_TRACE(nameOf(kind));
        TestDataRoot data;
        QTemporaryDir out;
        ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 page}"));
        makeSpecialFile(data.root().notePath(QStringLiteral("Mar-5")), kind);
        const QString argument = out.filePath(QStringLiteral("in.rtf"));
        makeSpecialFile(argument, kind);
        ASSERT_TRUE(QDir().mkpath(out.filePath(QStringLiteral("md"))));
        makeSpecialFile(out.filePath(QStringLiteral("md/2024-03-06.md")), kind);
        const QStringList root{QStringLiteral("--root"), data.path()};
        // A folder's listing passes over a FIFO; a link to a device is listed, then refused.
        const bool listed = kind == SpecialFile::LinkToZero;
        const QString zip = out.filePath(QStringLiteral("b.zip"));
        const struct
        {
            QStringList arguments;
            QString err;
        } runs[] = {
            {QStringList{QStringLiteral("import")} + root + QStringList{QStringLiteral("--day"), QStringLiteral("2024-03-06"), argument},
             QStringLiteral("cannot read %1: not a regular file").arg(argument)},
            {QStringList{QStringLiteral("import-diary")} + root + QStringList{QStringLiteral("--from"), QStringLiteral("markdown"), out.filePath(QStringLiteral("md"))},
             listed ? QStringLiteral("2024-03-06.md: not a regular file")
                    : QStringLiteral("%1 holds no Markdown files named by their day (yyyy-mm-dd.md)").arg(out.filePath(QStringLiteral("md")))},
            {QStringList{QStringLiteral("export")} + root + QStringList{QStringLiteral("--out"), out.filePath(QStringLiteral("export"))}, QString()},
            {QStringList{QStringLiteral("backup")} + root + QStringList{QStringLiteral("--out"), zip},
             listed ? QStringLiteral("The backup %1 could not be written: dates/Mar-5.dat is not a regular file").arg(zip) : QString()},
        };
        for (const auto &[arguments, err] : runs) {
            const ToolRun run = tool(arguments);
            EXPECT_EQ(run.code, err.isEmpty() ? 0 : 1) << arguments.constFirst().toStdString();
            EXPECT_EQ(run.err.toStdString(), err.isEmpty() ? std::string() : QStringLiteral("quillnest-tool: %1\n").arg(err).toStdString());
        }
        EXPECT_FALSE(pagestore::exists(data.root(), QDate(2024, 3, 6)));
    }
}

// A NUL in a page's RTF is dropped, never its end: the text after it is
// stored, exported and found, whether the page was stored as the editor
// saves it or as it came (--raw).
TEST(Tool, ANulInAPageDoesNotEndItsText)
{
    TestDataRoot data;
    QTemporaryDir out;
    data.writeFile(QStringLiteral("in.rtf"), QByteArray("{\\rtf1 hello\0world}", 19));
    const QStringList import{QStringLiteral("import"), QStringLiteral("--root"), data.path(), data.path() + QStringLiteral("/in.rtf"), QStringLiteral("--day")};
    ASSERT_EQ(tool(import + QStringList{QStringLiteral("2024-03-05")}).code, 0);
    ASSERT_EQ(tool(import + QStringList{QStringLiteral("2024-03-06"), QStringLiteral("--raw")}).code, 0);
    EXPECT_TRUE(pagestore::load(data.root(), QDate(2024, 3, 5))->contains("helloworld"));
    ASSERT_EQ(tool({QStringLiteral("export"), QStringLiteral("--root"), data.path(), QStringLiteral("--out"), out.path(), QStringLiteral("--format"),
                    QStringLiteral("txt")}).code, 0);
    for (const char *day : {"2024-03-05", "2024-03-06"}) {
        QFile text(out.filePath(QStringLiteral("pages/%1.txt").arg(QLatin1String(day))));
        ASSERT_TRUE(text.open(QIODevice::ReadOnly)) << day;
        EXPECT_TRUE(text.readAll().contains("helloworld")) << day;
    }
    EXPECT_EQ(tool({QStringLiteral("search"), QStringLiteral("--root"), data.path(), QStringLiteral("world")}).out,
              QStringLiteral("2024-03-05.dat\n2024-03-06.dat\n"));
}

// A sealed file anywhere in the diary marks it encrypted: no command reads or
// writes it as a plain one after pw.dat is swapped, emptied or removed.
TEST(Tool, EveryCommandRefusesAnEncryptedDiaryWithoutItsKeySlot)
{
    TestDataRoot data;
    QTemporaryDir out;
    const QString root = data.path();
    data.writeFile(QStringLiteral("in.md"), "# 2024-03-06\nwalrus\n");
    data.writeFile(QStringLiteral("in.rtf"), "{\\rtf1 walrus}");
    const QList<QStringList> commands{
        {QStringLiteral("search"), QStringLiteral("walrus")},
        {QStringLiteral("export"), QStringLiteral("--out"), out.filePath(QStringLiteral("export"))},
        {QStringLiteral("export"), QStringLiteral("--format"), QStringLiteral("md"), QStringLiteral("--out"), out.filePath(QStringLiteral("md"))},
        {QStringLiteral("import"), QStringLiteral("--day"), QStringLiteral("2024-03-06"), root + QStringLiteral("/in.rtf")},
        {QStringLiteral("import-diary"), QStringLiteral("--from"), QStringLiteral("markdown"), root + QStringLiteral("/in.md")},
        {QStringLiteral("history"), QStringLiteral("--day"), QStringLiteral("2024-03-05")},
        {QStringLiteral("history"), QStringLiteral("--day"), QStringLiteral("2024-03-05"), QStringLiteral("--restore"), QStringLiteral("x")},
        {QStringLiteral("backup"), QStringLiteral("--out"), out.filePath(QStringLiteral("diary.zip"))},
        {QStringLiteral("encrypt")},
        {QStringLiteral("decrypt")},
    };
    const QByteArray sealed = QByteArray("QNS\x01", 4) + QByteArray(60, '\x9c');
    const QList<std::pair<QString, std::optional<QByteArray>>> swaps{
        {QStringLiteral("pages/2024-03-05.dat"), passwordfile::noPasswordMarker() + "\r\n"},
        {QStringLiteral("dates/Mar-5.dat"), passwordfile::fileBytes(u"oldpass")},
        {QStringLiteral(".drafts/page@2024-03-05.dat"), QByteArray()},
        {QStringLiteral("history/pages/2024-03/2024-03-05@20240305T101010Z.dat"), std::nullopt},
    };
    for (const auto &[sealedFile, passwordFile] : swaps) {
        ASSERT_TRUE(QDir(root).mkpath(QFileInfo(sealedFile).path()));
        data.writeFile(sealedFile, sealed);
        QFile::remove(data.root().passwordFile());
        if (passwordFile)
            data.writeFile(QStringLiteral("pw.dat"), *passwordFile);
        const QStringList before = data.everyName(QStringLiteral(".")) + data.everyName(QStringLiteral("pages"));
        for (const QStringList &command : commands) {
            const ToolRun run = tool(command + QStringList{QStringLiteral("--root"), root});
            EXPECT_EQ(run.code, 1) << command.join(u' ').toStdString();
            EXPECT_EQ(run.err, QStringLiteral("quillnest-tool: This diary is encrypted, but its password file is missing or is "
                                              "not an encrypted diary's. Nothing has been changed. (%1 is sealed.)\n").arg(sealedFile))
                << command.join(u' ').toStdString() << " " << sealedFile.toStdString();
        }
        EXPECT_EQ(data.everyName(QStringLiteral(".")) + data.everyName(QStringLiteral("pages")), before);
        EXPECT_EQ(data.readFile(sealedFile), sealed);
        EXPECT_TRUE(QDir(out.path()).isEmpty());
        QFile::remove(data.path() + QLatin1Char('/') + sealedFile);
    }
}

namespace {

// The diary encrypted in place under "correct horse", at the least cost a key slot may ask.
void encryptInPlace(const DataRoot &plain)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(u"correct horse"), kdfPolicy().floor);
    ASSERT_TRUE(slot);
    ASSERT_TRUE(conversion::encrypt(plain, Vault(std::move(master), *slot), keyslot::format(*slot)));
}

void flipLastByte(const QString &path)
{
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.seek(file.size() - 1));
    char last = 0;
    ASSERT_TRUE(file.getChar(&last));
    ASSERT_TRUE(file.seek(file.size() - 1));
    ASSERT_TRUE(file.putChar(char(last ^ 1)));
}

} // namespace

// A file that does not open is named, the rest still done, and the exit says so.
TEST(Tool, VerifySearchExportAndRestoreNameWhatDoesNotOpen)
{
    TestDataRoot data;
    const QString root = data.path();
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 5), "{\\rtf1 the walrus sang}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 a walrus slept}"));
    ASSERT_TRUE(pagestore::save(data.root(), QDate(2024, 3, 6), "{\\rtf1 the walrus slept}"));
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, u"Walrus day"));
    ASSERT_TRUE(drafts::write(data.root(), drafts::Kind::Page, QStringLiteral("2024-03-07"), "{\\rtf1 walrus draft}"));
    data.writeFile(QStringLiteral("pages/2024-03-05.sync-conflict-20240305-101010-ABCDEFG.dat"), "copy");
    const QStringList verify{QStringLiteral("verify"), QStringLiteral("--root"), root};
    const ToolRun plain = tool(verify);
    EXPECT_EQ(plain.code, 0) << plain.out.toStdString();
    EXPECT_EQ(plain.out, QStringLiteral("pages/2024-03-05.sync-conflict-20240305-101010-ABCDEFG.dat: its name is not a "
                                        "page's; left alone\n5 files checked, 0 do not open\n"));

    encryptInPlace(data.root());
    EXPECT_TRUE(toolWithPassword(verify, "correct horse").out.endsWith(QStringLiteral("\n5 files checked, 0 do not open\n")));
    const QString version = QDir(root + QStringLiteral("/history/pages/2024-03")).entryList(QDir::Files).constFirst();
    const QString versionId = version.section(u'@', 1).chopped(4);
    for (const QString &damaged : {QStringLiteral("pages/2024-03-06.dat"), QStringLiteral("dates/Mar-5.dat"),
                                   QStringLiteral(".drafts/page@2024-03-07.dat"), QStringLiteral("history/pages/2024-03/") + version})
        flipLastByte(root + QLatin1Char('/') + damaged);

    const ToolRun verified = toolWithPassword(verify, "correct horse");
    EXPECT_EQ(verified.code, 1);
    EXPECT_EQ(verified.out, QStringLiteral("pages/2024-03-05.sync-conflict-20240305-101010-ABCDEFG.dat: its name is not a "
                                           "page's; left alone\npages/2024-03-06.dat: does not open\ndates/Mar-5.dat: does not "
                                           "open\n.drafts/page@2024-03-07.dat: does not open\nhistory/pages/2024-03/%1: does "
                                           "not open\n5 files checked, 4 do not open\n").arg(version));
    for (const QStringList &search : {QStringList{QStringLiteral("walrus")}, QStringList{QStringLiteral("--text"), QStringLiteral("walrus")}}) {
        const ToolRun found = toolWithPassword(QStringList{QStringLiteral("search"), QStringLiteral("--root"), root} + search, "correct horse");
        EXPECT_EQ(found.code, 1);
        EXPECT_EQ(found.out, QStringLiteral("2024-03-05.dat\n"));
        EXPECT_EQ(found.err, QStringLiteral("quillnest-tool: cannot open page 2024-03-06.dat; it was not searched\n"));
    }
    QTemporaryDir out;
    const ToolRun exported = toolWithPassword({QStringLiteral("export"), QStringLiteral("--root"), root, QStringLiteral("--out"), out.path()}, "correct horse");
    EXPECT_EQ(exported.code, 1);
    EXPECT_TRUE(exported.err.contains(QStringLiteral("2024-03-06.dat")) && exported.err.contains(QStringLiteral("Mar-5.dat")))
        << exported.err.toStdString();
    EXPECT_EQ(fileBytes(out.filePath(QStringLiteral("pages/2024-03-05.rtf"))), QByteArray("{\\rtf1 the walrus sang}\r\n"));

    const QByteArray stored = data.readFile(QStringLiteral("pages/2024-03-06.dat"));
    const ToolRun restored = toolWithPassword({QStringLiteral("history"), QStringLiteral("--root"), root, QStringLiteral("--day"),
                                               QStringLiteral("2024-03-06"), QStringLiteral("--restore"), versionId}, "correct horse");
    EXPECT_EQ(restored.code, 1);
    EXPECT_TRUE(restored.err.contains(QStringLiteral("does not open"))) << restored.err.toStdString();
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-06.dat")), stored);
}

// Ended by a signal at its password prompt, the tool gives the terminal its echo back; waiting there
// to encrypt a diary, it would write no core file.
TEST(Tool, InterruptedAtThePasswordPromptTheTerminalEchoesAgain)
{
    TestDataRoot data;
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"oldpass"));
    const QByteArray root = QFile::encodeName(data.path());
    for (const int signal : {SIGINT, SIGTERM}) {
        int terminal = -1;
        const pid_t child = forkpty(&terminal, nullptr, nullptr, nullptr);
        ASSERT_GE(child, 0);
        if (child == 0) {
            execl(QUILLNEST_TOOL, QUILLNEST_TOOL, "encrypt", "--root", root.constData(), static_cast<char *>(nullptr));
            _exit(127);
        }
        QByteArray shown;
        QElapsedTimer waited;
        waited.start();
        pollfd readable{terminal, POLLIN, 0};
        while (!shown.contains("password: ") && waited.elapsed() < 30000) {
            char bytes[256];
            if (poll(&readable, 1, 100) > 0) {
                const ssize_t got = read(terminal, bytes, sizeof bytes);
                if (got <= 0)
                    break;
                shown.append(bytes, got);
            }
        }
        termios mode{};
        ASSERT_TRUE(shown.contains("password: ")) << shown.toStdString();
        ASSERT_EQ(tcgetattr(terminal, &mode), 0);
        EXPECT_FALSE(mode.c_lflag & ECHO) << "the password is typed unseen";
        QFile limits(QStringLiteral("/proc/%1/limits").arg(child));
        ASSERT_TRUE(limits.open(QIODevice::ReadOnly));
        EXPECT_TRUE(limits.readAll().simplified().contains("Max core file size 0 0 bytes")) << "a diary being encrypted writes no core file";
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "the signal still ends the tool";
        ASSERT_EQ(tcgetattr(terminal, &mode), 0);
        EXPECT_TRUE(mode.c_lflag & ECHO) << strsignal(signal);
        close(terminal);
    }
}
