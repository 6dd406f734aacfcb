#pragma once

#include <QDateTime>

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

// Clears the canvas and draws the hour lines, hour numbers and the 33 row lines.
void DrawChartGrid(Canvas& canvas);

// The whole month chart of the grid in `tables`, ending with PlotStamps. `now` is the
// run's clock, printed in the header.
void DrawChart(const WorkingTables& tables, Canvas& canvas, Frontend& frontend,
               const QDateTime& now);

}  // namespace morvik
