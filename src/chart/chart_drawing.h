#pragma once

#include <QDateTime>

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

// Clears the canvas and draws the hour lines, hour numbers and the 33 row lines.
void DrawChartGrid(Canvas& canvas);

class StampIndex;

// The whole month chart of the grid in `tables`, ending with PlotStamps. `now` is the
// run's clock, printed in the header. `index` must come from the same stamp table (a run
// builds it once for all its charts).
void DrawChart(const WorkingTables& tables, const StampIndex& index, Canvas& canvas,
               Frontend& frontend, const QDateTime& now);

}  // namespace morvik
