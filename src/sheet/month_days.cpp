#include "sheet/month_days.h"

#include <QRegularExpression>

#include "core/failures.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

MonthDays MakeMonthDays(const QString& monthPrefix) {
  static const QRegularExpression kPrefixForm(QStringLiteral("^(\\d{4})/(\\d{2})/$"));
  const QRegularExpressionMatch match = kPrefixForm.match(monthPrefix);
  const QDate first =
      match.hasMatch() ? QDate(match.captured(1).toInt(), match.captured(2).toInt(), 1) : QDate();
  if (!first.isValid()) {
    throw RunFailure(QStringLiteral("the month \"%1\" of the requests is not a month (yyyy/mm/)")
                         .arg(monthPrefix));
  }
  MonthDays month;
  // The grid's last day is never inside a month, so the loop always ends at the break.
  for (int d = kFirstDay; d <= kLastDay; ++d) {
    const QDate date = first.addDays(d - 1);
    const QString text = DateText(date);
    if (!text.startsWith(monthPrefix)) break;
    month.dates.append(date);
    month.dateTexts.append(text);
  }
  return month;
}

}  // namespace

QString DateText(QDate date) {
  return QStringLiteral("%1/%2/%3")
      .arg(date.year(), 4, 10, QLatin1Char('0'))
      .arg(date.month(), 2, 10, QLatin1Char('0'))
      .arg(date.day(), 2, 10, QLatin1Char('0'));
}

const MonthDays& DaysOfMonth(const QString& monthPrefix) {
  thread_local QString keptPrefix;
  thread_local MonthDays kept;
  if (keptPrefix.isNull() || monthPrefix != keptPrefix) {
    kept = MakeMonthDays(monthPrefix);  // a failure keeps the month kept before
    keptPrefix = monthPrefix;
  }
  return kept;
}

}  // namespace morvik
