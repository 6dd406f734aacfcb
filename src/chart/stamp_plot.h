#pragma once

namespace morvik {

struct WorkingTables;
class Canvas;
class Frontend;

class StampIndex;

// Red markers at the current staff member's stamps of the charted month. `index` must
// have been built from the same stamp table.
void PlotStamps(const WorkingTables& tables, const StampIndex& index, Canvas& canvas,
                Frontend& frontend);

}  // namespace morvik
