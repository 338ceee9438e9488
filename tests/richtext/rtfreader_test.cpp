#include "pictures.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/picture.h"
#include "richtext/rtfreader.h"

#include <QTextBlock>
#include <QTextDocument>

#include <gtest/gtest.h>

#include <memory>

namespace {

using rtfpages::read;

QString text(QByteArrayView rtf)
{
    return read(rtf)->toRawText();
}

QTextCharFormat formatAt(const QTextDocument &document, const QString &word)
{
    const QTextCursor found = document.find(word);
    return found.charFormat();
}

} // namespace

TEST(RtfReader, ReadsWhatAWindowsRichEditControlWrites)
{
    const QByteArray wmf = testpictures::wmfWrapping(testpictures::dib(testpictures::drawing()));
    const QByteArray rtf = "{\\rtf1\\ansi\\ansicpg1252\\deff0\\deflang1033{\\fonttbl{\\f0\\fswiss\\fcharset0 Arial;}"
                           "{\\f1\\froman\\fprq2\\fcharset0 Times New Roman;}}\r\n"
                           "{\\colortbl ;\\red255\\green0\\blue0;}\r\n"
                           "\\viewkind4\\uc1\\pard\\f0\\fs20 Caf\\'e9 \\b bold\\b0  {\\cf1 red}\\par\r\n"
                           "\\pard\\qc\\f1\\fs32 centred\\par\r\n"
                           "{\\pict\\wmetafile8\\picw53\\pich53\\picwgoal180\\pichgoal120\r\n"
                           + testpictures::hexLines(wmf) + "}\\par\r\n}\r\n";
    const auto document = read(rtf);
    ASSERT_EQ(document->blockCount(), 3);
    EXPECT_EQ(document->begin().text(), QStringLiteral("Caf\u00e9 bold red"));

    const QTextCharFormat cafe = formatAt(*document, QStringLiteral("Caf"));
    EXPECT_EQ(cafe.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_EQ(cafe.fontPointSize(), 10);
    EXPECT_LT(cafe.fontWeight(), QFont::DemiBold);
    EXPECT_GE(formatAt(*document, QStringLiteral("bold")).fontWeight(), QFont::DemiBold);
    EXPECT_EQ(formatAt(*document, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(cafe.hasProperty(QTextFormat::ForegroundBrush));

    const QTextBlock centred = document->begin().next();
    EXPECT_EQ(centred.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    EXPECT_EQ(formatAt(*document, QStringLiteral("centred")).fontFamilies().toStringList(),
              QStringList{QStringLiteral("Times New Roman")});
    EXPECT_EQ(formatAt(*document, QStringLiteral("centred")).fontPointSize(), 16);

    const QTextBlock pictureBlock = document->lastBlock();
    ASSERT_EQ(pictureBlock.text(), QString(QChar::ObjectReplacementCharacter));
    const QTextImageFormat image = pictureBlock.begin().fragment().charFormat().toImageFormat();
    EXPECT_EQ(image.width(), 12);
    EXPECT_EQ(image.height(), 8);
    const auto stored = richtext::storedPicture(*document, image);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind, richtext::StoredPicture::Png);
    EXPECT_EQ(richtext::decodeImage(stored->bytes).convertToFormat(QImage::Format_RGB32), testpictures::drawing());
}

TEST(RtfReader, ReadsWhatLibreOfficeWrites)
{
    const auto document = read(
        "{\\rtf1\\ansi\\deff4\\adeflang1025\r\n{\\fonttbl{\\f0\\froman\\fprq2\\fcharset0 Times New Roman;}"
        "{\\f4\\fswiss\\fprq2\\fcharset0 Liberation Sans{\\*\\falt Arial};}}\r\n"
        "{\\colortbl;\\red0\\green0\\blue0;\\red0\\green0\\blue255;}\r\n"
        "{\\stylesheet{\\s0\\snext0\\hich\\af4\\loch\\f4\\fs24 Normal;}}{\\*\\generator LibreOffice/7.4$Linux}"
        "{\\info{\\creatim\\yr2024\\mo3\\dy5}}\\deftab709\\viewscale100{\\*\\pgdsctbl{\\pgdsc0\\pgdscuse451"
        "{\\*\\pgdscnxt0 Default Page Style;}}}\\paperh16838\\paperw11906\\sectd\\sbknone{\\*\\ftnsep\\chftnsep}"
        "\\pgndec\\pard\\plain \\s0\\hich\\af4\\loch\\f4\\fs24\\qc{\\rtlch \\ltrch\\loch Hello }"
        "{\\b\\cf2\\rtlch \\ltrch\\loch world}\r\n\\par }");
    EXPECT_EQ(document->toPlainText(), QStringLiteral("Hello world"));
    EXPECT_EQ(document->begin().blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignHCenter);
    const QTextCharFormat hello = formatAt(*document, QStringLiteral("Hello"));
    EXPECT_EQ(hello.fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Sans")});
    EXPECT_EQ(hello.fontPointSize(), 12);
    const QTextCharFormat world = formatAt(*document, QStringLiteral("world"));
    EXPECT_GE(world.fontWeight(), QFont::DemiBold);
    EXPECT_EQ(world.foreground().color(), QColor(0, 0, 255));
}

TEST(RtfReader, ShowsWhatEveryWriterMeansToShowOnceInItsOwnCodePage)
{
    for (const auto &pages : {rtfpages::edgePages(), rtfpages::foreignPages()}) {
        for (const rtfpages::Page &page : pages)
            EXPECT_EQ(text(page.rtf), page.shown) << page.what;
    }
    const auto shapes = read("{\\rtf1{\\*\\shppict{\\pict\\pngblip " + testpictures::encoded(testpictures::drawing(), "png").toHex()
                             + "}}{\\nonshppict{\\pict\\wmetafile8 0100}}\\par}");
    EXPECT_EQ(shapes->toRawText(), QString(QChar::ObjectReplacementCharacter));

    const auto document = read(rtfpages::floatingPicturePage());
    auto fragment = document->begin().begin();
    ++fragment;
    ASSERT_TRUE(fragment.fragment().charFormat().isImageFormat());
    const QTextImageFormat image = fragment.fragment().charFormat().toImageFormat();
    EXPECT_EQ(image.width(), 120);
    EXPECT_EQ(image.height(), 80);
    const auto stored = richtext::storedPicture(*document, image);
    ASSERT_TRUE(stored);
    EXPECT_EQ(richtext::decodeImage(stored->bytes).convertToFormat(QImage::Format_RGB32), testpictures::drawing());
    EXPECT_EQ(richtext::htmlWithPictures(*document).count(QStringLiteral("data:image/png;base64,")), 1);
}

TEST(RtfReader, KeepsParagraphAndCharacterStateWhereRtfSaysTo)
{
    const auto document = read("{\\rtf1\\pard\\qr\\li720 one\\par two\\par\\pard three\\par}");
    QTextBlock block = document->begin();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    EXPECT_EQ(block.blockFormat().leftMargin(), 48);
    block = block.next();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignRight);
    block = block.next();
    EXPECT_EQ(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask, Qt::AlignLeft);
    EXPECT_EQ(block.blockFormat().leftMargin(), 0);

    const auto list = read("{\\rtf1\\pard\\li720\\fi-360{\\listtext\\pard\\plain \\'b7\\tab}item\\par}");
    EXPECT_EQ(list->toRawText(), QStringLiteral("\u00b7\titem"));
    EXPECT_EQ(list->begin().blockFormat().leftMargin(), 48);
    EXPECT_EQ(list->begin().blockFormat().textIndent(), -24);

    const auto chars = read("{\\rtf1\\b\\i\\ul\\fs40 all{\\b0 group}after\\plain plain \\uld dots\\ulnone none}");
    EXPECT_GE(formatAt(*chars, QStringLiteral("all")).fontWeight(), QFont::DemiBold);
    EXPECT_LT(formatAt(*chars, QStringLiteral("group")).fontWeight(), QFont::DemiBold);
    EXPECT_TRUE(formatAt(*chars, QStringLiteral("group")).fontItalic());
    EXPECT_GE(formatAt(*chars, QStringLiteral("after")).fontWeight(), QFont::DemiBold);
    EXPECT_EQ(formatAt(*chars, QStringLiteral("after")).fontPointSize(), 20);
    const QTextCharFormat plain = formatAt(*chars, QStringLiteral("plain"));
    EXPECT_FALSE(plain.fontItalic() || plain.fontUnderline());
    EXPECT_EQ(plain.fontPointSize(), 12);
    EXPECT_EQ(formatAt(*chars, QStringLiteral("dots")).underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_FALSE(formatAt(*chars, QStringLiteral("none")).fontUnderline());
}

TEST(RtfReader, HostileInputGivesAPageNoLongerThanItself)
{
    for (const QByteArray &hostile : {QByteArray(), QByteArray("{"), QByteArray("\\"), QByteArray("{\\*"),
                                      QByteArray("{\\rtf1{\\fonttbl{\\f"), QByteArray("{\\rtf1{\\colortbl;;;\\red999;}\\cf3 x}"),
                                      QByteArray("{\\rtf1{\\pict\\wbitmap\\picw99999\\pich99999\\wbmwidthbytes1 00}}"),
                                      QByteArray("{\\rtf1{\\pict\\dibitmap 28000000ffffff7fffffff7f01002000}}"),
                                      QByteArray("{\\rtf1{\\pict\\emfblip 0100000008000000}}"),
                                      QByteArray(5000, '\xff'), QByteArray(20000, '\\')}) {
        const auto document = read(hostile);
        EXPECT_LE(document->characterCount(), hostile.size() + 1);
    }
}
