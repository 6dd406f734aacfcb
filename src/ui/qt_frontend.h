#pragma once
// The Frontend of the window: the status line and the two progress bars of the main window,
// modal OK messages, the busy pointer, the chart window and bringing the main window to the
// front.
//
// A run holds the window's thread from Run to its last message, so the front end lets
// the windows repaint themselves (at most about 20 times a second) whenever the run
// reports progress; user input waits until the run is over.

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <functional>

#include "core/frontend.h"

class QLabel;
class QProgressBar;
class QWidget;

namespace morvik {

class ChartWindow;

// Shows one message to the user and returns when it has been confirmed. `parent` is the
// main window while it is shown, else null.
using MessageSink = std::function<void(QWidget* parent, const QString& text)>;

// The modal box with an OK button only, captioned "MorvikGraph".
void ShowMessageBox(QWidget* parent, const QString& text);

// The bars run from 0 to this many steps, whatever range a writer gives.
inline constexpr int kProgressSteps = 1000;

// Where `value` of the range min..max lies on a bar of kProgressSteps steps; clamped to
// the bar, and 0 for an empty or reversed range.
int ProgressPosition(double min, double max, double value);

struct FrontendWidgets {
  QWidget* mainWindow = nullptr;
  QLabel* statusText = nullptr;
  QProgressBar* stepBar = nullptr;   // the lower bar of the main window
  QProgressBar* staffBar = nullptr;  // the upper bar
  ChartWindow* chartWindow = nullptr;
};

class QtFrontend : public Frontend {
 public:
  QtFrontend(const FrontendWidgets& widgets, MessageSink showMessage);
  ~QtFrontend() override;

  void SetStatusText(const QString& text) override;
  void SetProgressRange(ProgressBar bar, double min, double max) override;
  void SetProgressValue(ProgressBar bar, double value) override;
  void SetProgressVisible(ProgressBar bar, bool visible) override;
  void ShowMessage(const QString& text) override;
  void SetBusy(bool busy) override;
  void ShowChartWindow() override;
  void RefreshChartWindow() override;
  void CloseChartWindow() override;
  void BringMainWindowToFront() override;

 private:
  struct Range {
    double min = 0;
    double max = 100;
    double value = 0;
  };

  QProgressBar* Bar(ProgressBar bar) const;
  void ShowPosition(ProgressBar bar);
  // Lets the windows repaint, throttled unless `now`; user input is held back.
  void Repaint(bool now = false);

  FrontendWidgets widgets_;
  MessageSink showMessage_;
  std::array<Range, 2> ranges_;
  bool busy_ = false;
  QElapsedTimer sinceRepaint_;
};

}  // namespace morvik
