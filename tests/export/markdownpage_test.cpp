#include "export/markdownpage.h"
#include "pictures.h"
#include "readers.h"
#include "samplepages.h"

#include "richtext/rtfreader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

namespace {

QString markdownOf(const QByteArray &rtf)
{
    QTextDocument document;
    EXPECT_TRUE(richtext::readRtf(rtf, document));
    return markdown::fromDocument(document, [](const QTextImageFormat &) {
        return markdown::LinkedPicture{QStringLiteral("a picture"), QStringLiteral("p.png")};
    });
}

} // namespace

TEST(MarkdownPage, MarksHugTheirWordsPicturesStandOutsideThemAndARuleStaysARule)
{
    const QByteArray picture = samplepages::pictureGroup(testpictures::encoded(testpictures::drawing(), "png"), "pngblip", {12, 8});
    const QStringList cases = samplepages::data(QStringLiteral("markdownpages.txt")).chopped(1).split(QStringLiteral("\n==")).mid(1);
    ASSERT_EQ(cases.size(), 10);
    for (const QString &each : cases) {
        const QStringList lines = each.split(u'\n');
        const QByteArray rtf = lines[1].toUtf8().replace("PICTURE", picture);
        EXPECT_EQ(markdownOf(rtf), lines.mid(2).join(u'\n')) << lines[0].trimmed().toStdString();
    }
}
