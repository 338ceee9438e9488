#include "diarygen.h"

#include "diary/pagestore.h"
#include "diary/storedbytes.h"
#include "richtext/rtftext.h"
#include "richtext/textmatches.h"
#include "richtext/textsearch.h"
#include "vault/vault.h"

#include "testdataroot.h"

#include <QDir>
#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

using textsearch::Options;

// Generated pages, some days without a file, and on days 150 to 153 a few
// made to find the edges: letters beyond Latin-1, one whose folded form leaves
// Latin-1 (µ folds to μ), an empty file and a folder.
QStringList generatedDiary(const TestDataRoot &data, const DataRoot &root)
{
    const QByteArrayList edges{"{\\rtf1\\ansi \\u937?mega harbour\\par\r\nAnna}", "{\\rtf1\\ansi \\'b5 and \\'c9T\\'c9 by the HARBOUR}", {}};
    QStringList names;
    for (int day = 0; day < 304; ++day) {
        names.append(QStringLiteral("2024-%1.dat").arg(day, 3, 10, QLatin1Char('0')));
        const QString relative = QStringLiteral("pages/") + names.last();
        const QByteArray rtf = day >= 150 && day < 153 ? edges[day - 150] : diarygen::pageRtf(unsigned(day), day % 40 == 0);
        if (day == 153)
            QDir(root.pagesDir()).mkdir(names.last());
        else if (day % 53 != 7)
            data.writeFile(relative, rtf.isEmpty() ? rtf : *storedbytes::forDisk(root, *pagestore::encodePage(rtf), relative));
    }
    return names;
}

// Each page's shown text read afresh, for a text-only search.
QStringList oneByOne(const DataRoot &root, const QStringList &names, const QString &term, Options options)
{
    const auto fold = [&](const QString &text) { return options.matchCase ? text : text.toCaseFolded(); };
    const QStringList words = fold(term).split(QLatin1Char(' '), Qt::SkipEmptyParts);
    QStringList found;
    for (const QString &name : names) {
        const auto rtf = pagestore::loadFile(root, root.pagesDir() + QLatin1Char('/') + name);
        const QString text = rtf ? fold(richtext::visibleText(*rtf)) : QString();
        if (rtf && !words.isEmpty() && std::all_of(words.cbegin(), words.cend(), [&](const QString &w) { return text.contains(w); }))
            found.append(name);
    }
    return found;
}

QStringList marked(const QTextDocument &document, const QString &term, textsearch::Options options)
{
    QStringList found;
    for (const QTextCursor &match : textsearch::matchesIn(document, term, options))
        found.append(QString::number(match.selectionStart()) + QLatin1Char(':') + match.selectedText());
    return found;
}

} // namespace

TEST(TextSearchCache, NeverChangesWhatIsFound)
{
    const auto vault = std::make_shared<Vault>(keyslot::newMasterKey(), KeySlot{});
    const QStringList terms{QStringLiteral("harbour Anna"), QStringLiteral("anna"),         QString::fromUtf8("ÉTÉ"),
                            QString::fromUtf8("μ"),        QString::fromUtf8("Ωmega"),     QStringLiteral("  "),
                            QStringLiteral("fonttbl"),     QStringLiteral("quiet  bread"), QStringLiteral("zebra")};
    for (const bool sealed : {false, true}) {
        const TestDataRoot data;
        const DataRoot root(data.path(), sealed ? vault : nullptr);
        const QStringList names = generatedDiary(data, root);
        // One cache through every choice, as the session keeps it while the user changes them.
        textsearch::TextCache cache;
        for (const Options options : {Options{true, true}, Options{false, true}, Options{false, false}}) {
            for (const QString &term : terms) {
                SCOPED_TRACE(term.toStdString() + (options.matchCase ? " case" : " any case") +
                             (options.textOnly ? " text" : " markup") + (sealed ? " sealed" : ""));
                const QStringList uncached = textsearch::search(root, names, term, options);
                // Only a text-only search has a plain reading to agree with.
                EXPECT_EQ(uncached, options.textOnly ? oneByOne(root, names, term, options) : uncached);
                EXPECT_EQ(textsearch::search(root, names, term, options, &cache), uncached);
                EXPECT_EQ(textsearch::search(root, names, term, options, &cache), uncached) << "again";
                for (const QString &name : uncached)
                    EXPECT_EQ(textsearch::context(root, name, term, options, &cache), textsearch::context(root, name, term, options)) << name.toStdString();
            }
        }
        const auto found = textsearch::search(root, names, QStringLiteral("quiet bread"), {true, true}).size();
        EXPECT_TRUE(found > 10 && found < names.size() - 10) << found;
    }
}

// A text kept under the file's own stamp is what a search sees, until
// forgotten or cleared, or until a save replaces the file: its new stamp alone
// brings the new text.
TEST(TextSearchCache, TrustsAKeptTextUntilForgottenClearedOrItsFileReplaced)
{
    const TestDataRoot data;
    const DataRoot &root = data.root();
    const QStringList names{QStringLiteral("2024-03-05.dat")};
    ASSERT_TRUE(pagestore::save(root, QDate(2024, 3, 5), "{\\rtf1 old harbour}"));
    textsearch::TextCache cache;
    const auto find = [&](const char *term) { return textsearch::search(root, names, QString::fromLatin1(term), {true, true}, &cache); };
    const auto plant = [&] { cache.keep(names[0], {*textsearch::stampOf(root.pagesDir() + u'/' + names[0]), textsearch::CompactText(QStringLiteral("planted")), {}, {}}); };
    plant();
    EXPECT_EQ(std::tuple(find("planted"), find("harbour"), textsearch::context(root, names[0], QStringLiteral("planted"), {true, true}, &cache)),
              std::tuple(names, QStringList(), QStringLiteral("planted")));
    cache.forget(names[0]);
    EXPECT_EQ(std::pair(find("planted"), find("harbour")), std::pair(QStringList(), names));
    plant();
    cache.clear();
    EXPECT_EQ(find("harbour"), names);
    ASSERT_TRUE(pagestore::save(root, QDate(2024, 3, 5), "{\\rtf1 new lighthouse}"));
    EXPECT_EQ(std::pair(find("lighthouse"), find("harbour")), std::pair(names, QStringList()));
}

TEST(TextMatches, WordsAreMarkedInReadingOrderOnceEachAsTheChoicesSay)
{
    QTextDocument document;
    document.setPlainText(QStringLiteral("Anna ran. anna\nannals"));
    const textsearch::Options text{.matchCase = false, .textOnly = true};
    // At one place the longer match is marked; an overlap is marked once, by the match that starts first.
    EXPECT_EQ(marked(document, QStringLiteral("ann anna"), text), (QStringList{"0:Anna", "10:anna", "15:anna"}));
    EXPECT_EQ(marked(document, QStringLiteral("nna ann"), text), (QStringList{"0:Ann", "10:ann", "15:ann"}));
    EXPECT_EQ(marked(document, QStringLiteral("ran anna"), {.matchCase = true, .textOnly = true}), (QStringList{"5:ran", "10:anna", "15:anna"}));
    EXPECT_EQ(marked(document, QStringLiteral("Anna ran"), {}), QStringList{"0:Anna ran"}) << "the markup search's term is one";
    EXPECT_TRUE(marked(document, QStringLiteral("  "), text).isEmpty() && marked(document, QString(), {}).isEmpty());

    document.setPlainText(QString(3 * textsearch::kMostMarkedMatches, QLatin1Char('e')));
    EXPECT_EQ(textsearch::matchesIn(document, QStringLiteral("e"), {}).size(), textsearch::kMostMarkedMatches);
}
