#include "app/console_frontend.h"

#include <algorithm>

namespace morvik {
namespace {

constexpr int kBarWidth = 30;
constexpr qint64 kRedrawMilliseconds = 100;  // what a person can follow

int Percent(double min, double max, double value) {
  if (max <= min) return 100;
  return static_cast<int>(std::clamp((value - min) * 100.0 / (max - min), 0.0, 100.0));
}

}  // namespace

ConsoleFrontend::ConsoleFrontend(std::FILE* stream, bool verbose, bool drawProgress)
    : stream_(stream), verbose_(verbose), drawProgress_(drawProgress) {
  sinceDraw_.start();
}

void ConsoleFrontend::SetStatusText(const QString& text) {
  if (verbose_ && !text.isEmpty()) PrintLine(text);
}

void ConsoleFrontend::SetProgressRange(ProgressBar bar, double min, double max) {
  bars_[static_cast<int>(bar)].min = min;
  bars_[static_cast<int>(bar)].max = max;
}

void ConsoleFrontend::SetProgressValue(ProgressBar bar, double value) {
  bars_[static_cast<int>(bar)].value = value;
  DrawProgress(false);
}

void ConsoleFrontend::SetProgressVisible(ProgressBar bar, bool visible) {
  bars_[static_cast<int>(bar)].visible = visible;
  if (!bars_[0].visible && !bars_[1].visible) ClearProgressLine();
}

void ConsoleFrontend::ShowMessage(const QString& text) { PrintLine(text); }

void ConsoleFrontend::ReportNotSaved(const QString& detail) {
  PrintLine(QStringLiteral("what failed: %1").arg(detail));
}

void ConsoleFrontend::PrintLine(const QString& text) {
  ClearProgressLine();
  std::fputs(text.toLocal8Bit().constData(), stream_);
  std::fputc('\n', stream_);
  std::fflush(stream_);
}

void ConsoleFrontend::DrawProgress(bool force) {
  if (!drawProgress_) return;
  if (!force && progressShown_ && sinceDraw_.elapsed() < kRedrawMilliseconds) return;
  sinceDraw_.restart();
  QString line = QStringLiteral("\r");
  for (const Bar& bar : bars_) {
    if (!bar.visible) continue;
    const int percent = Percent(bar.min, bar.max, bar.value);
    const int filled = percent * kBarWidth / 100;
    line += QStringLiteral("[%1%2] %3%  ")
                .arg(QString(filled, u'#'), QString(kBarWidth - filled, u' '))
                .arg(percent, 3);
  }
  std::fputs(line.toLocal8Bit().constData(), stream_);
  std::fflush(stream_);
  progressShown_ = true;
}

void ConsoleFrontend::ClearProgressLine() {
  if (!progressShown_) return;
  std::fputs("\r\033[K", stream_);
  progressShown_ = false;
}

}  // namespace morvik
