#include "pictures.h"
#include "rtfpages.h"

#include "richtext/picture.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include <QTextBlock>
#include <QTextDocument>
#include <QUrl>

#include <gtest/gtest.h>

#include <memory>

namespace {

using rtfpages::read;

QList<QTextImageFormat> images(const QTextDocument &document)
{
    QList<QTextImageFormat> found;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            if (it.fragment().charFormat().isImageFormat())
                found.append(it.fragment().charFormat().toImageFormat());
        }
    }
    return found;
}

QByteArray pict(const QByteArray &header, const QByteArray &data)
{
    return "{\\rtf1\\ansi x{\\pict" + header + "\r\n" + testpictures::hexLines(data) + "}y\\par}";
}

} // namespace

TEST(Pictures, PngAndJpegKeepTheirOwnBytesThroughASaveAndALoad)
{
    const QByteArray png = testpictures::encoded(testpictures::drawing(), "png");
    const QByteArray jpeg = testpictures::encoded(testpictures::photograph(), "jpeg");
    const auto document = read("{\\rtf1 a{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240 " + png.toHex()
                               + "}b{\\pict\\jpegblip\\picw160\\pich120\r\n" + testpictures::hexLines(jpeg) + "}c}");
    const QByteArray rtf = richtext::writeRtf(*document);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240\r\n"));
    EXPECT_TRUE(rtf.contains("{\\pict\\jpegblip\\picw160\\pich120\\picwgoal2400\\pichgoal1800\r\n"));
    EXPECT_TRUE(rtf.contains(testpictures::hexLines(jpeg).chopped(2) + "}c"));

    const auto again = read(rtf);
    EXPECT_EQ(again->toRawText(), QStringLiteral("a\uFFFCb\uFFFCc"));
    const QList<QTextImageFormat> found = images(*again);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(found[0].width(), 24);
    EXPECT_EQ(found[0].height(), 16);
    EXPECT_EQ(richtext::storedPicture(*again, found[0])->bytes, png);
    EXPECT_EQ(richtext::storedPicture(*again, found[1])->bytes, jpeg);
    EXPECT_EQ(richtext::storedPicture(*again, found[1])->kind, richtext::StoredPicture::Jpeg);
    // What the editor draws is still the picture itself, beside its stored form.
    const QVariant shown = again->resource(QTextDocument::ImageResource, QUrl(found[1].name()));
    ASSERT_EQ(shown.userType(), QMetaType::QImage);
    EXPECT_EQ(shown.value<QImage>().size(), testpictures::photograph().size());
}

// A camera's photograph shown small costs what it shows, and keeps every pixel stored.
TEST(Pictures, ALargePhotographIsDecodedOnlyAsLargeAsItIsShown)
{
    const QByteArray jpeg = testpictures::encoded(testpictures::photograph(3000, 2000), "jpeg");
    const auto document = read("{\\rtf1 {\\pict\\jpegblip\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000\r\n"
                               + testpictures::hexLines(jpeg) + "}}");
    const QList<QTextImageFormat> found = images(*document);
    ASSERT_EQ(found.size(), 1);
    EXPECT_EQ(QSizeF(found[0].width(), found[0].height()), QSizeF(300, 200));
    EXPECT_EQ(document->resource(QTextDocument::ImageResource, QUrl(found[0].name())).value<QImage>().size(), QSize(450, 300));
    EXPECT_EQ(richtext::storedPicture(*document, found[0])->bytes, jpeg);
    EXPECT_TRUE(richtext::writeRtf(*document).contains("\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000"));
}

TEST(Pictures, AnUnshowablePictureIsAPlaceholderWrittenBackUnchanged)
{
    const QByteArray metafile = QByteArray::fromHex("010009000003aa0000000000") + QByteArray(300, '\x42');
    const QByteArray header = "\\wmetafile8\\picw2000\\pich1000\\picwgoal1500\\pichgoal750";
    const QByteArray damaged = testpictures::encoded(testpictures::drawing(), "png").left(40);
    for (const auto &[head, data] : {std::pair{header, metafile}, std::pair{QByteArray("\\pngblip\\picw12\\pich8"), damaged},
                                     std::pair{QByteArray("\\macpict\\picw10\\pich10"), QByteArray(70, '\x07')}}) {
        const auto document = read(pict(head, data));
        const QList<QTextImageFormat> found = images(*document);
        ASSERT_EQ(found.size(), 1);
        const QByteArray rtf = richtext::writeRtf(*document);
        EXPECT_TRUE(rtf.contains("{\\pict" + head + "\r\n" + testpictures::hexLines(data).chopped(2) + "}")) << head.toStdString();
        const auto again = read(rtf);
        EXPECT_EQ(richtext::storedPicture(*again, images(*again).constFirst())->bytes, data);
    }
    // A bitmap header promising 8192 by 8704 pixels over a few bytes of data.
    const auto promised = read("{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2 28000000002000000022000001001800000000000000}}");
    EXPECT_EQ(richtext::storedPicture(*promised, images(*promised).constFirst())->kind, richtext::StoredPicture::Kept);

    const QTextImageFormat placeholder = images(*read(pict(header, metafile))).constFirst();
    EXPECT_EQ(placeholder.width(), 100);
    EXPECT_EQ(placeholder.height(), 50);

    const auto binary = read("{\\rtf1{\\pict\\emfblip\\bin5 \x01\x02}{\\5}}");
    EXPECT_EQ(richtext::storedPicture(*binary, images(*binary).constFirst())->bytes, QByteArray("\x01\x02}{\\5", 5));
}

TEST(Pictures, WindowsBitmapsAreShownAndStoredAsPng)
{
    const QImage drawing = testpictures::drawing();
    const QByteArray dib = testpictures::dib(drawing);
    QByteArray rows;
    for (int y = 0; y < drawing.height(); ++y)
        rows += QByteArray(reinterpret_cast<const char *>(drawing.scanLine(y)), drawing.width() * 4);

    for (const QByteArray &rtf : {pict("\\dibitmap0\\picw12\\pich8", dib),
                                  pict("\\wbitmap0\\picw12\\pich8\\wbmbitspixel32\\wbmplanes1\\wbmwidthbytes48", rows),
                                  pict("\\wmetafile8\\picw300\\pich200", testpictures::wmfWrapping(dib)),
                                  pict("\\emfblip\\picw300\\pich200", testpictures::emfWrapping(dib))}) {
        const auto document = read(rtf);
        const QList<QTextImageFormat> found = images(*document);
        ASSERT_EQ(found.size(), 1);
        const auto stored = richtext::storedPicture(*document, found[0]);
        ASSERT_TRUE(stored);
        EXPECT_EQ(stored->kind, richtext::StoredPicture::Png);
        EXPECT_EQ(richtext::decodeImage(stored->bytes).convertToFormat(QImage::Format_RGB32), drawing);
        EXPECT_TRUE(richtext::writeRtf(*document).contains("{\\pict\\pngblip\\picw12\\pich8"));
    }
}

TEST(Pictures, PastedImagesAreStoredCompactly)
{
    const richtext::StoredPicture drawing = richtext::compactPicture(testpictures::drawing(200, 100));
    EXPECT_EQ(drawing.kind, richtext::StoredPicture::Png);
    EXPECT_EQ(richtext::decodeImage(drawing.bytes).convertToFormat(QImage::Format_RGB32), testpictures::drawing(200, 100));

    const QImage photo = testpictures::photograph(400, 300);
    const richtext::StoredPicture stored = richtext::compactPicture(photo);
    EXPECT_EQ(stored.kind, richtext::StoredPicture::Jpeg);
    EXPECT_EQ(stored.pixels, photo.size());
    EXPECT_LT(stored.bytes.size(), testpictures::encoded(photo, "png").size());
    EXPECT_EQ(richtext::compactPicture(photo.convertToFormat(QImage::Format_ARGB32)).kind, richtext::StoredPicture::Jpeg);

    QImage seeThrough = photo.convertToFormat(QImage::Format_ARGB32);
    seeThrough.setPixel(0, 0, qRgba(0, 0, 0, 0));
    EXPECT_EQ(richtext::compactPicture(seeThrough).kind, richtext::StoredPicture::Png);
}
