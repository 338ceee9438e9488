#include "export/markdownpage.h"
#include "pictures.h"
#include "readers.h"
#include "samplepages.h"

#include "richtext/rtfreader.h"

#include <QTextCursor>
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

TEST(MarkdownPage, TextThatLooksLikeMarkdownReadsBackAsTheSameText)
{
    if (const QStringList absent = readers::missing({QStringLiteral("pandoc")}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    const QStringList texts = samplepages::data(QStringLiteral("markdownlike.txt")).trimmed().split(u'\n');
    ASSERT_EQ(texts.size(), 29);
    QTextDocument document;
    QTextCursor(&document).insertText(texts.join(QChar::ParagraphSeparator));
    const QString markdown = markdown::fromDocument(document, [](const QTextImageFormat &) { return markdown::LinkedPicture{}; });
    EXPECT_EQ(readers::folded(readers::markdownAsText(markdown)), texts.join(u'\n')) << markdown.toStdString();
    EXPECT_EQ(readers::folded(readers::markdownAsText(markdown, QStringLiteral("commonmark"))), texts.join(u'\n'))
        << "a CommonMark reader reads it alike";
}
