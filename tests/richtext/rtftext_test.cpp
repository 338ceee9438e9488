#include "diarygen.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtftext.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

// Readable in a failure, and exact: a lone surrogate would not survive UTF-8.
std::string escaped(QStringView text)
{
    std::string out;
    for (const QChar c : text)
        out += c.unicode() >= 0x20 && c.unicode() < 0x7f ? std::string(1, char(c.unicode()))
                                                         : QStringLiteral("\\u%1").arg(c.unicode(), 4, 16, QLatin1Char('0')).toStdString();
    return out;
}

// The one promise of the extractor: the reader's text, character for character.
void expectSame(QByteArrayView rtf)
{
    const QString ours = richtext::visibleText(rtf);
    const QString reader = richtext::plainText(*rtfpages::read(rtf));
    EXPECT_TRUE(ours == reader) << "page: " << rtf.first(std::min<qsizetype>(rtf.size(), 300)).toByteArray().toStdString()
                                << "\nours:   " << escaped(ours) << "\nreader: " << escaped(reader);
}

// Pages shuffled from pieces, each of them something the reader treats specially.
class Soup
{
public:
    Soup()
    {
        for (const QJsonValue &piece : QJsonDocument::fromJson(rtfpages::file(QStringLiteral("soup.json"))).array())
            m_pieces.append(piece.toString().toLatin1());
    }

    QByteArray page(unsigned seed) const
    {
        std::mt19937 random(seed);
        std::uniform_int_distribution<size_t> piece(0, size_t(m_pieces.size()) - 1);
        QByteArray rtf = "{\\rtf1\\ansi ";
        const int count = std::uniform_int_distribution<int>(1, 60)(random);
        for (int i = 0; i < count; ++i)
            rtf += m_pieces[piece(random)];
        return rtf + (seed % 3 ? "}" : "");
    }

private:
    QList<QByteArray> m_pieces;
};

} // namespace

TEST(RtfText, MatchesTheReaderOnEveryFuzzSeedAndPageFile)
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
}

TEST(RtfText, MatchesTheReaderOnGeneratedPages)
{
    const Soup soup;
    for (unsigned seed = 0; seed < 300; ++seed)
        expectSame(diarygen::pageRtf(seed, seed % 10 == 0));
    for (unsigned seed = 0; seed < 5000; ++seed)
        expectSame(soup.page(seed));
}
