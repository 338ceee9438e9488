#include "export/markdownpage.h"
#include "pictures.h"
#include "samplepages.h"

#include "richtext/rtfreader.h"

#include <QTextDocument>

#include <gtest/gtest.h>

// Each case of the data file: a line "== why", the page's RTF on one line
// (PICTURE stands for a PNG), then its Markdown.
TEST(MarkdownPage, MarksHugTheirWordsPicturesStandOutsideThemAndARuleStaysARule)
{
    const QByteArray picture = samplepages::pictureGroup(testpictures::encoded(testpictures::drawing(), "png"), "pngblip", {12, 8});
    const QStringList cases = samplepages::data(QStringLiteral("markdownpages.txt")).chopped(1).split(QStringLiteral("\n==")).mid(1);
    ASSERT_EQ(cases.size(), 10);
    for (const QString &each : cases) {
        const QStringList lines = each.split(u'\n');
        QTextDocument document;
        EXPECT_TRUE(richtext::readRtf(lines[1].toUtf8().replace("PICTURE", picture), document));
        const QString written = markdown::fromDocument(document, [](const QTextImageFormat &) {
            return markdown::LinkedPicture{QStringLiteral("a picture"), QStringLiteral("p.png")};
        });
        EXPECT_EQ(written, lines.mid(2).join(u'\n')) << lines[0].trimmed().toStdString();
    }
}
