#include "pictures.h"
#include "rtfpages.h"

#include "richtext/picture.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QUrl>

#include <gtest/gtest.h>


TEST(Pictures, PngAndJpegKeepTheirOwnBytesThroughASaveAndALoad)
{
    const QByteArray png = testpictures::encoded(testpictures::drawing(), "png");
    const QByteArray jpeg = testpictures::encoded(testpictures::photograph(), "jpeg");
    const auto document = rtfpages::read("{\\rtf1 a{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240 " + png.toHex()
                               + "}b{\\pict\\jpegblip\\picw160\\pich120\r\n" + testpictures::hexLines(jpeg) + "}c}");
    const QByteArray rtf = richtext::writeRtf(*document);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240\r\n"));
    EXPECT_TRUE(rtf.contains("{\\pict\\jpegblip\\picw160\\pich120\\picwgoal2400\\pichgoal1800\r\n"));
    EXPECT_TRUE(rtf.contains(testpictures::hexLines(jpeg).chopped(2) + "}c"));

    const auto again = rtfpages::read(rtf);
    EXPECT_EQ(again->toRawText(), QStringLiteral("a\uFFFCb\uFFFCc"));
    const QList<QTextImageFormat> found = rtfpages::images(*again);
    ASSERT_EQ(found.size(), 2);
    EXPECT_EQ(QSizeF(found[0].width(), found[0].height()), QSizeF(24, 16));
    EXPECT_EQ(richtext::storedPicture(*again, found[0])->bytes, png);
    EXPECT_EQ(richtext::storedPicture(*again, found[1])->bytes, jpeg);
    EXPECT_EQ(richtext::storedPicture(*again, found[1])->kind, richtext::StoredPicture::Jpeg);
    // What the editor draws is still the picture itself, beside its stored form.
    EXPECT_EQ(again->resource(QTextDocument::ImageResource, QUrl(found[1].name())).value<QImage>().size(), QSize(160, 120));
}

// A camera's photograph shown small costs what it shows, and keeps every pixel stored.
TEST(Pictures, ALargePhotographIsDecodedOnlyAsLargeAsItIsShown)
{
    const QByteArray jpeg = testpictures::encoded(testpictures::photograph(3000, 2000), "jpeg");
    const auto document = rtfpages::read("{\\rtf1 {\\pict\\jpegblip\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000\r\n"
                               + testpictures::hexLines(jpeg) + "}}");
    const QTextImageFormat found = rtfpages::images(*document).constFirst();
    EXPECT_EQ(QSizeF(found.width(), found.height()), QSizeF(300, 200));
    EXPECT_EQ(document->resource(QTextDocument::ImageResource, QUrl(found.name())).value<QImage>().size(), QSize(450, 300));
    EXPECT_EQ(rtfpages::storedBytes(*document), jpeg);
    EXPECT_TRUE(richtext::writeRtf(*document).contains("\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000"));
}

TEST(Pictures, AnUnshowablePictureIsAPlaceholderWrittenBackUnchanged)
{
    const QByteArray metafile = QByteArray::fromHex("010009000003aa0000000000") + QByteArray(300, '\x42');
    const QByteArray damaged = testpictures::encoded(testpictures::drawing(), "png").left(40);
    // Each shown at its goal size, else at its size in pixels.
    for (const auto &[head, data, shown] :
         {std::tuple{QByteArray("\\wmetafile8\\picw2000\\pich1000\\picwgoal1500\\pichgoal750"), metafile, QSizeF(100, 50)},
          std::tuple{QByteArray("\\pngblip\\picw12\\pich8"), damaged, QSizeF(12, 8)},
          std::tuple{QByteArray("\\macpict\\picw10\\pich10"), QByteArray(70, '\x07'), QSizeF(10, 10)}}) {
        const QByteArray pict = "{\\pict" + head + "\r\n" + testpictures::hexLines(data);
        const auto document = rtfpages::read("{\\rtf1\\ansi x" + pict + "}y\\par}");
        const QList<QTextImageFormat> found = rtfpages::images(*document);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(QSizeF(found[0].width(), found[0].height()), shown);
        const QByteArray rtf = richtext::writeRtf(*document);
        EXPECT_TRUE(rtf.contains(pict.chopped(2) + "}")) << head.toStdString();
        EXPECT_EQ(rtfpages::storedBytes(*rtfpages::read(rtf)), data);
    }
    // A bitmap header promising 8192 by 8704 pixels over a few bytes of data.
    const auto promised = rtfpages::read("{\\rtf1{\\pict\\dibitmap0\\picw2\\pich2 28000000002000000022000001001800000000000000}}");
    EXPECT_EQ(richtext::storedPicture(*promised, rtfpages::images(*promised).constFirst())->kind, richtext::StoredPicture::Kept);
    EXPECT_EQ(rtfpages::storedBytes(*rtfpages::read("{\\rtf1{\\pict\\emfblip\\bin5 \x01\x02}{\\5}}")), QByteArray("\x01\x02}{\\5", 5));
}

// A device-independent bitmap, a bitmap's bare rows, and each wrapped in a metafile and an enhanced one.
TEST(Pictures, WindowsBitmapsAreShownAndStoredAsPng)
{
    for (const QString &name : QDir(QStringLiteral(RICHTEXT_DATA "/bitmaps")).entryList(QDir::Files)) {
        SCOPED_TRACE(name.toStdString());
        const auto document = rtfpages::read(rtfpages::file(QStringLiteral("bitmaps/") + name));
        rtfpages::expectDrawing(*document);
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
