// Placeholders until the month sheet lands.
#include "sheet/day_cleanup.h"
#include "sheet/regular_work.h"
#include "sheet/request_placement.h"
#include "sheet/staff_month.h"

namespace morvik {

void SetRegularWork(WorkingTables&, Frontend&) {}
void PlaceRequestRow(WorkingTables&, Frontend&) {}
void ApplyLunchBreak(WorkingTables&) {}
void SortWorkTimes(WorkingTables&, Frontend&) {}
void SaveStaffMonth(WorkingTables&, const QString&, Frontend&,
                    const std::function<void()>& drawAndSaveChart) {
  drawAndSaveChart();
}

}  // namespace morvik
