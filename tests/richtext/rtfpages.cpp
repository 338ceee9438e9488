#include "rtfpages.h"

#include "pictures.h"

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

} // namespace rtfpages
