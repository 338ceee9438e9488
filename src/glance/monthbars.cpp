#include "monthbars.h"

#include "yearshades.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

MonthBars::MonthBars(QWidget *parent) : QWidget(parent)
{
    setWords({});
}

void MonthBars::setWords(const std::array<int, 12> &words)
{
    m_words = words;
    QStringList months;
    for (int month = 1; month <= 12; ++month)
        months.append(QStringLiteral("%1 %2").arg(QLocale().monthName(month), QString::number(words[month - 1])));
    setAccessibleName(QStringLiteral("Words per month: ") + months.join(QStringLiteral(", ")));
    update();
}

QSize MonthBars::sizeHint() const
{
    return {12 * fontMetrics().horizontalAdvance(QStringLiteral("MM")), 5 * fontMetrics().height()};
}

void MonthBars::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    const int slot = width() / 12;
    const int label = fontMetrics().height();
    const int room = height() - label - 2;
    const int most = std::max(1, *std::ranges::max_element(m_words));
    const QLocale locale;
    for (int month = 0; month < 12; ++month) {
        const int bar = room * m_words[month] / most;
        painter.fillRect(month * slot + 2, room - bar, slot - 4, bar, yearshades::fillOf(4, palette()));
        painter.setPen(palette().color(QPalette::WindowText));
        painter.drawText(QRect(month * slot, height() - label, slot, label), Qt::AlignCenter, locale.monthName(month + 1, QLocale::NarrowFormat));
    }
}
