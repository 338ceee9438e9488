#include "picture/picturelimits.h"
#include "picture/pictureloader.h"
#include "picture/picturescale.h"

#include "richtext/picture.h"
#include "richtext/rtflimits.h"
#include "richtext/rtfreader.h"
#include "richtext/rtfwriter.h"

#include "pictures.h"
#include "testdataroot.h"

#include <QTextBlock>

#include <gtest/gtest.h>

using picture::loadPicture;
using namespace Qt::StringLiterals;

namespace {

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

// Read by content, so a BMP or PNG under a .jpg name is still a picture; a
// JPEG is turned upright. A few bytes claiming 19000 by 19000 pixels are
// refused from the header alone. Under data/, blocks.gif is a picture 120 by
// 80 in a format Qt reads but cannot write; turned.jpg one 40 by 24 with an
// orientation tag saying to turn it a quarter to the right.
TEST(PictureLoader, ReadsByContentWithinTheLimits)
{
    TestDataRoot folder;
    const auto file = [&](const QString &name, const QByteArray &bytes) {
        folder.writeFile(name, bytes);
        return folder.path() + u'/' + name;
    };
    EXPECT_EQ(std::tuple(loadPicture(QStringLiteral(PICTURE_TEST_DATA "/blocks.gif")).size(), loadPicture(QStringLiteral(PICTURE_TEST_DATA "/turned.jpg")).size(),
                         loadPicture(file(u"b.jpg"_s, testpictures::encoded(testpictures::drawing(), "bmp"))),
                         loadPicture(file(u"c.jpg"_s, "not a picture")).isNull(), loadPicture(folder.path() + u"/missing.bmp"_s).isNull()),
              std::tuple(QSize(120, 80), QSize(24, 40), testpictures::drawing(), true, true));

    for (const auto &[size, fits] : {std::pair{QSize(20000, 1), true}, {QSize(20000, 2001), false}, {QSize(20001, 1), false}, {QSize(1, 20001), false}}) {
        SCOPED_TRACE(testing::Message() << size.width() << "x" << size.height());
        EXPECT_EQ(std::pair(picture::withinLimits(size), loadPicture(file(u"p.png"_s, testpictures::encoded(plain(size), "png"))).size()),
                  std::pair(fits, fits ? size : QSize(0, 0)));
    }
    QByteArray bomb = testpictures::encoded(QImage(1, 1, QImage::Format_RGB32), "bmp");
    for (const int at : {18, 22})
        bomb.replace(at, 4, QByteArray::fromHex("384a0000"));
    EXPECT_TRUE(loadPicture(file(u"bomb.bmp"_s, bomb)).isNull());

    const QImage photo = testpictures::drawing(12000, 2);
    EXPECT_FALSE(picture::scaledPicture(photo, 2) || picture::scaledPicture(photo, 1.75));
    EXPECT_EQ(std::pair(picture::scaledPicture(photo, 1.5)->size(), picture::scaledPicture(photo, 0.1)->size()), std::pair(QSize(18000, 3), QSize(1200, 1)));
}

// Whatever the window lets into a page comes back from the page as the same picture: shown smaller, stored whole.
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
        EXPECT_LE(reopened.resource(QTextDocument::ImageResource, QUrl(format.name())).value<QImage>().width(), richtext::limits::kShownSide);
        const QImage back = richtext::decodeImage(richtext::storedPicture(reopened, format)->bytes);
        EXPECT_TRUE(back.size() == size && back.convertToFormat(QImage::Format_Mono, image.colorTable()) == image);
    }
}
