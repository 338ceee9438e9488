#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtfwriter.h"
#include "richtext/rule.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

namespace {

// A paragraph "paragraph N" by its number: its alignment, left indent and
// first-line indent. Else the first run holding the word: family, size, bold,
// italic, underline style and colour.
QString describe(const QTextDocument &document, const QString &what)
{
    if (what.startsWith(u"paragraph ")) {
        const QTextBlockFormat format = document.findBlockByNumber(what.mid(10).toInt() - 1).blockFormat();
        return QStringLiteral("%1 %2 %3").arg(int(format.alignment() & Qt::AlignHorizontal_Mask)).arg(format.leftMargin()).arg(format.textIndent());
    }
    const QTextCharFormat format = document.find(what).charFormat();
    return QStringLiteral("%1 %2%3%4 underline %5 %6").arg(format.fontFamilies().toStringList().join(QLatin1Char(',')))
        .arg(format.fontPointSize()).arg(format.fontWeight() >= QFont::DemiBold ? " bold" : "", format.fontItalic() ? " italic" : "")
        .arg(format.underlineStyle())
        .arg(format.hasProperty(QTextFormat::ForegroundBrush) ? format.foreground().color().name() : "auto");
}

} // namespace

// The look of each page in looks.json: as Windows' rich edit control and
// LibreOffice write it, and paragraph and character state kept where RTF says to.
TEST(RtfReader, EachPageLooksAsItsWriterMeantAndRtfsStateRulesSay)
{
    const QJsonObject pages = QJsonDocument::fromJson(rtfpages::file(QStringLiteral("looks.json"))).object();
    for (auto page = pages.begin(); page != pages.end(); ++page) {
        const auto document = rtfpages::read(rtfpages::file(QStringLiteral("pages/%1.rtf").arg(page.key())));
        const QJsonObject looks = page.value().toObject();
        for (auto look = looks.begin(); look != looks.end(); ++look)
            EXPECT_EQ(describe(*document, look.key()).toStdString(), look.value().toString().toStdString()) << page.key().toStdString();
    }
    rtfpages::expectDrawing(*rtfpages::read(rtfpages::file(QStringLiteral("pages/windows-rich-edit.rtf"))), QSizeF(12, 8));
}

TEST(RtfReader, HostileInputGivesAPageNoLongerThanItself)
{
    for (const rtfpages::Page &page : rtfpages::edgePages())
        EXPECT_LE(rtfpages::read(page.rtf)->characterCount(), page.rtf.size() + 1) << page.name.toStdString();
}

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
