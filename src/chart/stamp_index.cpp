#include "chart/stamp_index.h"

#include "core/working_tables.h"

namespace morvik {
namespace {

constexpr int kStaffNoColumn = 1;
constexpr int kNameColumn = 2;

}  // namespace

StampIndex::StampIndex(const WorkingTables& tables) {
  // A staff member's stamps usually come one after another: the list is looked up again
  // only when the staff number changes (a lookup may move the lists, so never later).
  std::vector<int>* rows = nullptr;
  const QString* rowsStaffNo = nullptr;
  for (int i = 1; i < kStampRows; ++i) {
    const StampRow& row = tables.stampTable[i];
    if (row[kNameColumn].isEmpty()) break;  // an empty name ends every scan of the table
    const QString& staffNo = row[kStaffNoColumn];
    if (rows == nullptr || staffNo != *rowsStaffNo) {
      rows = &rowsByStaff_[staffNo];
      rowsStaffNo = &staffNo;
    }
    rows->push_back(i);
  }
}

const std::vector<int>& StampIndex::RowsOf(const QString& staffNo) const {
  static const std::vector<int> kNone;
  const auto found = rowsByStaff_.constFind(staffNo);
  return found == rowsByStaff_.cend() ? kNone : *found;
}

}  // namespace morvik
