#pragma once

#include <QString>

#include <functional>

namespace morvik {

struct WorkingTables;
class Frontend;

// Finishes the staff member whose month the grid holds: lunch break and order, the
// file name workCsvPath, the work CSV in `outputFolder` when writeWorkCsv is 1, then
// `drawAndSaveChart` (the chart of the cleaned grid).
void SaveStaffMonth(WorkingTables& tables, const QString& outputFolder, Frontend& frontend,
                    const std::function<void()>& drawAndSaveChart);

}  // namespace morvik
