#include "testing/recording_frontend.h"

namespace morvik::testing {

void RecordingFrontend::SetStatusText(const QString& text) {
  statusText = text;
  statusHistory << text;
}

void RecordingFrontend::SetProgressRange(ProgressBar bar, double min, double max) {
  bars[static_cast<int>(bar)].min = min;
  bars[static_cast<int>(bar)].max = max;
}

void RecordingFrontend::SetProgressValue(ProgressBar bar, double value) {
  bars[static_cast<int>(bar)].value = value;
  ++progressValueWrites;
}

void RecordingFrontend::SetProgressVisible(ProgressBar bar, bool visible) {
  bars[static_cast<int>(bar)].visible = visible;
}

void RecordingFrontend::ShowMessage(const QString& text) { messages << text; }

void RecordingFrontend::SetBusy(bool isBusy) {
  busy = isBusy;
  events << (isBusy ? QStringLiteral("busy") : QStringLiteral("idle"));
}

void RecordingFrontend::ShowChartWindow() {
  chartWindowOpen = true;
  events << QStringLiteral("show chart");
}

void RecordingFrontend::RefreshChartWindow() { events << QStringLiteral("refresh chart"); }

void RecordingFrontend::CloseChartWindow() {
  chartWindowOpen = false;
  events << QStringLiteral("close chart");
}

void RecordingFrontend::BringMainWindowToFront() { events << QStringLiteral("main to front"); }

}  // namespace morvik::testing
