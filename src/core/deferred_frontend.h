#pragma once
// DeferredFrontend: keeps what work on another thread asks of the front end, so that the
// calls reach the real front end later, on the thread that owns it, where they belong in
// the run's order.

#include <functional>
#include <vector>

#include "core/frontend.h"

namespace morvik {

class DeferredFrontend : public Frontend {
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
  void ReportNotSaved(const QString& detail) override;

  // Makes the kept calls on `target` in the order they came, and forgets them. The work
  // that made them ran on as if each call had returned, so a front end that throws from
  // one (none does) ends the replay but not that work.
  void ReplayTo(Frontend& target);

 private:
  std::vector<std::function<void(Frontend&)>> calls_;
};

}  // namespace morvik
