#pragma once

namespace morvik {

struct WorkingTables;
class Frontend;

// Lays the month of requestMonthPrefix into the grid: day labels mm/dd(X), 08:30–17:15
// in slot 1 of every working day, and regularMinutes (480 a working day). A month that
// does not make a date throws RunFailure.
void SetRegularWork(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
