#include "input/staff_lookup.h"

#include "core/working_tables.h"
#include "input/request_csv.h"

namespace morvik {
namespace {

const QString kNoName = QStringLiteral("氏名？打刻なし");
const QString kNoDate = QStringLiteral("yyyy/mm/dd");
const QString kNoDept = QStringLiteral("不明？");

// Fills the look-up members from stamp row `row` (-1: none), then applies the not-found
// texts when no staff number came out of it.
void SetLookupResult(WorkingTables& tables, int row, const QString& staffNumber) {
  tables.lookupStaffNo.clear();
  tables.lookupStaffName.clear();
  tables.lookupDate.clear();
  tables.lookupDept.clear();
  if (row >= 0) {
    const StampRow& stamp = tables.stampTable.at(row);
    tables.lookupStaffNo = stamp[1];
    tables.lookupStaffName = stamp[2];
    tables.lookupDate = stamp[9];
    tables.lookupDept = stamp[3];
  }
  if (tables.lookupStaffNo.isEmpty()) {
    tables.lookupStaffNo = staffNumber;
    tables.lookupStaffName = kNoName;
    tables.lookupDate = kNoDate;
    tables.lookupDept = kNoDept;
  }
}

}  // namespace

void IsStaffListed(WorkingTables& tables, const QString& staffNumber) {
  tables.staffListed = 0;
  for (const QString& entry : tables.staffList) {
    if (entry == staffNumber) {
      tables.staffListed = 1;
      return;
    }
    if (entry.isEmpty()) return;
  }
}

void LookupStampStaff(WorkingTables& tables, const QString& staffNumber) {
  int found = -1;
  for (int row = 0; row < kStampRows; ++row) {
    if (tables.stampTable[row][1] == staffNumber) {
      found = row;
      break;
    }
  }
  SetLookupResult(tables, found, staffNumber);
}

StaffListIndex::StaffListIndex(const WorkingTables& tables) : StaffListIndex(tables.staffList) {}

StaffListIndex::StaffListIndex(std::span<const QString> staffList) {
  for (const QString& entry : staffList) {
    if (entry.isEmpty()) {
      hasEmptyEntry_ = true;
      return;
    }
    listed_.insert(entry);
  }
}

bool StaffListIndex::Contains(const QString& staffNumber) const {
  return staffNumber.isEmpty() ? hasEmptyEntry_ : listed_.contains(staffNumber);
}

StampStaffIndex::StampStaffIndex(const WorkingTables& tables) {
  for (int row = 0; row < kStampRows; ++row) {
    const QString& staffNumber = tables.stampTable[row][1];
    if (!firstRow_.contains(staffNumber)) firstRow_.insert(staffNumber, row);
  }
}

int StampStaffIndex::FirstRow(const QString& staffNumber) const {
  return firstRow_.value(staffNumber, -1);
}

void LookupStampStaff(WorkingTables& tables, const StampStaffIndex& index,
                      const QString& staffNumber) {
  SetLookupResult(tables, index.FirstRow(staffNumber), staffNumber);
}

}  // namespace morvik
