#include "diary/boundedfile.h"
#include "diary/codepage.h"
#include "diary/filelist.h"
#include "diary/history.h"
#include "diary/keptfile.h"
#include "diary/passwordfile.h"
#include "diary/scramble.h"
#include "diary/search.h"

#include "diaryfixture.h"
#include "diskfull.h"
#include "specialfiles.h"

#include <numeric>
#include <sys/stat.h>

namespace {

using namespace Qt::StringLiterals;
const daykeys::MonthDay kDec4{12, 4};
using PageStore = DiaryTest;
using NoteStore = DiaryTest;
using BoundedFile = DiaryTest;

QByteArray everyByte(int last)
{
    QByteArray every(last + 1, '\0');
    std::iota(every.begin(), every.end(), '\0');
    return every;
}

} // namespace

// The shift is part of every stored file, so the bytes are written out here.
TEST_F(PageStore, LinesAreShiftedByFourteenEndedByCrLfAndGivenBackByLoadAndRemove)
{
    // A line has no length limit; bytes below the shift come from no save and are dropped.
    EXPECT_EQ(std::tuple(ScrambleLine("\xf1"), ScrambleDroppingHigh("o\xf2k\xff"), UnscrambleLine(*ScrambleLine(everyByte(255 - kScrambleOffset))),
                         UnscrambleLine(*ScrambleLine(QByteArray(100000, 'q'))), UnscrambleLine("o\x01p\x0dq")),
              std::tuple(QByteArray("\xff"), QByteArray("}y"), everyByte(255 - kScrambleOffset), QByteArray(100000, 'q'), QByteArray("abc")));
    using L = QList<QByteArrayView>;
    const std::pair<const char *, L> splits[] = {{"", L()}, {"abc", L({"abc"})}, {"abc\r\n", L({"abc"})}, {"abc\r\n\r\n", L({"abc", ""})},
                                                 {"a\rb\r\nc", L({"a", "b", "c"})}, {"a\nb\r", L({"a\nb"})}, {"\r\r", L({"", ""})}};
    for (const auto &[text, lines] : splits)
        EXPECT_EQ(splitLines(text), lines) << text;
    // Each line shifted up by 14 and ended by CR LF; a lone LF stays inside its line. A save replaces the whole page.
    const std::tuple<QByteArray, QByteArray, QByteArray> cases[] = {
        {"{\\rtf1 abc}\r\n", "\x89j\x80\x82t\x3f.opq\x8b\r\n\r\n", "{\\rtf1 abc}\r\n\r\n"},
        {"{\\rtf1 abc}", "\x89j\x80\x82t\x3f.opq\x8b\r\n", "{\\rtf1 abc}\r\n"},
        {"a\nb\r\nc", "o\x18p\r\nq\r\n", "a\nb\r\nc\r\n"},
        {"x\ry", "\x86\r\n\x87\r\n", "x\r\ny\r\n"},
    };
    for (const auto &[rtf, stored, loaded] : cases) {
        page(kDay, rtf);
        EXPECT_EQ(std::pair(data.readFile(kPage), pagestore::load(data.root(), kDay)), std::pair(stored, std::optional(loaded))) << rtf.constData();
    }
    EXPECT_EQ((std::tuple{pagestore::exists(data.root(), kDay), bool(pagestore::remove(data.root(), kDay)), pagestore::exists(data.root(), kDay),
                          pagestore::load(data.root(), kDay).has_value(), bool(pagestore::remove(data.root(), kDay))}),
              std::tuple(true, true, false, false, false));
    // Bytes below the offset are dropped, and any file reads.
    for (const auto &[stored, loaded] : {std::pair(QByteArray("op\x03q\r\n"), QByteArray("abc\r\n")), std::pair(QByteArray(""), QByteArray("")),
                                         std::pair(QByteArray("o\np\rq"), QByteArray("ab\r\nc\r\n"))}) {
        data.writeFile(kPage, stored);
        EXPECT_EQ(pagestore::load(data.root(), kDay), loaded);
    }
}

// A note is stored in Windows-1252, where 0x80-0x9F are real characters, and read back from it or from
// UTF-8 after a byte order mark.
TEST_F(NoteStore, SavedTextHasCrLfLinesAndOneMoreCrLfAndNeverGrowsAndReadsBackAsTyped)
{
    const std::pair<QString, QByteArray> cases[] = {
        {QString::fromUtf8("Mum’s birthday\nbuy €20 flowers"), "Mum\x92s birthday\r\nbuy \x80" "20 flowers\r\n"},
        {QStringView(u"a\r\nb\rc\u2028d\u2029e\n\r").toString(), "a\r\nb\r\nc\r\nd\r\ne\r\n\r\n\r\n"},
        {QString(), "\r\n"},
        {QString::fromUtf8("Ωmega é a😀b"), "?mega \xE9 a?b\r\n"},
        {QStringLiteral("line one\n\nline three\n"), "line one\r\n\r\nline three\r\n\r\n"},
    };
    for (const auto &[text, stored] : cases) {
        ASSERT_TRUE(notestore::save(data.root(), kDec4, text));
        const QByteArray first = data.readFile(kNote);
        ASSERT_TRUE(notestore::save(data.root(), kDec4, notestore::decodeNote(*notestore::load(data.root(), kDec4))));
        EXPECT_EQ(std::pair(first, data.readFile(kNote)), std::pair(stored, stored)) << "a note read back and saved again does not grow";
    }
    EXPECT_EQ((std::tuple{notestore::exists(data.root(), kDec4), bool(notestore::remove(data.root(), kDec4)), notestore::exists(data.root(), kDec4),
                          notestore::load(data.root(), kDec4).has_value(), bool(notestore::remove(data.root(), kDec4))}),
              std::tuple(true, true, false, false, false));
    EXPECT_EQ(std::tuple(notestore::decodeNote("caf\xE9 \x80\x85\x91\x92\x93\x94\x96\x99\x9F"), codepage::encodeExact(codepage::decode(everyByte(255))),
                         notestore::decodeNote("\xEF\xBB\xBF" "caf\xC3\xA9")),
              std::tuple(QString::fromUtf8("café €…‘’“”–™Ÿ"), std::optional(everyByte(255)), QString::fromUtf8("café")));
    // A note whose Windows-1252 bytes would open as such a mark still reads back as typed.
    for (const QString &typed : {QString::fromUtf8("ÿþAnna"), QString::fromUtf8("þÿ"), QString::fromUtf8("ï»¿x")})
        EXPECT_EQ(notestore::decodeNote(QByteArrayView(notestore::encodeNote(typed)).chopped(2)), typed) << typed.toStdString();
}

// A byte that cannot be stored fails before any file is touched; a full disk, a name too long or a
// path through a file fail with the reason; a yearly note larger than a mebibyte is neither written nor read.
TEST_F(DiaryTest, AFailedSaveKeepsTheOldPageAndNoteAndANoteHasALimitOfItsOwn)
{
    const QString largest(notestore::kLargestNoteFile - 2, u'a');
    EXPECT_EQ((std::tuple{bool(notestore::save(data.root(), kDec4, largest)), notestore::load(data.root(), kDec4).value_or("").size(),
                          bool(notestore::save(data.root(), kDec4, u"old note")), bool(notestore::save(data.root(), kDec4, largest + u'a'))}),
              std::tuple(true, largest.size(), true, false));
    page(kDay, "{\\rtf1 the old page}");
    const QByteArray old = data.readFile(kPage);
    EXPECT_FALSE(pagestore::save(data.root(), kDay, QByteArray("{\\rtf1 ") + char(255) + "}"));
    {
        const DiskFull full(4096);
        EXPECT_EQ(pagestore::save(data.root(), kDay, QByteArray(64 * 1024, 'x')).error(),
                  data.root().pagePath(kDay) + QStringLiteral(": The file has grown larger than this disk or system allows."));
        EXPECT_FALSE(notestore::save(data.root(), kDec4, QString(5000, u'n')));
    }
    const QString tooLong = data.root().pagePath(QString(300, u'x'));
    EXPECT_EQ(keptfile::save(data.root(), tooLong, "{\\rtf1 x}", history::Unkept::Refuse).error(), tooLong + QStringLiteral(": The file name is too long."));
    EXPECT_EQ(std::tuple(data.readFile(kPage), data.readFile(kNote), data.everyName(u"pages"_s), data.everyName(u"dates"_s)),
              std::tuple(old, QByteArray("old note\r\n"), QStringList{u"2026-12-04.dat"_s}, QStringList{u"Dec-4.dat"_s}));

    data.writeFile(kNote, QByteArray(notestore::kLargestNoteFile + 1, 'a'));
    EXPECT_FALSE(notestore::load(data.root(), kDec4));
    QDir(data.root().pagesDir()).removeRecursively();
    data.writeFile(QStringLiteral("pages"), "a plain file");
    EXPECT_EQ(pagestore::save(data.root(), kDay, "{\\rtf1 x}").error(), data.root().pagesDir() + QStringLiteral(": A part of the file's path is not a folder."));
}

// Each place that reads a diary file gives up at once on a FIFO or a device under a diary name,
// where it used to block or read without end.
TEST_F(BoundedFile, ReadsOnlyARegularFileNoLargerThanTheLimitSoNoDiaryReadOpensAFifoOrADevice)
{
    data.writeFile(QStringLiteral("four"), "1234");
    const std::tuple<QString, qint64, const char *> cases[] = {
        {data.path() + QStringLiteral("/four"), 4, ""},
        {data.path() + QStringLiteral("/four"), 3, "larger than 3 bytes"},
        {data.path() + QStringLiteral("/none"), 4, "No such file or directory"},
    };
    for (const auto &[path, limit, problem] : cases) {
        const boundedfile::Contents read = boundedfile::read(path, limit);
        EXPECT_EQ(std::tuple(read.problem, read.bytes, read.tooLarge), std::tuple(QLatin1String(problem), read ? QByteArray("1234") : QByteArray(), limit == 3))
            << path.toStdString() << " " << limit;
    }
    for (const SpecialFile kind : kSpecialFiles) {
        SCOPED_TRACE(nameOf(kind));
        const TestDataRoot each;
        const DataRoot &root = each.root();
        const QString versions = each.path() + QStringLiteral("/history/dates");
        ASSERT_TRUE(QDir().mkpath(versions));
        for (const QString &path : {root.pagePath(QStringLiteral("2026-12-04")), root.notePath(QStringLiteral("Dec-4")), root.passwordFile(),
                                    versions + QStringLiteral("/Dec-5@20261204-101010-000.dat")})
            makeSpecialFile(path, kind);
        EXPECT_EQ(std::tuple(pagestore::load(root, kDay).has_value(), notestore::load(root, kDec4).has_value(), passwordfile::readStored(root.passwordFile()),
                             bool(history::restore(root, root.notePath(u"Dec-5"_s), u"20261204-101010-000"_s)), searchPages(root.pagesDir(), {u"2026-12-04.dat"_s}, u"")),
                  std::tuple(false, false, QByteArray(), false, QStringList()));
    }
}

// The list holds the files and links to files, never hidden files, folders, broken links or pipes,
// in byte order of the names: what Qt's own listing gives.
TEST(FileList, ListsWhatQtListsAsFilesInByteOrder)
{
    QTemporaryDir folder;
    for (const char *name : {"b.dat", "a.dat", "Z.dat", ".hidden.dat", "\xc3\xa9t\xc3\xa9.dat"})
        QFile(folder.filePath(QString::fromUtf8(name))).open(QIODevice::WriteOnly);
    QDir(folder.path()).mkdir(QStringLiteral("c.dat"));
    QFile::link(folder.filePath(QStringLiteral("a.dat")), folder.filePath(QStringLiteral("d.dat")));
    QFile::link(folder.filePath(QStringLiteral("gone.dat")), folder.filePath(QStringLiteral("e.dat")));
    ASSERT_EQ(::mkfifo(QFile::encodeName(folder.filePath(QStringLiteral("f.dat"))).constData(), 0600), 0);
    EXPECT_EQ(sortedFileNames(folder.path()), (QStringList{QStringLiteral("Z.dat"), QStringLiteral("a.dat"), QStringLiteral("b.dat"), QStringLiteral("d.dat"),
                                   QString::fromUtf8("été.dat")}));
}
