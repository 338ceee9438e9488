#pragma once

#include "diary/dataroot.h"
#include "diary/outcome.h"

#include <QDate>
#include <QString>

#include <vector>

class QTextDocument;

// The pages an export goes through, and what it says about each.
namespace rangeexport {

struct Day
{
    QDate date;
    QString key;
};

// The days with a page in [from, to], in order; a null date leaves its end open.
std::vector<Day> daysInRange(const DataRoot &root, QDate from, QDate to);

// What an export of a range without pages answers.
Outcome emptyRange(QDate from, QDate to);
// What an export stopped through its progress answers.
Outcome stopped();

// The day as a heading and a bookmark show it: the locale's long date.
QString dayTitle(QDate date);

// Builds the day's page into an empty document; false when it cannot be read.
bool loadPage(const DataRoot &root, const Day &day, QTextDocument &document);

} // namespace rangeexport
