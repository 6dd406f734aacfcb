#include "ui/chart_window.h"

#include <QPainter>

#include "chart/canvas.h"

namespace morvik {
namespace {

const QString kCaption = QStringLiteral("勤務表");

}  // namespace

ChartWindow::ChartWindow(const Canvas& canvas) : canvas_(canvas) {
  setObjectName(QStringLiteral("ChartWindow"));
  setWindowTitle(kCaption);
  setFixedSize(Canvas::kWidth, Canvas::kHeight);
  // The image covers the whole window; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void ChartWindow::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.image());
}

}  // namespace morvik
