#include "twocomputers.h"

#include <QElapsedTimer>

#include <iostream>
#include <random>

namespace {

using enum SyncthingPair::Computer;

constexpr int kRounds = 200;
const QStringList kBase{QStringLiteral("Title"), QStringLiteral("first words"), QStringLiteral("middle words"),
                        QStringLiteral("last words")};

enum Kind { OneComputer, BothAppend, DifferentParagraphs, SameParagraph, kKinds };

struct Figures
{
    int rounds[kKinds] = {};
    int copies = 0;
    int apart = 0;        // rounds with a copy whose two edits did not touch the same paragraph
    int apartMerged = 0;  // of those, merged without a question
    int asked = 0;
};

// The two computers' edits of one round: what neither touched before stays apart.
std::pair<Edit, Edit> edits(Kind kind, int lines, std::mt19937 &random)
{
    const auto line = [&](int count) { return int(std::uniform_int_distribution(0, count - 1)(random)); };
    const int first = line(lines);
    switch (kind) {
    case OneComputer:
        return {random() % 2 ? Edit{Edit::Append} : Edit{Edit::Extend, first}, Edit{}};
    case BothAppend:
        return {Edit{Edit::Append}, Edit{Edit::Append}};
    case DifferentParagraphs: {
        const int second = line(lines - 1);
        return {Edit{Edit::Extend, first}, Edit{Edit::Extend, second < first ? second : second + 1}};
    }
    default:
        return {Edit{Edit::Extend, first}, Edit{Edit::Extend, first}};
    }
}

// A user who kept both versions deletes what is then there twice, so the text stays the size it would be.
void tidy(const DiaryText &text, const DataRoot &root)
{
    QStringList lines = text.lines(root);
    lines.removeDuplicates();
    EXPECT_TRUE(text.save(root, lines).ok());
}

} // namespace

// Each round both computers change one of three pages or a note before either scans, so they cannot meet;
// then the folders sync, the program merges on either computer and settles what it asks by keeping both.
// Both instances keep running: stopping one each round makes a round more than twice as long.
TEST_F(TwoComputers, TwoHundredRoundsOfChangesOnBothComputersLoseNoWordAndMostMergeWithoutAQuestion)
{
    const QDate day(2026, 12, 4);
    const std::array texts{DiaryText{day}, DiaryText{day.addDays(1)}, DiaryText{day.addDays(2)}, DiaryText{day, true}};
    std::array<QSet<QString>, texts.size()> typed;
    for (const DiaryText &text : texts)
        ASSERT_TRUE(text.save(roots[Desktop], kBase).ok());
    ASSERT_TRUE(pair.sync());

    std::mt19937 random(20261204);
    Figures figures;
    QElapsedTimer clock;
    clock.start();
    for (int round = 0; round < kRounds; ++round) {
        SCOPED_TRACE(round);
        const std::size_t which = random() % texts.size();
        const DiaryText &text = texts[which];
        const auto kind = Kind(random() % kKinds);
        auto [first, second] = edits(kind, int(text.lines(roots[Desktop]).size()), random);
        const bool desktopFirst = random() % 2;
        typed[which] += desktopFirst ? desktopUser.type(first, text, roots[Desktop]) + laptopUser.type(second, text, roots[Laptop])
                                     : laptopUser.type(first, text, roots[Laptop]) + desktopUser.type(second, text, roots[Desktop]);
        ASSERT_TRUE(pair.sync());

        const DataRoot &merging = roots[random() % 2];
        const bool copied = !conflictCopies(merging.path()).isEmpty();
        mergeCopies(merging);
        const bool merged = settleCopies(merging, copymerge::Keep::Both) == 0;
        if (!merged)
            tidy(text, merging);
        ASSERT_TRUE(pair.sync());
        expectOneText(text, typed[which]);
        ASSERT_FALSE(HasFailure());

        ++figures.rounds[kind];
        figures.copies += copied;
        figures.apart += copied && kind != SameParagraph;
        figures.apartMerged += copied && kind != SameParagraph && merged;
        figures.asked += kind == SameParagraph && !merged;
    }
    const qint64 seconds = clock.elapsed() / 1000;
    for (std::size_t i = 0; i < texts.size(); ++i)
        expectKept(texts[i], typed[i] + wordsOf(kBase.join(u' ')));

    std::cout << kRounds << " rounds in " << seconds << " s (one computer " << figures.rounds[OneComputer]
              << ", both append " << figures.rounds[BothAppend] << ", different paragraphs " << figures.rounds[DifferentParagraphs]
              << ", same paragraph " << figures.rounds[SameParagraph] << "); " << figures.copies << " with a conflict copy; "
              << figures.apartMerged << " of " << figures.apart << " copies of edits apart merged without a question; "
              << figures.asked << " of " << figures.rounds[SameParagraph] << " same-paragraph rounds asked\n";
    RecordProperty("seconds", int(seconds));
    RecordProperty("roundsApart", figures.apart);
    RecordProperty("mergedWithoutAQuestion", figures.apartMerged);
    EXPECT_GE(figures.apartMerged * 10, figures.apart * 9);
}
