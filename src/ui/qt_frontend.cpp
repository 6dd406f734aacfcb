#include "ui/qt_frontend.h"

#include <QApplication>
#include <QLabel>
#include <QMessageBox>
#include <QProgressBar>

#include <algorithm>
#include <cmath>

#include "ui/chart_window.h"

namespace morvik {
namespace {

const QString kMessageCaption = QStringLiteral("MorvikGraph");
constexpr qint64 kRepaintIntervalMs = 50;

}  // namespace

void ShowMessageBox(QWidget* parent, const QString& text) {
  QMessageBox box(QMessageBox::NoIcon, kMessageCaption, text, QMessageBox::Ok, parent);
  box.exec();
}

int ProgressPosition(double min, double max, double value) {
  if (!(max > min) || std::isnan(value)) return 0;
  const double share = std::clamp((value - min) / (max - min), 0.0, 1.0);
  return static_cast<int>(std::lround(share * kProgressSteps));
}

QtFrontend::QtFrontend(const FrontendWidgets& widgets, MessageSink showMessage)
    : widgets_(widgets), showMessage_(std::move(showMessage)) {
  for (QProgressBar* bar : {widgets_.stepBar, widgets_.staffBar}) {
    bar->setRange(0, kProgressSteps);
    bar->setValue(0);
  }
}

QtFrontend::~QtFrontend() { SetBusy(false); }

QProgressBar* QtFrontend::Bar(ProgressBar bar) const {
  return bar == ProgressBar::kStep ? widgets_.stepBar : widgets_.staffBar;
}

void QtFrontend::ShowPosition(ProgressBar bar) {
  const Range& range = ranges_.at(static_cast<size_t>(bar));
  Bar(bar)->setValue(ProgressPosition(range.min, range.max, range.value));
  Repaint();
}

void QtFrontend::SetStatusText(const QString& text) {
  widgets_.statusText->setText(text);
  Repaint();
}

void QtFrontend::SetProgressRange(ProgressBar bar, double min, double max) {
  Range& range = ranges_.at(static_cast<size_t>(bar));
  range.min = min;
  range.max = max;
  ShowPosition(bar);
}

void QtFrontend::SetProgressValue(ProgressBar bar, double value) {
  ranges_.at(static_cast<size_t>(bar)).value = value;
  ShowPosition(bar);
}

void QtFrontend::SetProgressVisible(ProgressBar bar, bool visible) {
  Bar(bar)->setVisible(visible);
  Repaint(true);
}

void QtFrontend::ShowMessage(const QString& text) {
  Repaint(true);  // the status and bars as they stand when the message appears
  // The box is answered with the arrow, also in the middle of a run.
  if (busy_) QApplication::setOverrideCursor(Qt::ArrowCursor);
  QWidget* parent = widgets_.mainWindow->isVisible() ? widgets_.mainWindow : nullptr;
  showMessage_(parent, text);
  if (busy_) QApplication::restoreOverrideCursor();
}

void QtFrontend::SetBusy(bool busy) {
  if (busy == busy_) return;
  busy_ = busy;
  if (busy) {
    QApplication::setOverrideCursor(Qt::WaitCursor);
  } else {
    QApplication::restoreOverrideCursor();
  }
}

void QtFrontend::ShowChartWindow() {
  widgets_.chartWindow->show();
  Repaint(true);
}

void QtFrontend::RefreshChartWindow() {
  widgets_.chartWindow->update();
  Repaint(true);
}

void QtFrontend::CloseChartWindow() { widgets_.chartWindow->close(); }

void QtFrontend::BringMainWindowToFront() {
  // Raised and activated, never made to stay on top.
  widgets_.mainWindow->raise();
  widgets_.mainWindow->activateWindow();
  Repaint(true);
}

void QtFrontend::Repaint(bool now) {
  if (!now && sinceRepaint_.isValid() && sinceRepaint_.elapsed() < kRepaintIntervalMs) return;
  QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
  sinceRepaint_.start();
}

}  // namespace morvik
