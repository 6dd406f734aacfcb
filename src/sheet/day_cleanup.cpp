#include "sheet/day_cleanup.h"

#include <initializer_list>
#include <utility>

#include "core/frontend.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kSortingWorkTimes = QStringLiteral("勤務時間をソートします");
const QString kWorkTimesSorted = QStringLiteral("勤務時間をソートしました");
const QString kLunchHourPrefix = QStringLiteral("12:");
const QString kLunchStart = QStringLiteral("12:00");
const QString kLunchEnd = QStringLiteral("13:00");
const QString kDaysWithoutLunch = QStringLiteral("土日祝");

// The 7th character of mm/dd(X) marks Saturdays, Sundays and weekday holidays.
bool HasLunchBreak(const QString& dayLabel) {
  return dayLabel.size() < 7 || !kDaysWithoutLunch.contains(dayLabel.at(6));
}

void TakeOutLunch(QString& start, QString& end) {
  // A period wholly inside the lunch hour goes; otherwise it is cut back to its edges.
  if (start.startsWith(kLunchHourPrefix) && end <= kLunchEnd) {
    start.clear();
    end.clear();
  }
  if (start.startsWith(kLunchHourPrefix)) start = kLunchEnd;
  if (end == kLunchEnd) end = kLunchStart;
}

// One pass only: a run of several empty slots shrinks by one slot per call.
void CloseUp(std::initializer_list<DaySlots*> members) {
  DaySlots& key = **members.begin();
  for (int s = kFirstSlot; s < kLastSlot; ++s) {
    if (!key.at(s).isEmpty() || key.at(s + 1).isEmpty()) continue;
    for (DaySlots* member : members) {
      member->at(s) = member->at(s + 1);
      member->at(s + 1).clear();
    }
  }
}

// Empty slots keep their places; the filled ones end up in start order among them.
void OrderByStart(DaySlots& starts, DaySlots& ends) {
  for (int m = kFirstSlot; m < kLastSlot; ++m) {
    for (int j = m + 1; j <= kLastSlot; ++j) {
      if (!starts.at(j).isEmpty() && starts.at(m) > starts.at(j)) {
        std::swap(starts.at(m), starts.at(j));
        std::swap(ends.at(m), ends.at(j));
      }
    }
  }
}

}  // namespace

void ApplyLunchBreak(WorkingTables& tables) {
  for (int d = kFirstDay; d <= kLastDay; ++d) {
    if (!HasLunchBreak(tables.dayLabel.at(d))) continue;
    for (int s = kFirstSlot; s <= kLastSlot; ++s) {
      TakeOutLunch(tables.workStart.at(d).at(s), tables.workEnd.at(d).at(s));
    }
  }
}

void SortWorkTimes(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kSortingWorkTimes);
  for (int d = kFirstDay; d <= kLastDay; ++d) {
    CloseUp({&tables.workStart.at(d), &tables.workEnd.at(d)});
  }
  for (int d = kFirstDay; d <= kLastDay; ++d) {
    CloseUp({&tables.requestLabel.at(d), &tables.requestStart.at(d), &tables.requestEnd.at(d),
             &tables.requestState.at(d)});
  }
  for (int d = kFirstDay; d <= kLastDay; ++d) {
    OrderByStart(tables.workStart.at(d), tables.workEnd.at(d));
  }
  frontend.SetStatusText(kWorkTimesSorted);
}

}  // namespace morvik
