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
#include <QImage>
#include <QPointF>
#include <QStaticText>
#include <QString>

#include <map>
#include <memory>
#include <tuple>
#include <vector>

#include "chart/dirty_tiles.h"
#include "chart/text_patches.h"

class QPainter;


namespace morvik {

enum class LineStyle { kSolid, kDotted };

class Canvas {
 public:
  static constexpr int kWidth = 1024;
  static constexpr int kHeight = 768;

  Canvas();
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

  // One remembered layer: the pixels and the drawing state as they stand, under `key`.
  // RestoreLayer brings both back when the key matches and tells whether it did. The
  // chart keeps the part that is the same for every staff member of a month here.
  // Restoring reuses a buffer that no handed-out image shares any more and copies back
  // only the tiles drawn on since it left the layer.
  void StoreLayer(const QString& key);
  bool RestoreLayer(const QString& key);

  // The face used for every text: "ＭＳ ゴシック" where installed, else IPAGothic, else
  // any fixed-pitch face that has Japanese glyphs.
  static QString FaceName();

 private:
  struct State {
    QPointF textPosition;
    QColor textColor = Qt::black;
    QFont font;
    qreal fontAscent = 0;
    LineStyle lineStyle = LineStyle::kSolid;
  };

  // A buffer handed out that may still be in use (a chart being saved), with what it
  // holds against the layer it started from.
  struct Retired {
    QImage image;
    DirtyTiles dirty;
    quint64 layer = 0;
  };
  static constexpr std::size_t kRetiredLimit = 8;

  // One painter stays open across operations: opening one per operation costs more than
  // most operations themselves. It is closed whenever the image is handed out.
  QPainter& Painter();
  const QStaticText& LaidOut(const QString& text);
  void DrawText(QPointF topLeft, const QStaticText& text, const QRegion* clip = nullptr);
  void EndPainting() const;
  void TakeFreeBuffer();
  bool OnLayer() const { return imageLayer_ != 0 && imageLayer_ == layerNumber_; }
  void MarkDrawn(const QRect& area);

  QImage image_;
  DirtyTiles dirty_;        // what image_ has drawn since it held layer number imageLayer_
  quint64 imageLayer_ = 0;  // 0: it holds no layer
  std::vector<Retired> retired_;
  std::vector<QRect> drawnOnLayer_;  // what the chart drew since image_ held the layer
  TextPatches textPatches_;
  State state_;
  mutable std::unique_ptr<QPainter> painter_;
  // What the open painter holds, so that it is set only when it changes.
  mutable bool painterFontCurrent_ = false;
  mutable QColor painterTextColor_;
  using TextKey = std::tuple<QString, int, bool>;  // text, pixel size, bold
  static constexpr std::size_t kLaidOutLimit = 2000;
  std::map<TextKey, QStaticText> laidOut_;
  QString layerKey_;
  QImage layerImage_;
  quint64 layerNumber_ = 0;  // counts the layers stored
  State layerState_;
};

}  // namespace morvik
