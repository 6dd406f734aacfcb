#pragma once
// The run's side of the overview page and the print PDF: what a finished staff member
// hands over, and writing both files at the end of the run.

#include <QDateTime>
#include <QString>

namespace morvik {

struct Session;
struct ChartSave;
struct WorkingTables;
class StampIndex;
struct RunOutcome;
class Frontend;
namespace review {
class MonthReview;
}
namespace overview {
class MonthOverview;
}

// Hands the finished staff member in `tables` to `overview`: the saved chart's name, and
// the chart drawn again, as vectors, with the same clock `now` as the image.
void HandOverChart(const WorkingTables& tables, const StampIndex& stamps, const ChartSave& save,
                   const QString& outputFolder, const QDateTime& now,
                   overview::MonthOverview& overview);

// Writes the files the form asks for, for the staff members finished so far (also after a
// failure). A file that cannot be written shows a message and is added to `outcome`'s
// unsaved outputs; the run goes on to the next file.
void WriteOverview(const Session& session, const review::MonthReview& review,
                   const overview::MonthOverview& overview, const QString& runMonth,
                   Frontend& frontend, RunOutcome& outcome);

}  // namespace morvik
