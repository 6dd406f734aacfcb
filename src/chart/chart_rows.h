#pragma once
// The day rows of the month chart: bars and request texts. Steps of DrawChart.

namespace morvik {

struct WorkingTables;
class Canvas;

namespace chart {

// Days 1..32, each with three passes over its slots: base bars, self-study, leave strips.
void DrawDayBars(const WorkingTables& tables, Canvas& canvas);

// The request text of every slot of days 1..32 in the style of its approval state.
void DrawRequestTexts(const WorkingTables& tables, Canvas& canvas);

}  // namespace chart
}  // namespace morvik
