#pragma once

#include "yearshades.h"

#include "richtext/diaryfigures.h"

#include <QDate>
#include <QHash>
#include <QWidget>

// A year as a grid of day cells, weeks as columns and weekdays as rows, each
// shaded by the words written that day. A grid of squares is no chart: drawn
// here with QPainter, it needs no charting module. The arrow keys move the
// focused day, told to a screen reader by the grid's name; Enter or a click
// opens a day, Page Up and Page Down ask for the year before or after.
class YearGrid : public QWidget
{
    Q_OBJECT

public:
    explicit YearGrid(QWidget *parent = nullptr);

    // The pages of year among pages, with focused (a day of that year) in focus.
    void showYear(int year, const QList<diaryfigures::Page> &pages, QDate focused);
    void clear();
    int year() const { return m_year; }
    QDate focusedDay() const { return m_focused; }
    int shadeOf(QDate day) const;
    QRect cellRect(QDate day) const;
    QSize sizeHint() const override;
    // A cut-off year would hide its last weeks, so the grid never shrinks.
    QSize minimumSizeHint() const override { return sizeHint(); }

signals:
    void dayOpened(QDate day);
    void yearStepped(int by);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;

private:
    QDate dayAt(QPoint point) const;
    void focusDay(QDate day);
    QString describe(QDate day) const;
    static QString dateOf(QDate day);
    QString wordsOf(QDate day) const;
    void paintLabels(QPainter &painter) const;
    int cell() const;
    QPoint origin() const;

    int m_year = 0;
    QDate m_focused;
    QHash<QDate, diaryfigures::Page> m_pages;
    yearshades::Quartiles m_quartiles{};
};
