#include "rangeformats.h"

#include "partfile.h"
#include "pdfoutline.h"

#include "richtext/pagerange.h"
#include "richtext/twips.h"

#include <QFont>
#include <QLocale>
#include <QPageLayout>
#include <QPainter>
#include <QPdfWriter>
#include <QTextCursor>
#include <QTextDocument>

namespace rangeexport {

namespace {

// As printing lays a page out: an inch of margin on every side.
constexpr int kMarginTwips = kTwipsPerInch;
constexpr qreal kHeadingPoints = 16;
constexpr qreal kHeadingSpacePixels = 12;

QPageSize paper()
{
    return QPageSize(QLocale().measurementSystem() == QLocale::ImperialUSSystem ? QPageSize::Letter : QPageSize::A4);
}

// The room inside the margins, in twips from the sheet's corner.
QRectF textArea(const QPageSize &size)
{
    const QSizeF sheet = size.size(QPageSize::Point) * kTwipsPerPoint;
    return QRectF(kMarginTwips, kMarginTwips, sheet.width() - 2 * kMarginTwips, sheet.height() - 2 * kMarginTwips);
}

// The day's date as the first paragraph, in the laid-out copy only.
void addHeading(QTextDocument &document, const QString &title)
{
    QTextCursor cursor(&document);
    cursor.insertBlock(cursor.blockFormat(), cursor.charFormat());
    cursor.movePosition(QTextCursor::Start);
    QTextBlockFormat block;
    block.setBottomMargin(kHeadingSpacePixels);
    cursor.setBlockFormat(block);
    QTextCharFormat chars;
    chars.setFontWeight(QFont::Bold);
    chars.setFontPointSize(kHeadingPoints);
    cursor.setBlockCharFormat(chars);
    cursor.insertText(title, chars);
}

class PdfExport
{
public:
    PdfExport(const DataRoot &root, const QString &out, QStringList &unread) : m_root(root), m_out(out), m_unread(unread), m_part(out) {}

    Outcome run(const std::vector<Day> &days, const Progress &progress)
    {
        if (const Outcome opened = m_part.open(); !opened)
            return opened;
        if (const Outcome drawn = drawAll(days, progress); !drawn)
            return drawn;
        if (const Outcome outlined = pdfoutline::appendOutline(m_part, m_bookmarks); !outlined)
            return outlined;
        return m_part.replaceTarget();
    }

private:
    Outcome drawAll(const std::vector<Day> &days, const Progress &progress)
    {
        QPdfWriter writer(&m_part.device());
        writer.setCreator(QStringLiteral("Quillnest"));
        writer.setTitle(QStringLiteral("Diary, %1 to %2").arg(dayTitle(days.front().date), dayTitle(days.back().date)));
        const QPageSize size = paper();
        writer.setPageLayout(QPageLayout(size, QPageLayout::Portrait, QMarginsF()));
        QPainter painter;
        if (!painter.begin(&writer))
            return Outcome::failure(QStringLiteral("%1: the PDF cannot be started").arg(m_out));
        const QRectF area = textArea(size);
        const int total = int(days.size());
        for (int i = 0; i < total; ++i) {
            if (const Outcome drawn = drawPage(days[size_t(i)], writer, painter, area); !drawn)
                return drawn;
            if (progress && !progress(i + 1, total))
                return stopped();
        }
        return painter.end() ? Outcome::success() : Outcome::failure(QStringLiteral("%1: the PDF cannot be finished").arg(m_out));
    }

    // Sheet after sheet until the page is drawn, or a sheet no longer moves on.
    Outcome drawPage(const Day &day, QPdfWriter &writer, QPainter &painter, const QRectF &area)
    {
        QTextDocument document;
        if (!loadPage(m_root, day, document)) {
            m_unread.append(day.key);
            return Outcome::success();
        }
        if (m_sheets > 0 && !writer.newPage())
            return Outcome::failure(QStringLiteral("%1: no new sheet").arg(m_out));
        const QString title = dayTitle(day.date);
        addHeading(document, title);
        m_bookmarks.push_back({title, m_sheets});
        const int end = richtext::textEnd(document);
        for (int from = 0;;) {
            const int next = richtext::renderPageRange(document, painter, area, from);
            ++m_sheets;
            if (next >= end || next <= from)
                return Outcome::success();
            if (!writer.newPage())
                return Outcome::failure(QStringLiteral("%1: no new sheet").arg(m_out));
            from = next;
        }
    }

    const DataRoot &m_root;
    QString m_out;
    QStringList &m_unread;
    PartFile m_part;
    std::vector<pdfoutline::Bookmark> m_bookmarks;
    int m_sheets = 0;
};

} // namespace

Outcome exportPdf(const DataRoot &root, const std::vector<Day> &days, const QString &out, const Progress &progress,
                  QStringList &unread)
{
    return PdfExport(root, out, unread).run(days, progress);
}

} // namespace rangeexport
