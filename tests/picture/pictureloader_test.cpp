#include "picture/pictureloader.h"
#include "picture/picturelimits.h"
#include "picture/picturescale.h"
#include "richtext/picture.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include "testimages.h"

#include <QTemporaryDir>
#include <QTextBlock>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextImageFormat>
#include <QUrl>

#include <gtest/gtest.h>

#include <utility>

namespace {

class PictureLoaderTest : public ::testing::Test
{
protected:
    QString write(const QString &name, const QByteArray &bytes) { return testimages::fileIn(dir, name, bytes); }

    QTemporaryDir dir;
};

void putLittle32(QByteArray &bytes, int at, qint32 value)
{
    for (int i = 0; i < 4; ++i)
        bytes[at + i] = char((value >> (8 * i)) & 0xff);
}

// One bit a pixel, so the largest accepted picture, 40 megapixels, takes 5 MB.
QImage plain(QSize size)
{
    QImage image(size, QImage::Format_Mono);
    image.setColorTable({qRgb(255, 255, 255), qRgb(30, 120, 200)});
    image.fill(1);
    image.setPixel(size.width() - 1, size.height() - 1, 0);
    return image;
}

} // namespace

TEST_F(PictureLoaderTest, ReadsByContentAndTurnsAJpegUpright)
{
    EXPECT_EQ(picture::loadPicture(testimages::dataFile("blocks.gif")).convertToFormat(QImage::Format_RGB32), testimages::blocks(120, 80));
    // A PNG under a .jpg name is still a picture.
    const QImage blocks = testimages::blocks(40, 24);
    EXPECT_EQ(picture::loadPicture(write(QStringLiteral("b.jpg"), testimages::encoded(blocks, "png"))), blocks);
    EXPECT_EQ(picture::loadPicture(testimages::dataFile("turned.jpg")).size(), QSize(24, 40));
    EXPECT_TRUE(picture::loadPicture(write(QStringLiteral("c.jpg"), "not a picture")).isNull());
    EXPECT_TRUE(picture::loadPicture(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
}

TEST_F(PictureLoaderTest, PicturesBeyondTheLimitsAreRefused)
{
    const std::pair<QSize, bool> sizes[]{{QSize(20000, 1), true}, {QSize(20000, 2001), false}, {QSize(20001, 1), false}, {QSize(1, 20001), false}};
    for (const auto &[size, fits] : sizes) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_EQ(picture::withinLimits(size), fits);
        EXPECT_EQ(picture::loadPicture(write(QStringLiteral("p.png"), testimages::encoded(plain(size), "png"))).size(), fits ? size : QSize(0, 0));
    }

    // A few bytes claiming 19000 by 19000 pixels: refused from the header alone.
    QByteArray bomb = testimages::encoded(QImage(1, 1, QImage::Format_RGB32), "bmp");
    putLittle32(bomb, 18, 19000);
    putLittle32(bomb, 22, 19000);
    EXPECT_TRUE(picture::loadPicture(write(QStringLiteral("bomb.bmp"), bomb)).isNull());

    const QImage photo = testimages::blocks(12000, 2);
    EXPECT_FALSE(picture::scaledPicture(photo, 2));
    EXPECT_FALSE(picture::scaledPicture(photo, 1.75));
    EXPECT_EQ(picture::scaledPicture(photo, 1.5)->size(), QSize(18000, 3));
    EXPECT_EQ(picture::scaledPicture(photo, 0.1)->size(), QSize(1200, 1));
}

// Whatever the window lets into a page must come back from the page as the same picture.
TEST(PictureRoundTrip, TheLargestPictureTheWindowAcceptsReopensAsItself)
{
    for (const QSize size : {QSize(20000, 2000), QSize(1, 20000)}) {
        ASSERT_TRUE(picture::withinLimits(size));
        const QImage image = plain(size);
        QTextDocument page;
        QTextCursor(&page).insertImage(richtext::addPicture(page, richtext::compactPicture(image), image));
        QTextDocument reopened;
        EXPECT_TRUE(richtext::readRtf(richtext::writeRtf(page), reopened));
        const QTextImageFormat format = QTextCursor(&reopened).block().begin().fragment().charFormat().toImageFormat();
        // Shown smaller, stored whole.
        EXPECT_LE(reopened.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().width(), richtext::limits::kShownSide);
        const QImage back = richtext::decodeImage(richtext::storedPicture(reopened, format)->bytes);
        EXPECT_EQ(back.size(), size);
        EXPECT_TRUE(back.convertToFormat(QImage::Format_Mono, image.colorTable()) == image);
    }
}
