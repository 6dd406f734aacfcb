#include "chart/stamp_plot.h"

#include <algorithm>

#include "chart/canvas.h"
#include "chart/chart_colours.h"
#include "chart/chart_geometry.h"
#include "chart/stamp_index.h"
#include "core/frontend.h"
#include "core/text_rules.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kPlotting = QStringLiteral("打刻をプロットします");
const QString kPlotted = QStringLiteral("打刻をプロットしました");
const QString kNoStamps = QStringLiteral("打刻がありません");

// Stamp table columns.
constexpr int kDateColumn = 9;
constexpr int kTimeColumn = 10;

// The bar moves in about this many steps however many rows are scanned.
constexpr qint32 kProgressSteps = 200;

void DrawMarker(const StampRow& row, Canvas& canvas) {
  const qint32 day = NumericValue(QStringView(row[kDateColumn]).mid(8, 2));
  const qint32 minute = MinutesOfTime(row[kTimeColumn]);
  const chart::Band band = chart::StampBand(day);
  canvas.FilledBox(chart::MinuteX(minute), band.top, chart::MinuteX(minute + chart::kStampMinutes),
                   band.bottom, chart::kStampRed);
}

}  // namespace

void PlotStamps(const WorkingTables& tables, const StampIndex& index, Canvas& canvas,
                Frontend& frontend) {
  frontend.SetStatusText(kPlotting);
  const qint32 count = tables.stampRowCount;
  if (count == 0) {
    frontend.SetStatusText(kNoStamps);
    return;
  }
  frontend.SetProgressRange(ProgressBar::kStep, 0, count);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);

  // The staff member's rows in table order: the same markers in the same order as a scan
  // of every row up to the first empty name.
  const std::vector<int>& rows = index.RowsOf(tables.staffNo);
  const std::size_t progressStride = std::max<std::size_t>(1, rows.size() / kProgressSteps);
  for (std::size_t k = 0; k < rows.size(); ++k) {
    const StampRow& row = tables.stampTable[rows[k]];
    if (QStringView(row[kDateColumn]).left(8) == tables.requestMonthPrefix) {
      DrawMarker(row, canvas);
    }
    if (k % progressStride == 0) {
      frontend.SetProgressValue(ProgressBar::kStep, std::min<qint32>(rows[k], count));
    }
  }
  frontend.SetProgressValue(ProgressBar::kStep, count);
  frontend.SetStatusText(kPlotted);
}

}  // namespace morvik
