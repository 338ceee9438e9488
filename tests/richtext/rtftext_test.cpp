#include "diarygen.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtftext.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <random>

namespace {

// The one promise of the extractor: the reader's text, character for character
// (UTF-16, where a lone surrogate shows).
void expectSame(QByteArrayView rtf)
{
    EXPECT_EQ(richtext::visibleText(rtf).toStdU16String(), richtext::plainText(*rtfpages::read(rtf)).toStdU16String())
        << "page: " << rtf.first(std::min<qsizetype>(rtf.size(), 300)).toByteArray().toStdString();
}

// A page shuffled from pieces, each of them something the reader treats specially.
QByteArray soup(unsigned seed)
{
    static const QJsonArray pieces = QJsonDocument::fromJson(rtfpages::file(QStringLiteral("soup.json"))).array();
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> piece(0, size_t(pieces.size()) - 1);
    QByteArray rtf = "{\\rtf1\\ansi ";
    const int count = std::uniform_int_distribution<int>(1, 60)(random);
    for (int i = 0; i < count; ++i)
        rtf += pieces[qsizetype(piece(random))].toString().toLatin1();
    return rtf + (seed % 3 ? "}" : "");
}

} // namespace

TEST(RtfText, MatchesTheReaderOnEveryFuzzSeedPageFileAndGeneratedPage)
{
    int files = 0;
    for (QDirIterator it(QStringLiteral(QUILLNEST_FUZZ_CORPUS), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        SCOPED_TRACE(it.next().toStdString());
        expectSame(rtfpages::file(it.filePath()));
    }
    EXPECT_GT(files, 30);
    for (const auto &pages : {rtfpages::shownPages(), rtfpages::edgePages()}) {
        for (const rtfpages::Page &page : pages)
            expectSame(page.rtf);
    }
    EXPECT_EQ(richtext::visibleText("{\\rtf1 caf\\'e9 \\b bold\\b0\\par\\trowd a\\cell b\\cell\\row\\line x}"),
              QStringLiteral("caf\u00e9 bold\na\tb\t\n\nx"));
    for (unsigned seed = 0; seed < 300; ++seed)
        expectSame(diarygen::pageRtf(seed, seed % 10 == 0));
    for (unsigned seed = 0; seed < 5000; ++seed)
        expectSame(soup(seed));
}
