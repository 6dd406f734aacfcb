#pragma once
// The run's side of the overview page and the print PDF: what a finished staff member
// hands over, and writing both files at the end of the run.

#include <QString>

namespace morvik {

struct Session;
struct ChartSave;
struct RunOutcome;
class Frontend;
namespace review {
class MonthReview;
}
namespace overview {
class MonthOverview;
}

// The saved chart as the overview page links it: the JPG, else the BMP, relative to the
// output folder; empty when neither is saved.
QString PageImageFile(const ChartSave& save, const QString& outputFolder);

// Writes the files the form asks for, for the staff members finished so far (also after a
// failure). A file that cannot be written shows a message and is added to `outcome`'s
// unsaved outputs; the run goes on to the next file.
void WriteOverview(const Session& session, const review::MonthReview& review,
                   const overview::MonthOverview& overview, const QString& runMonth,
                   Frontend& frontend, RunOutcome& outcome);

}  // namespace morvik
