#include "core/working_tables.h"

#include "core/frontend.h"

namespace morvik {
namespace {

const QString kClearAllStart = QStringLiteral("全データをクリアします");
const QString kClearAllDone = QStringLiteral("全データをクリアしました");
const QString kClearMonthStart = QStringLiteral("1ヵ月分の個人データをクリアします");
const QString kClearMonthDone = QStringLiteral("1ヵ月分の個人データをクリアしました");

void ClearSlots(WorkingTables& t) {
  for (SlotTable* table : {&t.workStart, &t.workEnd, &t.requestLabel, &t.requestStart,
                           &t.requestEnd, &t.requestState}) {
    for (DaySlots& day : *table) day.fill(QString());
  }
  t.dayStartDate.fill(QString());
  t.dayEndDate.fill(QString());
}

void ClearStaffAndCounters(WorkingTables& t) {
  t.staffNo.clear();
  t.staffName.clear();
  t.staffDept.clear();
  t.netRegularMinutes = 0;
  t.regularMinutes = 0;
  t.overtimeMinutes = 0;
}

}  // namespace

void ClearAllData(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kClearAllStart);
  tables.groupStaffNo.clear();
  ClearStaffAndCounters(tables);
  tables.dayLabel.fill(QString());
  ClearSlots(tables);
  frontend.SetStatusText(kClearAllDone);
}

void ClearMonthData(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kClearMonthStart);
  ClearStaffAndCounters(tables);
  ClearSlots(tables);
  frontend.SetStatusText(kClearMonthDone);
}

}  // namespace morvik
