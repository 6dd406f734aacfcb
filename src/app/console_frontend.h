#pragma once
// The front end of batch mode: messages as lines on standard error, status texts too
// when verbose, and a progress bar on standard error only when it is a terminal.

#include <QElapsedTimer>
#include <QString>

#include <array>
#include <cstdio>

#include "core/frontend.h"

namespace morvik {

class ConsoleFrontend : public Frontend {
 public:
  ConsoleFrontend(std::FILE* stream, bool verbose, bool drawProgress);

  void SetStatusText(const QString& text) override;
  void SetProgressRange(ProgressBar bar, double min, double max) override;
  void SetProgressValue(ProgressBar bar, double value) override;
  void SetProgressVisible(ProgressBar bar, bool visible) override;
  void ShowMessage(const QString& text) override;
  void ReportNotSaved(const QString& detail) override;
  void SetBusy(bool) override {}
  void ShowChartWindow() override {}
  void RefreshChartWindow() override {}
  void CloseChartWindow() override {}
  void BringMainWindowToFront() override {}

  // One more line on standard error (the detail after a failure, a summary).
  void PrintLine(const QString& text);

 private:
  struct Bar {
    double min = 0;
    double max = 100;
    double value = 0;
    bool visible = false;
  };

  void DrawProgress(bool force);
  void ClearProgressLine();

  std::FILE* stream_;
  bool verbose_;
  bool drawProgress_;
  bool progressShown_ = false;
  std::array<Bar, 2> bars_;
  QElapsedTimer sinceDraw_;
};

}  // namespace morvik
