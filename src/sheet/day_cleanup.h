#pragma once

namespace morvik {

struct WorkingTables;
class Frontend;

// Takes the lunch hour out of the work periods of ordinary weekdays.
void ApplyLunchBreak(WorkingTables& tables);

// One close-up pass over each day's slots, then each day's work periods in start order.
void SortWorkTimes(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
