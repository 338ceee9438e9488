#pragma once

#include "richtext/diaryfigures.h"

#include <QWidget>

class MonthBars;
class QLabel;

// The figures of the shown year beside those of every year, and the year's
// words per month as bars.
class StatisticsPanel : public QWidget
{
    Q_OBJECT

public:
    explicit StatisticsPanel(QWidget *parent = nullptr);

    void showFigures(int year, QDate today, const diaryfigures::Statistics &ofYear, const diaryfigures::Statistics &ofAll);
    void clear();
    // Row by row, the figures of the year and then of all years, as shown.
    QStringList figures() const;

private:
    QLabel *m_yearHeading = nullptr;
    QList<QLabel *> m_ofYear;
    QList<QLabel *> m_ofAll;
    MonthBars *m_bars = nullptr;
};
