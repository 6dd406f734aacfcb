#pragma once
// One staff member of the run as the overview page and the PDF's summary show it: the
// fields of the review's summary line and findings, and the chart's image.

#include <QString>
#include <QtGlobal>

#include <array>
#include <span>
#include <vector>

#include "review/month_review.h"

namespace morvik::overview {

struct FindingRow {
  QString date, dayLabel, time, kind, minutes, stretches;  // as in the findings table
};

struct OverviewRow {
  int runIndex = 0;  // place in the run; the PDF's chart pages follow this order
  QString staffNo, staffName, staffDept;
  QString imageFile;              // the saved chart, relative to the output folder; may be empty
  std::array<QString, 4> totals;  // 拘束時間, 実勤務, 休, 時間外 as the chart prints them
  qint32 overtimeMinutes = 0;
  QString overtimeLevel;  // "", "45h超", "80h超", "100h以上"
  int stampsOutside = 0;
  int largestOutside = 0;  // minutes
  int daysWithoutStamps = 0;
  int waiting = 0;
  int rejected = 0;
  std::vector<FindingRow> findings;
};

// Rows for the reviewed staff members, in run order; `imageFiles` pairs with them by place
// (a staff member without an entry there gets no image).
std::vector<OverviewRow> OverviewRows(std::span<const review::StaffReview> staff,
                                      std::span<const QString> imageFiles);

// The order a manager reads them in: the largest minutes outside first, then the most
// overtime, then run order.
void SortForAttention(std::vector<OverviewRow>& rows);

// The overtime levels from the lowest ("") to the highest.
inline const std::array<QString, 4> kOvertimeLevels = {
    QString(), QStringLiteral("45h超"), QStringLiteral("80h超"), QStringLiteral("100h以上")};

struct RunCounts {
  int staff = 0;
  int withFindings = 0;
  std::array<int, 4> atLevel{};  // by kOvertimeLevels
};

RunCounts CountRows(std::span<const OverviewRow> rows);

}  // namespace morvik::overview
