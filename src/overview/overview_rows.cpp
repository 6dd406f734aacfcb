#include "overview/overview_rows.h"

#include <algorithm>

#include "review/review_rows.h"

namespace morvik::overview {
namespace {

// Fields of the review's summary line (SummaryHeader) and finding lines (FindingsHeader).
constexpr std::size_t kFirstTotalField = 4;  // 拘束時間, 実勤務, 休, 時間外 follow
constexpr std::size_t kWaitingField = 10;
constexpr std::size_t kRejectedField = 11;
constexpr std::size_t kFindingDateField = 3;  // then day label, time, kind, minutes, stretches

OverviewRow RowOf(const review::StaffReview& staff) {
  const review::StaffMonthRecord& record = staff.record;
  const review::MonthFindings& findings = staff.findings;
  const std::vector<QString> summary = review::SummaryLine(record, findings);
  OverviewRow row;
  row.staffNo = record.staffNo;
  row.staffName = record.staffName;
  row.staffDept = record.staffDept;
  for (std::size_t k = 0; k < row.totals.size(); ++k) row.totals[k] = summary[kFirstTotalField + k];
  row.overtimeMinutes = record.overtimeMinutes;
  row.overtimeLevel = review::OvertimeLevel(record.overtimeMinutes);
  row.stampsOutside = findings.stampsOutside;
  row.largestOutside = findings.largestOutside;
  row.daysWithoutStamps = findings.daysWithoutStamps;
  row.waiting = summary[kWaitingField].toInt();
  row.rejected = summary[kRejectedField].toInt();
  for (const std::vector<QString>& line : review::FindingLines(record, findings)) {
    const QString* f = &line[kFindingDateField];
    row.findings.push_back({f[0], f[1], f[2], f[3], f[4], f[5]});
  }
  return row;
}

int LevelIndex(const QString& level) {
  const auto found = std::find(kOvertimeLevels.begin(), kOvertimeLevels.end(), level);
  return found == kOvertimeLevels.end() ? 0 : static_cast<int>(found - kOvertimeLevels.begin());
}

}  // namespace

std::vector<OverviewRow> OverviewRows(std::span<const review::StaffReview> staff,
                                      std::span<const QString> imageFiles) {
  std::vector<OverviewRow> rows;
  rows.reserve(staff.size());
  for (std::size_t k = 0; k < staff.size(); ++k) {
    OverviewRow row = RowOf(staff[k]);
    row.runIndex = static_cast<int>(k);
    if (k < imageFiles.size()) row.imageFile = imageFiles[k];
    rows.push_back(std::move(row));
  }
  return rows;
}

void SortForAttention(std::vector<OverviewRow>& rows) {
  std::stable_sort(rows.begin(), rows.end(), [](const OverviewRow& a, const OverviewRow& b) {
    if (a.largestOutside != b.largestOutside) return a.largestOutside > b.largestOutside;
    return a.overtimeMinutes > b.overtimeMinutes;
  });
}

RunCounts CountRows(std::span<const OverviewRow> rows) {
  RunCounts counts;
  for (const OverviewRow& row : rows) {
    ++counts.staff;
    if (!row.findings.empty()) ++counts.withFindings;
    ++counts.atLevel[LevelIndex(row.overtimeLevel)];
  }
  return counts;
}

}  // namespace morvik::overview
