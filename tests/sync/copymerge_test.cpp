#include "rows.h"

#include "sync/copymerge.h"
#include "sync/threeway.h"

#include "diary/history.h"
#include "diary/notestore.h"

#include "testdataroot.h"

namespace {

const daykeys::MonthDay kDay{12, 4};

QString text(const QString &lines) { return QString(lines).replace(u'|', u'\n'); }

// The note as its editor shows it.
QString shown(const std::optional<QByteArray> &stored)
{
    return notestore::decodeNote(stored.value_or("?")).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

} // namespace

TEST(CopyMerge, ANotesCopyIsFoldedInWhenNoQuestionIsNeededAndBothSidesStayInTheHistory)
{
    for (const QStringList &row : rows("merges.txt")) {
        SCOPED_TRACE(row[0].toStdString());
        const QString &earlier = row[1], &ours = row[2], &theirs = row[3], &merged = row[4];
        TestDataRoot data;
        const DataRoot &root = data.root();
        for (const QString &version : earlier.split(u';'))
            ASSERT_TRUE(version == u"-" || notestore::save(root, kDay, text(version)).ok());
        ASSERT_TRUE(notestore::save(root, kDay, text(ours)).ok());
        data.writeFile(QStringLiteral("dates/Dec-4.sync-conflict-20261204-183012-ABCDEFG.dat"), notestore::encodeNote(text(theirs)));

        const bool asks = merged == u"asks";
        EXPECT_EQ(copymerge::resolve(root, conflictcopies::find(root).value(0), copymerge::noteLines(root, kDay)),
                  asks ? copymerge::Result::Asks : copymerge::Result::Merged);

        const QString note = shown(notestore::load(root, kDay));
        EXPECT_EQ(std::pair(note, data.everyName(QStringLiteral("dates")).size()), std::pair(text(asks ? ours : merged), qsizetype(asks ? 2 : 1)));
        QStringList kept;
        for (const auto &version : history::versions(root, root.notePath(kDay)))
            kept << shown(notestore::loadFile(root, version.path, root.notePath(kDay)));
        EXPECT_TRUE(asks || (kept.contains(text(theirs)) && (note == text(ours) || kept.contains(text(ours)))));
    }
}

TEST(CopyMerge, TextsTooLongToCompareAreLeftToTheUserButASharedStartCostsNothing)
{
    QStringList start, end;
    for (int i = 0; i <= threeway::kLongestCompared; ++i) {
        start << QString::number(i);
        end << QString::number(-i - 1);
    }
    EXPECT_EQ(threeway::containing(start, start + end), start + end);
    EXPECT_EQ(threeway::merge(start, end, start), std::nullopt);
}

TEST(CopyMerge, TheUsersAnswerKeepsWhatItSaysAndTheHistoryTheRest)
{
    using copymerge::Keep;
    for (const auto &[keep, shownNote] : {std::pair{Keep::This, "ours"}, {Keep::Other, "theirs"},
                                          {Keep::Both, "ours||From the other computer (Syncthing, ABCDEFG, 2026-12-04 18:30:12):|theirs"}}) {
        TestDataRoot data;
        const DataRoot &root = data.root();
        ASSERT_TRUE(notestore::save(root, kDay, QStringLiteral("ours")).ok());
        data.writeFile(QStringLiteral("dates/Dec-4.sync-conflict-20261204-183012-ABCDEFG.dat"), notestore::encodeNote(QStringLiteral("theirs")));
        const auto copy = conflictcopies::find(root).value(0);

        EXPECT_TRUE(copymerge::settle(root, copy, copymerge::noteLines(root, kDay), keep, copymerge::otherHeading(copy.name)).ok());
        QStringList kept{shown(notestore::load(root, kDay))};
        for (const auto &version : history::versions(root, root.notePath(kDay)))
            kept << shown(notestore::loadFile(root, version.path, root.notePath(kDay)));
        EXPECT_EQ(kept.value(0), text(shownNote));
        EXPECT_TRUE(kept.contains(u"ours") && kept.contains(u"theirs"));
        EXPECT_EQ(data.everyName(QStringLiteral("dates")).size(), 1);
    }
}
