#include "diary/conversion.h"
#include "diary/diarylock.h"
#include "diary/drafts.h"
#include "diary/thiscomputer.h"
#include "diary/passwordfile.h"
#include "sync/copylines.h"
#include "import/diaryimport.h"
#include "import/readers.h"
#include "reminder/remindersettings.h"
#include "vault/vault.h"

#include "fileopens.h"
#include "specialfiles.h"
#include "toolfixture.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>

#include <csignal>
#include <cstring>

#include <poll.h>
#include <pty.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <termios.h>
#include <unistd.h>

using namespace Qt::StringLiterals;

namespace {

const QDate kMar5(2024, 3, 5);
using Tool = ToolTest;
const char *const kPng = "iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAADUlEQVR4nGP4zwAE/wEHAAH/4iOeWQAAAABJRU5ErkJggg==";
const char *const kHarbour = "{\\rtf1 An\\b na\\b0  went to the harbour\\par caf\\'e9, then\\line home}";

// The diary encrypted in place under "correct horse", at the least cost a key slot may ask.
void encryptInPlace(const DataRoot &plain)
{
    SecretBytes master = keyslot::newMasterKey();
    const auto slot = keyslot::make(master, keyslot::passwordBytes(u"correct horse"), kdfPolicy().floor);
    ASSERT_TRUE(slot);
    ASSERT_TRUE(conversion::encrypt(plain, Vault(std::move(master), *slot), keyslot::format(*slot)));
}

// A named row of data/commands.txt: command lines run one after another on the sample diary, each with its
// exit code, then any of out=, err=, file= and shows= as a Step takes them, line ends written \r\n and \n.
// A line without a name is a further step of the row above.
struct Row
{
    std::string name;
    std::vector<QByteArrayList> steps;
};

const char *field(const QByteArrayList &step, const QByteArray &key)
{
    for (const QByteArray &column : step.mid(2)) {
        if (column.startsWith(key + '='))
            return column.constData() + key.size() + 1;
    }
    return nullptr;
}

std::vector<Row> rows()
{
    std::vector<Row> rows;
    for (QString line : QString::fromUtf8(readBytes(QStringLiteral(TOOL_DATA "/commands.txt"))).split(u'\n', Qt::SkipEmptyParts)) {
        QByteArrayList columns = line.replace(QLatin1String("\\r\\n"), QLatin1String("\r\n")).replace(QLatin1String("\\n"), QLatin1String("\n")).toUtf8().split('\t');
        if (!columns[0].isEmpty())
            rows.push_back({columns[0].toStdString(), {}});
        rows.back().steps.push_back(columns.mid(1));
    }
    return rows;
}

// One command line on the sample diary.
class ToolRow : public ToolTest, public ::testing::WithParamInterface<Row>
{
protected:
    void SetUp() override
    {
        page(QDate(2023, 7, 1), "{\\rtf1 the lighthouse again}");
        page(QDate(2023, 7, 2), "{\\rtf1 nothing #Garden}");
        page(QDate(2024, 3, 4), "{\\rtf1 lighthouse}");
        page(kMar5, kHarbour);
        page(QDate(2024, 3, 6), "{\\rtf1{\\fonttbl{\\f0 Arial;}}\\f0 nothing here #garden #trip}");
        page(QDate(2024, 3, 7), "{\\rtf1 \\'c9T\\'c9 was hot}");
        page(QDate(2024, 3, 8), "{\\rtf1 Caf\\'e9 {\\b bold}\\par second{\\pict\\pngblip " + QByteArray::fromBase64(kPng).toHex() + "}\\par}");
        ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, QString::fromUtf8("Tante Käthe\nwird 80")));
        data.writeFile(QStringLiteral("pages/readme.txt"), "not a page");
        // Sparse, so only its stated size is large.
        QFile huge(data.path() + QStringLiteral("/huge.rtf"));
        ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.write("{\\rtf1 ") > 0 && huge.resize(pagestore::kLargestPageFile + 1));
    }
};

TEST_P(ToolRow, GivesItsExitOutputAndFiles)
{
    for (const QByteArrayList &step : GetParam().steps)
        play({{.line = step[0].constData(), .code = step[1].toInt(), .out = field(step, "out"), .err = field(step, "err"), .file = field(step, "file"),
               .shows = field(step, "shows")}});
}

INSTANTIATE_TEST_SUITE_P(Tool, ToolRow, ::testing::ValuesIn(rows()), [](const auto &info) { return std::string(info.param.name); });

} // namespace

// Words with spaces in one argument, and a diary without its pages folder or with a name that is not UTF-8.
TEST_F(Tool, SearchTakesEveryWordAndNamesAFolderItCannotUse)
{
    page(kMar5, kHarbour);
    EXPECT_EQ(run(words("search --root {root} --text") << QString::fromUtf8("café  harbour")).out, QStringLiteral("2024-03-05.dat\n"))
        << "every word of one argument, anywhere";
    ASSERT_TRUE(QDir(data.root().pagesDir()).removeRecursively());
    play({{.line = "search --root {root} x", .code = 1, .holds = "pages"}});

    ASSERT_EQ(::mkdir((QFile::encodeName(out.path()) + "/caf\xe9").constData(), 0700), 0);
    QProcess shell;
    shell.start(QStringLiteral("sh"), {QStringLiteral("-c"), QStringLiteral("exec \"$0\" search --root \"$(printf '%s/caf\\351' \"$1\")\" x"),
                                       QStringLiteral(QUILLNEST_TOOL), out.path()});
    EXPECT_TRUE(shell.waitForFinished(30000) && shell.exitCode() == 1);
    EXPECT_TRUE(QString::fromLocal8Bit(shell.readAllStandardError()).contains(QStringLiteral("is not UTF-8")));
    ASSERT_EQ(::rmdir((QFile::encodeName(out.path()) + "/caf\xe9").constData()), 0);
}

// The timer's command says nothing while the reminder is off; with no notification
// service it says so and fails, leaving the day unreminded for the next try.
TEST_F(Tool, RemindIsQuietUnlessDueAndFailsAloudWithoutANotificationService)
{
    const QByteArray ownConfig = qgetenv("XDG_CONFIG_HOME"), ownBus = qgetenv("DBUS_SESSION_BUS_ADDRESS");
    qputenv("XDG_CONFIG_HOME", QFile::encodeName(out.path()));
    qputenv("DBUS_SESSION_BUS_ADDRESS", "unix:path=" + QFile::encodeName(out.filePath(QStringLiteral("no-bus"))));
    play({{.line = "remind --root {root}", .code = 0, .out = "", .err = ""}});
    reminder::writeChoice(reminder::settingsFile(), true, QTime(0, 0));
    play({{.line = "remind --root {root}", .code = 1, .out = "", .holds = "no notification service answered"},
          {.line = "remind --root {out}", .code = 1, .holds = "no pages folder in {out}"}});
    EXPECT_FALSE(reminder::read(reminder::settingsFile()).lastReminded.isValid());
    for (const auto &[name, own] : {std::pair("XDG_CONFIG_HOME", ownConfig), std::pair("DBUS_SESSION_BUS_ADDRESS", ownBus)})
        own.isNull() ? qunsetenv(name) : qputenv(name, own);
}

// A second tool waits a few seconds for the first, then names it and changes nothing.
TEST_F(Tool, ASecondToolWaitsForTheFirstThenNamesIt)
{
    DiaryLock first(data.root());
    ASSERT_EQ(first.acquire(QStringLiteral("quillnest-tool history")), DiaryLock::State::Held);
    QElapsedTimer waited;
    waited.start();
    const QByteArray holder = QStringLiteral("in use by quillnest-tool history (process %1)").arg(QCoreApplication::applicationPid()).toUtf8();
    play({{.line = "import --root {root} --day 2024-03-05 {in}/in.rtf", .code = 1, .holds = holder.constData()}});
    EXPECT_GE(waited.elapsed(), 5000);
    EXPECT_FALSE(pagestore::exists(data.root(), kMar5));
}

TEST_F(Tool, HistoryListsAPagesVersionsAndRestoresOne)
{
    page(kMar5, "{\\rtf1 Morning\\par walk}");
    const QByteArray morning = data.readFile(QStringLiteral("pages/2024-03-05.dat"));
    page(kMar5, "{\\rtf1 Evening}");
    page(QDate(2024, 3, 6), "{\\rtf1 " + QByteArray(200, 'w') + "}");
    page(QDate(2024, 3, 6), "{\\rtf1 short}");

    const QString listed = run("history --root {root} --day 2024-03-05").out;
    EXPECT_TRUE(listed.endsWith(QStringLiteral("\tMorning\n")) && listed.count(u'\n') == 1) << listed.toStdString();
    const QByteArray restore = "history --root {root} --day 2024-03-05 --restore " + listed.section(u'\t', 0, 0).toUtf8();
    play({{restore.constData()}, {"history --root {root} --day 2024-03-05 --restore nonsense", 1}});
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-05.dat")), morning);
    EXPECT_EQ(run("history --root {root} --day 2024-03-05").out.count(u'\n'), 2) << "the evening page is kept in turn";
    EXPECT_TRUE(run("history --root {root} --day 2024-03-06").out.endsWith(u'\t' + QString(80, u'w') + u'\n'));
}

// Where a diary file or a file to read is a FIFO or a device, each command says so and ends at once,
// instead of blocking or reading without end.
class SpecialFileTool : public ToolTest, public ::testing::WithParamInterface<SpecialFile>
{
};

TEST_P(SpecialFileTool, FifosAndDevicesAreRefusedAtOnce)
{
    page(kMar5, "{\\rtf1 page}");
    ASSERT_TRUE(QDir().mkpath(out.filePath(u"md"_s)));
    for (const QString &path : {data.root().notePath(u"Mar-5"_s), out.filePath(u"in.rtf"_s), out.filePath(u"md/2024-03-06.md"_s)})
        makeSpecialFile(path, GetParam());
    // A folder's listing passes over a FIFO; a link to a device is listed, then refused.
    const bool listed = GetParam() == SpecialFile::LinkToZero;
    play({{"import --root {root} --day 2024-03-06 {out}/in.rtf", 1, nullptr, "quillnest-tool: cannot read {out}/in.rtf: not a regular file\n"},
          {"import-diary --root {root} --from markdown {out}/md", 1, nullptr,
           listed ? "quillnest-tool: 2024-03-06.md: not a regular file\n"
                  : "quillnest-tool: {out}/md holds no Markdown files named by their day (yyyy-mm-dd.md)\n"},
          {"export --root {root} --out {out}/export", 0, nullptr, ""},
          {"backup --root {root} --out {out}/b.zip", listed, nullptr,
           listed ? "quillnest-tool: The backup {out}/b.zip could not be written: dates/Mar-5.dat is not a regular file\n" : ""}});
    EXPECT_FALSE(pagestore::exists(data.root(), QDate(2024, 3, 6)));
}

INSTANTIATE_TEST_SUITE_P(Tool, SpecialFileTool, ::testing::ValuesIn(kSpecialFiles),
                         [](const auto &info) { return std::string(info.param == SpecialFile::Fifo ? "Fifo" : "LinkToZero"); });

// A sync tool's copy that is a FIFO, a link (to a device or to the page itself) or a folder is named by every reader of
// copies and left alone: never opened, followed, merged, set aside or backed up, and nothing waits for it.
TEST_F(Tool, CopiesThatAreNoRegularFileAreNamedAndLeftAlone)
{
    page(kMar5, "{\\rtf1 page}");
    const QString copy = data.root().pagesDir() + QStringLiteral("/2024-03-05.sync-conflict-20240305-10101%1-ABCDEFG.dat");
    makeSpecialFile(copy.arg(0), SpecialFile::Fifo);
    makeSpecialFile(copy.arg(1), SpecialFile::LinkToZero);
    ASSERT_TRUE(QFile::link(data.root().pagePath(kMar5), copy.arg(2)));
    ASSERT_TRUE(QDir().mkdir(copy.arg(3)));
    const auto lines = [](const char *line) {
        QString all;
        for (int i = 0; i < 4; ++i)
            all += QString::fromLatin1(line).arg(i);
        return all.toStdString();
    };
    const std::string named = lines("pages/2024-03-05.sync-conflict-20240305-10101%1-ABCDEFG.dat: named as a copy of pages/2024-03-05.dat, but not a regular file; left alone\n");
    const std::string listed = named + "4 conflict copies\n";
    const std::string backedUp = lines("pages/2024-03-05.sync-conflict-20240305-10101%1-ABCDEFG.dat: not a regular file; left out\n") + "Backup saved\n";
    FileOpens opens({data.root().pagesDir()});
    play({{"conflicts --root {root}", 0, listed.c_str(), ""},
          {"conflicts --root {root} --merge", 0, listed.c_str(), ""},
          {"verify --root {root}", 0, (named + "1 files checked, 0 do not open\n").c_str(), ""},
          {"backup --root {root} --out {out}/b.zip", 0, backedUp.c_str(), ""}});
    EXPECT_TRUE(copylines::mergeAll(data.root(), conflictcopies::find(data.root())).isEmpty());
    const auto state = [&] {
        return std::tuple(QDir(data.root().pagesDir()).entryList(QDir::AllEntries | QDir::System | QDir::NoDotAndDotDot).size(),
                          QFileInfo(copy.arg(2)).isSymLink(), QFileInfo(copy.arg(3)).isDir(), opens.take().keys(), QDir(data.path() + QStringLiteral("/history")).exists());
    };
    EXPECT_EQ(state(), std::tuple(5, true, true, QStringList{QStringLiteral("2024-03-05.dat")}, false));
}

// Where the lock file, an imported day's page or the record of an import stopped part-way is a FIFO, a
// link to a device or a folder, the import neither blocks nor reads without end: a lock that cannot be had
// refuses the diary with its reason, so does a record that cannot be read, and a page that is no file counts as none.
// A record naming a day the import does not have is refused too, and without its record a rerun that adds
// below pages recognises the days it stored: nothing is skipped or added twice.
TEST_F(Tool, ImportDiaryNeitherWaitsOnNorTrustsWhatIsNoRecordOfIt)
{
    ASSERT_TRUE(QDir(out.path()).mkpath(QStringLiteral("md")));
    for (const char *day : {"2024-03-05", "2024-03-06"}) {
        QFile md(out.filePath(QStringLiteral("md/%1.md").arg(QLatin1String(day))));
        ASSERT_TRUE(md.open(QIODevice::WriteOnly) && md.write("Skating\n") == 8);
    }
    const auto read = diaryimport::readDiary(diaryimport::Source::Markdown, out.filePath(QStringLiteral("md")));
    // Stopped after its first day, the import leaves its record behind.
    diaryimport::importEntries(data.root(), read.entries, diaryimport::Existing::Skip, [](int, int) { return false; });
    const QString recordName = QDir(data.path()).entryList({QStringLiteral(".import-*")}, QDir::Hidden | QDir::Files).value(0);
    const QString record = data.path() + u'/' + recordName;
    const QString lock = DiaryLock::lockPath(data.root());
    const QStringList pages{data.root().pagePath(QStringLiteral("2024-03-05")), data.root().pagePath(QStringLiteral("2024-03-06"))};
    const auto remove = [](const QString &path) { QFile::remove(path) || QDir(path).removeRecursively(); };
    const QString refused = u"quillnest-tool: The record "_s + recordName + u" an earlier run of this import left %1; remove it to import again\n"_s;
    const QString imported = u"2024-03-05 new page, 1 entry\n2024-03-06 new page, 1 entry\n2 days: 2 new, 0 added below a page, 0 skipped, 0 failed\n"_s;
    for (const SpecialFile kind : {SpecialFile::Fifo, SpecialFile::LinkToZero, SpecialFile::Folder}) {
        SCOPED_TRACE(nameOf(kind));
        for (const QString &path : {lock, record, pages[1]})
            makeSpecialFile(path, kind);
        remove(pages[0]);
        play({{"import-diary --root {root} --from markdown {out}/md", 1, nullptr,
               "quillnest-tool: This diary cannot be locked ({root}/.quillnest-lock: not a regular file), so it is not opened: "
               "another program could change it at the same time.\n"}});
        remove(lock);
        play({{"import-diary --root {root} --from markdown {out}/md", 1, "", refused.arg(u"cannot be read"_s).toUtf8().constData()}});
        remove(record);
        if (kind == SpecialFile::Folder)
            remove(pages[1]);
        EXPECT_EQ(run("import-diary --root {root} --from markdown {out}/md").out, imported);
    }

    const auto rerun = [&](const QByteArray &recorded) {
        for (const QString &path : {pages[0], pages[1], record})
            remove(path);
        diaryimport::importEntries(data.root(), read.entries, diaryimport::Existing::Skip, [](int, int) { return false; });
        if (recorded.isNull())
            remove(record);
        else
            data.writeFile(recordName, recorded);
        const ToolRun ran = run("import-diary --root {root} --from markdown {out}/md --existing append");
        return std::tuple(ran.code, ran.out.toStdString(), ran.err.toStdString(), pagestore::load(data.root(), QDate(2024, 3, 5)).value_or("").count("Skating"));
    };
    EXPECT_EQ(rerun("2099-12-31 none\r\n"), std::tuple(1, std::string(), refused.arg(u"names 2099-12-31, a day this import does not have"_s).toStdString(), 1));
    EXPECT_EQ(rerun("not a record"), std::tuple(1, std::string(), refused.arg(u"cannot be read"_s).toStdString(), 1));
    EXPECT_EQ(rerun({}), std::tuple(0, std::string("2024-03-06 new page, 1 entry\n1 day: 1 new, 0 added below a page, 0 skipped, 0 failed\n"), std::string(), 1));
}

// A sealed file anywhere in the diary marks it encrypted: no command reads or writes it as a plain one
// after pw.dat is swapped, emptied or removed.
TEST_F(Tool, EveryCommandRefusesAnEncryptedDiaryWithoutItsKeySlot)
{
    const QByteArrayList commands = readBytes(QStringLiteral(TOOL_DATA "/sealed-commands.txt")).trimmed().split('\n');
    const QByteArray sealed = QByteArray("QNS\x01", 4) + QByteArray(60, '\x9c');
    const std::pair<QString, std::optional<QByteArray>> swaps[] = {
        {QStringLiteral("pages/2024-03-05.dat"), passwordfile::noPasswordMarker() + "\r\n"},
        {QStringLiteral("dates/Mar-5.dat"), passwordfile::fileBytes(u"oldpass")},
        {QStringLiteral(".drafts/page@2024-03-05.dat"), QByteArray()},
        {QStringLiteral("history/pages/2024-03/2024-03-05@20240305T101010Z.dat"), std::nullopt},
    };
    for (const auto &[sealedFile, passwordFile] : swaps) {
        SCOPED_TRACE(sealedFile.toStdString());
        ASSERT_TRUE(QDir(data.path()).mkpath(QFileInfo(sealedFile).path()));
        data.writeFile(sealedFile, sealed);
        QFile::remove(data.root().passwordFile());
        if (passwordFile)
            data.writeFile(QStringLiteral("pw.dat"), *passwordFile);
        const QStringList before = data.everyName(QStringLiteral(".")) + data.everyName(QStringLiteral("pages"));
        const QByteArray refused = QStringLiteral("quillnest-tool: This diary is encrypted, but its password file is missing or is not an "
                                                  "encrypted diary's. Nothing has been changed. (%1 is sealed.)\n").arg(sealedFile).toUtf8();
        for (const QByteArray &command : commands)
            play({{.line = command.constData(), .code = 1, .err = refused.constData()}});
        EXPECT_EQ(std::tuple(data.everyName(u"."_s) + data.everyName(u"pages"_s), data.readFile(sealedFile), QDir(out.path()).isEmpty()),
                  std::tuple(before, sealed, true));
        QFile::remove(data.path() + u'/' + sealedFile);
    }
}

// A short or weak password, or the plain diary's own, is refused and changes nothing; the diary is found from
// a relative --root; a damaged copy of the key slot is mended from the other; a backup keeps both copies and,
// when asked, the history, and is restored only into a new folder.
TEST_F(Tool, EncryptRefusesWeakPasswordsSearchExportAndDecryptTakeTheStrongOneAndTheKeySlotSurvivesADamagedCopy)
{
    page(kMar5, "{\\rtf1 morning}");
    page(kMar5, "{\\rtf1 the walrus sang #Sea}");
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, u"Walrus day"));
    data.writeFile(QStringLiteral("pw.dat"), passwordfile::fileBytes(u"walrus lighthouse 91"));
    const QString mar5 = u"pages/2024-03-05.dat"_s;
    const QByteArray plainPage = data.readFile(mar5);
    play({{.line = "encrypt --root {name}", .code = 1, .password = "short"},
          {.line = "encrypt --root {name}", .code = 1, .holds = "dictionary", .password = "password1"},
          {.line = "encrypt --root {name}", .code = 1, .holds = "plain diary's password", .password = "walrus lighthouse 91"}});
    EXPECT_EQ(std::pair(data.readFile(u"pw.dat"_s), data.readFile(mar5)), std::pair(passwordfile::fileBytes(u"walrus lighthouse 91"), plainPage));
    play({{.line = "encrypt --root {name}", .out = "Diary encrypted\n", .holds = "only full-disk encryption protects those", .password = "kH7#vQ2!mZ9@"},
          {.line = "search --root {root} walrus", .code = 1, .out = "", .holds = "wrong password", .password = "kH7#vQ2!mZ9A"},
          {.line = "export --root {root} --out {out}/export", .out = "{\\rtf1 the walrus sang #Sea}\r\n", .password = "kH7#vQ2!mZ9@",
           .file = "export/pages/2024-03-05.rtf"},
          {.line = "tags --root {root}", .out = "#Sea\t1\n", .password = "kH7#vQ2!mZ9@"},
          {.line = "search --root {root} #sea", .out = "2024-03-05.dat\n", .password = "kH7#vQ2!mZ9@"},
          {.line = "stats --root {root} --json --year 2024", .password = "kH7#vQ2!mZ9@",
           .shows = R"("busiestWeekday":"Tuesday","currentStreak":0,"longestStreak":1,"pages":1,"words":4,"wordsPerMonth":[0,0,4,)"}});
    EXPECT_EQ(std::pair(data.readFile(mar5).contains(plainPage.left(8)), written(u"export/dates/Mar-5.txt"_s)), std::pair(false, QByteArray("Walrus day")));

    const QByteArray whole = data.readFile(QStringLiteral("pw.dat"));
    data.writeFile(QStringLiteral("pw.dat"), QByteArray(whole).replace(4096 + 60, 1, QByteArray(1, char(whole[4096 + 60] ^ 0x01))));
    play({{.line = "search --root {root} walrus", .out = "2024-03-05.dat\n", .holds = "replaced by the other", .password = "kH7#vQ2!mZ9@"},
          {"backup --root {root} --out {out}/diary.zip --with-history", 0, "Backup saved\n"}, {"restore --from {out}/diary.zip --root {out}/restored"},
          {"restore --from {out}/diary.zip --root {out}/restored", 1, nullptr,
           "quillnest-tool: '{out}/restored' is not empty; a backup is only restored into a new folder.\n"}});
    EXPECT_EQ(std::pair(data.readFile(u"pw.dat"_s), written(u"restored/pw.dat"_s)), std::pair(whole, whole)) << "the backup keeps both copies";
    EXPECT_EQ(written(QStringLiteral("restored/pages/2024-03-05.dat")), data.readFile(mar5));
    EXPECT_EQ(QDir(out.filePath(QStringLiteral("restored/history/pages/2024-03"))).count(), 3) << "one version and the folder's two dots";
    // An old password's slot before the current one unwraps a key that opens no page: refused, pw.dat left as it is.
    const auto old = keyslot::make(keyslot::newMasterKey(), keyslot::passwordBytes(u"walrus lighthouse 91"), kdfPolicy().floor);
    const QByteArray planted = keyslot::fileBytes(keyslot::format(old.value())).left(keyslot::kSecondCopyAt) + keyslot::copies(whole).last() + "\r\n";
    data.writeFile(QStringLiteral("pw.dat"), planted);
    play({{.line = "verify --root {root}", .code = 1, .out = "", .holds = "wrong password, or the password file is damaged", .password = "walrus lighthouse 91"}});
    EXPECT_EQ(data.readFile(QStringLiteral("pw.dat")), planted);
    data.writeFile(QStringLiteral("pw.dat"), whole);
    // No password is longer than 4 KiB.
    play({{.line = "search --root {root} walrus", .code = 1, .out = "", .password = QByteArray(5000, 'k').constData()},
          {.line = "decrypt --root {name}", .password = "kH7#vQ2!mZ9@"}, {"search --root {root} walrus", 0, "2024-03-05.dat\n"}});
    EXPECT_EQ(std::pair(data.readFile(mar5), data.readFile(u"pw.dat"_s)), std::pair(plainPage, passwordfile::fileBytes(u"kH7#vQ2!mZ9@")));
}

// A file that does not open is named, the rest still done, and the exit says so.
TEST_F(Tool, VerifySearchExportAndRestoreNameWhatDoesNotOpen)
{
    page(kMar5, "{\\rtf1 the walrus sang}");
    page(QDate(2024, 3, 6), "{\\rtf1 a walrus slept}");
    page(QDate(2024, 3, 6), "{\\rtf1 the walrus slept}");
    ASSERT_TRUE(notestore::save(data.root(), daykeys::MonthDay{3, 5}, u"Walrus day"));
    ASSERT_TRUE(drafts::write(data.root(), drafts::Kind::Page, QStringLiteral("2024-03-07"), "{\\rtf1 walrus draft}"));
    data.writeFile(QStringLiteral("pages/2024-03-05.sync-conflict-20240305-101010-ABCDEFG.dat"), *pagestore::encodePage("{\\rtf1 walrus copy}"));
    data.writeFile(QStringLiteral(".drafts/ffffffff/page@2024-03-08.dat"), *pagestore::encodePage("{\\rtf1 walrus elsewhere}"));
    // On a plain diary too, bytes that are no rich text, and a folder, are no page.
    data.writeFile(QStringLiteral("pages/2024-03-10.dat"), "\x8f\x01walrus");
    ASSERT_TRUE(QDir(data.path()).mkpath(QStringLiteral("pages/2024-03-09.dat")));
    play({{"verify --root {root}", 1, readBytes(QStringLiteral(TOOL_DATA "/verify-plain.txt")).constData()}});
    ASSERT_TRUE(QFile::remove(data.path() + QStringLiteral("/pages/2024-03-10.dat")) && QDir(data.path()).rmdir(QStringLiteral("pages/2024-03-09.dat")));
    encryptInPlace(data.root());
    play({{.line = "verify --root {root}", .out = readBytes(QStringLiteral(TOOL_DATA "/verify-sealed.txt")).constData(), .password = "correct horse"}});
    const QString version = QDir(data.path() + QStringLiteral("/history/pages/2024-03")).entryList(QDir::Files).constFirst();
    for (const QString &damaged : {QStringLiteral("pages/2024-03-06.dat"), QStringLiteral("dates/Mar-5.dat"),
                                   QStringLiteral(".drafts/%1/page@2024-03-07.dat").arg(thiscomputer::id()),
                                   QStringLiteral("history/pages/2024-03/") + version}) {
        QByteArray bytes = data.readFile(damaged);
        bytes.back() = char(bytes.back() ^ 1);
        data.writeFile(damaged, bytes);
    }
    // Names that are no note's are not exported as notes.
    data.writeFile(QStringLiteral("dates/Foo-99.dat"), "x");
    data.writeFile(QStringLiteral("dates/Mar-5.sync-conflict-20240305-101010-ABCDEFG.dat"), "x");
    const QByteArray damaged = QString::fromUtf8(readBytes(QStringLiteral(TOOL_DATA "/verify-damaged.txt"))).arg(version, thiscomputer::id()).toUtf8();
    const char *unopened = "quillnest-tool: cannot open page 2024-03-06.dat; it was not searched\n";
    const QByteArray stored = data.readFile(QStringLiteral("pages/2024-03-06.dat"));
    const QByteArray restore = "history --root {root} --day 2024-03-06 --restore " + version.section(u'@', 1).chopped(4).toUtf8();
    play({{.line = "verify --root {root}", .code = 1, .out = damaged.constData(), .password = "correct horse"},
          {"search --root {root} walrus", 1, "2024-03-05.dat\n", unopened, nullptr, "correct horse"},
          {"search --root {root} --text walrus", 1, "2024-03-05.dat\n", unopened, nullptr, "correct horse"},
          {"export --root {root} --out {out}", 1, "{\\rtf1 the walrus sang}\r\n",
           "quillnest-tool: cannot read page 2024-03-06.dat\nquillnest-tool: cannot read note Mar-5.dat\n", nullptr, "correct horse", "pages/2024-03-05.rtf"},
          {.line = "history --root {root} --day 2024-03-06", .code = 1, .password = "correct horse", .shows = " bytes\t[damaged: does not open]\n"},
          {.line = restore.constData(), .code = 1, .holds = "does not open", .password = "correct horse"}});
    EXPECT_EQ(data.readFile(QStringLiteral("pages/2024-03-06.dat")), stored);
}

// Ended by a signal at its password prompt, the tool gives the terminal its echo back; waiting there
// to encrypt a diary, it would write no core file.
TEST_F(Tool, InterruptedAtThePasswordPromptTheTerminalEchoesAgain)
{
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
        pollfd readable{terminal, POLLIN, 0};
        char byte = 0;
        while (!shown.contains("password: ") && poll(&readable, 1, 30000) > 0 && read(terminal, &byte, 1) > 0)
            shown.append(byte);
        termios mode{};
        ASSERT_TRUE(shown.contains("password: ")) << shown.toStdString();
        ASSERT_EQ(tcgetattr(terminal, &mode), 0);
        EXPECT_FALSE(mode.c_lflag & ECHO) << "the password is typed unseen";
        EXPECT_TRUE(readBytes(QStringLiteral("/proc/%1/limits").arg(child)).simplified().contains("Max core file size 0 0 bytes"))
            << "a diary being encrypted writes no core file";
        kill(child, signal);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal) << "the signal still ends the tool";
        ASSERT_EQ(tcgetattr(terminal, &mode), 0);
        EXPECT_TRUE(mode.c_lflag & ECHO) << strsignal(signal);
        close(terminal);
    }
}
