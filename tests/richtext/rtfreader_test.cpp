#include "rtfpages.h"

#include "richtext/pageexport.h"

#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

using rtfpages::read;

QTextCharFormat at(const QTextDocument &document, const char *word)
{
    return document.find(QLatin1String(word)).charFormat();
}

// The paragraph's alignment and left indent, and the run's family, size, weight and colour.
QString describe(const QTextBlock &block)
{
    return QStringLiteral("%1 %2").arg(int(block.blockFormat().alignment() & Qt::AlignHorizontal_Mask)).arg(block.blockFormat().leftMargin());
}

QString describe(const QTextCharFormat &format)
{
    return QStringLiteral("%1 %2 %3 %4").arg(format.fontFamilies().toStringList().join(QLatin1Char(',')))
        .arg(format.fontPointSize()).arg(format.fontWeight() >= QFont::DemiBold ? "bold" : "regular")
        .arg(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color().name() : "auto");
}

} // namespace

TEST(RtfReader, ReadsWhatAWindowsRichEditControlWrites)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/windows-rich-edit.rtf")));
    EXPECT_EQ(describe(at(*document, "Caf")), "Arial 10 regular auto");
    EXPECT_EQ(describe(at(*document, "bold")), "Arial 10 bold auto");
    EXPECT_EQ(describe(at(*document, "red")), "Arial 10 regular #ff0000");
    EXPECT_EQ(describe(at(*document, "centred")), "Times New Roman 16 regular auto");
    EXPECT_EQ(describe(document->begin().next()), "4 0");
    rtfpages::expectDrawing(*document, QSizeF(12, 8));
}

TEST(RtfReader, ReadsWhatLibreOfficeWrites)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/libreoffice.rtf")));
    EXPECT_EQ(describe(document->begin()), "4 0");
    EXPECT_EQ(describe(at(*document, "Hello")), "Liberation Sans 12 regular auto");
    EXPECT_EQ(describe(at(*document, "world")), "Liberation Sans 12 bold #0000ff");
}

// Every page's text, and a floating picture as LibreOffice writes it, with no
// fallback: a 12 by 8 pixel PNG in a shape of 1800 by 1200 twips.
TEST(RtfReader, ShowsWhatEveryWriterMeansToShowOnceInItsOwnCodePage)
{
    for (const rtfpages::Page &page : rtfpages::shownPages())
        EXPECT_EQ(read(page.rtf)->toRawText(), page.shown) << page.name.toStdString();

    const auto document = read(rtfpages::file(QStringLiteral("pages/floating-picture-no-fallback.rtf")));
    rtfpages::expectDrawing(*document, QSizeF(120, 80));
    EXPECT_EQ(richtext::htmlWithPictures(*document).count(QStringLiteral("data:image/png;base64,")), 1);
}

TEST(RtfReader, KeepsParagraphAndCharacterStateWhereRtfSaysTo)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/indents.rtf")));
    EXPECT_EQ(describe(document->begin()), "2 48");
    EXPECT_EQ(describe(document->begin().next()), "2 48");
    EXPECT_EQ(describe(document->lastBlock()), "1 0");
    const auto list = read(rtfpages::file(QStringLiteral("pages/list-text.rtf")));
    EXPECT_EQ(describe(list->begin()), "1 48");
    EXPECT_EQ(list->begin().blockFormat().textIndent(), -24);

    const auto chars = read(rtfpages::file(QStringLiteral("pages/character-state.rtf")));
    EXPECT_EQ(describe(at(*chars, "all")), " 20 bold auto");
    EXPECT_EQ(describe(at(*chars, "group")), " 20 regular auto");
    EXPECT_TRUE(at(*chars, "group").fontItalic());
    EXPECT_EQ(describe(at(*chars, "after")), " 20 bold auto");
    const QTextCharFormat plain = at(*chars, "plain");
    EXPECT_FALSE(plain.fontItalic() || plain.fontUnderline());
    EXPECT_EQ(describe(plain), " 12 regular auto");
    EXPECT_EQ(at(*chars, "dots").underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_FALSE(at(*chars, "none").fontUnderline());
}

TEST(RtfReader, HostileInputGivesAPageNoLongerThanItself)
{
    for (const rtfpages::Page &page : rtfpages::edgePages())
        EXPECT_LE(read(page.rtf)->characterCount(), page.rtf.size() + 1) << page.name.toStdString();
}
