#include "richtext/textmatches.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QStringList marked(const QTextDocument &document, const QString &term, textsearch::Options options)
{
    QStringList found;
    for (const QTextCursor &match : textsearch::matchesIn(document, term, options))
        found.append(QString::number(match.selectionStart()) + QLatin1Char(':') + match.selectedText());
    return found;
}

} // namespace

TEST(TextMatches, WordsAreMarkedInReadingOrderOnceEachAsTheChoicesSay)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("Anna ran. anna\nannals"));
    const textsearch::Options text{.matchCase = false, .textOnly = true};
    EXPECT_EQ(marked(document, QStringLiteral("ann anna"), text), (QStringList{"0:Anna", "10:anna", "15:anna"}))
        << "at one place the longer match is marked";
    EXPECT_EQ(marked(document, QStringLiteral("nna ann"), text), (QStringList{"0:Ann", "10:ann", "15:ann"}))
        << "an overlap is marked once, by the match that starts first";
    EXPECT_EQ(marked(document, QStringLiteral("ran anna"), {.matchCase = true, .textOnly = true}), (QStringList{"5:ran", "10:anna", "15:anna"}));
    EXPECT_EQ(marked(document, QStringLiteral("Anna ran"), {}), QStringList{"0:Anna ran"}) << "the markup search's term is one";
    EXPECT_TRUE(marked(document, QStringLiteral("  "), text).isEmpty());
    EXPECT_TRUE(marked(document, QString(), {}).isEmpty());

    document.setPlainText(QString(3 * textsearch::kMostMarkedMatches, QLatin1Char('e')));
    EXPECT_EQ(textsearch::matchesIn(document, QStringLiteral("e"), {}).size(), textsearch::kMostMarkedMatches);
}
