#pragma once

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

// Red markers at the current staff member's stamps of the charted month.
void PlotStamps(const WorkingTables& tables, Canvas& canvas, Frontend& frontend);

}  // namespace morvik
