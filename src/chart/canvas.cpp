#include "chart/canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStaticText>

#include <algorithm>
#include <cmath>

namespace morvik {
namespace {

constexpr int kDotsPerMeterAt96Dpi = 3780;

// Far enough outside the surface to draw nothing, near enough that no size overflows.
constexpr float kCoordinateLimit = 1.0e6F;

// Halves round away from zero, as lround does; a NaN lands far off the surface.
int Pixel(float coordinate) {
  if (std::isnan(coordinate)) return static_cast<int>(-kCoordinateLimit);
  return static_cast<int>(std::lround(std::clamp(coordinate, -kCoordinateLimit, kCoordinateLimit)));
}

bool HasJapaneseGlyphs(const QString& family) {
  const auto systems = QFontDatabase::writingSystems(family);
  return systems.contains(QFontDatabase::Japanese);
}

QString ResolveFace() {
  const QStringList families = QFontDatabase::families();
  for (const QString& preferred : {QStringLiteral("ＭＳ ゴシック"), QStringLiteral("MS Gothic"),
                                   QStringLiteral("IPAGothic"), QStringLiteral("IPAゴシック")}) {
    if (families.contains(preferred)) return preferred;
  }
  for (const QString& family : families) {
    if (QFontDatabase::isFixedPitch(family) && HasJapaneseGlyphs(family)) return family;
  }
  // Faces that mix half- and full-width glyphs are not always reported as fixed-pitch.
  for (const QString& family : families) {
    if (HasJapaneseGlyphs(family)) return family;
  }
  return QFontDatabase::systemFont(QFontDatabase::FixedFont).family();
}

}  // namespace

// Three bytes a pixel, as the JPEG and BMP writers store them: the image goes to the
// writers as it is, without a conversion of every pixel per chart.
Canvas::Canvas() : image_(kWidth, kHeight, QImage::Format_RGB888) {
  image_.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  image_.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  state_.font.setFamily(FaceName());
  state_.font.setStyleStrategy(QFont::NoSubpixelAntialias);
  state_.font.setHintingPreference(QFont::PreferFullHinting);
  SetFont(9, false);
  Clear();
}

Canvas::~Canvas() { EndPainting(); }

QPainter& Canvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&image_);
    painter_->setRenderHint(QPainter::Antialiasing, false);
    painter_->setRenderHint(QPainter::TextAntialiasing, true);
  }
  return *painter_;
}

void Canvas::EndPainting() const {
  painter_.reset();
  painterFontCurrent_ = false;
  painterTextColor_ = QColor();
}

const QImage& Canvas::image() const {
  EndPainting();
  return image_;
}

void Canvas::StoreLayer(const QString& key) {
  EndPainting();
  layerKey_ = key;
  layerImage_ = image_;
  layerState_ = state_;
}

bool Canvas::RestoreLayer(const QString& key) {
  if (layerKey_.isNull() || key != layerKey_) return false;
  EndPainting();
  image_ = layerImage_;
  state_ = layerState_;
  return true;
}

QString Canvas::FaceName() {
  static const QString face = ResolveFace();
  return face;
}

void Canvas::Clear() {
  EndPainting();
  image_.fill(Qt::white);
}

void Canvas::SetFont(double pointSize, bool bold) {
  const int pixels = static_cast<int>(std::lround(pointSize * 96.0 / 72.0));
  if (state_.fontAscent > 0 && pixels == state_.font.pixelSize() && bold == state_.font.bold()) {
    return;
  }
  state_.font.setPixelSize(pixels);
  state_.font.setBold(bold);
  state_.fontAscent = QFontMetricsF(state_.font, &image_).ascent();
  painterFontCurrent_ = false;
}

void Canvas::SetTextColor(QColor color) { state_.textColor = color; }

void Canvas::SetLineStyle(LineStyle style) { state_.lineStyle = style; }

void Canvas::Line(float x1, float y1, float x2, float y2, QColor color) {
  // A flat cap: a square cap would lengthen every dash by a pixel and close the gaps.
  QPen pen(color, 1, Qt::SolidLine, Qt::FlatCap);
  if (state_.lineStyle == LineStyle::kDotted) pen.setDashPattern({1.0, 2.0});  // one on, two off
  QPainter& painter = Painter();
  painter.setPen(pen);
  painterTextColor_ = QColor();  // the pen no longer holds the text colour
  painter.drawLine(QPoint(Pixel(x1), Pixel(y1)), QPoint(Pixel(x2), Pixel(y2)));
}

void Canvas::FilledBox(float x1, float y1, float x2, float y2, QColor color) {
  const QPoint topLeft(std::min(Pixel(x1), Pixel(x2)), std::min(Pixel(y1), Pixel(y2)));
  const QPoint bottomRight(std::max(Pixel(x1), Pixel(x2)), std::max(Pixel(y1), Pixel(y2)));
  Painter().fillRect(QRect(topLeft, bottomRight), color);  // QRect(p, q) includes both corners
}

void Canvas::SetTextPosition(float x, float y) { state_.textPosition = QPointF(x, y); }

void Canvas::Print(const QString& text) {
  if (text.isEmpty()) return;
  QPainter& painter = Painter();
  if (!painterFontCurrent_) {
    painter.setFont(state_.font);
    painterFontCurrent_ = true;
  }
  if (painterTextColor_ != state_.textColor) {
    painter.setPen(state_.textColor);
    painterTextColor_ = state_.textColor;
  }
  const QPointF topLeft(Pixel(state_.textPosition.x()), Pixel(state_.textPosition.y()));
  painter.drawStaticText(topLeft, LaidOut(text));
}

// Most texts come back chart after chart (legend, note, labels, request types): laying
// them out once saves most of the cost of printing them.
const QStaticText& Canvas::LaidOut(const QString& text) {
  const TextKey key{text, state_.font.pixelSize(), state_.font.bold()};
  auto found = laidOut_.find(key);
  if (found == laidOut_.end()) {
    if (laidOut_.size() >= kLaidOutLimit) laidOut_.clear();
    QStaticText staticText(text);
    staticText.setTextFormat(Qt::PlainText);
    staticText.prepare(QTransform(), state_.font);
    found = laidOut_.emplace(key, std::move(staticText)).first;
  }
  return found->second;
}

// The blank is where the sign of a negative number goes.
void Canvas::PrintNumber(int number) {
  Print(number < 0 ? QString::number(number) : QStringLiteral(" ") + QString::number(number));
}

}  // namespace morvik
