#include "core/working_tables.h"

#include <gtest/gtest.h>

#include <cstring>
#include <limits>
#include <memory>
#include <new>

#include "testing/recording_frontend.h"

namespace morvik {
namespace {

// Fills every member that either clearing operation might touch.
void FillEverything(WorkingTables& t) {
  t.groupStaffNo = "A";
  t.staffNo = "00123";
  t.staffName = "name";
  t.staffDept = "dept";
  t.regularMinutes = 9600;
  t.netRegularMinutes = 9120;
  t.overtimeMinutes = 750;
  for (int d = 0; d < kDays; ++d) {
    t.dayLabel[d] = "11/05(木)";
    t.dayStartDate[d] = "2026/11/05";
    t.dayEndDate[d] = "2026/11/06";
    for (int s = 0; s < kSlots; ++s) {
      for (SlotTable* table : {&t.workStart, &t.workEnd, &t.requestLabel, &t.requestStart,
                               &t.requestEnd, &t.requestState}) {
        (*table)[d][s] = "x";
      }
    }
  }
  t.requestTable[3][1] = "req";
  t.stampTable[7][9] = "2026/11/05";
  t.staffList[2] = "00123";
  t.holidayTable[1] = Holiday{"2026/11/03", "文化の日"};
  t.requestMonthPrefix = "2026/11/";
  t.stampMonthPrefix = "2026/11/";
}

bool GridIsEmpty(const WorkingTables& t) {
  for (int d = 0; d < kDays; ++d) {
    if (!t.dayStartDate[d].isEmpty() || !t.dayEndDate[d].isEmpty()) return false;
    for (int s = 0; s < kSlots; ++s) {
      for (const SlotTable* table : {&t.workStart, &t.workEnd, &t.requestLabel, &t.requestStart,
                                     &t.requestEnd, &t.requestState}) {
        if (!(*table)[d][s].isEmpty()) return false;
      }
    }
  }
  return t.staffNo.isEmpty() && t.staffName.isEmpty() && t.staffDept.isEmpty() &&
         t.regularMinutes == 0 && t.netRegularMinutes == 0 && t.overtimeMinutes == 0;
}

void ExpectInputsKept(const WorkingTables& t) {
  EXPECT_EQ(t.requestTable[3][1], "req");
  EXPECT_EQ(t.stampTable[7][9], "2026/11/05");
  EXPECT_EQ(t.staffList[2], "00123");
  EXPECT_EQ(t.holidayTable[1].name, "文化の日");
  EXPECT_EQ(t.requestMonthPrefix, "2026/11/");
  EXPECT_EQ(t.stampMonthPrefix, "2026/11/");
}

TEST(WorkingTablesTest, ClearMonthDataKeepsLabelsAndGroup) {
  auto tables = std::make_unique<WorkingTables>();
  FillEverything(*tables);
  testing::RecordingFrontend frontend;
  ClearMonthData(*tables, frontend);
  EXPECT_TRUE(GridIsEmpty(*tables));
  EXPECT_EQ(tables->dayLabel[5], "11/05(木)");
  EXPECT_EQ(tables->groupStaffNo, "A");
  ExpectInputsKept(*tables);
  EXPECT_EQ(frontend.statusHistory, QStringList({"1ヵ月分の個人データをクリアします",
                                                 "1ヵ月分の個人データをクリアしました"}));
}

TEST(WorkingTablesTest, ClearAllDataAlsoEmptiesLabelsAndGroup) {
  auto tables = std::make_unique<WorkingTables>();
  FillEverything(*tables);
  testing::RecordingFrontend frontend;
  ClearAllData(*tables, frontend);
  EXPECT_TRUE(GridIsEmpty(*tables));
  EXPECT_TRUE(tables->dayLabel[5].isEmpty());
  EXPECT_TRUE(tables->groupStaffNo.isEmpty());
  ExpectInputsKept(*tables);
  EXPECT_EQ(frontend.statusHistory,
            QStringList({"全データをクリアします", "全データをクリアしました"}));
}

TEST(PrefaultedMemoryTest, GivesWritableMemoryOrThrows) {
  constexpr std::size_t kBytes = 3 * 4096 + 5;
  auto* memory = static_cast<unsigned char*>(platform::AllocatePrefaulted(kBytes));
  std::memset(memory, 0xAB, kBytes);
  EXPECT_EQ(memory[0], 0xAB);
  EXPECT_EQ(memory[kBytes - 1], 0xAB);
  platform::FreePrefaulted(memory, kBytes);
  // Too much for any machine: a failure, never a pointer that is no memory.
  EXPECT_THROW(platform::AllocatePrefaulted(std::numeric_limits<std::size_t>::max() / 2),
               std::bad_alloc);
}

}  // namespace
}  // namespace morvik
