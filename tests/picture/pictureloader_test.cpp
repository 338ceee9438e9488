#include "picture/pictureloader.h"
#include "picture/picturescale.h"

#include "testimages.h"

#include <QTemporaryDir>

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
