#include "rtfpages.h"

#include "pictures.h"

#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"

#include <gtest/gtest.h>

namespace rtfpages {

namespace {

QByteArray png()
{
    return "{\\pict\\picscalex100\\picscaley100\\picw12\\pich8\\picwgoal180\\pichgoal120\\pngblip\r\n"
           + testpictures::hexLines(testpictures::encoded(testpictures::drawing(), "png")) + "}";
}

QByteArray wmf()
{
    return "{\\pict\\wmetafile8\\picw53\\pich53\\picwgoal180\\pichgoal120\r\n"
           + testpictures::hexLines(testpictures::wmfWrapping(testpictures::dib(testpictures::drawing()))) + "}";
}

QByteArray shape(const QByteArray &properties, const QByteArray &fallback = {})
{
    return "{\\shp{\\*\\shpinst\\shpleft0\\shptop0\\shpright1800\\shpbottom1200\\shpwr3\\shplid1025"
           "{\\sp{\\sn shapeType}{\\sv 75}}{\\sp{\\sn wzName}{\\sv Picture 1}}"
           + properties + "}" + fallback + "}";
}

QByteArray pib()
{
    return "{\\sp{\\sn pib}{\\sv " + png() + "}}";
}

const QString kPicture(QChar::ObjectReplacementCharacter);
const QString kBreak(QChar::ParagraphSeparator);

} // namespace

QByteArray floatingPicturePage()
{
    return "{\\rtf1\\ansi\\deff0{\\fonttbl{\\f0\\fcharset0 Liberation Serif;}}\\pard\\plain before "
           + shape(pib()) + " after\\par}";
}

std::vector<Page> foreignPages()
{
    const QString aside = QStringLiteral("before ") + kPicture + QStringLiteral(" after");
    return {
        {"floating picture, no fallback", floatingPicturePage(), aside},
        {"floating picture and its fallback",
         "{\\rtf1\\ansi before " + shape(pib(), "{\\shprslt\\par\\pard\\plain " + wmf() + "}") + " after\\par}", aside},
        {"drawing with only its fallback",
         "{\\rtf1\\ansi before " + shape("{\\sp{\\sn fLine}{\\sv 1}}", "{\\shprslt " + wmf() + "}") + " after\\par}",
         aside},
        {"group of two pictures and its fallback",
         "{\\rtf1 a{\\shpgrp{\\*\\shpinst\\shpright900\\shpbottom900{\\shp{\\*\\shpinst" + pib() + "}}{\\shp{\\*\\shpinst"
             + pib() + "}}}{\\shprslt " + wmf() + "}}b}",
         QStringLiteral("a") + kPicture + kPicture + QStringLiteral("b")},
        {"picture and its old-reader copy", "{\\rtf1 a{\\*\\shppict" + png() + "}{\\nonshppict" + wmf() + "}b}",
         QStringLiteral("a") + kPicture + QStringLiteral("b")},
        {"old-reader copy alone", "{\\rtf1 a{\\nonshppict" + wmf() + "}b}", QStringLiteral("a") + kPicture + "b"},
        {"text box",
         "{\\rtf1\\pard " + shape("{\\shptxt\\pard\\qc box one\\par box two\\par}",
                                  "{\\shprslt{\\*\\do\\dobxcolumn{\\dptxbx{\\dptxbxtext old box\\par}}}}")
             + "after\\par}",
         QStringLiteral("box one") + kBreak + QStringLiteral("box two") + kBreak + QStringLiteral("after")},
        {"star in mid-group", "{\\rtf1 one \\b0\\*\\cs7 two{\\*\\bkmkstart x}{\\*\\unknown y}\\par}", "one two"},
        {"object without a result", "{\\rtf1 a{\\object\\objemb{\\objclass P}{\\*\\objdata 0102} shown}b}",
         "a shownb"},
        {"fallbacks for old readers", "{\\rtf1 x{\\nonesttables old}{\\list\\listid1{\\listname Bullets;}}y}", "xy"},
        {"footnote marks",
         "{\\rtf1 word{\\super\\chftn}{\\footnote{\\super\\chftn} note}. more{\\chftn}{\\*\\footnote\\chftn n}}",
         "word1. more2"},
        {"unicode pair", "{\\rtf1 {\\upr{caf\\'e9 old}{\\*\\ud{caf\\u233? new}}}!}", QStringLiteral("caf\u00e9 new!")},
        {"western font in a Chinese page",
         "{\\rtf1\\ansi\\ansicpg936{\\fonttbl{\\f0\\fcharset0 Times;}{\\f1\\fcharset134 SimSun;}}"
         "\\f0 \\'93This\\'94 \\f1\\'d6\\'d0}",
         QStringLiteral("\u201cThis\u201d \u4e2d")},
        {"lone lead byte", "{\\rtf1\\ansi\\ansicpg936 \\'d6{\\b This}\\'d6\\'d0\\'d6\\par}",
         QStringLiteral("This\u4e2d")},
        {"western and Cyrillic fonts in Japanese and Cyrillic pages",
         "{\\rtf1\\ansi\\ansicpg932{\\fonttbl{\\f0\\fcharset0 A;}{\\f1\\fcharset204 C;}{\\f2 J;}}"
         "\\f0 caf\\'e9\\f1\\'e9\\f2\\'93\\'fa\\ansicpg1251\\f0\\'e9}",
         QStringLiteral("caf\u00e9\u0439\u65e5\u00e9")},
        {"Mac character sets",
         "{\\rtf1\\mac{\\fonttbl{\\f0\\fcharset77 Times;}{\\f1\\fcharset78 Osaka;}{\\f2 Geneva;}}"
         "\\f0\\'a5\\f1\\'93\\'fa\\f2\\'8e}",
         QStringLiteral("\u2022\u65e5\u00e9")},
        {"Mac Japanese page", "{\\rtf1\\ansi\\ansicpg10001 \\'93\\'fa}", QStringLiteral("\u65e5")},
    };
}

std::unique_ptr<QTextDocument> read(QByteArrayView rtf)
{
    auto document = std::make_unique<QTextDocument>();
    EXPECT_TRUE(richtext::readRtf(rtf, *document));
    return document;
}

std::vector<Page> edgePages()
{
    const QByteArray huge(richtext::limits::kPictureBytes + 1, '\x42');
    return {
        {"what is not shown",
         "{\\rtf1{\\stylesheet{\\s0 Normal;}}{\\info{\\title T}}{\\header h}{\\footer f}"
         "body{\\footnote n}{\\*\\generator g;}{\\*\\unknown u} shown\\par}",
         "body shown"},
        {"field and object results",
         "{\\rtf1{\\field{\\*\\fldinst HYPERLINK \"x\"}{\\fldrslt link}} "
         "{\\object\\objemb{\\*\\objclass P}{\\*\\objdata 0102}{\\result seen}}}",
         "link seen"},
        {"table", "{\\rtf1\\trowd\\cellx1000\\cellx2000\\intbl a\\cell b\\cell\\row\\pard after\\par}",
         QStringLiteral("a\tb\t\u2029after")},
        {"old list number", "{\\rtf1{\\pntext\\'b7\\tab}item\\par}", QStringLiteral("\u00b7\titem")},
        {"special characters", "{\\rtf1 a\\~b\\-c\\_d\\line e\\tab f\\emdash\\lquote\\rquote}",
         QStringLiteral("a\u00a0b\u00adc\u2011d\u2028e\tf\u2014\u2018\u2019")},
        {"line ends", "{\\rtf1 one\r\ntwo\\\r\nthree\\\nfour}", QStringLiteral("onetwo\u2029three\u2029four")},
        {"text after the end", "{\\rtf1 kept\\par}ignored after the end", "kept"},
        // A NUL, bare or after a backslash, is dropped and the text after it kept.
        {"bare NUL", QByteArray("{\\rtf1 before", 13) + '\0' + QByteArray("after}"), "beforeafter"},
        {"escaped NUL", QByteArray("{\\rtf1 a\\", 9) + '\0' + QByteArray("b\\par c}"), QStringLiteral("ab\u2029c")},
        {"escaped symbols", "{\\rtf1 \\unknownword text \\\\ \\{ \\}}", "text \\ { }"},
        {"Cyrillic page", "{\\rtf1\\ansi\\ansicpg1251 \\'cf\\'f0\\'e8}", QStringLiteral("\u041f\u0440\u0438")},
        {"a code page a font",
         "{\\rtf1\\ansi\\ansicpg1252{\\fonttbl{\\f0\\fcharset0 Arial;}{\\f1\\fcharset128 MS Mincho;}"
         "{\\f2\\fcharset161 Greek;}{\\f3\\fcharset204 Cyr;}}"
         "\\f0 \\'e9 \\f1\\'93\\'fa\\'96\\'7b\\'83\\'5c\\f2 \\'e1\\f3 \\'e1}",
         QStringLiteral("\u00e9 \u65e5\u672c\u30bd\u03b1\u0431")},
        {"simplified Chinese font", "{\\rtf1{\\fonttbl{\\f0\\fcharset134 SimSun;}}\\f0 \\'d6\\'d0}", QStringLiteral("\u4e2d")},
        {"traditional Chinese font", "{\\rtf1{\\fonttbl{\\f0\\fcharset136 MingLiU;}}\\f0 \\'a4\\'a4}", QStringLiteral("\u4e2d")},
        {"unicode and its fallbacks", "{\\rtf1\\uc1\\u8364?{\\uc2\\u8364\\'80\\'80x}{\\uc0\\u945}\\u946?y}",
         QStringLiteral("\u20ac\u20acx\u03b1\u03b2y")},
        {"surrogate pair", "{\\rtf1{\\uc3 a}\\u946?b \\u-10179?\\u-8704?}", QStringLiteral("a\u03b2b \U0001F600")},
        {"unclosed group", "{\\rtf1 a{b", "ab"},
        {"stray braces", "}}}{\\rtf1 a}}}", "a"},
        {"cut hex escape", "{\\rtf1 a\\'4", "a4"},
        {"huge numbers", "{\\rtf1 \\fs99999999999999999999999 big\\li-99999999999999 x}", "bigx"},
        {"unicode out of range", "{\\rtf1 \\u99999999999?\\u-99999?ok}", "ok"},
        {"long control word", QByteArray("{\\rtf1 \\") + QByteArray(100, 'a') + " word}", "word"},
        {"binary longer than the page", "{\\rtf1 \\bin999999999999 x}", QString()},
        {"cut picture", "{\\rtf1 x{\\pict\\pngblip 89504e470", QStringLiteral("x\uFFFC")},
        {"deep groups", QByteArray("{\\rtf1 ") + QByteArray(100000, '{') + "deep" + QByteArray(100000, '}') + " out}", "deep out"},
        {"deep groups and backslashes", QByteArray(100000, '{') + "\\'" + QByteArray(1000, '\\'), QString(500, QLatin1Char('\\'))},
        {"picture above the limit", "{\\rtf1 a{\\pict\\pngblip\\bin" + QByteArray::number(huge.size()) + " " + huge + "}b}", "ab"},
    };
}

} // namespace rtfpages
