#include "diary/daykeys.h"
#include "diary/history.h"
#include "diary/notestore.h"
#include "diskfull.h"
#include "formharness.h"
#include "print/printjob.h"
#include "richtext/rtflimits.h"
#include "session/sessiondrafts.h"

#include <QDirIterator>
#include <QPrinter>
#include <QProcess>
#include <QStringEncoder>
#include <QTemporaryDir>

#include <algorithm>
#include <functional>
#include <map>

#include <sys/stat.h>

#include <gtest/gtest.h>

using enum Dialogs::Button;

namespace {

// Every file and folder below the folders by its path: its inode, so a
// replaced file shows, its mode and a file's bytes.
using Entries = std::map<QString, std::tuple<ino_t, mode_t, QByteArray>>;

Entries entriesUnder(const QStringList &folders)
{
    Entries found;
    for (const QString &folder : folders) {
        for (QDirIterator it(folder, QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDirIterator::Subdirectories); it.hasNext();) {
            QFile file(it.next());
            struct stat info {};
            if (::lstat(QFile::encodeName(file.fileName()).constData(), &info) == 0)
                found[file.fileName()] = {info.st_ino, info.st_mode, file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray()};
        }
    }
    return found;
}

// A diary with three pages, two yearly notes and a password file, whose
// window starts on 4 December 2026, for tests that inject a fault.
class FilledDiary : public FormTest
{
public:
    void SetUp() override
    {
        for (const auto &[day, text] : {std::pair{"2026-11-20", "November page"}, std::pair{"2026-12-01", "First of December"},
                                        std::pair{"2026-12-04", "Today we went skating"}})
            storePage(day, text);
        ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{12, 4}, u"Anna's birthday"));
        ASSERT_TRUE(notestore::save(harness.data.root(), daykeys::MonthDay{11, 20}, u"Caf\u00e9 \u20ac day"));
    }
    // Stores no password, opens the window and notes every file as it then is.
    void start()
    {
        harness.startWithoutPassword();
        ASSERT_TRUE(form().startedUp());
        m_started = entriesUnder({harness.data.path()});
    }
    // What differs from the start, is gone or is new, by its path under the
    // data folder; empty when every file is as it was.
    QStringList changes() const
    {
        std::vector<Entries::value_type> differ;
        std::ranges::set_symmetric_difference(m_started, entriesUnder({harness.data.path()}), std::back_inserter(differ));
        QStringList changed;
        std::ranges::transform(differ, std::back_inserter(changed), [&](const auto &entry) { return QDir(harness.data.path()).relativeFilePath(entry.first); });
        changed.removeDuplicates();
        return changed;
    }
    // The last box shown, expected to be `box`; a box built without a reason
    // matches whatever reason was shown below its text.
    void expectError(const messages::Box &box) const
    {
        ASSERT_FALSE(harness.dialogs.shown().isEmpty());
        ScriptedDialogs::Shown last = harness.dialogs.shown().last();
        if (!box.text.contains(QLatin1Char('\n')))
            last.text = last.text.section(QLatin1Char('\n'), 0, 0);
        EXPECT_EQ(last, ScriptedDialogs::shownBox(box));
    }
    DayBook &book() const { return harness.form->session().book(); }

private:
    Entries m_started;
};

// A folder of the diary gone, or a plain file in its place.
class BrokenFolderTest : public FilledDiary, public testing::WithParamInterface<std::tuple<const char *, bool>>
{
};

// The umask each test runs under, put back afterwards.
class PrivateFilesTest : public FilledDiary, public ::testing::WithParamInterface<mode_t>
{
protected:
    void SetUp() override
    {
        FilledDiary::SetUp();
        // Written as another program would, with the umask's mode.
        harness.data.writeFile(QStringLiteral("pages/2026-12-03.dat"), *pagestore::encodePage(diarytexts::page("Older page")));
        const QByteArray png = QByteArray::fromBase64("iVBORw0KGgoAAAANSUhEUgAAAAIAAAABCAIAAAB7QOjdAAAADUlEQVR4nGP4zwAE/wEHAAH/4iOeWQAAAABJRU5ErkJggg==");
        ASSERT_TRUE(pagestore::save(harness.data.root(), QDate(2026, 11, 21), "{\\rtf1 Ice{\\pict\\pngblip\\picw2\\pich1 " + png.toHex() + "}\\par}"));
    }
    void TearDown() override { ::umask(m_umask); }

    // Typed into the day's page and saved, over the page there when asked.
    void saveTyped(QDate day, const QString &text)
    {
        choose(day);
        typeAtEnd(page(), text);
        if (QFileInfo::exists(harness.data.root().pagePath(daykeys::dayKey(day))))
            answer({Yes});
        run("m2");
    }
    // The tool at work in the folder of its output, on the diary unless told
    // another --root, reading its input.
    void runTool(QString command, const QByteArray &input = {})
    {
        if (!command.contains(QStringLiteral("--root")))
            command += QStringLiteral(" --root ") + harness.data.path();
        QProcess process;
        process.setWorkingDirectory(m_out.path());
        process.start(QStringLiteral(QUILLNEST_TOOL), command.split(u' '));
        process.write(input);
        process.closeWriteChannel();
        ASSERT_TRUE(process.waitForFinished(120000));
        EXPECT_EQ(process.exitCode(), 0) << process.readAllStandardError().toStdString();
    }

    // Set before SetUp writes the diary's files.
    const mode_t m_umask = ::umask(GetParam());
    QTemporaryDir m_out;
};

} // namespace

// Each write fails part-way, after some of its bytes reached the disk. Then a
// file where the history folder belongs: no page or note is replaced or
// deleted without its earlier version unless the user says to go on.
TEST_F(FilledDiary, AWriteCutOffByAFullDiskOrAChangeWhoseEarlierVersionCannotBeKeptKeepsEveryFileAndSaysSo)
{
    start();
    const QString tooLarge = QStringLiteral(": The file has grown larger than this disk or system allows.");
    const QString longText(20000, QLatin1Char('x'));
    typeAtEnd(page(), QStringLiteral("Long day. "));
    page().insertPlainText(longText);
    note().setPlainText(longText);
    answer({Yes, Ok, Ok});
    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    harness.dialogs.answerInput(QStringLiteral("a new and rather long password"));
    answer({Ok});
    const std::tuple<off_t, const char *, messages::Box> writes[]{
        {4096, "m2", messages::pageNotSaved(harness.data.root().pagePath(QStringLiteral("2026-12-04")) + tooLarge)},
        {4096, "m9", messages::noteNotSaved(harness.data.root().notePath(QStringLiteral("Dec-4")) + tooLarge)},
        {8, "m18", messages::passwordNotSaved()},
    };
    for (const auto &[roomLeft, command, box] : writes) {
        const DiskFull full(roomLeft);
        run(command);
        expectError(box);
    }
    EXPECT_EQ(std::tuple(book().filechanged(), page().text().contains(QStringLiteral("Long day. xxx")), note().text()), std::tuple(1, true, longText));
    EXPECT_EQ(changes(), QStringList());

    harness.data.writeFile(QStringLiteral("history"), "in the way");
    // Each change is confirmed, then refused when its box comes.
    answer({Yes, No, Yes, No, No, Ok, No});
    const std::pair<const char *, messages::Box> refused[]{
        {"m2", messages::pageVersionNotKept()},
        {"m4", messages::pageDeletionNotKept()},
        {"m9", messages::noteVersionNotKept()},
        {"m10", messages::noteDeletionNotKept()},
    };
    for (const auto &[command, box] : refused) {
        run(command);
        expectError(box);
    }
    EXPECT_EQ(std::pair(book().filechanged(), changes()), std::pair(1, QStringList{QStringLiteral("history")}));
    answer({Yes, Yes});
    run("m2");
    EXPECT_EQ(std::pair(book().filechanged(), changes()), std::pair(0, QStringLiteral("history pages/2026-12-04.dat").split(u' ')));
}

// The diary opens without the folder, shows what the other folder holds, and
// refuses to save into it, keeping every file as it was.
TEST_P(BrokenFolderTest, AFolderMissingOrAFileRefusesSavesAndKeepsEverything)
{
    const auto [folder, plainFile] = GetParam();
    ASSERT_TRUE(QDir(harness.data.path() + QLatin1Char('/') + QLatin1String(folder)).removeRecursively());
    if (plainFile)
        harness.data.writeFile(QLatin1String(folder), "not a folder\r\n");
    start();
    answer({Ok});
    const bool pages = QLatin1String(folder) == QLatin1String("pages");
    // The number of pages, the page and the note shown.
    EXPECT_EQ(std::tuple(named<QLabel>(form(), "text3")->text(), page().text(), note().text()),
              pages ? std::tuple(QStringLiteral("0"), QString(), QStringLiteral("Anna's birthday"))
                    : std::tuple(QStringLiteral("3"), QStringLiteral("Today we went skating"), QString()));
    typeAtEnd(pages ? page() : note(), QStringLiteral("Written into the void"));
    run(pages ? "m2" : "m9");
    expectError(pages ? messages::pageNotSaved() : messages::noteNotSaved());
    EXPECT_EQ(changes(), QStringList());
}

INSTANTIATE_TEST_SUITE_P(Folders, BrokenFolderTest, testing::Combine(testing::Values("pages", "dates"), testing::Bool()),
                         [](const auto &info) { return std::get<0>(info.param) + std::string(std::get<1>(info.param) ? "AFile" : "Missing"); });

// What other programs did to the diary: notes in UTF-16 read as written by
// their byte-order mark (UTF-8 is the note store's own test); more text
// than the window can lay out quickly is refused when opened and when saved; a
// page deleted after the window listed it is named in the error, and the
// window walks on to the page before it. No other stored file changes.
TEST_F(FilledDiary, WhatOtherProgramsWroteOrDeletedIsReadAsWrittenOrRefusedByName)
{
    const QString written = QStringLiteral("Anna\u2019s day \u2014 caf\u00e9, \u03b1\u03b2\u03b3 and \u6f22\u5b57");
    for (const auto &[day, encoding] : {std::pair{1, QStringConverter::Utf16LE}, std::pair{2, QStringConverter::Utf16BE}})
        harness.data.writeFile(QStringLiteral("dates/Dec-%1.dat").arg(day),
                               QByteArray(QStringEncoder(encoding, QStringConverter::Flag::WriteBom).encode(written + QStringLiteral("\r\n"))));
    // Lines of a page's width: one paragraph that long would take the layout minutes.
    const QByteArray lines = QByteArray(63, 'w').append('\n').repeated(richtext::limits::kPageCharacters / 64);
    harness.data.writeFile(QStringLiteral("pages/2026-12-07.dat"), *pagestore::encodePage("{\\rtf1\\ansi " + QByteArray(lines).replace('\n', "\\par ") + "x}"));
    QFile huge(harness.data.root().pagesDir() + QStringLiteral("/2020-01-01.dat"));
    ASSERT_TRUE(huge.open(QIODevice::WriteOnly) && huge.resize(pagestore::kLargestPageFile + 1));
    start();
    for (const int marked : {1, 2}) {
        choose(QDate(2026, 12, marked));
        EXPECT_EQ(note().text(), written) << marked;
    }

    answer({Ok, Ok, Ok});
    book().lastPage();
    expectError(messages::pageNotOpened(harness.data.root().pagesDir()
                                        + QStringLiteral("/2026-12-07.dat: It holds more text than a page can hold (4194304 characters).")));
    EXPECT_TRUE(page().text().isEmpty());
    ASSERT_TRUE(QFile::remove(harness.data.root().pagesDir() + QStringLiteral("/2026-12-01.dat")));
    book().previousPage();
    book().previousPage();
    expectError(messages::pageNotOpened(harness.data.root().pagesDir() + QStringLiteral("/2026-12-01.dat: The file or its folder does not exist.")));
    // No page shown, no day named and nothing to save.
    EXPECT_EQ(std::tuple(page().text(), named<QLabel>(form(), "Label3")->text(), book().filechanged()), std::tuple(QString(), QString(), 0));
    book().previousPage();
    EXPECT_EQ(page().text(), QStringLiteral("November page"));
    answer({Ok});
    choose(QDate(2020, 1, 1));
    expectError(messages::pageNotOpened(huge.fileName() + QStringLiteral(": The file is damaged, too large or not a diary file.")));

    choose(QDate(2026, 12, 9));
    page().insertPlainText(QString::fromLatin1(lines) + u'x');
    book().SavePage();
    expectError(messages::pageTooLarge(QStringLiteral("The page holds more text than a page can hold (4194304 characters).")));
    EXPECT_EQ(changes(), QStringList{QStringLiteral("pages/2026-12-01.dat")});
}

TEST_P(PrivateFilesTest, EveryFileAndFolderMadeForTheDiaryIsItsOwnersAloneWhateverTheUmask)
{
    const std::pair<const char *, std::function<void()>> writers[]{
        {"the window's lock file", [&] { start(); }},
        {"an older page rewritten, and its earlier version", [&] { saveTyped(QDate(2026, 12, 3), QStringLiteral("again ")); }},
        {"a new page", [&] { saveTyped(QDate(2026, 12, 2), QStringLiteral("Snow")); }},
        {"a yearly note", [&] { note().setPlainText(QStringLiteral("Skates sharpened")); run("m9"); }},
        {"a draft", [&] { typeAtEnd(page(), QStringLiteral("more ")); form().session().drafts().flush(); }},
        {"a backup from the window",
         [&] {
             harness.dialogs.answerSaveFile(m_out.filePath(QStringLiteral("window.zip")));
             answer({Ok});
             run("m22");
         }},
        {"a page printed to a PDF file",
         [&] {
             saveTyped(QDate(2026, 12, 2), QStringLiteral("printed"));
             QPrinter printer;
             printer.setOutputFileName(m_out.filePath(QStringLiteral("printed.pdf")));
             EXPECT_FALSE(printing::printDocument(page(), printer, QMargins()));
             harness.close();
         }},
        {"every page exported as HTML", [&] { runTool(QStringLiteral("export --format html --out html/all")); }},
        {"pages exported as Markdown with their pictures", [&] { runTool(QStringLiteral("export --format md --out md")); }},
        {"pages exported as PDF", [&] { runTool(QStringLiteral("export --format pdf --out diary.pdf")); }},
        {"a backup from the tool", [&] { runTool(QStringLiteral("backup --with-history --out tool.zip")); }},
        {"a restored backup", [&] { runTool(QStringLiteral("restore --from tool.zip --root restored/diary")); }},
        {"an earlier version restored",
         [&] {
             // With no version, the tool is told none and fails.
             const QString older = harness.data.root().pagePath(QStringLiteral("2026-12-03"));
             runTool(QStringLiteral("history --day 2026-12-03 --restore ") + history::versions(harness.data.root(), older).value(0).id);
         }},
        {"the diary encrypted", [&] { runTool(QStringLiteral("encrypt --password-fd 0"), "Quiet harbour lantern 47\n"); }},
    };
    for (const auto &[name, write] : writers) {
        SCOPED_TRACE(name);
        const Entries before = entriesUnder({harness.data.path(), m_out.path()});
        write();
        QStringList made, open;
        for (const auto &[path, entry] : entriesUnder({harness.data.path(), m_out.path()})) {
            const auto &[inode, mode, bytes] = entry;
            if (const auto old = before.find(path); old == before.end() || std::get<0>(old->second) != inode)
                made.append(path);
            if (made.endsWith(path) && (mode & 07777) != (S_ISDIR(mode) ? 0700 : 0600))
                open.append(QStringLiteral("%1 %2").arg(path).arg(mode & 07777, 4, 8, QLatin1Char('0')));
        }
        EXPECT_FALSE(made.isEmpty());
        EXPECT_EQ(open.join(u'\n').toStdString(), "");
    }
}

INSTANTIATE_TEST_SUITE_P(Umasks, PrivateFilesTest, ::testing::Values(mode_t(022), mode_t(077)),
                         [](const auto &info) { return "Umask0" + std::to_string(info.param / 8) + std::to_string(info.param % 8); });
