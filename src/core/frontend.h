#pragma once
// Frontend: everything the logic asks of a window. The Qt main window, the console of
// batch mode and the recording front end of the tests implement it. No writer depends on
// what a front end shows: a run behaves the same whatever it does with these calls.

#include <QString>

namespace morvik {

enum class ProgressBar {
  kStep,   // the lower bar: the current step inside a run (a file, the sort, the stamps)
  kStaff,  // the upper bar: the staff loop of a run
};

class Frontend {
 public:
  virtual ~Frontend() = default;

  // Replaces the status line; the empty text clears it.
  virtual void SetStatusText(const QString& text) = 0;

  // Writers set the range before the first value and keep the value inside it.
  virtual void SetProgressRange(ProgressBar bar, double min, double max) = 0;
  virtual void SetProgressValue(ProgressBar bar, double value) = 0;
  virtual void SetProgressVisible(ProgressBar bar, bool visible) = 0;

  // A modal message with an OK button only, captioned "MorvikGraph"; returns when the
  // user has confirmed it.
  virtual void ShowMessage(const QString& text) = 0;

  // The hourglass pointer during a run (true) and the arrow again (false).
  virtual void SetBusy(bool busy) = 0;

  // The chart window "勤務表": shown behind the main window during a run, repainted from
  // the canvas after each saved chart, closed at the end of a successful run.
  virtual void ShowChartWindow() = 0;
  virtual void RefreshChartWindow() = 0;
  virtual void CloseChartWindow() = 0;

  // Brings the main window in front of the chart window without leaving it topmost.
  virtual void BringMainWindowToFront() = 0;

  // Right after the message of a file the run could not write: which file, and why. The
  // window's message says enough; the console prints this as a line of its own.
  virtual void ReportNotSaved(const QString& /*detail*/) {}
};

}  // namespace morvik
