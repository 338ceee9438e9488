#include "filleddiary.h"

#include "diary/daykeys.h"
#include "diary/history.h"
#include "diary/pagestore.h"
#include "editor/richtextedit.h"
#include "print/printjob.h"
#include "session/daybook.h"
#include "session/sessiondrafts.h"

#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
#include <QTemporaryDir>

#include <functional>
#include <map>

#include <sys/stat.h>

namespace {

using Button = Dialogs::Button;

struct Entry
{
    ino_t inode = 0;
    mode_t mode = 0;
};

// Every file and folder below the folders; a replaced file has a new inode.
std::map<QString, Entry> entriesUnder(const QStringList &folders)
{
    std::map<QString, Entry> found;
    for (const QString &folder : folders) {
        QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            struct stat info {};
            if (::lstat(QFile::encodeName(path).constData(), &info) == 0)
                found[path] = {info.st_ino, info.st_mode};
        }
    }
    return found;
}

// What was made or replaced since `before`, each with its mode.
QStringList madeSince(const std::map<QString, Entry> &before, const std::map<QString, Entry> &now)
{
    QStringList made;
    for (const auto &[path, entry] : now) {
        if (const auto old = before.find(path); old == before.end() || old->second.inode != entry.inode)
            made.append(QStringLiteral("%1 %2").arg(path).arg(entry.mode & 07777, 4, 8, QLatin1Char('0')));
    }
    return made;
}

QStringList notPrivate(const QStringList &made, const std::map<QString, Entry> &now)
{
    QStringList open;
    for (const QString &line : made) {
        const mode_t mode = now.at(line.section(u' ', 0, -2)).mode;
        if ((mode & 07777) != (S_ISDIR(mode) ? 0700 : 0600))
            open.append(line);
    }
    return open;
}

void runTool(const QStringList &arguments, const QByteArray &password = {})
{
    QProcess process;
    const QStringList passwordFd{QStringLiteral("--password-fd"), QStringLiteral("0")};
    process.start(QStringLiteral(QUILLNEST_TOOL), password.isEmpty() ? arguments : arguments + passwordFd);
    process.write(password.isEmpty() ? QByteArray() : password + '\n');
    process.closeWriteChannel();
    ASSERT_TRUE(process.waitForFinished(120000));
    EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
}

struct Writer
{
    const char *name;
    std::function<void()> run;
};

// The umask each test runs under, put back afterwards.
class PrivateFilesTest : public FilledDiary, public ::testing::WithParamInterface<mode_t>
{
protected:
    void SetUp() override
    {
        m_umask = ::umask(GetParam());
        FilledDiary::SetUp();
        // Written as another program would, with the umask's mode.
        harness.data.writeFile(QStringLiteral("pages/2026-12-03.dat"), *pagestore::encodePage(page(QStringLiteral("Older page"))));
        const QByteArray png = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAADUlEQVR4nGP4zwAE/wEHAAH/4iOeWQAAAABJRU5ErkJggg==");
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 11, 21),
                                    "{\\rtf1 Ice{\\pict\\pngblip\\picw2\\pich1 " + png.toHex() + "}\\par}"));
    }
    void TearDown() override { ::umask(m_umask); }

    void saveTyped(QDate day, const QString &text)
    {
        choose(day);
        type(text);
        save(day);
    }
    // A page that is there already is overwritten when asked.
    void save(QDate day)
    {
        if (QFileInfo::exists(harness.data.root().pagePath(daykeys::dayKey(day))))
            harness.dialogs.answerMessage(Button::Yes);
        form().session().book().SavePage();
    }
    QString outPath(const QString &name) const { return out.filePath(name); }

    mode_t m_umask = 0;
    QTemporaryDir out;
};

} // namespace

TEST_P(PrivateFilesTest, EveryFileAndFolderMadeForTheDiaryIsItsOwnersAloneWhateverTheUmask)
{
    const QString diary = harness.data.path();
    const QString root = QStringLiteral("--root");
    const QString outOption = QStringLiteral("--out");
    const QString format = QStringLiteral("--format");
    const std::vector<Writer> writers{
        {"the window's lock file", [&] { start(); }},
        {"an older page rewritten, and its earlier version", [&] { saveTyped(QDate(2026, 12, 3), QStringLiteral("again ")); }},
        {"a new page", [&] { saveTyped(QDate(2026, 12, 2), QStringLiteral("Snow")); }},
        {"a yearly note",
         [&] {
             named<RichTextEdit>(form(), "rtxt")->setPlainText(QStringLiteral("Skates sharpened"));
             named<QAction>(form(), "m9")->trigger();
         }},
        {"a draft",
         [&] {
             type(QStringLiteral("more "));
             form().session().drafts().flush();
         }},
        {"a backup from the window",
         [&] {
             harness.dialogs.answerSaveFile(outPath(QStringLiteral("window.zip")));
             harness.dialogs.answerMessage(Button::Ok);
             named<QAction>(form(), "m22")->trigger();
         }},
        {"a page printed to a PDF file",
         [&] {
             QPrinter printer;
             printer.setOutputFormat(QPrinter::PdfFormat);
             printer.setOutputFileName(outPath(QStringLiteral("printed.pdf")));
             EXPECT_FALSE(printing::printDocument(*named<RichTextEdit>(form(), "rtxt2"), printer, QMargins()));
             save(QDate(2026, 12, 2));
             harness.close();
         }},
        {"every page exported as HTML",
         [&] { runTool({QStringLiteral("export"), root, diary, format, QStringLiteral("html"), outOption, outPath(QStringLiteral("html/all"))}); }},
        {"pages exported as Markdown with their pictures",
         [&] { runTool({QStringLiteral("export"), root, diary, format, QStringLiteral("md"), outOption, outPath(QStringLiteral("md"))}); }},
        {"pages exported as PDF",
         [&] { runTool({QStringLiteral("export"), root, diary, format, QStringLiteral("pdf"), outOption, outPath(QStringLiteral("diary.pdf"))}); }},
        {"a backup from the tool",
         [&] { runTool({QStringLiteral("backup"), root, diary, QStringLiteral("--with-history"), outOption, outPath(QStringLiteral("tool.zip"))}); }},
        {"a restored backup",
         [&] { runTool({QStringLiteral("restore"), QStringLiteral("--from"), outPath(QStringLiteral("tool.zip")), root, outPath(QStringLiteral("restored/diary"))}); }},
        {"an earlier version restored",
         [&] {
             const auto versions = history::versions(harness.data.root(), harness.data.root().pagePath(QStringLiteral("2026-12-03")));
             ASSERT_FALSE(versions.isEmpty());
             runTool({QStringLiteral("history"), root, diary, QStringLiteral("--day"), QStringLiteral("2026-12-03"), QStringLiteral("--restore"),
                      versions.last().id});
         }},
        {"the diary encrypted", [&] { runTool({QStringLiteral("encrypt"), root, diary}, "Quiet harbour lantern 47"); }},
    };
    for (const Writer &writer : writers) {
        SCOPED_TRACE(writer.name);
        const auto before = entriesUnder({diary, out.path()});
        writer.run();
        const auto now = entriesUnder({diary, out.path()});
        const QStringList made = madeSince(before, now);
        EXPECT_FALSE(made.isEmpty());
        EXPECT_EQ(notPrivate(made, now).join(u'\n').toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Umasks, PrivateFilesTest, ::testing::Values(mode_t(022), mode_t(077)),
                         [](const auto &info) { return "Umask0" + std::to_string(info.param / 8) + std::to_string(info.param % 8); });
