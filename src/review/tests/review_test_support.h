#pragma once
// Records of November 2026 (day 1 a Sunday) for the review's tests.

#include <QString>

#include <initializer_list>

#include "review/staff_month_record.h"

namespace morvik::review::testing {

// A month whose working days are exactly `workingDays`.
inline StaffMonthRecord November(std::initializer_list<int> workingDays) {
  StaffMonthRecord record;
  record.staffNo = "00123";
  record.staffName = "山田 花子";
  record.staffDept = "内科";
  record.firstDay = QDate(2026, 11, 1);
  record.monthPrefix = "2026/11/";
  for (int d = 1; d <= 30; ++d) {
    record.dayLabels.push_back(QStringLiteral("11/%1(x)").arg(d, 2, 10, QLatin1Char('0')));
    record.workingDays.push_back(false);
  }
  for (int d : workingDays) record.workingDays[d - 1] = true;
  return record;
}

inline QString Date(int day) {
  return QStringLiteral("2026/11/%1").arg(day, 2, 10, QLatin1Char('0'));
}

inline RequestFacts Request(RequestKind kind, const char* state, int startDay, const char* start,
                            int endDay, const char* end, const char* hours = "") {
  return {kind, state, Date(startDay), start, Date(endDay), end, hours};
}

}  // namespace morvik::review::testing
