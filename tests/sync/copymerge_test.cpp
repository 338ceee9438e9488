#include "sync/copymerge.h"

#include "diary/history.h"
#include "diary/notestore.h"

#include "testdataroot.h"

#include <QFile>

#include <gtest/gtest.h>

namespace {

const daykeys::MonthDay kDay{12, 4};
const QString kCopy = QStringLiteral("dates/Dec-4.sync-conflict-20261204-183012-ABCDEFG.dat");

QString text(const char *lines) { return QString::fromUtf8(lines).replace(u'|', u'\n'); }

// The note as its editor shows it.
QString shown(const std::optional<QByteArray> &stored)
{
    return notestore::decodeNote(stored.value_or("?")).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QStringList noteTexts(const DataRoot &root, const QList<history::Version> &versions)
{
    QStringList texts;
    for (const auto &version : versions)
        texts << shown(notestore::loadFile(root, version.path, root.notePath(kDay)));
    return texts;
}

struct Row
{
    const char *label;
    const char *earlier; // the version both computers started from, or nullptr when the history has none
    const char *ours;
    const char *theirs;
    const char *merged; // nullptr: the user is asked
};

const Row kRows[] = {
    {"both added a line", "a|b", "a|b|c", "a|b|d", "a|b|c|d"},
    {"the same text", nullptr, "a|b", "a|b", "a|b"},
    {"one holds the other", nullptr, "a|b", "a|x|b", "a|x|b"},
    {"the same line changed", "a|b", "a|B", "a|b2", nullptr},
    {"different texts and no earlier one", nullptr, "a", "b", nullptr},
};

} // namespace

TEST(CopyMerge, ANotesCopyIsFoldedInWhenNoQuestionIsNeededAndBothSidesStayInTheHistory)
{
    for (const Row &row : kRows) {
        SCOPED_TRACE(row.label);
        TestDataRoot data;
        const DataRoot &root = data.root();
        if (row.earlier) {
            ASSERT_TRUE(notestore::save(root, kDay, text(row.earlier)).ok());
        }
        ASSERT_TRUE(notestore::save(root, kDay, text(row.ours)).ok());
        data.writeFile(kCopy, notestore::encodeNote(text(row.theirs)));
        const conflictcopies::Found found = conflictcopies::find(root).value(0);
        ASSERT_EQ(found.copy, kCopy);

        const auto result = copymerge::resolve(root, found, copymerge::noteLines(root, kDay));

        const QString note = shown(notestore::load(root, kDay));
        EXPECT_EQ(result, row.merged ? copymerge::Result::Merged : copymerge::Result::Asks);
        EXPECT_EQ(note, text(row.merged ? row.merged : row.ours));
        EXPECT_EQ(QFile::exists(data.path() + u'/' + kCopy), !row.merged);
        const QStringList kept = noteTexts(root, history::versions(root, root.notePath(kDay)));
        if (row.merged) {
            EXPECT_TRUE(kept.contains(text(row.theirs)));
            EXPECT_TRUE(note == text(row.ours) || kept.contains(text(row.ours)));
        }
    }
}
