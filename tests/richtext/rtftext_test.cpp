#include "diarygen.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"
#include "richtext/rtftext.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <random>
#include <string>

namespace {

QString readerText(QByteArrayView rtf)
{
    QTextDocument document;
    EXPECT_TRUE(richtext::readRtf(rtf, document));
    return richtext::plainText(document);
}

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
    const QString reader = readerText(rtf);
    EXPECT_TRUE(ours == reader) << "page: " << rtf.first(std::min<qsizetype>(rtf.size(), 300)).toByteArray().toStdString()
                                << "\nours:   " << escaped(ours) << "\nreader: " << escaped(reader);
}

// Pieces to shuffle into pages, each of them something the reader treats specially.
const char *const kPieces[] = {
    "{", "}", "{", "}", "\\par ", "\\line ", "\\tab ", "\\cell ", "\\row ", "\\page ", "\\\r\n", "\r\n", "text ",
    "caf\\'e9", "\\'0d", "\\'0a", "\\'00", "\\'93\\'fa", "\\'83", "\\'5c", "\\'a0", "\\~", "\\-", "\\_", "\\\\", "\\{",
    "\\}", "\\b ", "\\b0 ", "\\i ", "\\plain ", "\\fs20 ", "\\cf1 ", "\\f0 ", "\\f1 ", "\\f2 ", "\\deff1 ",
    "\\ansicpg1251 ", "\\ansicpg1252 ", "\\u8364?", "\\u8232?", "\\u8233 ", "\\u13?", "\\u10 ", "\\u0 ",
    "\\u65532?", "\\u-10179?\\u-8704?", "\\uc0 ", "\\uc2 ", "\\uc3 ", "\\u945\\'80\\'80", "\\*", "{\\*\\unknown u}",
    "{\\fonttbl{\\f1\\fcharset128 M;}{\\f2\\fcharset2 Symbol;}}", "{\\fonttbl{\\f0\\cpg936 S}{\\f3 x;}}",
    "{\\colortbl;\\red9;\\par}", "{\\stylesheet{x\\par}}", "{\\info t}", "{\\field{\\*\\fldinst X}{\\fldrslt r}}",
    "{\\object{\\*\\objdata 01}{\\result res}}", "{\\pict\\pngblip 0a1}", "{\\pict\\wmetafile8 01\\bin2 xy}",
    "\\bin3 abc", "{\\*\\shppict{\\pict 0}}{\\nonshppict n}", "\\pict ", "\\emdash ", "\\lquote ", "\\bullet ",
    "\\pard\\qc ", "\\unknownword ", "\\'4", "\\'", "\xe9\xa0", "\x83\x5c", "\r", "\n", " ",
    "\\ansicpg932 ", "\\mac ", "\\pca ", "{\\fonttbl{\\f1\\fcharset134 G;}}", "\\'d6", "\\fs0 ", "\\b1 ",
    "\\uld ", "\\ulnone ", "\\strike ", "\\cb2 ", "\\sect ", "\\nestcell ", "\\uc1 ", "\\u-4 ",
    "{\\shp{\\*\\shpinst\\shpright99\\shpbottom9{\\sp{\\sn pib}{\\sv ", "{\\shptxt ", "{\\shprslt ",
    "{\\nonshppict ", "\\chftn ", "{\\upr{", "{\\*\\ud ", "{\\fonttbl{\\f4\\fcharset0 W;}}\\f4 ", "\\ansicpg936 ",
    "\\ansicpg10001 ", "\\b0\\*\\cs7 ",
};

QByteArray soup(unsigned seed)
{
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> piece(0, std::size(kPieces) - 1);
    QByteArray rtf = "{\\rtf1\\ansi ";
    const int count = std::uniform_int_distribution<int>(1, 60)(random);
    for (int i = 0; i < count; ++i)
        rtf += kPieces[piece(random)];
    return rtf + (seed % 3 ? "}" : "");
}

} // namespace

TEST(RtfText, MatchesTheReaderOnEveryFuzzSeed)
{
    int files = 0;
    for (QDirIterator it(QStringLiteral(QUILLNEST_FUZZ_CORPUS), QDir::Files, QDirIterator::Subdirectories); it.hasNext();) {
        QFile file(it.next());
        ASSERT_TRUE(file.open(QIODevice::ReadOnly));
        SCOPED_TRACE(file.fileName().toStdString());
        expectSame(file.readAll());
        ++files;
    }
    EXPECT_GT(files, 30);
}

TEST(RtfText, MatchesTheReaderOnTheReaderTestInputs)
{
    for (const auto &pages : {rtfpages::edgePages(), rtfpages::foreignPages()}) {
        for (const rtfpages::Page &page : pages)
            expectSame(page.rtf);
    }
    for (const char *rtf : {"{\\rtf1\\pard\\li720\\fi-360{\\listtext\\pard\\plain \\'b7\\tab}item\\par}",
                            "{\\rtf1\\b\\i\\ul\\fs40 all{\\b0 group}after\\plain plain \\uld dots\\ulnone none}",
                            "{\\rtf1{\\colortbl;;;\\red999;}\\cf3 x}", "{\\rtf1{\\pict\\dibitmap 28000000ffffff7fffffff7f01002000}}"})
        expectSame(rtf);
    const QByteArray huge(richtext::limits::kPictureBytes + 1, '\x42');
    expectSame("{\\rtf1 a\\par{\\pict\\pngblip\\bin" + QByteArray::number(huge.size()) + " " + huge + "}b}");
    expectSame("{\\rtf1 a\\par{\\pict\\pngblip\\bin4 " + huge.left(4) + "}b}");
}

TEST(RtfText, MatchesTheReaderOnGeneratedPages)
{
    for (unsigned seed = 0; seed < 300; ++seed) {
        expectSame(diarygen::pageRtf(seed, seed % 10 == 0));
        expectSame(soup(seed));
    }
    for (unsigned seed = 300; seed < 5000; ++seed)
        expectSame(soup(seed));
}

TEST(RtfText, MatchesTheReaderOnHandWrittenEdges)
{
    for (const char *rtf : {
             "{\\rtf1\\ansi caf\\'e9 na\\'efve \\'a0nbsp\\par}",
             "{\\rtf1 wo{\\b r}d and wo\\b r\\b0 d\\par\\par\\par end\\par\\par}",
             "{\\rtf1\\uc2 \\u8364\\'80\\'80 then \\u946 ab\\uc0\\u947 x}",
             "{\\rtf1\\trowd\\cellx900 a\\cell b\\nestcell\\nestrow c\\cell\\row}",
             "{\\rtf1 see {\\field{\\*\\fldinst{HYPERLINK \"h\"}}{\\fldrslt{\\ul here}}}.}",
             "{\\rtf1 a\\bin5 {\\}}b{\\pict\\bin3 \\\\}c}",
             "{\\rtf1 x{\\*\\unknown{nested}y}{\\*\\shppict{\\pict 00}}z{\\xe idx}\\'0d\\'0a\\'0d\\u10 \\'0d\\b\\'0a}",
             "{\\rtf1\\ansi\\ansicpg932 \\'93\\'fa\\'96\\'7b{\\'83}\\'5c\\'83\\b\\'5c}",
             "{\\rtf1{\\fonttbl{\\f0\\fnil\\fcharset2 Symbol;}}\\f0 \\'61\\'b7}",
             "{\\rtf1{\\fonttbl{\\f1\\fcharset128 \\'83;}}\\f1\\'83}",
             "{\\rtf1\\ansi text\\ansicpg1251 \\'e1\\b \\'e1}",
             "{\\rtf1 \\u8232 a\\u8233 b\\u65533 c\\u65008 d\\u64976 e}",
         })
        expectSame(rtf);
    EXPECT_EQ(richtext::visibleText("{\\rtf1 caf\\'e9 \\b bold\\b0\\par\\trowd a\\cell b\\cell\\row\\line x}"),
              QStringLiteral("caf\u00e9 bold\na\tb\t\n\nx"));
}
