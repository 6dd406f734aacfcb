#pragma once
// The days of the processed month, shared by the calendar and the work CSV so that both
// count the same days.

#include <QDate>
#include <QList>
#include <QString>
#include <QStringList>

namespace morvik {

struct MonthDays {
  QList<QDate> dates;     // day 1 first
  QStringList dateTexts;  // the same days as yyyy/mm/dd
};

// The days of the month that `monthPrefix` (yyyy/mm/) names. Throws RunFailure when the
// prefix followed by "01" is not a date. Every staff member of a run asks for the same
// month, so the last month made is kept.
const MonthDays& DaysOfMonth(const QString& monthPrefix);

// yyyy/mm/dd, whatever the system's regional settings are.
QString DateText(QDate date);

}  // namespace morvik
