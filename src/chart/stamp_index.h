#pragma once
// Where each staff member's stamps stand in the stamp table, so that a chart looks at
// its own rows only instead of scanning the whole table. Built once a run, after the
// stamp table is read; it holds row numbers, so the table must not change meanwhile.

#include <QHash>
#include <QString>

#include <vector>

namespace morvik {

struct WorkingTables;

class StampIndex {
 public:
  // Rows 1.. up to the first row with an empty name (where every chart's scan ends),
  // grouped by staff number, each group in table order.
  explicit StampIndex(const WorkingTables& tables);

  // The rows of `staffNo` in table order; empty when there are none.
  const std::vector<int>& RowsOf(const QString& staffNo) const;

 private:
  QHash<QString, std::vector<int>> rowsByStaff_;
};

}  // namespace morvik
