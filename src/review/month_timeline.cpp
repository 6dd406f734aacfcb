#include "review/month_timeline.h"

#include <algorithm>

namespace morvik::review {
namespace {

const QString kDateFormat = QStringLiteral("yyyy/MM/dd");
const QString kRejected = QStringLiteral("却下");
constexpr int kRegularStart = 8 * 60 + 30;
constexpr int kRegularEnd = 17 * 60 + 15;

std::optional<int> DigitsValue(QStringView digits) {
  if (digits.isEmpty()) return std::nullopt;
  int value = 0;
  for (const QChar c : digits) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return value;
}

// Minutes from day 1 00:00 of the record's month to 00:00 of `date` (any month).
std::optional<int> DayStartMinute(const StaffMonthRecord& record, const QString& date) {
  // Nearly every date lies in the month: its day is read directly, the rest go through
  // the calendar.
  if (date.size() == 10 && !record.monthPrefix.isEmpty() && date.startsWith(record.monthPrefix)) {
    const auto dayOfMonth = DigitsValue(QStringView(date).mid(8));
    if (!dayOfMonth || *dayOfMonth < 1 || *dayOfMonth > record.DayCount()) return std::nullopt;
    return (*dayOfMonth - 1) * kMinutesPerDay;
  }
  const QDate day = QDate::fromString(date, kDateFormat);
  if (!day.isValid() || !record.firstDay.isValid()) return std::nullopt;
  const qint64 days = record.firstDay.daysTo(day);
  if (days < -366 || days > 366) return std::nullopt;  // far from the month: not on its line
  return static_cast<int>(days) * kMinutesPerDay;
}

// `from` less every stretch of `cuts`, as pieces of positive length.
std::vector<Stretch> Without(const Stretch& from, const std::vector<Stretch>& cuts) {
  std::vector<Stretch> pieces = {from};
  for (const Stretch& cut : cuts) {
    std::vector<Stretch> rest;
    for (const Stretch& piece : pieces) {
      if (cut.start > piece.start) rest.push_back({piece.start, std::min(piece.end, cut.start)});
      if (cut.end < piece.end) rest.push_back({std::max(piece.start, cut.end), piece.end});
    }
    std::erase_if(rest, [](const Stretch& s) { return s.end <= s.start; });
    pieces = std::move(rest);
  }
  return pieces;
}

// Leave not rejected, each from its start time to its end time on its start date.
std::vector<Stretch> LeaveStretches(const StaffMonthRecord& record) {
  std::vector<Stretch> leave;
  for (const RequestFacts& request : record.requests) {
    if (request.kind != RequestKind::kLeave || request.state == kRejected) continue;
    const auto day = DayStartMinute(record, request.startDate);
    const auto start = ClockMinutes(request.startTime);
    const auto end = ClockMinutes(request.endTime);
    if (day && start && end && *end > *start) leave.push_back({*day + *start, *day + *end});
  }
  return leave;
}

}  // namespace

std::optional<int> ClockMinutes(QStringView time) {
  const qsizetype colon = time.indexOf(u':');
  if (colon < 1 || colon > 2 || time.size() != colon + 3) return std::nullopt;
  const auto hour = DigitsValue(time.left(colon));
  const auto minute = DigitsValue(time.mid(colon + 1));
  if (!hour || !minute || *hour > 23 || *minute > 59) return std::nullopt;
  return *hour * 60 + *minute;
}

std::optional<int> DayOfMonth(const StaffMonthRecord& record, const QString& date) {
  const auto start = DayStartMinute(record, date);
  if (!start) return std::nullopt;
  const int day = *start / kMinutesPerDay + 1;
  if (*start < 0 || day > record.DayCount()) return std::nullopt;
  return day;
}

std::optional<Stretch> RequestStretch(const StaffMonthRecord& record, const RequestFacts& request) {
  const auto startDay = DayStartMinute(record, request.startDate);
  const auto startTime = ClockMinutes(request.startTime);
  const auto endTime = ClockMinutes(request.endTime);
  if (!startDay || !startTime || !endTime) return std::nullopt;
  std::optional<int> endDay = DayStartMinute(record, request.endDate);
  int end = endDay ? *endDay + *endTime : 0;
  if (request.endDate == request.startDate && *endTime == 0) end = *startDay + kMinutesPerDay;
  const int start = *startDay + *startTime;
  if (!endDay || end <= start) return std::nullopt;
  return Stretch{start, end};
}

std::vector<Stretch> CoveredPieces(const StaffMonthRecord& record) {
  std::vector<Stretch> pieces;
  const std::vector<Stretch> leave = LeaveStretches(record);
  for (int d = 1; d <= record.DayCount(); ++d) {
    if (!record.workingDays[d - 1]) continue;
    const int day = (d - 1) * kMinutesPerDay;
    for (const Stretch& piece : Without({day + kRegularStart, day + kRegularEnd}, leave)) {
      pieces.push_back(piece);
    }
  }
  for (const RequestFacts& request : record.requests) {
    if (request.kind == RequestKind::kLeave || request.state == kRejected) continue;
    if (const auto stretch = RequestStretch(record, request)) pieces.push_back(*stretch);
  }
  // Cut to the month: covered time outside it is not this month's.
  const int monthEnd = record.DayCount() * kMinutesPerDay;
  for (Stretch& piece : pieces) {
    piece.start = std::clamp(piece.start, 0, monthEnd);
    piece.end = std::clamp(piece.end, 0, monthEnd);
  }
  std::erase_if(pieces, [](const Stretch& s) { return s.end <= s.start; });
  std::sort(pieces.begin(), pieces.end(), [](const Stretch& a, const Stretch& b) {
    return a.start != b.start ? a.start < b.start : a.end < b.end;
  });
  pieces.erase(std::unique(pieces.begin(), pieces.end()), pieces.end());
  return pieces;
}

std::vector<Stretch> MergedStretches(const std::vector<Stretch>& pieces) {
  std::vector<Stretch> merged;
  for (const Stretch& piece : pieces) {
    if (!merged.empty() && piece.start <= merged.back().end) {
      merged.back().end = std::max(merged.back().end, piece.end);
    } else {
      merged.push_back(piece);
    }
  }
  return merged;
}

std::optional<NearestCover> NearestCovered(const std::vector<Stretch>& merged, int minute) {
  if (merged.empty()) return std::nullopt;
  // The first stretch that does not end before the minute.
  const auto next = std::lower_bound(merged.begin(), merged.end(), minute,
                                     [](const Stretch& s, int m) { return s.end < m; });
  if (next != merged.end() && next->start <= minute) return NearestCover{0, true};
  const std::optional<int> before =
      next == merged.begin() ? std::nullopt : std::optional<int>(minute - std::prev(next)->end);
  const std::optional<int> after =
      next == merged.end() ? std::nullopt : std::optional<int>(next->start - minute);
  if (before && (!after || *before <= *after)) return NearestCover{*before, true};
  return NearestCover{*after, false};
}

int CoveredMinutesBetween(const std::vector<Stretch>& merged, int from, int to) {
  int minutes = 0;
  for (const Stretch& s : merged) {
    minutes += std::max(0, std::min(s.end, to) - std::max(s.start, from));
  }
  return minutes;
}

}  // namespace morvik::review
