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

TEST(MarkdownPage, MarksHugTheirWordsAndNothingElseBecomesMarkup)
{
    EXPECT_EQ(markdownOf("{\\rtf1 An{\\b na} went {\\i to the} {\\ul harbour}, {\\strike gone}\\par}"),
              QStringLiteral("An**na** went *to the* <u>harbour</u>, ~~gone~~"));
    EXPECT_EQ(markdownOf("{\\rtf1 {\\b\\i both }and{\\b  bold {\\i nested}} end\\par}"), QStringLiteral("***both*** and **bold *nested*** end"))
        << "spaces stay outside the marks, which close innermost first";
    EXPECT_EQ(markdownOf("{\\rtf1 {\\b\\ul An}{\\ul na}\\par}"), QStringLiteral("<u>**An**na</u>"));
    EXPECT_EQ(markdownOf("{\\rtf1{\\colortbl ;\\red255\\green0\\blue0;}{\\fs72 Big} {\\cf1 red}\\par}"), QStringLiteral("Big red"))
        << "sizes and colours are no headings or marks";
    EXPECT_EQ(markdownOf("{\\rtf1 one\\line two\\line\\line {\\b three\\line four}\\line\\par}"),
              QStringLiteral("one\\\ntwo\\\n\\\n**three**\\\n**four**"))
        << "a break ends the marks of its line; none is left at the paragraph's end";
    EXPECT_EQ(markdownOf("{\\rtf1 first\\par\\par  \\par second  \\par}"), QStringLiteral("first\n\nsecond"));
    EXPECT_EQ(markdownOf("{\\rtf1     four\\par\\tab tab\\par}"), QStringLiteral("\u00a0\u00a0\u00a0\u00a0four\n\n\u00a0\u00a0\u00a0\u00a0tab"))
        << "indentation would make code";
}

TEST(MarkdownPage, PicturesStandOutsideTheMarksAndARuleStaysARule)
{
    const QByteArray picture = samplepages::pictureGroup(testpictures::encoded(testpictures::drawing(), "png"), "pngblip", {12, 8});
    EXPECT_EQ(markdownOf("{\\rtf1 {\\b\\i bold " + picture + " more}{\\b " + picture + "}\\par}"),
              QStringLiteral("***bold*** ![a picture](p.png) ***more***![a picture](p.png)"));
    EXPECT_EQ(markdownOf("{\\rtf1 {\\ul x" + picture + "y}\\par}"), QStringLiteral("<u>x</u>![a picture](p.png)<u>y</u>"));
    EXPECT_EQ(markdownOf("{\\rtf1 above\\par\\pard\\brdrb\\brdrs\\brdrw10\\brsp20\\par\\pard below\\par}"),
              QStringLiteral("above\n\n---\n\nbelow"));
}

TEST(MarkdownPage, TextThatLooksLikeMarkdownReadsBackAsTheSameText)
{
    if (const QStringList absent = readers::missing({QStringLiteral("pandoc")}); !absent.isEmpty())
        GTEST_SKIP() << "not installed: " << absent.join(u' ').toStdString();
    const QStringList texts{
        QStringLiteral("# not a heading #"), QStringLiteral("- not a list"), QStringLiteral("+ nor this"),
        QStringLiteral("* nor this"), QStringLiteral("1. not numbered"), QStringLiteral("2) nor this"),
        QStringLiteral("b. nor lettered"), QStringLiteral("iv. nor roman"), QStringLiteral("(1) nor this"),
        QStringLiteral("> not a quote"), QStringLiteral("--- not a rule"), QStringLiteral("==="),
        QStringLiteral("`not code` and ```"), QStringLiteral("*not italic* and **not bold**"),
        QStringLiteral("_not_ __either__ but snake_case"), QStringLiteral("~~not struck~~"),
        QStringLiteral("[not a link](http://example.com)"), QStringLiteral("![not a picture](x.png)"),
        QStringLiteral("<b>not html</b> <!-- nor a comment --> <http://example.com>"),
        QStringLiteral("&amp; &#42; &copy; are no entities, Tom & Jerry"),
        QStringLiteral("a \\ backslash \\* and one at the end\\"), QStringLiteral("$x$ is no math and costs $5"),
        QStringLiteral("H~2~O and x^2^ and ^[no note]"), QStringLiteral("| not | a table |"),
        QStringLiteral(": not a definition"), QStringLiteral("[^1] not a footnote"),
        QStringLiteral("{.class} [span]{.x} not attributes"), QStringLiteral("2*3*4 = 24 and a * b"),
        QStringLiteral("Caf\u00e9 \u2014 \u201cquoted\u201d \u2026 emoji \U0001F600")};
    QTextDocument document;
    QTextCursor(&document).insertText(texts.join(QChar::ParagraphSeparator));
    const QString markdown = markdown::fromDocument(document, [](const QTextImageFormat &) { return markdown::LinkedPicture{}; });
    EXPECT_EQ(readers::folded(readers::markdownAsText(markdown)), texts.join(u'\n')) << markdown.toStdString();
    EXPECT_EQ(readers::folded(readers::markdownAsText(markdown, QStringLiteral("commonmark"))), texts.join(u'\n'))
        << "a CommonMark reader reads it alike";
}
