#pragma once
// Indexes over staffList and stampTable that answer IsStaffListed and LookupStampStaff
// exactly as the linear scans do, for readers that ask thousands of times. An index
// describes the table as it was when built: rebuild it after the table changes.

#include <QHash>
#include <QSet>
#include <QString>

#include <span>

namespace morvik {

struct WorkingTables;

class StaffListIndex {
 public:
  explicit StaffListIndex(const WorkingTables& tables);
  explicit StaffListIndex(std::span<const QString> staffList);
  // True when IsStaffListed would set staffListed to 1.
  bool Contains(const QString& staffNumber) const;

 private:
  QSet<QString> listed_;        // entries before the first empty one
  bool hasEmptyEntry_ = false;  // the empty staff number equals the first empty entry
};

class StampStaffIndex {
 public:
  explicit StampStaffIndex(const WorkingTables& tables);
  // The first stamp row whose column 1 equals `staffNumber`, or -1.
  int FirstRow(const QString& staffNumber) const;

 private:
  QHash<QString, int> firstRow_;
};

// LookupStampStaff through an index of the current stampTable.
void LookupStampStaff(WorkingTables& tables, const StampStaffIndex& index,
                      const QString& staffNumber);

}  // namespace morvik
