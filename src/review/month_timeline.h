#pragma once
// A charted month as one line of minutes: day 1 00:00 is minute 0, and a time on day d
// is (d - 1) × 1440 + its minutes. Covered time (the regular period less leave, and
// every work request) is a set of stretches on that line.

#include <QDate>
#include <QString>
#include <QStringView>

#include <optional>
#include <vector>

#include "review/staff_month_record.h"

namespace morvik::review {

inline constexpr int kMinutesPerDay = 1440;

// A closed stretch [start, end] of the month's minutes.
struct Stretch {
  int start = 0;
  int end = 0;
  friend bool operator==(const Stretch&, const Stretch&) = default;
};

// Minutes after midnight of "h:mm" or "hh:mm" with hour 0–23 and minute 0–59.
std::optional<int> ClockMinutes(QStringView time);

// Day of the month (1..days) of a yyyy/mm/dd date inside the record's month.
std::optional<int> DayOfMonth(const StaffMonthRecord& record, const QString& date);

// The stretch a request covers, from its start date and time to its end date and time,
// not cut to the month. An end of 00:00 on the start date is the midnight ending that
// day; an end not after the start, or a date or time that does not read, covers nothing.
std::optional<Stretch> RequestStretch(const StaffMonthRecord& record, const RequestFacts& request);

// Every covered piece of the month, cut to the month and ordered by start then end: the
// regular period of each working day less the leave not rejected, and each work request
// not rejected. Pieces may touch or overlap.
std::vector<Stretch> CoveredPieces(const StaffMonthRecord& record);

// The union of `pieces` (ordered as CoveredPieces gives them) as disjoint stretches;
// stretches that touch are joined.
std::vector<Stretch> MergedStretches(const std::vector<Stretch>& pieces);

struct NearestCover {
  int distance = 0;           // minutes to the nearest covered minute; 0 inside a stretch
  bool coverIsBefore = true;  // that minute lies before `minute` (halfway counts as before)
};

// Nothing when `merged` is empty.
std::optional<NearestCover> NearestCovered(const std::vector<Stretch>& merged, int minute);

// Covered minutes of `merged` between `from` and `to`.
int CoveredMinutesBetween(const std::vector<Stretch>& merged, int from, int to);

}  // namespace morvik::review
