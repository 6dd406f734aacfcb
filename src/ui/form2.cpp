#include "ui/form2.h"

#include <QPainter>

#include "chart/canvas.h"

namespace morvik {
namespace {

const QString kCaption = QStringLiteral("勤務表");

}  // namespace

Form2::Form2(const Canvas& canvas) : canvas_(canvas) {
  setObjectName(QStringLiteral("Form2"));
  setWindowTitle(kCaption);
  setFixedSize(Canvas::kWidth, Canvas::kHeight);
  // The image covers the whole window; nothing needs erasing first.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

void Form2::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  painter.drawImage(0, 0, canvas_.image());
}

}  // namespace morvik
