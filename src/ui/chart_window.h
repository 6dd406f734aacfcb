#pragma once
// ChartWindow, the chart window "勤務表": shows the canvas image that the charts are drawn on.

#include <QWidget>

namespace morvik {

class Canvas;

class ChartWindow : public QWidget {
 public:
  explicit ChartWindow(const Canvas& canvas);

 protected:
  void paintEvent(QPaintEvent* event) override;

 private:
  const Canvas& canvas_;
};

}  // namespace morvik
