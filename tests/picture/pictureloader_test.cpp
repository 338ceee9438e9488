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

} // namespace

TEST_F(PictureLoaderTest, ReadsByContentAndTurnsAJpegUpright)
{
    const QImage blocks = testimages::blocks(40, 24);
    EXPECT_EQ(picture::loadPicture(write(QStringLiteral("a.gif"), testimages::gif(40, 24))).convertToFormat(QImage::Format_RGB32), blocks);
    // A PNG under a .jpg name is still a picture.
    EXPECT_EQ(picture::loadPicture(write(QStringLiteral("b.jpg"), testimages::encoded(blocks, "png"))), blocks);

    const QImage upright = picture::loadPicture(write(QStringLiteral("turned.jpg"), testimages::jpegTurnedRight(blocks)));
    EXPECT_EQ(upright.size(), QSize(24, 40));

    EXPECT_TRUE(picture::loadPicture(write(QStringLiteral("c.jpg"), "not a picture")).isNull());
    EXPECT_TRUE(picture::loadPicture(dir.filePath(QStringLiteral("missing.bmp"))).isNull());
}

TEST_F(PictureLoaderTest, PicturesBeyondTheLimitsAreRefused)
{
    EXPECT_EQ(picture::loadPicture(write(QStringLiteral("wide.png"), testimages::encoded(testimages::blocks(20000, 1), "png")))
                  .width(),
              20000);
    EXPECT_TRUE(picture::loadPicture(write(QStringLiteral("wider.png"), testimages::encoded(testimages::blocks(20001, 1), "png")))
                    .isNull());

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

// Whatever the window lets into a page must come back from the page as the
// same picture. At one bit a pixel the largest, 40 megapixels, takes 5 MB.
TEST_F(PictureLoaderTest, TheLargestPictureTheWindowAcceptsReopensAsItself)
{
    const auto plain = [](QSize size) {
        QImage image(size, QImage::Format_Mono);
        image.setColorTable({qRgb(255, 255, 255), qRgb(30, 120, 200)});
        image.fill(1);
        image.setPixel(size.width() - 1, size.height() - 1, 0);
        return image;
    };
    for (const QSize past : {QSize(20000, 2001), QSize(20001, 1), QSize(1, 20001)}) {
        EXPECT_FALSE(picture::withinLimits(past)) << past.width() << "x" << past.height();
        EXPECT_TRUE(picture::loadPicture(write(QStringLiteral("past.png"), testimages::encoded(plain(past), "png"))).isNull());
    }
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
