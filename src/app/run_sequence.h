#pragma once

#include <QString>

#include <exception>
#include <span>

#include "core/working_tables.h"

namespace morvik {

struct Session;
class Frontend;
class ChartPipeline;
class StampIndex;
namespace review {
class MonthReview;
}
namespace overview {
class MonthOverview;
}

struct RunOutcome {
  enum class Kind {
    kFinished,  // "処理を終了しました．"
    kRefused,   // an input check showed its message; nothing was read
    kFailed,    // the "(Error1)" failure path
  };
  Kind kind = Kind::kFinished;
  QString detail;           // kFailed: what failed, the file and the record or row where known
  int outputsNotSaved = 0;  // charts and other outputs that could not be written
};

// Where the staff loop sends each finished staff member.
struct RunOutputs {
  ChartPipeline& pipeline;
  const StampIndex& stamps;                     // the stamp table as it stands
  review::MonthReview* review = nullptr;        // null: no month review this run
  overview::MonthOverview* overview = nullptr;  // null: no overview page nor print PDF
};

// An output beside the charts that could not be written: its message, then which file
// and why, counted in the outcome.
void ReportOutputNotSaved(Frontend& frontend, RunOutcome& outcome, const QString& message,
                          const std::exception& error);

// The Run button: the five input checks, the reading, the staff loop, the end. A
// ProgramEnd thrown by a reader is not caught here: it ends the program.
RunOutcome OnRunClicked(Session& session, Frontend& frontend);

// The staff loop over the request rows as they stand: consecutive rows with the same
// staff number are one staff member, finished when the next one begins. The last staff
// member is left in the grid for the caller to finish; its request rows are returned.
std::span<const RequestRow> RunStaffLoop(Session& session, Frontend& frontend,
                                         const RunOutputs& outputs);
// The same with an index of its own, saving each chart at once.
void RunStaffLoop(Session& session, Frontend& frontend);

}  // namespace morvik
