#include "review/month_findings.h"

#include <algorithm>

namespace morvik::review {
namespace {

constexpr int kUnscheduledDistance = 8 * 60;  // farther than this from any covered minute
constexpr int kPreviousMonthDutyEnd = 8 * 60 + 30;
constexpr int kMinCoveredMinutes = 60;

struct ReadStamp {
  int day;
  int minute;
};

std::optional<Finding> JudgeStamp(const std::vector<Stretch>& merged, const ReadStamp& stamp,
                                  int toleranceMinutes) {
  const int minute = (stamp.day - 1) * kMinutesPerDay + stamp.minute;
  const std::optional<NearestCover> nearest = NearestCovered(merged, minute);
  if (!nearest) return Finding{stamp.day, stamp.minute, FindingKind::kUnscheduled, std::nullopt};
  if (nearest->distance <= toleranceMinutes) return std::nullopt;
  FindingKind kind = nearest->coverIsBefore ? FindingKind::kAfterEnd : FindingKind::kBeforeStart;
  if (nearest->distance > kUnscheduledDistance) kind = FindingKind::kUnscheduled;
  return Finding{stamp.day, stamp.minute, kind, nearest->distance};
}

void JudgeStamps(const StaffMonthRecord& record, const std::vector<Stretch>& merged,
                 int toleranceMinutes, std::vector<bool>& stampedDays, MonthFindings& result) {
  for (const StampFacts& stamp : record.stamps) {
    const std::optional<int> day = DayOfMonth(record, stamp.date);
    if (day) stampedDays[*day - 1] = true;
    const std::optional<int> minute = ClockMinutes(stamp.time);
    if (!day || !minute) {
      ++result.stampsIgnored;
      continue;
    }
    if (*day == 1 && *minute < kPreviousMonthDutyEnd) continue;
    ++result.stampsCounted;
    if (auto finding = JudgeStamp(merged, {*day, *minute}, toleranceMinutes)) {
      ++result.stampsOutside;
      result.largestOutside = std::max(result.largestOutside, finding->minutes.value_or(0));
      result.findings.push_back(*finding);
    }
  }
}

void FindDaysWithoutStamps(const StaffMonthRecord& record, const std::vector<Stretch>& merged,
                           const std::vector<bool>& stampedDays, MonthFindings& result) {
  for (int d = 1; d <= record.DayCount(); ++d) {
    const int dayStart = (d - 1) * kMinutesPerDay;
    const int covered = CoveredMinutesBetween(merged, dayStart, dayStart + kMinutesPerDay);
    if (covered < kMinCoveredMinutes || stampedDays[d - 1]) continue;
    ++result.daysWithoutStamps;
    result.findings.push_back({d, std::nullopt, FindingKind::kNoStamps, covered});
  }
}

}  // namespace

MonthFindings FindDisagreements(const StaffMonthRecord& record, int toleranceMinutes) {
  MonthFindings result;
  result.pieces = CoveredPieces(record);
  const std::vector<Stretch> merged = MergedStretches(result.pieces);
  std::vector<bool> stampedDays(record.DayCount(), false);
  JudgeStamps(record, merged, toleranceMinutes, stampedDays, result);
  FindDaysWithoutStamps(record, merged, stampedDays, result);
  std::stable_sort(result.findings.begin(), result.findings.end(),
                   [](const Finding& a, const Finding& b) {
                     if (a.day != b.day) return a.day < b.day;
                     return a.minute.value_or(-1) < b.minute.value_or(-1);
                   });
  return result;
}

}  // namespace morvik::review
