#pragma once

#include "seams/clock.h"

// A clock whose day the test chooses.
class FixedClock final : public Clock
{
public:
    explicit FixedClock(QDate day) : m_day(day) {}
    QDate today() const override { return m_day; }

private:
    QDate m_day;
};
