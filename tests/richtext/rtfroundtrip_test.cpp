#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtfwriter.h"
#include "richtext/rule.h"

#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

// Written as stored: one line a paragraph, so a search finds words anywhere in
// it; plain ASCII, the code page's letters as \' and the others as \u; a rule
// as the paragraph's bottom border. Read and written again, every attribute,
// paragraph and text is as it was written first.
TEST(RtfRoundTrip, EveryAttributeIsWrittenInTheStoredDialectAndComesBack)
{
    QTextDocument document;
    document.setHtml(QString::fromUtf8(rtfpages::file(QStringLiteral("every-attribute.html"))));
    // HTML's own rule is a paragraph of its own, without the paragraph's size.
    QTextBlockFormat rule;
    richtext::setRule(rule);
    QTextCursor(document.findBlockByNumber(2)).mergeBlockFormat(rule);
    const QByteArray rtf = richtext::writeRtf(document);
    EXPECT_EQ(rtf, rtfpages::file(QStringLiteral("every-attribute.rtf")));
    const auto again = rtfpages::read(rtf);
    EXPECT_EQ(again->blockCount(), 4);
    EXPECT_EQ(richtext::writeRtf(*again), rtf);
}

// Every page's text read, and read again after a save, and a floating picture
// as LibreOffice writes it, with no fallback: a 12 by 8 pixel PNG in a shape
// of 1800 by 1200 twips. UTF-7, UTF-8 and UTF-16 can spell a NUL or U+FFFC
// without the bytes the reader refuses; neither may reach the page, where the
// writer cannot keep them.
TEST(RtfRoundTrip, ShowsWhatEveryWriterMeantOnceInItsOwnCodePageAndSoAfterASave)
{
    for (const rtfpages::Page &page : rtfpages::shownPages()) {
        SCOPED_TRACE(page.name.toStdString());
        const auto document = rtfpages::read(page.rtf);
        EXPECT_EQ(document->toRawText(), page.shown);
        EXPECT_EQ(rtfpages::read(richtext::writeRtf(*document))->toRawText(), page.shown);
    }
    const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/floating-picture-no-fallback.rtf")));
    rtfpages::expectDrawing(*document, QSizeF(120, 80));
    EXPECT_EQ(richtext::htmlWithPictures(*document).count(QStringLiteral("data:image/png;base64,")), 1);
}
