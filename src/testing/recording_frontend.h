#pragma once
// A front end that records what the logic asked of it, for tests.

#include <QString>
#include <QStringList>

#include <array>

#include "core/frontend.h"

namespace morvik::testing {

struct ProgressBarState {
  double min = 0;
  double max = 100;
  double value = 0;
  bool visible = false;
};

class RecordingFrontend : public Frontend {
 public:
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

  const ProgressBarState& bar(ProgressBar which) const { return bars[static_cast<int>(which)]; }

  QString statusText;
  QStringList statusHistory;  // every status text in order
  QStringList messages;       // every message shown, in order
  QStringList events;         // window events: "busy", "idle", "show chart", ...
  std::array<ProgressBarState, 2> bars;
  bool busy = false;
  bool chartWindowOpen = false;
  int progressValueWrites = 0;
};

}  // namespace morvik::testing
