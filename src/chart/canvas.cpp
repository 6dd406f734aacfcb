#include "chart/canvas.h"

#include <QFontDatabase>
#include <QPainter>
#include <QPen>
#include <QStaticText>

#include <algorithm>
#include <cmath>
#include <cstdlib>
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
QImage WhiteImage() {
  QImage image(Canvas::kWidth, Canvas::kHeight, QImage::Format_RGB888);
  image.setDotsPerMeterX(kDotsPerMeterAt96Dpi);
  image.setDotsPerMeterY(kDotsPerMeterAt96Dpi);
  image.fill(Qt::white);
  return image;
}

// An opaque colour of whole 8-bit channels, in the canvas's three bytes a pixel: the
// pixels the painter's fillRect would set, set without the painter (a chart fills some
// hundred small boxes, each costing the painter more than setting its pixels).
void SetPixels(QImage& image, const QRect& box, QRgb colour) {
  if (box.isEmpty()) return;
  const qsizetype line = image.bytesPerLine();
  uchar* first = image.bits() + box.top() * line + std::size_t(box.left()) * 3;
  const uchar red = static_cast<uchar>(qRed(colour));
  const uchar green = static_cast<uchar>(qGreen(colour));
  const uchar blue = static_cast<uchar>(qBlue(colour));
  // A few pixels one by one (a stamp marker is three wide), the rest of a wide box's
  // first row copied from them, doubling, and the other rows copied from the first.
  const std::size_t rowBytes = std::size_t(box.width()) * 3;
  const int few = std::min(box.width(), 16);
  for (int x = 0; x < few; ++x) {
    first[3 * x] = red;
    first[3 * x + 1] = green;
    first[3 * x + 2] = blue;
  }
  for (std::size_t done = std::size_t(few) * 3; done < rowBytes; done *= 2) {
    std::memcpy(first + done, first, std::min(done, rowBytes - done));
  }
  for (int y = 1; y < box.height(); ++y) std::memcpy(first + y * line, first, rowBytes);
}

// Anti-aliased glyphs, and glyphs of fallback faces, may reach a little beyond the
// laid-out box of a text; a margin of the font's size covers them.
QRect TextArea(QPoint topLeft, const QStaticText& text, int pixelSize) {
  const QRect box(topLeft, text.size().toSize());
  return box.adjusted(-pixelSize, -pixelSize, pixelSize, pixelSize);
}

}  // namespace

Canvas::Canvas(Surface surface) : buffers_(WhiteImage()) {
  if (surface == Surface::kVectors) vectors_ = std::make_unique<VectorRecorder>();
  state_.font = TextFont();
  SetFont(9, false);
  Clear();
}

Canvas::~Canvas() { EndPainting(); }

QPainter& Canvas::Painter() {
  if (!painter_) {
    painter_ = std::make_unique<QPainter>(&buffers_.image());
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
  return buffers_.image();
}

VectorChart Canvas::TakeVectors() { return vectors_ ? vectors_->Take() : VectorChart(); }

void Canvas::StoreLayer(const QString& key) {
  EndPainting();
  layerKey_ = key;
  layerState_ = state_;
  if (vectors_) {
    vectors_->StoreLayer();
  } else {
    buffers_.StoreLayer();
  }
}

bool Canvas::RestoreLayer(const QString& key) {
  if (layerKey_.isNull() || key != layerKey_) return false;
  EndPainting();
  if (vectors_) {
    vectors_->RestoreLayer();
  } else {
    buffers_.RestoreLayer();
  }
  state_ = layerState_;
  return true;
}

QString Canvas::FaceName() {
  static const QString face = ResolveFace();
  return face;
}

QFont Canvas::TextFont() {
  QFont font(FaceName());
  font.setStyleStrategy(QFont::NoSubpixelAntialias);
  font.setHintingPreference(QFont::PreferFullHinting);
  return font;
}

void Canvas::Clear() {
  EndPainting();
  if (vectors_) {
    vectors_->Clear();
    return;
  }
  buffers_.image().fill(Qt::white);
  buffers_.LeaveLayer();
}

void Canvas::SetFont(double pointSize, bool bold) {
  const int pixels = static_cast<int>(std::lround(pointSize * 96.0 / 72.0));
  if (pixels == state_.font.pixelSize() && bold == state_.font.bold()) return;
  state_.font.setPixelSize(pixels);
  state_.font.setBold(bold);
  painterFontCurrent_ = false;
}

void Canvas::SetTextColor(QColor color) { state_.textColor = color; }

void Canvas::SetLineStyle(LineStyle style) { state_.lineStyle = style; }

void Canvas::Line(float x1, float y1, float x2, float y2, QColor color) {
  // A flat cap: a square cap would lengthen every dash by a pixel and close the gaps.
  const QPoint from(Pixel(x1), Pixel(y1));
  const QPoint to(Pixel(x2), Pixel(y2));
  if (vectors_) {
    vectors_->Add(VectorChart::Line{from, to, color.rgb(), state_.lineStyle == LineStyle::kDotted});
    return;
  }
  if (!SetSolidAxisLine(from, to, color)) {
    QPen pen(color, 1, Qt::SolidLine, Qt::FlatCap);
    if (state_.lineStyle == LineStyle::kDotted) pen.setDashPattern({1.0, 2.0});  // one on, two off
    QPainter& painter = Painter();
    painter.setPen(pen);
    painterTextColor_ = QColor();  // the pen no longer holds the text colour
    painter.drawLine(from, to);
  }
  const QRect span(QPoint(std::min(from.x(), to.x()), std::min(from.y(), to.y())),
                   QPoint(std::max(from.x(), to.x()), std::max(from.y(), to.y())));
  buffers_.MarkDrawn(span.adjusted(-1, -1, 1, 1));
}

// The painter's flat-cap pen one pixel wide covers, along a row or a column, the pixels
// from the line's lower end up to, not including, its higher end. Its stroker hands such
// a line over pixel by pixel, and that many pixels go to Qt's drawing threads and back:
// the 33 rows of the grid took 7 to 10 ms on two busy cores. Dotted and slanting lines,
// and lines of no length, are left to the painter.
bool Canvas::SetSolidAxisLine(QPoint from, QPoint to, QColor color) {
  QImage& image = buffers_.image();
  if (state_.lineStyle != LineStyle::kSolid || from == to ||
      (from.x() != to.x() && from.y() != to.y()) || color != QColor::fromRgb(color.rgb()) ||
      image.format() != QImage::Format_RGB888) {
    return false;
  }
  const QRect line =
      from.y() == to.y()
          ? QRect(std::min(from.x(), to.x()), from.y(), std::abs(to.x() - from.x()), 1)
          : QRect(from.x(), std::min(from.y(), to.y()), 1, std::abs(to.y() - from.y()));
  SetPixels(image, line & image.rect(), color.rgb());
  return true;
}

void Canvas::FilledBox(float x1, float y1, float x2, float y2, QColor color) {
  const QPoint topLeft(std::min(Pixel(x1), Pixel(x2)), std::min(Pixel(y1), Pixel(y2)));
  const QPoint bottomRight(std::max(Pixel(x1), Pixel(x2)), std::max(Pixel(y1), Pixel(y2)));
  const QRect box(topLeft, bottomRight);  // QRect(p, q) includes both corners
  if (vectors_) {
    vectors_->Add(VectorChart::Box{box, color.rgb()});
    return;
  }
  QImage& image = buffers_.image();
  if (color == QColor::fromRgb(color.rgb()) && image.format() == QImage::Format_RGB888) {
    SetPixels(image, box & image.rect(), color.rgb());
  } else {
    Painter().fillRect(box, color);
  }
  buffers_.MarkDrawn(box);
}

void Canvas::SetTextPosition(float x, float y) { state_.textPosition = QPointF(x, y); }

void Canvas::Print(const QString& text) {
  if (text.isEmpty()) return;
  const QPoint topLeft(Pixel(state_.textPosition.x()), Pixel(state_.textPosition.y()));
  if (vectors_) {
    vectors_->Add(VectorChart::Text{topLeft, text, state_.font.pixelSize(), state_.font.bold(),
                                    state_.textColor.rgb()});
    return;
  }
  LaidOutText& laidOut = LaidOut(text);
  QImage& image = buffers_.image();
  // A text printed once only (a staff number, a name) is drawn and no more; one printed
  // again is measured, and from then on what printing it gives is kept.
  if (laidOut.prints < 2 && ++laidOut.prints == 2) {
    laidOut.ink = TextPatches::InkOf(laidOut.staticText, state_.font);
  }
  const QRect ink = laidOut.ink ? laidOut.ink->translated(topLeft) : QRect();
  if (ink.isEmpty() || !image.rect().contains(ink)) {
    DrawText(topLeft, laidOut.staticText);
    buffers_.MarkDrawn(TextArea(topLeft, laidOut.staticText, state_.font.pixelSize()));
    return;
  }
  // Over the same pixels, the text gives the pixels it gave there or anywhere before.
  TextPatches::Read(image, ink, beneath_);
  const TextPatches::Key key{laidOut.serial, static_cast<quint64>(state_.textColor.rgba64()),
                             TextPatches::Hash(beneath_)};
  if (const uchar* printed = textPatches_.Find(key, beneath_)) {
    TextPatches::Write(printed, ink, image);
    buffers_.MarkDrawn(ink);
    return;
  }
  // Not printed over these pixels yet (or not lately): drawn, and kept.
  DrawText(topLeft, laidOut.staticText);
  std::vector<uchar> printed;
  TextPatches::Read(image, ink, printed);
  textPatches_.Keep(key, beneath_, printed);
  buffers_.MarkDrawn(TextArea(topLeft, laidOut.staticText, state_.font.pixelSize()));
}

void Canvas::DrawText(QPointF topLeft, const QStaticText& text) {
  QPainter& painter = Painter();
  if (!painterFontCurrent_) {
    painter.setFont(state_.font);
    painterFontCurrent_ = true;
  }
  if (painterTextColor_ != state_.textColor) {
    painter.setPen(state_.textColor);
    painterTextColor_ = state_.textColor;
  }
  painter.drawStaticText(topLeft, text);
}

// Most texts come back chart after chart (legend, note, labels, request types): laying
// them out once saves most of the cost of printing them.
Canvas::LaidOutText& Canvas::LaidOut(const QString& text) {
  TextKey key{text, state_.font.pixelSize(), state_.font.bold()};
  auto found = laidOut_.find(key);
  if (found == laidOut_.end()) {
    if (laidOut_.size() >= kLaidOutLimit) laidOut_.clear();
    LaidOutText laidOut;
    laidOut.staticText = QStaticText(text);
    laidOut.serial = ++laidOutCount_;
    laidOut.staticText.setTextFormat(Qt::PlainText);
    laidOut.staticText.prepare(QTransform(), state_.font);
    found = laidOut_.emplace(std::move(key), std::move(laidOut)).first;
  }
  return found->second;
}

// The blank is where the sign of a negative number goes.
void Canvas::PrintNumber(int number) {
  Print(number < 0 ? QString::number(number) : QStringLiteral(" ") + QString::number(number));
}

}  // namespace morvik
