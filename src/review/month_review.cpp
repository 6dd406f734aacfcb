#include "review/month_review.h"

#include <QDir>
#include <QStringList>

#include "core/output_file.h"
#include "review/review_rows.h"

namespace morvik::review {

void MonthReview::Add(StaffMonthRecord record) {
  MonthFindings findings = FindDisagreements(record, toleranceMinutes_);
  // The stamps and requests have been judged; the overview needs only the results.
  record.stamps = {};
  staff_.push_back({std::move(record), std::move(findings)});
}

QString MonthReview::RunMonth(const QString& fallbackMonth) const {
  QString month = staff_.empty() ? QString() : staff_.front().record.MonthText();
  if (month.isEmpty()) month = fallbackMonth.left(7);
  return month.left(4) + month.mid(5, 2);
}

QString FindingsFileName(const QString& runMonth) {
  return runMonth + QStringLiteral("_乖離一覧.csv");
}

QString SummaryFileName(const QString& runMonth) { return runMonth + QStringLiteral("_集計.csv"); }

void MonthReview::WriteTables(const QString& folder, const QString& fallbackMonth) const {
  QStringList findings = {QuotedCsvLine(FindingsHeader())};
  QStringList summary = {QuotedCsvLine(SummaryHeader())};
  for (const StaffReview& staff : staff_) {
    for (const auto& line : FindingLines(staff.record, staff.findings)) {
      findings << QuotedCsvLine(line);
    }
    summary << QuotedCsvLine(SummaryLine(staff.record, staff.findings));
  }
  const QString month = RunMonth(fallbackMonth);
  WriteCp932Lines(QDir(folder).filePath(FindingsFileName(month)), findings);
  WriteCp932Lines(QDir(folder).filePath(SummaryFileName(month)), summary);
}

}  // namespace morvik::review
