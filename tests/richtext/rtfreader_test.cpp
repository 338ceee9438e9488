#include "pictures.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/picture.h"

#include <QTextBlock>

#include <gtest/gtest.h>

namespace {

using rtfpages::read;

QTextCharFormat formatAt(const QTextDocument &document, const QString &word)
{
    return document.find(word).charFormat();
}

Qt::Alignment alignment(const QTextBlock &block)
{
    return block.blockFormat().alignment() & Qt::AlignHorizontal_Mask;
}

bool bold(const QTextCharFormat &format)
{
    return format.fontWeight() >= QFont::DemiBold;
}

// The fragment is a picture shown at size and stored as a PNG of testpictures::drawing().
void expectDrawing(const QTextDocument &document, QTextBlock::iterator fragment, QSizeF size)
{
    ASSERT_TRUE(fragment.fragment().charFormat().isImageFormat());
    const QTextImageFormat image = fragment.fragment().charFormat().toImageFormat();
    EXPECT_EQ(QSizeF(image.width(), image.height()), size);
    const auto stored = richtext::storedPicture(document, image);
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->kind, richtext::StoredPicture::Png);
    EXPECT_EQ(richtext::decodeImage(stored->bytes).convertToFormat(QImage::Format_RGB32), testpictures::drawing());
}

} // namespace

TEST(RtfReader, ReadsWhatAWindowsRichEditControlWrites)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/windows-rich-edit.rtf")));
    const QTextCharFormat cafe = formatAt(*document, QStringLiteral("Caf"));
    EXPECT_EQ(cafe.fontFamilies().toStringList(), QStringList{QStringLiteral("Arial")});
    EXPECT_EQ(cafe.fontPointSize(), 10);
    EXPECT_FALSE(bold(cafe));
    EXPECT_TRUE(bold(formatAt(*document, QStringLiteral("bold"))));
    EXPECT_EQ(formatAt(*document, QStringLiteral("red")).foreground().color(), QColor(255, 0, 0));
    EXPECT_FALSE(cafe.hasProperty(QTextFormat::ForegroundBrush));

    EXPECT_EQ(alignment(document->begin().next()), Qt::AlignHCenter);
    const QTextCharFormat centred = formatAt(*document, QStringLiteral("centred"));
    EXPECT_EQ(centred.fontFamilies().toStringList(), QStringList{QStringLiteral("Times New Roman")});
    EXPECT_EQ(centred.fontPointSize(), 16);
    expectDrawing(*document, document->lastBlock().begin(), QSizeF(12, 8));
}

TEST(RtfReader, ReadsWhatLibreOfficeWrites)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/libreoffice.rtf")));
    EXPECT_EQ(alignment(document->begin()), Qt::AlignHCenter);
    const QTextCharFormat hello = formatAt(*document, QStringLiteral("Hello"));
    EXPECT_EQ(hello.fontFamilies().toStringList(), QStringList{QStringLiteral("Liberation Sans")});
    EXPECT_EQ(hello.fontPointSize(), 12);
    const QTextCharFormat world = formatAt(*document, QStringLiteral("world"));
    EXPECT_TRUE(bold(world));
    EXPECT_EQ(world.foreground().color(), QColor(0, 0, 255));
}

// Every page's text, and a floating picture as LibreOffice writes it, with no
// fallback: a 12 by 8 pixel PNG in a shape of 1800 by 1200 twips.
TEST(RtfReader, ShowsWhatEveryWriterMeansToShowOnceInItsOwnCodePage)
{
    for (const rtfpages::Page &page : rtfpages::shownPages())
        EXPECT_EQ(read(page.rtf)->toRawText(), page.shown) << page.name.toStdString();

    const auto document = read(rtfpages::file(QStringLiteral("pages/floating-picture-no-fallback.rtf")));
    expectDrawing(*document, ++document->begin().begin(), QSizeF(120, 80));
    EXPECT_EQ(richtext::htmlWithPictures(*document).count(QStringLiteral("data:image/png;base64,")), 1);
}

TEST(RtfReader, KeepsParagraphAndCharacterStateWhereRtfSaysTo)
{
    const auto document = read(rtfpages::file(QStringLiteral("pages/indents.rtf")));
    QTextBlock block = document->begin();
    EXPECT_EQ(alignment(block), Qt::AlignRight);
    EXPECT_EQ(block.blockFormat().leftMargin(), 48);
    EXPECT_EQ(alignment(block.next()), Qt::AlignRight);
    EXPECT_EQ(alignment(document->lastBlock()), Qt::AlignLeft);
    EXPECT_EQ(document->lastBlock().blockFormat().leftMargin(), 0);

    const auto list = read(rtfpages::file(QStringLiteral("pages/list-text.rtf")));
    EXPECT_EQ(list->begin().blockFormat().leftMargin(), 48);
    EXPECT_EQ(list->begin().blockFormat().textIndent(), -24);

    const auto chars = read(rtfpages::file(QStringLiteral("pages/character-state.rtf")));
    EXPECT_TRUE(bold(formatAt(*chars, QStringLiteral("all"))));
    EXPECT_FALSE(bold(formatAt(*chars, QStringLiteral("group"))));
    EXPECT_TRUE(formatAt(*chars, QStringLiteral("group")).fontItalic());
    EXPECT_TRUE(bold(formatAt(*chars, QStringLiteral("after"))));
    EXPECT_EQ(formatAt(*chars, QStringLiteral("after")).fontPointSize(), 20);
    const QTextCharFormat plain = formatAt(*chars, QStringLiteral("plain"));
    EXPECT_FALSE(plain.fontItalic() || plain.fontUnderline());
    EXPECT_EQ(plain.fontPointSize(), 12);
    EXPECT_EQ(formatAt(*chars, QStringLiteral("dots")).underlineStyle(), QTextCharFormat::DotLine);
    EXPECT_FALSE(formatAt(*chars, QStringLiteral("none")).fontUnderline());
}

TEST(RtfReader, HostileInputGivesAPageNoLongerThanItself)
{
    for (const auto &pages : {rtfpages::shownPages(), rtfpages::edgePages()}) {
        for (const rtfpages::Page &page : pages)
            EXPECT_LE(read(page.rtf)->characterCount(), page.rtf.size() + 1) << page.name.toStdString();
    }
}
