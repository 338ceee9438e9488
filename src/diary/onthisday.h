#pragma once

#include <QDate>
#include <QList>
#include <QStringList>

namespace onthisday {

// The days of earlier years that have a page on the month and day of `day`,
// newest first, from a sorted page list ("yyyy-mm-dd.dat"). The 29th of
// February of a leap year shows on the 28th in the years between, where it
// would otherwise never come back.
QList<QDate> earlierDays(const QStringList &pageNames, QDate day);

} // namespace onthisday
