#include "sync/pageparagraphs.h"

#include "diary/ancestry.h"
#include "diary/history.h"
#include "diary/pagestore.h"
#include "richtext/picture.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include "pictures.h"
#include "testdataroot.h"

#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

// A page of the given paragraphs: the first centred in red, "B" paragraphs bold, "P" a picture in its text.
QByteArray page(std::initializer_list<const char *> paragraphs)
{
    QTextDocument document;
    QTextCursor cursor(&document);
    const QImage picture = testpictures::drawing();
    for (const char *text : paragraphs) {
        if (cursor.position() > 0)
            cursor.insertBlock();
        QTextBlockFormat block;
        block.setAlignment(cursor.blockNumber() == 0 ? Qt::AlignHCenter : Qt::AlignLeft);
        cursor.setBlockFormat(block);
        QTextCharFormat format;
        format.setFontWeight(text[0] == 'B' ? QFont::Bold : QFont::Normal);
        format.setForeground(cursor.blockNumber() == 0 ? Qt::red : Qt::black);
        cursor.insertText(QString::fromLatin1(text), format);
        if (text[0] == 'P')
            cursor.insertImage(richtext::addPicture(document, richtext::compactPicture(picture), picture, QSizeF(8, 6)));
    }
    return richtext::writeRtf(document);
}

} // namespace

TEST(PageParagraphs, APagesParagraphsJoinBackIntoThePageAndTwoSidesAdditionsMergeWithTheirFormatting)
{
    const QByteArray whole = page({"Title", "Bold words", "Picture ", "plain"});
    EXPECT_EQ(pageparagraphs::join(pageparagraphs::split(whole).value()), whole);

    TestDataRoot data;
    const QDate day(2026, 12, 4);
    const QByteArray theirs = pagestore::encodePage(page({"Title", "plain", "Picture there"})).value();
    ASSERT_TRUE(pagestore::save(data.root(), day, page({"Title", "plain"})).ok());
    // As the other computer's history records its save over the same first version.
    ASSERT_TRUE(history::keep(data.root(), data.root().pagePath(day), history::Unkept::Refuse, ancestry::idOf(theirs)).ok());
    ASSERT_TRUE(pagestore::save(data.root(), day, page({"Title", "plain", "Bold here"})).ok());
    data.writeFile(QStringLiteral("pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat"), theirs);

    EXPECT_EQ(copymerge::resolve(data.root(), conflictcopies::find(data.root()).value(0), pageparagraphs::pageLines(data.root(), day)), copymerge::Result::Merged);
    EXPECT_EQ(pageparagraphs::split(pagestore::load(data.root(), day).value()),
              pageparagraphs::split(page({"Title", "plain", "Bold here", "Picture there"})));
    EXPECT_EQ(history::versions(data.root(), data.root().pagePath(day)).size(), 4) << "the first twice, ours and the copy";
}

// Keeping this computer's page reads neither side, so a copy too large to read still leaves the pages.
TEST(PageParagraphs, KeepingBothPutsTheOtherPageBelowItsHeadingParagraphAndKeepingThisSetsAsideACopyTooLargeToRead)
{
    TestDataRoot data;
    const QDate day(2026, 12, 4);
    const QString copyName = QStringLiteral("pages/2026-12-04.sync-conflict-20261204-183012-ABCDEFG.dat");
    const auto lines = pageparagraphs::pageLines(data.root(), day);
    ASSERT_TRUE(pagestore::save(data.root(), day, page({"Title", "ours"})).ok());
    data.writeFile(copyName, pagestore::encodePage(page({"Title", "Picture theirs"})).value());
    ASSERT_TRUE(copymerge::settle(data.root(), conflictcopies::find(data.root()).value(0), lines, copymerge::Keep::Both,
                                  QStringLiteral("From there")).ok());
    QTextDocument shown;
    ASSERT_TRUE(richtext::readRtf(pagestore::load(data.root(), day).value(), shown));
    EXPECT_EQ(shown.toPlainText().toStdString(), "Title\nours\n\nFrom there\nTitle\nPicture theirs\uFFFC");

    QFile copy(data.path() + u'/' + copyName);
    ASSERT_TRUE(copy.open(QIODevice::WriteOnly) && copy.resize(pagestore::kLargestPageFile + 1));
    const auto found = conflictcopies::find(data.root()).value(0);
    EXPECT_EQ(copymerge::resolve(data.root(), found, lines), copymerge::Result::Asks);
    const QByteArray kept = pagestore::load(data.root(), day).value();
    EXPECT_TRUE(copymerge::settle(data.root(), found, lines, copymerge::Keep::This, {}).ok());
    EXPECT_EQ(std::pair(conflictcopies::find(data.root()).size(), pagestore::load(data.root(), day).value()), std::pair(qsizetype(0), kept));
}
