#include "rtfpages.h"

#include "richtext/pageexport.h"

#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

// The paragraph's alignment, left indent and first-line indent.
QString describe(const QTextBlock &block)
{
    const QTextBlockFormat format = block.blockFormat();
    return QStringLiteral("%1 %2 %3").arg(int(format.alignment() & Qt::AlignHorizontal_Mask)).arg(format.leftMargin()).arg(format.textIndent());
}

// The first run holding the word: family, size, bold, italic, underline style and colour.
QString describe(const QTextDocument &document, const char *word)
{
    const QTextCharFormat format = document.find(QLatin1String(word)).charFormat();
    return QStringLiteral("%1 %2%3%4 underline %5 %6").arg(format.fontFamilies().toStringList().join(QLatin1Char(',')))
        .arg(format.fontPointSize()).arg(format.fontWeight() >= QFont::DemiBold ? " bold" : "", format.fontItalic() ? " italic" : "")
        .arg(format.underlineStyle())
        .arg(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color().name() : "auto");
}

} // namespace

TEST(RtfReader, ReadsWhatAWindowsRichEditControlWrites)
{
    const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/windows-rich-edit.rtf")));
    EXPECT_EQ(describe(*document, "Caf"), "Arial 10 underline 0 auto");
    EXPECT_EQ(describe(*document, "bold"), "Arial 10 bold underline 0 auto");
    EXPECT_EQ(describe(*document, "red"), "Arial 10 underline 0 #ff0000");
    EXPECT_EQ(describe(*document, "centred"), "Times New Roman 16 underline 0 auto");
    EXPECT_EQ(describe(document->begin().next()), "4 0 0");
    rtfpages::expectDrawing(*document, QSizeF(12, 8));
}

TEST(RtfReader, ReadsWhatLibreOfficeWrites)
{
    const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/libreoffice.rtf")));
    EXPECT_EQ(describe(document->begin()), "4 0 0");
    EXPECT_EQ(describe(*document, "Hello"), "Liberation Sans 12 underline 0 auto");
    EXPECT_EQ(describe(*document, "world"), "Liberation Sans 12 bold underline 0 #0000ff");
}

// Every page's text, and a floating picture as LibreOffice writes it, with no
// fallback: a 12 by 8 pixel PNG in a shape of 1800 by 1200 twips.
TEST(RtfReader, ShowsWhatEveryWriterMeansToShowOnceInItsOwnCodePage)
{
    for (const rtfpages::Page &page : rtfpages::shownPages())
        EXPECT_EQ(rtfpages::read(page.rtf)->toRawText(), page.shown) << page.name.toStdString();

    const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/floating-picture-no-fallback.rtf")));
    rtfpages::expectDrawing(*document, QSizeF(120, 80));
    EXPECT_EQ(richtext::htmlWithPictures(*document).count(QStringLiteral("data:image/png;base64,")), 1);
}

TEST(RtfReader, KeepsParagraphAndCharacterStateWhereRtfSaysTo)
{
    const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/indents.rtf")));
    EXPECT_EQ(describe(document->begin()), "2 48 0");
    EXPECT_EQ(describe(document->begin().next()), "2 48 0");
    EXPECT_EQ(describe(document->lastBlock()), "1 0 0");
    const auto list = rtfpages::read(rtfpages::file(QStringLiteral("pages/list-text.rtf")));
    EXPECT_EQ(describe(list->begin()), "1 48 -24");

    const auto chars = rtfpages::read(rtfpages::file(QStringLiteral("pages/character-state.rtf")));
    EXPECT_EQ(describe(*chars, "all"), " 20 bold italic underline 1 auto");
    EXPECT_EQ(describe(*chars, "group"), " 20 italic underline 1 auto");
    EXPECT_EQ(describe(*chars, "after"), " 20 bold italic underline 1 auto");
    EXPECT_EQ(describe(*chars, "plain"), " 12 underline 0 auto");
    EXPECT_EQ(describe(*chars, "dots"), " 12 underline 3 auto");
    EXPECT_EQ(describe(*chars, "none"), " 12 underline 0 auto");
}

TEST(RtfReader, HostileInputGivesAPageNoLongerThanItself)
{
    for (const rtfpages::Page &page : rtfpages::edgePages())
        EXPECT_LE(rtfpages::read(page.rtf)->characterCount(), page.rtf.size() + 1) << page.name.toStdString();
}
