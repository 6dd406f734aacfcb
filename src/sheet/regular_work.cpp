#include "sheet/regular_work.h"

#include <array>

#include "core/frontend.h"
#include "core/working_tables.h"
#include "sheet/month_days.h"

namespace morvik {
namespace {

const QString kSettingRegularWork = QStringLiteral("通常勤務をセットします");
const QString kRegularWorkSet = QStringLiteral("通常勤務をセットしました");
const QString kRegularStart = QStringLiteral("08:30");
const QString kRegularEnd = QStringLiteral("17:15");
const QString kHolidayMark = QStringLiteral("祝");
// Monday first, as QDate::dayOfWeek counts (1..7).
const std::array<QString, 7> kWeekdayLetters = {
    QStringLiteral("月"), QStringLiteral("火"), QStringLiteral("水"), QStringLiteral("木"),
    QStringLiteral("金"), QStringLiteral("土"), QStringLiteral("日")};
constexpr qint32 kRegularDayMinutes = 480;

// The days of `month` (1 = its first) that the holiday table names. One pass over the
// table: only a date of this month, which begins with its prefix, is looked for among its
// days, where a pass a day would compare each day with the whole table.
std::array<bool, kDays> HolidaysOf(const WorkingTables& tables, const MonthDays& month) {
  std::array<bool, kDays> holiday{};
  for (int row = 1; row < kHolidayRows; ++row) {
    const QString& date = tables.holidayTable[row].date;
    if (date.isEmpty() || !date.startsWith(tables.requestMonthPrefix)) continue;
    const qsizetype day = month.dateTexts.indexOf(date);
    if (day >= 0) holiday.at(day + 1) = true;
  }
  return holiday;
}

}  // namespace

void SetRegularWork(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kSettingRegularWork);
  const MonthDays& month = DaysOfMonth(tables.requestMonthPrefix);
  const std::array<bool, kDays> holidays = HolidaysOf(tables, month);
  tables.regularMinutes = 0;
  for (int d = 1; d <= month.dates.size(); ++d) {
    const QDate date = month.dates[d - 1];
    const QString& text = month.dateTexts[d - 1];
    const bool weekend = date.dayOfWeek() >= Qt::Saturday;
    // Saturdays and Sundays keep their letter even when they are holidays.
    const bool holiday = !weekend && holidays.at(d);
    const QString& letter = holiday ? kHolidayMark : kWeekdayLetters.at(date.dayOfWeek() - 1);
    tables.dayLabel.at(d) = text.mid(5, 5) + u'(' + letter + u')';
    const bool working = !weekend && !holiday;
    tables.workStart.at(d).at(1) = working ? kRegularStart : QString();
    tables.workEnd.at(d).at(1) = working ? kRegularEnd : QString();
    if (working) tables.regularMinutes += kRegularDayMinutes;
  }
  frontend.SetStatusText(kRegularWorkSet);
}

}  // namespace morvik
