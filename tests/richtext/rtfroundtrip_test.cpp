#include "rtfpages.h"

#include "diary/pagestore.h"
#include "richtext/rtfwriter.h"
#include "richtext/rule.h"

#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

QTextCharFormat format(void (*change)(QTextCharFormat &))
{
    QTextCharFormat f;
    change(f);
    return f;
}

QTextBlockFormat paragraph(Qt::Alignment alignment)
{
    QTextBlockFormat format;
    format.setAlignment(alignment);
    return format;
}

std::unique_ptr<QTextDocument> everyAttribute()
{
    auto document = std::make_unique<QTextDocument>();
    QTextCursor cursor(document.get());
    cursor.setBlockFormat(paragraph(Qt::AlignHCenter));
    cursor.insertText(QStringLiteral("plain "));
    cursor.insertText(QStringLiteral("bold "), format([](QTextCharFormat &f) { f.setFontWeight(QFont::Bold); }));
    cursor.insertText(QStringLiteral("italic "), format([](QTextCharFormat &f) { f.setFontItalic(true); }));
    cursor.insertText(QStringLiteral("under "), format([](QTextCharFormat &f) { f.setFontUnderline(true); }));
    cursor.insertText(QStringLiteral("struck "), format([](QTextCharFormat &f) { f.setFontStrikeOut(true); }));
    cursor.insertText(QStringLiteral("red "), format([](QTextCharFormat &f) { f.setForeground(QColor(200, 0, 0)); }));
    cursor.insertText(QStringLiteral("marked "), format([](QTextCharFormat &f) { f.setBackground(QColor(255, 255, 0)); }));
    cursor.insertText(QStringLiteral("big serif"), format([](QTextCharFormat &f) {
                          f.setFontFamilies({QStringLiteral("Times New Roman")});
                          f.setFontPointSize(18);
                          f.setFontWeight(QFont::Bold);
                          f.setForeground(QColor(0, 0, 255));
                      }));
    QTextBlockFormat indented = paragraph(Qt::AlignRight);
    indented.setLeftMargin(48);
    indented.setRightMargin(24);
    indented.setTextIndent(-24);
    indented.setTopMargin(4);
    indented.setBottomMargin(8);
    cursor.insertBlock(indented, format([](QTextCharFormat &f) { f.setFontPointSize(10.5); }));
    cursor.insertText(QStringLiteral("right\tand\u2028a soft break {with} \\braces\\"));
    QTextBlockFormat justified = paragraph(Qt::AlignJustify);
    richtext::setRule(justified);
    cursor.insertBlock(justified, format([](QTextCharFormat &f) { f.setFontPointSize(20); }));
    cursor.insertBlock(QTextBlockFormat(), QTextCharFormat());
    cursor.insertText(QStringLiteral("after an empty line"));
    return document;
}

} // namespace

TEST(RtfRoundTrip, EmptyParagraphsAtTheEndStayAndNoneIsAdded)
{
    for (const QString &text : {QString(), QStringLiteral("one"), QStringLiteral("one\n"), QStringLiteral("\n\n")}) {
        QTextDocument document;
        document.setPlainText(text);
        const auto again = rtfpages::read(richtext::writeRtf(document));
        EXPECT_EQ(again->toPlainText(), text);
        EXPECT_EQ(again->blockCount(), document.blockCount()) << text.toStdString();
    }
}

// Written as stored: one line a paragraph, so a search finds words anywhere in
// it; plain ASCII; a rule as the paragraph's bottom border. Read and written
// again, every attribute, paragraph and text is as it was written first.
TEST(RtfRoundTrip, EveryAttributeIsWrittenInTheStoredDialectAndComesBack)
{
    const auto document = everyAttribute();
    QTextCursor(document.get()).insertText(QString(300, QLatin1Char('x')) + QStringLiteral(" \u00e9\u20ac"));
    const QByteArray rtf = richtext::writeRtf(*document);
    EXPECT_EQ(rtf, rtfpages::file(QStringLiteral("every-attribute.rtf")));
    const auto again = rtfpages::read(rtf);
    EXPECT_EQ(again->blockCount(), 4);
    EXPECT_EQ(richtext::writeRtf(*again), rtf);
}

TEST(RtfRoundTrip, UnicodeSurvivesASaveAndALoad)
{
    const QString text = QStringLiteral("Caf\u00e9 \u2013 \u201cquoted\u201d \u2018x\u2019 \u20ac \u00ff "
                                        "\u03a9\u03bc\u03ad\u03b3\u03b1 \u65e5\u672c\u8a9e \U0001F600 end");
    QTextDocument document;
    document.setPlainText(text);
    const QByteArray rtf = richtext::writeRtf(document);
    EXPECT_TRUE(rtf.contains("Caf\\'e9 \\'96 \\'93quoted\\'94 \\'91x\\'92 \\'80 \\'ff \\u937?"));
    EXPECT_TRUE(rtf.contains("\\u26085?\\u26412?\\u-30050? \\u-10179?\\u-8704? end"));
    EXPECT_EQ(rtfpages::read(pagestore::decodePage(pagestore::encodePage(rtf).value()))->toPlainText(), text);
}

// UTF-7, UTF-8 and UTF-16 can spell a NUL or U+FFFC without the bytes the
// reader refuses; neither may reach the page, where the writer cannot keep them.
TEST(RtfRoundTrip, TextFromAnyCodePageComesBack)
{
    for (const rtfpages::Page &page : rtfpages::shownPages())
        EXPECT_EQ(rtfpages::read(richtext::writeRtf(*rtfpages::read(page.rtf)))->toRawText(), page.shown) << page.name.toStdString();
}
