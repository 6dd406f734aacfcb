#pragma once
// The month review of a run: each finished staff member's findings and summary line,
// collected in run order, and the two tables written at the end of the run.

#include <QString>

#include <vector>

#include "review/month_findings.h"
#include "review/staff_month_record.h"

namespace morvik::review {

struct StaffReview {
  StaffMonthRecord record;
  MonthFindings findings;
};

class MonthReview {
 public:
  explicit MonthReview(int toleranceMinutes = kDefaultToleranceMinutes)
      : toleranceMinutes_(toleranceMinutes) {}

  void Add(StaffMonthRecord record);

  const std::vector<StaffReview>& staff() const { return staff_; }

  // yyyymm of the run: the first staff member's month, else `fallbackMonth` (yyyy/mm/...).
  QString RunMonth(const QString& fallbackMonth) const;

  // Writes yyyymm_乖離一覧.csv and yyyymm_集計.csv into `folder` (header lines only when no
  // staff member was added). Throws RunFailure naming the file that could not be written.
  void WriteTables(const QString& folder, const QString& fallbackMonth) const;

 private:
  int toleranceMinutes_;
  std::vector<StaffReview> staff_;
};

QString FindingsFileName(const QString& runMonth);
QString SummaryFileName(const QString& runMonth);

}  // namespace morvik::review
