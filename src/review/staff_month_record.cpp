#include "review/staff_month_record.h"

#include <optional>

namespace morvik::review {
namespace {

// Request CSV columns.
constexpr int kStateField = 2;
constexpr int kTypeField = 4;
constexpr int kStartDateField = 8;
constexpr int kStartTimeField = 9;
constexpr int kEndDateField = 10;
constexpr int kEndTimeField = 11;
constexpr int kOvertimeHoursField = 14;

// Stamp table columns.
constexpr int kStampDateColumn = 9;
constexpr int kStampTimeColumn = 10;

const QString kOvertimeType = QStringLiteral("時間外申請");
const QString kDutyType = QStringLiteral("日当直申請");
const QString kSelfStudyType = QStringLiteral("自己研鑽申請");
const QString kLeaveMarker = QStringLiteral("休暇申請");
const QString kMonthFormat = QStringLiteral("yyyy/MM/dd");

// The kinds the month sheet places; any other type is not part of the month.
std::optional<RequestKind> KindOf(const QString& type) {
  if (type == kOvertimeType) return RequestKind::kOvertime;
  if (type == kDutyType) return RequestKind::kDuty;
  if (type == kSelfStudyType) return RequestKind::kSelfStudy;
  if (type.contains(kLeaveMarker)) return RequestKind::kLeave;
  return std::nullopt;
}

// Weekends and holidays carry their mark in the label and get no regular period.
bool IsWorkingDayLabel(const QString& label) {
  return !label.isEmpty() && !label.contains(u'土') && !label.contains(u'日') &&
         !label.contains(u'祝');
}

void TakeDays(const WorkingTables& tables, StaffMonthRecord& record) {
  record.firstDay =
      QDate::fromString(tables.requestMonthPrefix + QStringLiteral("01"), kMonthFormat);
  if (!record.firstDay.isValid()) return;
  record.monthPrefix = tables.requestMonthPrefix;
  const int days = record.firstDay.daysInMonth();
  for (int d = 1; d <= days; ++d) {
    const QString& label = tables.dayLabel.at(d);
    record.dayLabels.push_back(label);
    record.workingDays.push_back(IsWorkingDayLabel(label));
  }
}

}  // namespace

QString StaffMonthRecord::MonthText() const {
  return firstDay.isValid() ? firstDay.toString(QStringLiteral("yyyy/MM")) : QString();
}

StaffMonthRecord TakeStaffMonthRecord(const WorkingTables& tables,
                                      std::span<const RequestRow> groupRows,
                                      std::span<const int> stampRows) {
  StaffMonthRecord record;
  record.staffNo = tables.staffNo;
  record.staffName = tables.staffName;
  record.staffDept = tables.staffDept;
  record.regularMinutes = tables.regularMinutes;
  record.netRegularMinutes = tables.netRegularMinutes;
  record.overtimeMinutes = tables.overtimeMinutes;
  TakeDays(tables, record);
  for (const RequestRow& row : groupRows) {
    const std::optional<RequestKind> kind = KindOf(row[kTypeField]);
    if (!kind) continue;
    record.requests.push_back({*kind, row[kStateField], row[kStartDateField], row[kStartTimeField],
                               row[kEndDateField], row[kEndTimeField], row[kOvertimeHoursField]});
  }
  // The stamps the chart plots: those dated in the charted month.
  for (const int r : stampRows) {
    const StampRow& row = tables.stampTable.at(r);
    if (QStringView(row[kStampDateColumn]).left(8) == tables.requestMonthPrefix) {
      record.stamps.push_back({row[kStampDateColumn], row[kStampTimeColumn]});
    }
  }
  return record;
}

}  // namespace morvik::review
