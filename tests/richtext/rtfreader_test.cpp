#include "rtfpages.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QTextBlock>

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
