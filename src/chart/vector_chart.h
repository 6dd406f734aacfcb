#pragma once
// A chart kept as drawing operations in canvas units instead of pixels, so that it can be
// painted again at any size with its texts as text (the print PDF). A Canvas made for
// vectors records it while DrawChart runs; each operation means exactly the pixels the
// image canvas would set for it.

#include <QtGui/qrgb.h>
#include <QGlyphRun>
#include <QList>
#include <QPoint>
#include <QRect>
#include <QString>

#include <map>
#include <memory>
#include <tuple>
#include <variant>
#include <vector>

class QPainter;

namespace morvik {

class VectorChart {
 public:
  struct Box {  // covers every pixel of `pixels`, both corners included
    QRect pixels;
    QRgb colour;
  };
  struct Line {  // one unit wide, from the pixel `from` up to, not including, `to`
    QPoint from, to;
    QRgb colour;
    bool dotted;  // one unit on, two off
  };
  struct Text {  // top-left corner of the laid-out text at `topLeft`
    QPoint topLeft;
    QString text;
    int pixelSize;
    bool bold;
    QRgb colour;
  };
  using Operation = std::variant<Box, Line, Text>;
  using Operations = std::vector<Operation>;

  VectorChart() = default;
  VectorChart(std::shared_ptr<const Operations> layer, Operations own)
      : layer_(std::move(layer)), own_(std::move(own)) {}

  // The month's layer, shared by every chart drawn over it, then the chart's own operations.
  const Operations& layer() const;
  const Operations& own() const { return own_; }

 private:
  std::shared_ptr<const Operations> layer_;
  Operations own_;
};

// What a vector canvas has drawn: the stored layer and the operations since.
class VectorRecorder {
 public:
  void Add(VectorChart::Operation operation) { own_.push_back(std::move(operation)); }
  void Clear();
  void StoreLayer();    // everything drawn so far becomes the layer
  void RestoreLayer();  // back to the stored layer with nothing drawn over it
  // The chart drawn since the layer; the recorder is back on the bare layer afterwards.
  VectorChart Take();

 private:
  std::shared_ptr<const VectorChart::Operations> current_;  // the layer under own_
  std::shared_ptr<const VectorChart::Operations> stored_;
  VectorChart::Operations own_;
};

// Paints vector charts in canvas units (the painter's transform sets the size) in the
// face the canvas uses. Texts are laid out once and kept: most come back on every chart.
class VectorChartPainter {
 public:
  void Paint(const VectorChart& chart, QPainter& painter);

 private:
  void PaintOperations(const VectorChart::Operations& operations, QPainter& painter);
  const QList<QGlyphRun>& LaidOut(const VectorChart::Text& text);

  static constexpr std::size_t kLaidOutLimit = 4000;
  std::map<std::tuple<QString, int, bool>, QList<QGlyphRun>> laidOut_;
};

}  // namespace morvik
