#include "yeargrid.h"

#include "ui/plaintext.h"

#include <QHelpEvent>
#include <QKeyEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QToolTip>

#include <algorithm>

namespace {

constexpr int kGap = 3;

// Weeks start on Monday, as ISO weeks do: the column a day falls in.
int weekOf(QDate day)
{
    return (day.dayOfYear() - 1 + QDate(day.year(), 1, 1).dayOfWeek() - 1) / 7;
}

} // namespace

YearGrid::YearGrid(QWidget *parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAccessibleDescription(QStringLiteral("Arrow keys move between days, Enter opens the day, Page Up and Page Down change the year"));
}

void YearGrid::showYear(int year, const QList<diaryfigures::Page> &pages, QDate focused)
{
    m_year = year;
    m_pages.clear();
    QList<int> words;
    for (const diaryfigures::Page &page : pages) {
        if (page.day.year() == year) {
            m_pages.insert(page.day, page);
            words.append(page.words);
        }
    }
    m_quartiles = yearshades::quartilesOf(words);
    focusDay(focused);
    updateGeometry();
}

void YearGrid::clear()
{
    m_pages.clear();
    m_quartiles = {};
    focusDay(m_focused);
}

int YearGrid::shadeOf(QDate day) const
{
    const auto page = m_pages.constFind(day);
    return page == m_pages.cend() ? 0 : yearshades::shadeOf(page->words, m_quartiles);
}

int YearGrid::cell() const
{
    return fontMetrics().height();
}

// Room for the weekdays' names on the left and the months' above.
QPoint YearGrid::origin() const
{
    const QLocale locale;
    int names = 0;
    for (int weekday = 1; weekday <= 7; ++weekday)
        names = std::max(names, fontMetrics().horizontalAdvance(locale.dayName(weekday, QLocale::ShortFormat)));
    return {names + 2 * kGap, fontMetrics().height() + 2 * kGap};
}

QRect YearGrid::cellRect(QDate day) const
{
    const int step = cell() + kGap;
    return {origin() + QPoint(weekOf(day) * step, (day.dayOfWeek() - 1) * step), QSize(cell(), cell())};
}

QSize YearGrid::sizeHint() const
{
    const int step = cell() + kGap;
    return QSize(origin().x() + 54 * step, origin().y() + 7 * step) + QSize(kGap, kGap);
}

QDate YearGrid::dayAt(QPoint point) const
{
    const int step = cell() + kGap;
    const QPoint inside = point - origin();
    if (inside.x() < 0 || inside.y() < 0 || inside.y() >= 7 * step)
        return {};
    const QDate first(m_year, 1, 1);
    const QDate day = first.addDays(inside.x() / step * 7 + inside.y() / step - (first.dayOfWeek() - 1));
    return day.year() == m_year && cellRect(day).contains(point) ? day : QDate();
}

void YearGrid::focusDay(QDate day)
{
    m_focused = day;
    setAccessibleName(describe(day));
    update();
}

QString YearGrid::describe(QDate day) const
{
    return dateOf(day) + QStringLiteral(", ") + wordsOf(day);
}

QString YearGrid::dateOf(QDate day)
{
    return QLocale().toString(day, QStringLiteral("dddd d MMMM yyyy"));
}

QString YearGrid::wordsOf(QDate day) const
{
    const auto page = m_pages.constFind(day);
    if (page == m_pages.cend())
        return QStringLiteral("no page");
    return page->words == 1 ? QStringLiteral("1 word") : QStringLiteral("%1 words").arg(page->words);
}

bool YearGrid::event(QEvent *event)
{
    if (event->type() != QEvent::ToolTip)
        return QWidget::event(event);
    const auto *help = static_cast<QHelpEvent *>(event);
    const QDate day = dayAt(help->pos());
    if (!day.isValid()) {
        QToolTip::hideText();
        return true;
    }
    QStringList tip{dateOf(day), wordsOf(day)};
    if (const auto page = m_pages.constFind(day); page != m_pages.cend() && !page->firstLine.isEmpty())
        tip.append(page->firstLine);
    QToolTip::showText(help->globalPos(), plainToolTip(tip.join(QLatin1Char('\n'))), this, cellRect(day));
    return true;
}

void YearGrid::keyPressEvent(QKeyEvent *event)
{
    static const QHash<int, int> moves{{Qt::Key_Up, -1}, {Qt::Key_Down, 1}, {Qt::Key_Left, -7}, {Qt::Key_Right, 7}};
    const int key = event->key();
    if (const auto move = moves.constFind(key); move != moves.cend()) {
        if (const QDate day = m_focused.addDays(*move); day.year() == m_year)
            focusDay(day);
    } else if (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Space) {
        emit dayOpened(m_focused);
    } else if (key == Qt::Key_PageUp || key == Qt::Key_PageDown) {
        emit yearStepped(key == Qt::Key_PageUp ? -1 : 1);
    } else {
        QWidget::keyPressEvent(event);
    }
}

void YearGrid::mousePressEvent(QMouseEvent *event)
{
    const QDate day = dayAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !day.isValid())
        return QWidget::mousePressEvent(event);
    setFocus(Qt::MouseFocusReason);
    focusDay(day);
    emit dayOpened(day);
}

void YearGrid::paintLabels(QPainter &painter) const
{
    const QLocale locale;
    painter.setPen(palette().color(QPalette::WindowText));
    for (int month = 1; month <= 12; ++month) {
        const QRect first = cellRect(QDate(m_year, month, 1));
        painter.drawText(QPoint(first.left(), origin().y() - kGap - fontMetrics().descent()), locale.monthName(month, QLocale::ShortFormat));
    }
    for (const int weekday : {1, 3, 5}) {
        const QRect row(0, origin().y() + (weekday - 1) * (cell() + kGap), origin().x() - kGap, cell());
        painter.drawText(row, Qt::AlignRight | Qt::AlignVCenter, locale.dayName(weekday, QLocale::ShortFormat));
    }
}

void YearGrid::paintEvent(QPaintEvent *)
{
    if (m_year == 0)
        return;
    QPainter painter(this);
    painter.setRenderHint(QPainter::Antialiasing);
    paintLabels(painter);
    const QColor outline = yearshades::outlineOf(palette());
    for (QDate day(m_year, 1, 1); day.year() == m_year; day = day.addDays(1)) {
        const int shade = shadeOf(day);
        painter.setPen(shade == 0 ? QPen(outline) : Qt::NoPen);
        painter.setBrush(shade == 0 ? QBrush(Qt::NoBrush) : QBrush(yearshades::fillOf(shade, palette())));
        painter.drawRoundedRect(QRectF(cellRect(day)).adjusted(0.5, 0.5, -0.5, -0.5), 2, 2);
    }
    if (hasFocus() && m_focused.year() == m_year) {
        painter.setPen(QPen(palette().color(QPalette::WindowText), 2));
        painter.setBrush(Qt::NoBrush);
        painter.drawRoundedRect(QRectF(cellRect(m_focused)).adjusted(-1, -1, 1, 1), 3, 3);
    }
}
