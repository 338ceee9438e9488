#include "rows.h"

#include "sync/copylines.h"
#include "sync/copymerge.h"
#include "sync/syncthingdevice.h"
#include "sync/threeway.h"

#include "diary/history.h"
#include "diary/notestore.h"

#include "testdataroot.h"

#include <QDir>

#include <memory>

namespace {

const daykeys::MonthDay kDay{12, 4};

QString text(const QString &lines) { return QString(lines).replace(u'|', u'\n'); }

// The note as its editor shows it.
QString shown(const std::optional<QByteArray> &stored)
{
    return notestore::decodeNote(stored.value_or("?")).replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
}

QStringList everyVersion(const DataRoot &root)
{
    QStringList kept{shown(notestore::load(root, kDay))};
    for (const auto &version : history::versions(root, root.notePath(kDay)))
        kept << shown(notestore::loadFile(root, version.path, root.notePath(kDay)));
    return kept;
}

// What one computer saved reaches another as a sync tool brings it: the history as it is, and the note itself, or
// a copy beside the other's own.
void arrive(const TestDataRoot &from, const TestDataRoot &to, const QString &as)
{
    const QString versions = QStringLiteral("history/dates");
    const QStringList known = to.everyName(versions);
    for (const QString &name : from.everyName(versions))
        if (!known.contains(name))
            to.writeFile(versions + u'/' + name, from.readFile(versions + u'/' + name));
    to.writeFile(as, from.readFile(QStringLiteral("dates/Dec-4.dat")));
}

void save(const DataRoot &root, const QString &versions)
{
    for (const QString &version : versions.split(u';'))
        ASSERT_TRUE(version == u"-" || notestore::save(root, kDay, text(version)).ok());
}

} // namespace

TEST(CopyMerge, NotesCopiesAreFoldedInOverTheVersionBothGrewFromAndEverySideStaysInTheHistory)
{
    for (const QStringList &row : rows("merges.txt")) {
        SCOPED_TRACE(row[0].toStdString());
        const QString &base = row[1], &ours = row[2], &merged = row[4];
        const QStringList theirs = row[3].split(u'&');
        TestDataRoot data;
        const DataRoot &root = data.root();
        save(root, base);
        std::vector<std::unique_ptr<TestDataRoot>> others(theirs.size());
        for (std::size_t i = 0; i < others.size(); ++i) {
            others[i] = std::make_unique<TestDataRoot>();
            if (base != u"-")
                arrive(data, *others[i], QStringLiteral("dates/Dec-4.dat"));
            save(others[i]->root(), theirs[qsizetype(i)]);
        }
        save(root, ours);
        for (std::size_t i = 0; i < others.size(); ++i)
            arrive(*others[i], data, QStringLiteral("dates/Dec-4.sync-conflict-20261204-18301%1-ABCDEFG.dat").arg(i));
        const bool asks = merged == u"asks";
        const auto copies = conflictcopies::find(root);
        EXPECT_EQ(copylines::mergeAll(root, copies).size(), asks ? 0 : copies.size());
        EXPECT_EQ(std::pair(shown(notestore::load(root, kDay)), data.everyName(QStringLiteral("dates")).size()),
                  std::pair(text(asks ? ours.section(u';', -1) : merged), asks ? copies.size() + 1 : 1));
        const QStringList kept = everyVersion(root);
        for (const QString &version : ours.split(u';') + theirs.join(u';').split(u';'))
            EXPECT_TRUE(asks || version == u"-" || kept.contains(text(version))) << version.toStdString();
    }
}

TEST(CopyMerge, TextsTooLongToCompareAreLeftToTheUserButASharedStartCostsNothing)
{
    QStringList start, end;
    for (int i = 0; i <= threeway::kLongestCompared; ++i) {
        start << QString::number(i);
        end << QString::number(-i - 1);
    }
    EXPECT_EQ(threeway::merge(start, start + end, start), start + end);
    EXPECT_EQ(threeway::merge(start, end, start), std::nullopt);
}

TEST(CopyMerge, TheUsersAnswerKeepsWhatItSaysAndTheHistoryTheRest)
{
    using copymerge::Keep;
    for (const auto &[keep, shownNote] : {std::pair{Keep::This, "ours"}, {Keep::Other, "theirs"},
                                          {Keep::Both, "ours||The other version (Syncthing, 2026-12-04 18:30:12):|theirs"}}) {
        TestDataRoot data;
        const DataRoot &root = data.root();
        ASSERT_TRUE(notestore::save(root, kDay, QStringLiteral("ours")).ok());
        data.writeFile(QStringLiteral("dates/Dec-4.sync-conflict-20261204-183012-ABCDEFG.dat"), notestore::encodeNote(QStringLiteral("theirs")));
        const auto copy = conflictcopies::find(root).value(0);

        EXPECT_TRUE(copymerge::settle(root, copy, copymerge::noteLines(root, kDay), keep, copymerge::otherHeading(copy.name)).ok());
        const QStringList kept = everyVersion(root);
        EXPECT_EQ(std::tuple(kept.value(0), kept.contains(u"ours") && kept.contains(u"theirs"), data.everyName(QStringLiteral("dates")).size()),
                  std::tuple(text(shownNote), true, 1));
    }
}

// Syncthing names a copy after the device whose version won: only this computer's own name makes the copy
// the other computer's text.
TEST(CopyMerge, TheHeadingSaysTheOtherComputerOnlyWhenTheCopyIsNamedAfterThisOne)
{
    // A folder of its own stands for Syncthing's home.
    const TestDataRoot home;
    home.writeFile(QStringLiteral("cert.pem"), "-----BEGIN CERTIFICATE-----\nMIIBszCCATqgAwIBAgIIQ3Vpbm5lc3Q=\n-----END CERTIFICATE-----\n");
    qputenv("STHOMEDIR", home.path().toLocal8Bit());
    const QString self = syncthingdevice::thisShortId();
    const auto heading = [](const QString &device) {
        return copymerge::otherHeading(conflictnames::recognise(QStringLiteral("Dec-4.sync-conflict-20261204-183012-%1.dat").arg(device)).value());
    };
    EXPECT_EQ(std::tuple(self.size(), heading(self), heading(QStringLiteral("ABCDEFG"))),
              std::tuple(7, QStringLiteral("From the other computer (Syncthing, 2026-12-04 18:30:12):"),
                         QStringLiteral("The other version (Syncthing, 2026-12-04 18:30:12):")));
    qunsetenv("STHOMEDIR");
}
