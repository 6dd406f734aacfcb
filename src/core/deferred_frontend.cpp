#include "core/deferred_frontend.h"

namespace morvik {

void DeferredFrontend::SetStatusText(const QString& text) {
  calls_.emplace_back([text](Frontend& f) { f.SetStatusText(text); });
}

void DeferredFrontend::SetProgressRange(ProgressBar bar, double min, double max) {
  calls_.emplace_back([=](Frontend& f) { f.SetProgressRange(bar, min, max); });
}

void DeferredFrontend::SetProgressValue(ProgressBar bar, double value) {
  calls_.emplace_back([=](Frontend& f) { f.SetProgressValue(bar, value); });
}

void DeferredFrontend::SetProgressVisible(ProgressBar bar, bool visible) {
  calls_.emplace_back([=](Frontend& f) { f.SetProgressVisible(bar, visible); });
}

void DeferredFrontend::ShowMessage(const QString& text) {
  calls_.emplace_back([text](Frontend& f) { f.ShowMessage(text); });
}

void DeferredFrontend::SetBusy(bool busy) {
  calls_.emplace_back([busy](Frontend& f) { f.SetBusy(busy); });
}

void DeferredFrontend::ShowChartWindow() {
  calls_.emplace_back([](Frontend& f) { f.ShowChartWindow(); });
}

void DeferredFrontend::RefreshChartWindow() {
  calls_.emplace_back([](Frontend& f) { f.RefreshChartWindow(); });
}

void DeferredFrontend::CloseChartWindow() {
  calls_.emplace_back([](Frontend& f) { f.CloseChartWindow(); });
}

void DeferredFrontend::BringMainWindowToFront() {
  calls_.emplace_back([](Frontend& f) { f.BringMainWindowToFront(); });
}

void DeferredFrontend::ReportNotSaved(const QString& detail) {
  calls_.emplace_back([detail](Frontend& f) { f.ReportNotSaved(detail); });
}

void DeferredFrontend::ReplayTo(Frontend& target) {
  std::vector<std::function<void(Frontend&)>> calls;
  calls.swap(calls_);
  for (const auto& call : calls) call(target);
}

}  // namespace morvik
