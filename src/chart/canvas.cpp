#include "chart/canvas.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QPainter>
#include <QPen>
#include <QStaticText>

#include <algorithm>
#include <atomic>
#include <cmath>
#include <cstring>

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

// Three bytes a pixel, as the JPEG and BMP writers store them: the image goes to the
// writers as it is, without a conversion of every pixel per chart.
QImage NewImage() {
  QImage image(Canvas::kWidth, Canvas::kHeight, QImage::Format_RGB888);
  image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  return image;
}

// True when no other image shares the pixels any more. A saving thread lets go of its
// copy only after reading the pixels; the fence makes those reads complete before the
// canvas writes the buffer again.
bool IsFree(const QImage& image) {
  if (!image.isDetached()) return false;
  std::atomic_thread_fence(std::memory_order_acquire);
  return true;
}

// Anti-aliased glyphs, and glyphs of fallback faces, may reach a little beyond the
// laid-out box of a text; a margin of the font's size covers them.
QRect TextArea(QPointF topLeft, const QStaticText& text, int pixelSize) {
  const QRect box(topLeft.toPoint(), text.size().toSize());
  return box.adjusted(-pixelSize, -pixelSize, pixelSize, pixelSize);
}

}  // namespace

Canvas::Canvas() : image_(NewImage()) {
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
  layerImage_ = image_.copy();
  layerState_ = state_;
  imageLayer_ = ++layerNumber_;
  dirty_ = DirtyTiles();
  drawnOnLayer_.clear();
}

bool Canvas::RestoreLayer(const QString& key) {
  if (layerKey_.isNull() || key != layerKey_) return false;
  EndPainting();
  TakeFreeBuffer();
  if (imageLayer_ == layerNumber_) {
    dirty_.CopyBack(layerImage_, image_);
  } else {
    std::memcpy(image_.bits(), layerImage_.constBits(), layerImage_.sizeInBytes());
    imageLayer_ = layerNumber_;
  }
  dirty_ = DirtyTiles();
  drawnOnLayer_.clear();
  state_ = layerState_;
  return true;
}

// The image handed out last may still be being saved: the canvas then draws on a buffer
// handed out earlier and let go since, or on a new one.
void Canvas::TakeFreeBuffer() {
  if (IsFree(image_)) return;
  retired_.push_back({std::move(image_), dirty_, imageLayer_});
  const auto free = std::find_if(retired_.begin(), retired_.end(),
                                 [](const Retired& buffer) { return IsFree(buffer.image); });
  if (free == retired_.end()) {
    image_ = NewImage();
    imageLayer_ = 0;
    if (retired_.size() > kRetiredLimit) retired_.erase(retired_.begin());
    return;
  }
  image_ = std::move(free->image);
  dirty_ = free->dirty;
  imageLayer_ = free->layer;
  retired_.erase(free);
}

QString Canvas::FaceName() {
  static const QString face = ResolveFace();
  return face;
}

void Canvas::Clear() {
  EndPainting();
  image_.fill(Qt::white);
  imageLayer_ = 0;
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
  const QPoint from(Pixel(x1), Pixel(y1));
  const QPoint to(Pixel(x2), Pixel(y2));
  painter.drawLine(from, to);
  const QRect span(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                   QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
  MarkDrawn(span.adjusted(-1, -1, 1, 1));
}

void Canvas::FilledBox(float x1, float y1, float x2, float y2, QColor color) {
  const QPoint topLeft(std::min(Pixel(x1), Pixel(x2)), std::min(Pixel(y1), Pixel(y2)));
  const QPoint bottomRight(std::max(Pixel(x1), Pixel(x2)), std::max(Pixel(y1), Pixel(y2)));
  const QRect box(topLeft, bottomRight);  // QRect(p, q) includes both corners
  Painter().fillRect(box, color);
  MarkDrawn(box);
}

void Canvas::SetTextPosition(float x, float y) { state_.textPosition = QPointF(x, y); }

void Canvas::Print(const QString& text) {
  if (text.isEmpty()) return;
  const QPointF topLeft(Pixel(state_.textPosition.x()), Pixel(state_.textPosition.y()));
  const QStaticText& laidOut = LaidOut(text);
  const QRect area = TextArea(topLeft, laidOut, state_.font.pixelSize()) & image_.rect();
  if (!OnLayer() || area.isEmpty()) {
    DrawText(topLeft, laidOut);
    MarkDrawn(area);
    return;
  }
  // Where the chart has drawn already, the text is blended as usual; elsewhere the area
  // still holds the layer, and the text printed there before gives the same pixels.
  QRegion touched;
  for (const QRect& drawn : drawnOnLayer_) {
    if (drawn.intersects(area)) touched += drawn & area;
  }
  const TextPatches::Key key{layerNumber_,          text, state_.font.pixelSize(),
                             state_.font.bold(),    state_.textColor.rgba(),
                             topLeft.toPoint()};
  if (const QImage* patch = textPatches_.Find(key)) {
    TextPatches::CopyInto(*patch, area, touched, image_);
    if (!touched.isEmpty()) DrawText(topLeft, laidOut, &touched);
  } else {
    DrawText(topLeft, laidOut);
    if (touched.isEmpty()) textPatches_.Keep(key, image_.copy(area));
  }
  MarkDrawn(area);
}

void Canvas::DrawText(QPointF topLeft, const QStaticText& text, const QRegion* clip) {
  QPainter& painter = Painter();
  if (!painterFontCurrent_) {
    painter.setFont(state_.font);
    painterFontCurrent_ = true;
  }
  if (painterTextColor_ != state_.textColor) {
    painter.setPen(state_.textColor);
    painterTextColor_ = state_.textColor;
  }
  if (clip != nullptr) painter.setClipRegion(*clip);
  painter.drawStaticText(topLeft, text);
  if (clip != nullptr) painter.setClipping(false);
}

void Canvas::MarkDrawn(const QRect& area) {
  dirty_.Mark(area);
  if (OnLayer()) drawnOnLayer_.push_back(area);
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
