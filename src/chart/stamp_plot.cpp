#include "chart/stamp_plot.h"

#include <algorithm>

#include "chart/canvas.h"
#include "chart/chart_colours.h"
#include "chart/chart_geometry.h"
#include "core/frontend.h"
#include "core/text_rules.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kPlotting = QStringLiteral("打刻をプロットします");
const QString kPlotted = QStringLiteral("打刻をプロットしました");
const QString kNoStamps = QStringLiteral("打刻がありません");

// Stamp table columns.
constexpr int kStaffNoColumn = 1;
constexpr int kStaffNameColumn = 2;
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

void PlotStamps(const WorkingTables& tables, Canvas& canvas, Frontend& frontend) {
  frontend.SetStatusText(kPlotting);
  const qint32 count = tables.stampRowCount;
  if (count == 0) {
    frontend.SetStatusText(kNoStamps);
    return;
  }
  frontend.SetProgressRange(ProgressBar::kStep, 0, count);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);

  const qint32 progressStride = std::max<qint32>(1, count / kProgressSteps);
  for (int i = 1; i < kStampRows; ++i) {
    const StampRow& row = tables.stampTable[i];
    if (row[kStaffNameColumn].isEmpty()) break;
    if (QStringView(row[kDateColumn]).left(8) == tables.requestMonthPrefix &&
        row[kStaffNoColumn] == tables.staffNo) {
      DrawMarker(row, canvas);
    }
    if (i % progressStride == 0) {
      frontend.SetProgressValue(ProgressBar::kStep, std::min<qint32>(i, count));
    }
  }
  frontend.SetProgressValue(ProgressBar::kStep, count);
  frontend.SetStatusText(kPlotted);
}

}  // namespace morvik
