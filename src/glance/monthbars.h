#pragma once

#include <QWidget>

#include <array>

// The words of each month as twelve bars, the tallest month at full height;
// the figures themselves are in the name a screen reader says.
class MonthBars : public QWidget
{
    Q_OBJECT

public:
    explicit MonthBars(QWidget *parent = nullptr);

    void setWords(const std::array<int, 12> &words);
    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    std::array<int, 12> m_words{};
};
