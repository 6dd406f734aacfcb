#include "chart/vector_chart.h"

#include <QPainter>
#include <QPen>
#include <QTextLayout>

#include "chart/canvas.h"

namespace morvik {
namespace {

const VectorChart::Operations kNoOperations;

// A one-unit line through the pixel centres across its direction covers the pixels the
// image canvas sets: from the first pixel up to the last, which it leaves out.
QLineF CentreLine(QPoint from, QPoint to) {
  const QPointF across = from.x() == to.x()   ? QPointF(0.5, 0)
                         : from.y() == to.y() ? QPointF(0, 0.5)
                                              : QPointF(0.5, 0.5);
  return QLineF(QPointF(from) + across, QPointF(to) + across);
}

QPen LinePen(const VectorChart::Line& line) {
  QPen pen(QColor::fromRgb(line.colour), 1, Qt::SolidLine, Qt::FlatCap);
  if (line.dotted) pen.setDashPattern({1.0, 2.0});
  return pen;
}

// Boxes of one colour in a row, and lines of one pen in a row, go to the painter as one
// call: a PDF then fills or strokes them once instead of once each.
class Batch {
 public:
  explicit Batch(QPainter& painter) : painter_(painter) {}
  ~Batch() { Flush(); }

  void Add(const VectorChart::Box& box) {
    if (!lines_.empty() || (!boxes_.empty() && box.colour != colour_)) Flush();
    colour_ = box.colour;
    boxes_.emplace_back(box.pixels);
  }
  void Add(const VectorChart::Line& line) {
    if (!boxes_.empty() ||
        (!lines_.empty() && (line.colour != colour_ || line.dotted != dotted_))) {
      Flush();
    }
    colour_ = line.colour;
    dotted_ = line.dotted;
    lines_.push_back(CentreLine(line.from, line.to));
  }
  void Flush() {
    if (!boxes_.empty()) {
      painter_.setPen(Qt::NoPen);
      painter_.setBrush(QColor::fromRgb(colour_));
      painter_.drawRects(boxes_.data(), static_cast<int>(boxes_.size()));
      painter_.setBrush(Qt::NoBrush);
      boxes_.clear();
    }
    if (!lines_.empty()) {
      painter_.setPen(LinePen({{}, {}, colour_, dotted_}));
      painter_.drawLines(lines_.data(), static_cast<int>(lines_.size()));
      lines_.clear();
    }
  }

 private:
  QPainter& painter_;
  std::vector<QRectF> boxes_;
  std::vector<QLineF> lines_;
  QRgb colour_ = 0;
  bool dotted_ = false;
};

}  // namespace

const VectorChart::Operations& VectorChart::layer() const {
  return layer_ ? *layer_ : kNoOperations;
}

void VectorRecorder::Clear() {
  current_.reset();
  own_.clear();
}

void VectorRecorder::StoreLayer() {
  auto layer =
      std::make_shared<VectorChart::Operations>(current_ ? *current_ : VectorChart::Operations());
  layer->insert(layer->end(), own_.begin(), own_.end());
  stored_ = std::move(layer);
  current_ = stored_;
  own_.clear();
}

void VectorRecorder::RestoreLayer() {
  current_ = stored_;
  own_.clear();
}

VectorChart VectorRecorder::Take() {
  VectorChart chart(current_, std::move(own_));
  own_.clear();
  return chart;
}

void VectorChartPainter::Paint(const VectorChart& chart, QPainter& painter) {
  painter.save();
  PaintOperations(chart.layer(), painter);
  PaintOperations(chart.own(), painter);
  painter.restore();
}

void VectorChartPainter::PaintOperations(const VectorChart::Operations& operations,
                                         QPainter& painter) {
  Batch batch(painter);
  for (const VectorChart::Operation& operation : operations) {
    if (const auto* box = std::get_if<VectorChart::Box>(&operation)) {
      batch.Add(*box);
    } else if (const auto* line = std::get_if<VectorChart::Line>(&operation)) {
      batch.Add(*line);
    } else if (const auto* text = std::get_if<VectorChart::Text>(&operation)) {
      batch.Flush();  // texts lie over what was drawn before them
      painter.setPen(QColor::fromRgb(text->colour));
      for (const QGlyphRun& run : LaidOut(*text)) painter.drawGlyphRun(text->topLeft, run);
    }
  }
}

// Laid out as the canvas lays out its texts, so every glyph lands where the image has it;
// glyphs that the face lacks come in runs of their fallback faces.
const QList<QGlyphRun>& VectorChartPainter::LaidOut(const VectorChart::Text& text) {
  const auto key = std::make_tuple(text.text, text.pixelSize, text.bold);
  auto found = laidOut_.find(key);
  if (found != laidOut_.end()) return found->second;
  if (laidOut_.size() >= kLaidOutLimit) laidOut_.clear();
  QFont font = Canvas::TextFont();
  font.setPixelSize(text.pixelSize);
  font.setBold(text.bold);
  QTextLayout layout(text.text, font);
  layout.beginLayout();
  layout.createLine();
  layout.endLayout();
  return laidOut_.emplace(key, layout.glyphRuns()).first->second;
}

}  // namespace morvik
