#include "chart/stamp_index.h"

#include "core/working_tables.h"

namespace morvik {
namespace {

constexpr int kStaffNoColumn = 1;
constexpr int kNameColumn = 2;

}  // namespace

StampIndex::StampIndex(const WorkingTables& tables) {
  for (int i = 1; i < kStampRows; ++i) {
    const StampRow& row = tables.stampTable[i];
    if (row[kNameColumn].isEmpty()) break;  // an empty name ends every scan of the table
    rowsByStaff_[row[kStaffNoColumn]].push_back(i);
  }
}

const std::vector<int>& StampIndex::RowsOf(const QString& staffNo) const {
  static const std::vector<int> kNone;
  const auto found = rowsByStaff_.constFind(staffNo);
  return found == rowsByStaff_.cend() ? kNone : *found;
}

}  // namespace morvik
