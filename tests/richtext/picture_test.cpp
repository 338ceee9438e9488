#include "pictures.h"
#include "rtfpages.h"

#include "richtext/picture.h"
#include "richtext/rtfwriter.h"

#include <QDir>
#include <QUrl>

#include <gtest/gtest.h>


// What the editor draws is the picture itself, beside its stored form; a
// camera's photograph shown small costs what it shows, and keeps every pixel stored.
TEST(Pictures, PngAndJpegKeepTheirOwnBytesThroughASaveAndALoadAndAreDrawnAsLargeAsShown)
{
    const QByteArrayList stored{testpictures::encoded(testpictures::drawing(), "png"), testpictures::encoded(testpictures::photograph(), "jpeg"),
                                testpictures::encoded(testpictures::photograph(3000, 2000), "jpeg")};
    const auto document = rtfpages::read("{\\rtf1 a{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240 " + stored[0].toHex()
                                         + "}b{\\pict\\jpegblip\\picw160\\pich120\r\n" + testpictures::hexLines(stored[1])
                                         + "}c{\\pict\\jpegblip\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000\r\n" + testpictures::hexLines(stored[2]) + "}}");
    const QByteArray rtf = richtext::writeRtf(*document);
    EXPECT_TRUE(rtf.contains("{\\pict\\pngblip\\picw12\\pich8\\picwgoal360\\pichgoal240\r\n"));
    EXPECT_TRUE(rtf.contains("{\\pict\\jpegblip\\picw160\\pich120\\picwgoal2400\\pichgoal1800\r\n"));
    EXPECT_TRUE(rtf.contains(testpictures::hexLines(stored[1]).chopped(2) + "}c{\\pict\\jpegblip\\picw3000\\pich2000\\picwgoal4500\\pichgoal3000\r\n"));

    const auto again = rtfpages::read(rtf);
    EXPECT_EQ(again->toRawText(), QStringLiteral("a\uFFFCb\uFFFCc\uFFFC"));
    const QList<QTextImageFormat> found = rtfpages::images(*again);
    ASSERT_EQ(found.size(), 3);
    const auto shown = [&](int i) {
        return std::pair(QSizeF(found[i].width(), found[i].height()), again->resource(QTextDocument::ImageResource, QUrl(found[i].name())).value<QImage>().size());
    };
    EXPECT_EQ(std::tuple(shown(0).first, shown(1).second, shown(2)), std::tuple(QSizeF(24, 16), QSize(160, 120), std::pair(QSizeF(300, 200), QSize(450, 300))));
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(richtext::storedPicture(*again, found[i])->bytes, stored[i]) << i;
    EXPECT_EQ(richtext::storedPicture(*again, found[1])->kind, richtext::StoredPicture::Jpeg);
}

TEST(Pictures, AnUnshowablePictureIsAPlaceholderWrittenBackUnchanged)
{
    const QByteArray metafile = QByteArray::fromHex("010009000003aa0000000000") + QByteArray(300, '\x42');
    const QByteArray damaged = testpictures::encoded(testpictures::drawing(), "png").left(40);
    // A bitmap header promising 8192 by 8704 pixels over a few bytes of data.
    const QByteArray promised = QByteArray::fromHex("28000000002000000022000001001800000000000000");
    // Each shown at its goal size, else at its size in pixels.
    for (const auto &[head, data, shown] :
         {std::tuple{QByteArray("\\wmetafile8\\picw2000\\pich1000\\picwgoal1500\\pichgoal750"), metafile, QSizeF(100, 50)},
          std::tuple{QByteArray("\\pngblip\\picw12\\pich8"), damaged, QSizeF(12, 8)},
          std::tuple{QByteArray("\\macpict\\picw10\\pich10"), QByteArray(70, '\x07'), QSizeF(10, 10)},
          std::tuple{QByteArray("\\dibitmap0\\picw2\\pich2"), promised, QSizeF(2, 2)}}) {
        const QByteArray pict = "{\\pict" + head + "\r\n" + testpictures::hexLines(data);
        const auto document = rtfpages::read("{\\rtf1\\ansi x" + pict + "}y\\par}");
        const QList<QTextImageFormat> found = rtfpages::images(*document);
        ASSERT_EQ(found.size(), 1);
        EXPECT_EQ(QSizeF(found[0].width(), found[0].height()), shown);
        const QByteArray rtf = richtext::writeRtf(*document);
        EXPECT_TRUE(rtf.contains(pict.chopped(2) + "}")) << head.toStdString();
        EXPECT_EQ(rtfpages::storedBytes(*rtfpages::read(rtf)), data);
    }
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

// A drawing keeps every pixel as PNG; a photograph is smaller as JPEG, unless it is partly see-through.
TEST(Pictures, PastedImagesAreStoredCompactly)
{
    const QImage photo = testpictures::photograph(400, 300);
    QImage seeThrough = photo.convertToFormat(QImage::Format_ARGB32);
    seeThrough.setPixel(0, 0, qRgba(0, 0, 0, 0));
    for (const auto &[image, kind] : {std::pair{testpictures::drawing(200, 100), richtext::StoredPicture::Png}, {photo, richtext::StoredPicture::Jpeg},
                                      {photo.convertToFormat(QImage::Format_ARGB32), richtext::StoredPicture::Jpeg}, {seeThrough, richtext::StoredPicture::Png}})
        EXPECT_EQ(richtext::compactPicture(image).kind, kind);
    EXPECT_EQ(richtext::decodeImage(richtext::compactPicture(testpictures::drawing(200, 100)).bytes).convertToFormat(QImage::Format_RGB32),
              testpictures::drawing(200, 100));
    const richtext::StoredPicture stored = richtext::compactPicture(photo);
    EXPECT_TRUE(stored.pixels == photo.size() && stored.bytes.size() < testpictures::encoded(photo, "png").size()) << stored.bytes.size();
}
