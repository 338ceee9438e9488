#include "diarygen.h"
#include "rtfpages.h"

#include "richtext/pageexport.h"
#include "richtext/rtftext.h"
#include "richtext/rtfwriter.h"
#include "richtext/rule.h"

#include <QDirIterator>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>
#include <QTextCursor>

#include <gtest/gtest.h>

#include <random>

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

// The one promise of the extractor: the reader's text, character for character
// (UTF-16, where a lone surrogate shows). And hostile input gives a page no
// longer than itself.
void expectSame(QByteArrayView rtf)
{
    const auto document = rtfpages::read(rtf);
    EXPECT_EQ(richtext::visibleText(rtf).toStdU16String(), richtext::plainText(*document).toStdU16String())
        << "page: " << rtf.first(std::min<qsizetype>(rtf.size(), 300)).toByteArray().toStdString();
    EXPECT_LE(document->characterCount(), rtf.size() + 1) << "a hostile page read longer than itself";
}

// A page shuffled from pieces, each of them something the reader treats specially.
QByteArray soup(unsigned seed)
{
    static const QJsonArray pieces = QJsonDocument::fromJson(rtfpages::file(QStringLiteral("soup.json"))).array();
    std::mt19937 random(seed);
    std::uniform_int_distribution<size_t> piece(0, size_t(pieces.size()) - 1);
    QByteArray rtf = "{\\rtf1\\ansi ";
    const int count = std::uniform_int_distribution<int>(1, 60)(random);
    for (int i = 0; i < count; ++i)
        rtf += pieces[qsizetype(piece(random))].toString().toLatin1();
    return rtf + (seed % 3 ? "}" : "");
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
    EXPECT_EQ(richtext::writeRtf(*rtfpages::read(rtf)), rtf);
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
        EXPECT_EQ(std::pair(document->toRawText(), rtfpages::read(richtext::writeRtf(*document))->toRawText()), std::pair(page.shown, page.shown));
    }
    rtfpages::expectDrawing(*rtfpages::read(rtfpages::file(QStringLiteral("pages/floating-picture-no-fallback.rtf"))), QSizeF(120, 80));
}

TEST(RtfText, MatchesTheReaderOnEveryFuzzSeedPageFileAndGeneratedPageNoLongerThanItself)
{
    int files = 0;
    for (QDirIterator it(QStringLiteral(QUILLNEST_FUZZ_CORPUS), QDir::Files, QDirIterator::Subdirectories); it.hasNext(); ++files) {
        SCOPED_TRACE(it.next().toStdString());
        expectSame(rtfpages::file(it.filePath()));
    }
    EXPECT_GT(files, 30);
    for (const auto &pages : {rtfpages::shownPages(), rtfpages::edgePages()}) {
        for (const rtfpages::Page &page : pages)
            expectSame(page.rtf);
    }
    EXPECT_EQ(richtext::visibleText("{\\rtf1 caf\\'e9 \\b bold\\b0\\par\\trowd a\\cell b\\cell\\row\\line x}"),
              QStringLiteral("caf\u00e9 bold\na\tb\t\n\nx"));
    for (unsigned seed = 0; seed < 300; ++seed)
        expectSame(diarygen::pageRtf(seed, seed % 10 == 0));
    for (unsigned seed = 0; seed < 5000; ++seed)
        expectSame(soup(seed));
}
