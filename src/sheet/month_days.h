#pragma once
// The days of the processed month, shared by the calendar and the work CSV so that both
// count the same days.

#include <QDate>
#include <QList>
#include <QString>

namespace morvik {

// The dates of the month that `monthPrefix` (yyyy/mm/) names, day 1 first. Throws
// RunFailure when the prefix followed by "01" is not a date.
QList<QDate> MonthDays(const QString& monthPrefix);

// yyyy/mm/dd, whatever the system's regional settings are.
QString DateText(QDate date);

}  // namespace morvik
