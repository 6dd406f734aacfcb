#pragma once
// The month of one charted staff member, as the month review sees it.
//
// It is taken from the working tables once, when the staff member is finished, and is
// all the review ever reads: the review never looks at the working tables itself, so
// nothing it does can change what the chart and the work CSV show.

#include <QDate>
#include <QString>
#include <QtGlobal>

#include <span>
#include <vector>

#include "core/working_tables.h"

namespace morvik::review {

enum class RequestKind { kOvertime, kDuty, kSelfStudy, kLeave };

// One request row that the month sheet placed, with its cells as the reader left them.
struct RequestFacts {
  RequestKind kind = RequestKind::kOvertime;
  QString state;  // "承認", "承認待ち", "却下" or whatever the export holds
  QString startDate, startTime, endDate, endTime;
  QString overtimeHours;  // the 時間外申請時間 cell
};

// One stamp of the staff member dated in the charted month.
struct StampFacts {
  QString date;  // yyyy/mm/dd
  QString time;  // as read: hh:mm when well formed
};

struct StaffMonthRecord {
  QString staffNo, staffName, staffDept;
  QDate firstDay;                  // day 1 of the charted month; null when it does not read
  QString monthPrefix;             // yyyy/mm/ of that month; empty when it does not read
  std::vector<QString> dayLabels;  // mm/dd(X) as on the chart, day 1 first
  std::vector<bool> workingDays;   // the days that get the regular period, day 1 first
  std::vector<RequestFacts> requests;
  std::vector<StampFacts> stamps;
  qint32 regularMinutes = 0;
  qint32 netRegularMinutes = 0;
  qint32 overtimeMinutes = 0;

  int DayCount() const { return static_cast<int>(dayLabels.size()); }
  QString MonthText() const;  // yyyy/mm, or empty when the month does not read
};

// The record of the staff member the grid holds. `groupRows` are the request rows that
// made the month (rows of types the month sheet does not place are left out), and
// `stampRows` the staff member's rows of the stamp table.
StaffMonthRecord TakeStaffMonthRecord(const WorkingTables& tables,
                                      std::span<const RequestRow> groupRows,
                                      std::span<const int> stampRows);

}  // namespace morvik::review
