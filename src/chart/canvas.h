#pragma once
// The chart canvas: a 1024 × 768 white image with the drawing state that persists
// between operations and between charts (text position, text colour, font, line style).
//
// Coordinates are single-precision drawing units, one unit a pixel; they are rounded to
// the nearest pixel. Lines and boxes are drawn without anti-aliasing: a 1-unit line at
// x = 80 is pixel column 80 (from its first point up to, not including, its last), and a
// filled box covers both corner pixels and everything between, whichever corner comes
// first. Text may be anti-aliased in grey levels only.

#include <QColor>
#include <QFont>
#include <QHashFunctions>
#include <QImage>
#include <QPointF>
#include <QRect>
#include <QStaticText>
#include <QString>

#include <memory>
#include <optional>
#include <unordered_map>
#include <vector>

#include "chart/layer_buffers.h"
#include "chart/text_patches.h"
#include "chart/vector_chart.h"

class QPainter;

namespace morvik {

enum class LineStyle { kSolid, kDotted };

class Canvas {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  // What the canvas draws on: the pixels of its image, or operations kept as a VectorChart
  // (the image then stays blank).
  enum class Surface { kImage, kVectors };

  explicit Canvas(Surface surface = Surface::kImage);
  ~Canvas();
  Canvas(const Canvas&) = delete;
  Canvas& operator=(const Canvas&) = delete;

  void Clear();
  // Point sizes are taken at 96 dots per inch (9 pt is 12 pixels).
  void SetFont(double pointSize, bool bold);
  void SetTextColor(QColor color);
  void SetLineStyle(LineStyle style);
  void Line(float x1, float y1, float x2, float y2, QColor color);
  void FilledBox(float x1, float y1, float x2, float y2, QColor color);
  void SetTextPosition(float x, float y);
  // Transparent background, top-left corner at the text position.
  void Print(const QString& text);
  // A number is printed as its decimal digits after one blank.
  void PrintNumber(int number);

  // The drawn image. Copies share its pixels until the canvas draws again.
  const QImage& image() const;
  // What is known of the image's pixels: those of the month's layer outside some tiles.
  ImageOrigin origin() const { return buffers_.Origin(); }

  // Vectors only: the chart drawn since the layer was stored or restored (or since the
  // canvas was cleared), on its layer.
  VectorChart TakeVectors();

  // One remembered layer: the pixels and the drawing state as they stand, under `key`.
  // RestoreLayer brings both back when the key matches and tells whether it did. The
  // chart keeps the part that is the same for every staff member of a month here.
  void StoreLayer(const QString& key);
  bool RestoreLayer(const QString& key);

  // The face used for every text: "ＭＳ ゴシック" where installed, else IPAGothic, else
  // any fixed-pitch face that has Japanese glyphs.
  static QString FaceName();
  // The font every text is drawn in, in FaceName(), before its size and weight are set.
  static QFont TextFont();

 private:
  struct State {
    QPointF textPosition;
    QColor textColor = Qt::black;
    QFont font;
    LineStyle lineStyle = LineStyle::kSolid;
  };

  // A text laid out once for its font, and what is known of the pixels it prints.
  struct LaidOutText {
    QStaticText staticText;
    quint64 serial = 0;  // names this text among the kept printings
    int prints = 0;
    std::optional<QRect> ink;  // TextPatches::InkOf, once printed twice
  };

  // One painter stays open across operations: opening one per operation costs more than
  // most operations themselves. It is closed whenever the image is handed out.
  QPainter& Painter();
  // Sets the pixels of a solid line along a row or a column as the painter would, and
  // tells whether it did (see canvas.cpp).
  bool SetSolidAxisLine(QPoint from, QPoint to, QColor color);
  LaidOutText& LaidOut(const QString& text);
  void DrawText(QPointF topLeft, const QStaticText& text);
  void EndPainting() const;

  LayerBuffers buffers_;
  std::unique_ptr<VectorRecorder> vectors_;  // null: the canvas draws pixels
  TextPatches textPatches_;
  std::vector<uchar> beneath_;  // the pixels under the text being printed
  State state_;
  mutable std::unique_ptr<QPainter> painter_;
  // What the open painter holds, so that it is set only when it changes.
  mutable bool painterFontCurrent_ = false;
  mutable QColor painterTextColor_;
  struct TextKey {  // text, pixel size, bold
    QString text;
    int pixelSize;
    bool bold;
    bool operator==(const TextKey&) const = default;
  };
  struct TextKeyHash {
    std::size_t operator()(const TextKey& key) const {
      return qHash(key.text, std::size_t(key.pixelSize) * 2 + key.bold);
    }
  };
  static constexpr std::size_t kLaidOutLimit = 2000;
  std::unordered_map<TextKey, LaidOutText, TextKeyHash> laidOut_;
  quint64 laidOutCount_ = 0;
  QString layerKey_;
  State layerState_;
};

}  // namespace morvik
