#include "statisticspanel.h"

#include "monthbars.h"

#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

#include <tuple>

namespace {

const char *const kRows[] = {"Pages", "Words", "Words per page", "Longest streak", "Current streak", "Busiest weekday"};

QString days(int count)
{
    return count == 1 ? QStringLiteral("1 day") : QStringLiteral("%1 days").arg(count);
}

// A streak up to today is no figure of a year that is over or not yet begun.
QStringList valuesOf(const diaryfigures::Statistics &figures, bool current)
{
    const QLocale locale;
    return {locale.toString(figures.pages), locale.toString(figures.words), locale.toString(qRound(figures.averageWords())),
            days(figures.longestStreak), current ? days(figures.currentStreak) : QStringLiteral("-"),
            figures.busiestWeekday == 0 ? QStringLiteral("-") : locale.dayName(figures.busiestWeekday)};
}

} // namespace

StatisticsPanel::StatisticsPanel(QWidget *parent) : QWidget(parent)
{
    auto *table = new QGridLayout;
    m_yearHeading = new QLabel(this);
    table->addWidget(m_yearHeading, 0, 1, Qt::AlignRight);
    table->addWidget(new QLabel(QStringLiteral("All years"), this), 0, 2, Qt::AlignRight);
    for (int row = 0; row < int(std::size(kRows)); ++row) {
        table->addWidget(new QLabel(QString::fromLatin1(kRows[row]), this), row + 1, 0);
        for (auto [column, labels] : {std::pair{1, &m_ofYear}, std::pair{2, &m_ofAll}}) {
            auto *value = new QLabel(this);
            labels->append(value);
            table->addWidget(value, row + 1, column, Qt::AlignRight);
        }
    }
    m_bars = new MonthBars(this);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(table);
    layout->addWidget(m_bars, 1);
}

void StatisticsPanel::showFigures(int year, QDate today, const diaryfigures::Statistics &ofYear, const diaryfigures::Statistics &ofAll)
{
    m_yearHeading->setText(QString::number(year));
    for (auto [labels, figures, current] : {std::tuple{&m_ofYear, &ofYear, year == today.year()}, std::tuple{&m_ofAll, &ofAll, true}}) {
        const QStringList values = valuesOf(*figures, current);
        for (int row = 0; row < values.size(); ++row)
            (*labels)[row]->setText(values[row]);
    }
    m_bars->setWords(ofYear.wordsPerMonth);
}

void StatisticsPanel::clear()
{
    for (QLabel *label : m_ofYear + m_ofAll)
        label->clear();
    m_bars->setWords({});
}

QStringList StatisticsPanel::figures() const
{
    QStringList shown;
    for (int row = 0; row < m_ofYear.size(); ++row)
        shown << m_ofYear[row]->text() << m_ofAll[row]->text();
    return shown;
}
