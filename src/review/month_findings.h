#pragma once
// Where a staff member's stamps and covered time disagree.
//
// A stamp is outside when it lies more than the tolerance from the nearest covered
// minute; a day without stamps is a day with at least an hour of covered time and no
// stamp dated on it. Stamps on day 1 before 08:30 are left out: they may end a duty of
// the previous month, which this month's exports cannot show.

#include <QString>

#include <optional>
#include <vector>

#include "review/month_timeline.h"
#include "review/staff_month_record.h"

namespace morvik::review {

inline constexpr int kDefaultToleranceMinutes = 30;
inline constexpr int kMaxToleranceMinutes = 240;

enum class FindingKind {
  kBeforeStart,  // "始業前": an arrival before covered time
  kAfterEnd,     // "終業後": a stay after covered time, also past midnight
  kUnscheduled,  // "予定なし": nothing covered within 8 hours
  kNoStamps,     // "打刻なし": a covered day without any stamp
};

struct Finding {
  int day = 0;                // 1.. of the month
  std::optional<int> minute;  // of the day; nothing for a day without stamps
  FindingKind kind = FindingKind::kNoStamps;
  std::optional<int> minutes;  // outside, or covered on a day without stamps
};

struct MonthFindings {
  std::vector<Stretch> pieces;    // CoveredPieces of the month
  std::vector<Finding> findings;  // by day, then time; days without stamps first in a day
  int stampsCounted = 0;          // stamps judged
  int stampsIgnored = 0;          // stamps whose date or time does not read
  int stampsOutside = 0;
  int largestOutside = 0;  // minutes; 0 when no stamp lies outside
  int daysWithoutStamps = 0;
};

MonthFindings FindDisagreements(const StaffMonthRecord& record, int toleranceMinutes);

}  // namespace morvik::review
