#include "sheet/request_placement.h"

#include <array>
#include <cmath>
#include <optional>

#include "core/failures.h"
#include "core/frontend.h"
#include "core/text_rules.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

// Elements of currentRequest that the placement reads (the request CSV's columns).
constexpr int kStaffNoField = 1;
constexpr int kStateField = 2;
constexpr int kRequestNoField = 3;
constexpr int kTypeField = 4;
constexpr int kDeptField = 6;
constexpr int kNameField = 7;
constexpr int kStartDateField = 8;
constexpr int kStartTimeField = 9;
constexpr int kEndDateField = 10;
constexpr int kEndTimeField = 11;
constexpr int kContentField = 12;
constexpr int kOvertimeHoursField = 14;

const QString kOvertimeType = QStringLiteral("時間外申請");
const QString kDutyType = QStringLiteral("日当直申請");
const QString kSelfStudyType = QStringLiteral("自己研鑽申請");
const QString kLeaveMarker = QStringLiteral("休暇申請");
const QString kOvertimeLabel = QStringLiteral("時間外 ");
const QString kDutyLabel = QStringLiteral("日当直 ");
const QString kSelfStudyLabel = QStringLiteral("自己研鑽 ");
const QString kOtherLeaveLabel = QStringLiteral("その他の休暇 ");

struct LeaveType {
  QString type;
  QString label;
};
const std::array<LeaveType, 12> kLeaveTypes = {{
    {QStringLiteral("休暇申請(一日年休)"), QStringLiteral("年休 ")},
    {QStringLiteral("休暇申請(午前年休)"), QStringLiteral("年休 ")},
    {QStringLiteral("休暇申請(午後年休)"), QStringLiteral("年休 ")},
    {QStringLiteral("休暇申請(時間単位年休)"), QStringLiteral("年休 ")},
    {QStringLiteral("休暇申請(職免)"), QStringLiteral("職免 ")},
    {QStringLiteral("休暇申請(夏季休暇)"), QStringLiteral("夏休 ")},
    {QStringLiteral("休暇申請(忌引)"), QStringLiteral("忌引 ")},
    {QStringLiteral("休暇申請(病気休暇)"), QStringLiteral("病休 ")},
    {QStringLiteral("休暇申請(産前産後休暇)"), QStringLiteral("産休 ")},
    {QStringLiteral("休暇申請(育児休業)"), QStringLiteral("育休 ")},
    {QStringLiteral("休暇申請(子の看護休暇)"), QStringLiteral("子の看護休暇 ")},
    {QStringLiteral("休暇申請(その他特別休暇)"), QStringLiteral("その他特別休暇 ")},
}};

const QString kMidnight = QStringLiteral("00:00");
const QString kShortMidnight = QStringLiteral("0:00");
const QString kLastMinute = QStringLiteral("23:59");
const QString kOverflowPrefix = QStringLiteral("エラー：");
const QString kOverflowSuffix = QStringLiteral("：1日10回勤務がオーパーフローしました！");

// The three fixed leave amounts: morning, afternoon and whole day of the regular period.
constexpr qint32 kMorningStart = 510;    // 08:30
constexpr qint32 kMorningEnd = 720;      // 12:00
constexpr qint32 kAfternoonStart = 780;  // 13:00
constexpr qint32 kAfternoonEnd = 1035;   // 17:15
constexpr qint32 kHalfDayMinutes = 240;
constexpr qint32 kWholeDayMinutes = 480;

enum class Category { kNotPlaced, kWork, kOvertime, kLeave };

struct RequestKind {
  Category category = Category::kNotPlaced;
  QString label;
};

RequestKind KindOf(const QString& type) {
  if (type == kOvertimeType) return {Category::kOvertime, kOvertimeLabel};
  if (type == kDutyType) return {Category::kWork, kDutyLabel};
  if (type == kSelfStudyType) return {Category::kWork, kSelfStudyLabel};
  if (!type.contains(kLeaveMarker)) return {};
  for (const LeaveType& leave : kLeaveTypes) {
    if (type == leave.type) return {Category::kLeave, leave.label};
  }
  return {Category::kLeave, kOtherLeaveLabel};
}

// Names the row in a failure detail. The placement does not know the row's record number
// (rows are filtered and sorted), so the file and the request number stand for it.
QString RowDescription(const WorkingTables& t) {
  const RequestRow& r = t.currentRequest;
  return QStringLiteral("%1: request number %2 (\"%3\" of staff number %4 starting %5 %6)")
      .arg(t.requestCsvPath, r[kRequestNoField], r[kTypeField], r[kStaffNoField],
           r[kStartDateField], r[kStartTimeField]);
}

int DayIndex(const WorkingTables& t) {
  const RequestRow& r = t.currentRequest;
  const QString dayText = r[kStartDateField].mid(8);
  const double day = std::nearbyint(LeadingNumber(dayText));
  if (!(day >= 0 && day <= kLastDay)) {
    throw RunFailure(QStringLiteral("%1: the day \"%2\" of the start date is outside 0..32")
                         .arg(RowDescription(t), dayText));
  }
  return static_cast<int>(day);
}

// A minute counter's new value, rounded half to even; beyond 32 bits ends the run.
qint32 CheckedMinutes(double minutes, const WorkingTables& t, const QString& counter) {
  const double rounded = std::nearbyint(minutes);
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
    throw RunFailure(
        QStringLiteral("%1: the %2 leave the 32-bit range").arg(RowDescription(t), counter));
  }
  return static_cast<qint32>(rounded);
}

std::optional<int> LowestFree(const DaySlots& firstMembers) {
  for (int slot = 1; slot < kSlots; ++slot) {
    if (firstMembers.at(slot).isEmpty()) return slot;
  }
  return std::nullopt;
}

void SetEntry(WorkingTables& t, int day, int slot, const QString& label, const QString& start,
              const QString& end, const QString& state) {
  t.requestLabel.at(day).at(slot) = label;
  t.requestStart.at(day).at(slot) = start;
  t.requestEnd.at(day).at(slot) = end;
  t.requestState.at(day).at(slot) = state;
}

void AddOvertime(WorkingTables& t) {
  const RequestRow& r = t.currentRequest;
  const std::optional<double> hours = WholeNumber(r[kOvertimeHoursField]);
  if (!hours) {
    throw RunFailure(QStringLiteral("%1: the overtime hours \"%2\" are not a number")
                         .arg(RowDescription(t), r[kOvertimeHoursField]));
  }
  t.overtimeMinutes = CheckedMinutes(*hours * 60.0 + t.overtimeMinutes, t,
                                     QStringLiteral("overtime minutes of the month"));
}

void EndOnSameDay(WorkingTables& t, int d) {
  const QString& end = t.currentRequest[kEndTimeField];
  if (const auto s = LowestFree(t.workEnd.at(d))) {
    const bool midnight = end == kMidnight || end == kShortMidnight;
    t.workEnd.at(d).at(*s) = midnight ? kLastMinute : end;
  }
}

void SplitAtMidnight(WorkingTables& t, int d, const QString& label) {
  const RequestRow& r = t.currentRequest;
  if (d >= kLastDay) {
    throw RunFailure(QStringLiteral("%1: crosses midnight from day %2, the grid's last day")
                         .arg(RowDescription(t))
                         .arg(d));
  }
  const QString& end = r[kEndTimeField];
  if (const auto s = LowestFree(t.workEnd.at(d))) {
    t.workEnd.at(d).at(*s) = kLastMinute;
    if (const auto next = LowestFree(t.workStart.at(d + 1))) {
      t.workStart.at(d + 1).at(*next) = kMidnight;
      t.workEnd.at(d + 1).at(*next) = end;
    }
  }
  // The after-midnight entry always carries this row's own label and state, also when
  // the row's own day had no free entry slot.
  if (const auto v = LowestFree(t.requestLabel.at(d + 1))) {
    SetEntry(t, d + 1, *v, label, kMidnight, end, r[kStateField]);
  }
}

void PlaceWork(WorkingTables& t, const RequestKind& kind, int d) {
  const RequestRow& r = t.currentRequest;
  if (const auto s = LowestFree(t.workStart.at(d))) {
    t.workStart.at(d).at(*s) = r[kStartTimeField];
  }
  t.dayEndDate.at(d) = r[kEndDateField];
  const QString label = kind.label + r[kContentField];
  if (const auto u = LowestFree(t.requestLabel.at(d))) {
    SetEntry(t, d, *u, label, r[kStartTimeField], r[kEndTimeField], r[kStateField]);
  }
  if (kind.category == Category::kOvertime) AddOvertime(t);
  if (r[kStartDateField] == r[kEndDateField]) {
    EndOnSameDay(t, d);
  } else {
    SplitAtMidnight(t, d, label);
  }
}

qint32 LeaveMinutes(qint32 a, qint32 b) {
  if (a == kMorningStart && b == kMorningEnd) return kHalfDayMinutes;
  if (a == kAfternoonStart && b == kAfternoonEnd) return kHalfDayMinutes;
  if (a == kMorningStart && b == kAfternoonEnd) return kWholeDayMinutes;
  return b - a;
}

// Rule D: the period keeps its part before the leave; the part after goes to a free slot.
void SplitPeriod(WorkingTables& t, Frontend& frontend, int d, int s, const QString& ls,
                 const QString& le) {
  const QString rest = t.workEnd.at(d).at(s);
  t.workEnd.at(d).at(s) = ls;
  if (const auto q = LowestFree(t.workStart.at(d))) {
    t.workStart.at(d).at(*q) = le;
    t.workEnd.at(d).at(*q) = rest;
  } else {
    frontend.ShowMessage(kOverflowPrefix + t.staffName + kOverflowSuffix);
  }
}

// Times compare as texts, which orders hh:mm by time. The first slot a rule fits decides.
void CutLeave(WorkingTables& t, Frontend& frontend, int d, const QString& ls, const QString& le) {
  for (int s = 1; s < kSlots; ++s) {
    QString& ws = t.workStart.at(d).at(s);
    QString& we = t.workEnd.at(d).at(s);
    if (ws == ls && we == le) {
      ws.clear();
      we.clear();
    } else if (ws == ls && le <= we) {
      ws = le;
    } else if (ws <= ls && we == le) {
      we = ls;
    } else if (ws <= ls && le <= we) {
      SplitPeriod(t, frontend, d, s, ls, le);
    } else {
      continue;
    }
    return;
  }
}

void PlaceLeave(WorkingTables& t, Frontend& frontend, const RequestKind& kind, int d) {
  const RequestRow& r = t.currentRequest;
  const QString& ls = r[kStartTimeField];
  const QString& le = r[kEndTimeField];
  if (const auto u = LowestFree(t.requestLabel.at(d))) {
    SetEntry(t, d, *u, kind.label + r[kContentField], ls, le, r[kStateField]);
  }
  const qint32 taken = LeaveMinutes(MinutesOfTime(ls), MinutesOfTime(le));
  t.netRegularMinutes = CheckedMinutes(static_cast<double>(t.netRegularMinutes) - taken, t,
                                       QStringLiteral("net regular minutes of the month"));
  CutLeave(t, frontend, d, ls, le);
}

}  // namespace

void PlaceRequestRow(WorkingTables& tables, Frontend& frontend) {
  const RequestRow& r = tables.currentRequest;
  const RequestKind kind = KindOf(r[kTypeField]);
  if (kind.category == Category::kNotPlaced) return;
  tables.staffNo = r[kStaffNoField];
  tables.staffName = r[kNameField];
  tables.staffDept = r[kDeptField];
  const int d = DayIndex(tables);
  tables.dayStartDate.at(d) = r[kStartDateField];
  tables.requestMonthPrefix = r[kStartDateField].left(8);
  if (kind.category == Category::kLeave) {
    PlaceLeave(tables, frontend, kind, d);
  } else {
    PlaceWork(tables, kind, d);
  }
}

}  // namespace morvik
