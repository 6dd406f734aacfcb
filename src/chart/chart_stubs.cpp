// Placeholders until the chart lands.
#include "chart/chart_drawing.h"
#include "chart/chart_saving.h"
#include "chart/stamp_plot.h"

namespace morvik {

void DrawChartGrid(Canvas&) {}
void DrawChart(const WorkingTables&, Canvas&, Frontend&, const QDateTime&) {}
void PlotStamps(const WorkingTables&, Canvas&, Frontend&) {}
void SaveChart(const WorkingTables&, const QString&, const Canvas&, Frontend&) {}

}  // namespace morvik
