#include "chart/canvas.h"

#include <QBuffer>
#include <QFontDatabase>
#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

#include <random>

namespace morvik {
namespace {

const QColor kWhite(255, 255, 255);
const QColor kBoxColor(185, 220, 255);

// The canvas as a BMP file would hold it, read back.
QImage ThroughBmp(const Canvas& canvas) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "bmp");
  EXPECT_TRUE(writer.write(canvas.image())) << writer.errorString().toStdString();
  return QImage::fromData(bytes, "bmp");
}

QColor At(const QImage& image, int x, int y) { return image.pixelColor(x, y); }

struct BoxCase {
  const char* name;
  float x1, y1, x2, y2;
};

class FilledBoxTest : public ::testing::TestWithParam<BoxCase> {};

// Whatever corner comes first, the box covers pixels 100..140 × 200..212 exactly.
TEST_P(FilledBoxTest, CoversItsSpanInExactlyItsColourAndNothingElse) {
  const BoxCase& c = GetParam();
  Canvas canvas;
  canvas.FilledBox(c.x1, c.y1, c.x2, c.y2, kBoxColor);
  const QImage image = ThroughBmp(canvas);
  ASSERT_EQ(image.size(), QSize(1024, 768));
  for (int y = 195; y <= 217; ++y) {
    for (int x = 95; x <= 145; ++x) {
      const bool inside = x >= 100 && x <= 140 && y >= 200 && y <= 212;
      ASSERT_EQ(At(image, x, y), inside ? kBoxColor : kWhite) << "pixel " << x << "," << y;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    CornerOrders, FilledBoxTest,
    ::testing::Values(BoxCase{"TopLeftFirst", 100, 200, 140, 212},
                      BoxCase{"BottomRightFirst", 140, 212, 100, 200},
                      BoxCase{"TopRightFirst", 140, 200, 100, 212},
                      BoxCase{"BottomLeftFirst", 100, 212, 140, 200},
                      // Fractions round to the nearest pixel, halves away from zero.
                      BoxCase{"Fractional", 99.6F, 199.5F, 140.4F, 212.49F}),
    [](const auto& info) { return std::string(info.param.name); });

// Boxes running off the image, and colours only the painter can blend: the pixels the
// painter's fillRect gives on a white image.
TEST(CanvasTest, BoxesGiveThePixelsOfThePaintersFill) {
  const std::pair<QRect, QColor> cases[] = {
      {QRect(QPoint(-50, -40), QPoint(1100, 3)), kBoxColor},
      {QRect(QPoint(1000, 700), QPoint(1030, 800)), QColor(255, 0, 0)},
      {QRect(QPoint(300, 300), QPoint(700, 312)), QColor(0, 0, 255, 128)},
      {QRect(QPoint(300, 300), QPoint(700, 312)), QColor::fromRgbF(0.3F, 0.55F, 0.71F)},
  };
  for (const auto& [box, colour] : cases) {
    Canvas canvas;
    canvas.FilledBox(box.left(), box.top(), box.right(), box.bottom(), colour);
    QImage expected(1024, 768, QImage::Format_RGB888);
    expected.fill(Qt::white);
    QPainter(&expected).fillRect(box, colour);
    EXPECT_EQ(canvas.image(), expected) << box.x() << "," << box.y();
  }
}

TEST(CanvasTest, OneUnitVerticalLineAtEightyIsPixelColumnEighty) {
  Canvas canvas;
  canvas.Line(80, 100, 80, 746, Qt::black);
  const QImage image = canvas.image();
  for (int y = 100; y <= 745; ++y) {
    ASSERT_EQ(At(image, 80, y), QColor(Qt::black)) << "row " << y;
    ASSERT_EQ(At(image, 79, y), kWhite) << "row " << y;
    ASSERT_EQ(At(image, 81, y), kWhite) << "row " << y;
  }
  EXPECT_EQ(At(image, 80, 746), kWhite);  // the end point is left out, as a pen's line does
  EXPECT_EQ(At(image, 80, 99), kWhite);
  EXPECT_EQ(At(image, 80, 748), kWhite);
}

// Lines along rows and columns are set without the painter; they must come out as the
// painter draws them: reversed, clipped by the image's edges, of no length, and among
// slanting and dotted ones.
TEST(CanvasTest, LinesComeOutAsThePainterDrawsThem) {
  std::mt19937 random(7);
  std::uniform_int_distribution<int> coordinate(-40, 1070);
  std::uniform_int_distribution<int> kind(0, 9);
  const QColor colours[] = {Qt::black, QColor(192, 192, 192), QColor(255, 0, 0, 128)};
  Canvas canvas;
  QImage expected(1024, 768, QImage::Format_RGB888);
  expected.fill(Qt::white);
  for (int i = 0; i < 400; ++i) {
    QPoint from(coordinate(random), coordinate(random) % 800);
    QPoint to(coordinate(random), coordinate(random) % 800);
    const int shape = kind(random);
    if (shape < 4)
      to.setY(from.y());  // along a row
    else if (shape < 8)
      to.setX(from.x());  // along a column
    else if (shape == 8)
      to = from;  // no length
    const bool dotted = i % 7 == 0;
    const QColor colour = colours[i % 3];
    canvas.SetLineStyle(dotted ? LineStyle::kDotted : LineStyle::kSolid);
    canvas.Line(from.x(), from.y(), to.x(), to.y(), colour);
    {
      QPainter painter(&expected);
      painter.setRenderHint(QPainter::Antialiasing, false);
      QPen pen(colour, 1, Qt::SolidLine, Qt::FlatCap);
      if (dotted) pen.setDashPattern({1.0, 2.0});
      painter.setPen(pen);
      painter.drawLine(from, to);
    }
    if (i % 20 == 19) {
      ASSERT_EQ(canvas.image(), expected) << "after line " << i;
    }
  }
}

// Counts of drawn and blank pixels along x = 118 between y = 100 and 745.
std::pair<int, int> InkAndGaps(const QImage& image, QColor ink) {
  int drawn = 0;
  int blank = 0;
  for (int y = 100; y <= 745; ++y) {
    const QColor pixel = At(image, 118, y);
    if (pixel == ink) {
      ++drawn;
    } else {
      EXPECT_EQ(pixel, kWhite) << "row " << y;
      ++blank;
    }
  }
  return {drawn, blank};
}

TEST(CanvasTest, DottedLineIsDottedAndSolidIsSolidAgain) {
  const QColor grey(192, 192, 192);
  Canvas canvas;
  canvas.SetLineStyle(LineStyle::kDotted);
  canvas.Line(118, 100, 118, 746, grey);
  const auto [dots, gaps] = InkAndGaps(canvas.image(), grey);
  // Visibly dotted: ink and gaps alternate all along the line.
  EXPECT_GT(dots, 150);
  EXPECT_GT(gaps, 150);
  int changes = 0;
  for (int y = 101; y <= 745; ++y) {
    changes += (At(canvas.image(), 118, y) == grey) != (At(canvas.image(), 118, y - 1) == grey);
  }
  EXPECT_GT(changes, 300);

  canvas.Clear();
  canvas.SetLineStyle(LineStyle::kSolid);
  canvas.Line(118, 100, 118, 746, grey);
  EXPECT_EQ(InkAndGaps(canvas.image(), grey).second, 0);
}

// The text keeps its top-left corner at the text position, in the text colour, on a
// transparent background (the box under it shows between the strokes).
TEST(CanvasTest, TextSitsBelowAndRightOfItsPositionOnATransparentBackground) {
  Canvas canvas;
  canvas.FilledBox(200, 300, 400, 340, kBoxColor);
  canvas.SetFont(12, true);
  canvas.SetTextColor(QColor(0, 128, 0));
  canvas.SetTextPosition(210, 310);
  canvas.Print(QStringLiteral("■承認待ち"));
  const QImage& image = canvas.image();
  int inkLeft = 1024, inkTop = 768, inkBottom = 0, exact = 0, boxShowing = 0;
  for (int y = 300; y <= 340; ++y) {
    for (int x = 200; x <= 400; ++x) {
      const QColor pixel = At(image, x, y);
      if (pixel == kBoxColor) {
        ++boxShowing;
        continue;
      }
      inkLeft = std::min(inkLeft, x);
      inkTop = std::min(inkTop, y);
      inkBottom = std::max(inkBottom, y);
      exact += pixel == QColor(0, 128, 0);
    }
  }
  EXPECT_GE(inkLeft, 210);
  EXPECT_LE(inkLeft, 213);
  EXPECT_GE(inkTop, 310);
  EXPECT_LE(inkTop, 314);
  EXPECT_LE(inkBottom, 310 + 16);  // 12 points are 16 pixels at 96 dpi
  EXPECT_GT(exact, 50);            // the filled square is solid text colour
  EXPECT_GT(boxShowing, 4000);
  // Nothing outside the box was touched.
  EXPECT_EQ(At(image, 199, 320), kWhite);
}

// Chart after chart over the same bars, texts come back over the same pixels at other
// places, over other pixels at the same place and over texts printed before: every print
// gives what drawing the text directly gives.
TEST(CanvasTest, EveryPrintGivesWhatDrawingTheTextDirectlyGives) {
  const QString texts[] = {QStringLiteral("時間外 診療記録整理"), QStringLiteral("■日当直 当直")};
  const QColor colours[] = {QColor(100, 100, 100), QColor(0, 128, 0), QColor(128, 0, 255)};
  std::mt19937 random(20261208);
  std::uniform_int_distribution<int> pick(0, 2);
  Canvas canvas;
  for (float y = 105; y < 700; y += 20) {
    canvas.FilledBox(80 + 38 * pick(random), y + 4, 600 + 38 * pick(random), y + 16, kBoxColor);
  }
  canvas.StoreLayer(QStringLiteral("bars"));
  for (int i = 0; i < 400; ++i) {
    if (i % 20 == 0) canvas.RestoreLayer(QStringLiteral("bars"));
    const bool bold = pick(random) == 0;
    const QColor colour = colours[bold ? 1 : pick(random) / 2 * 2];
    const QPoint at(82 + 250 * pick(random) + (pick(random) == 0 ? 38 : 0),
                    110 + 20 * pick(random));
    QImage expected = canvas.image().copy();
    canvas.SetFont(9, bold);
    canvas.SetTextColor(colour);
    canvas.SetTextPosition(at.x(), at.y());
    canvas.Print(texts[bold]);

    QFont font = Canvas::TextFont();
    font.setPixelSize(12);
    font.setBold(bold);
    QPainter painter(&expected);
    painter.setFont(font);
    painter.setPen(colour);
    painter.drawStaticText(at, QStaticText(texts[bold]));
    painter.end();
    ASSERT_EQ(canvas.image(), expected) << "print " << i;
  }
}

TEST(CanvasTest, FaceHasJapaneseGlyphs) {
  const QString face = Canvas::FaceName();
  EXPECT_TRUE(QFontDatabase::writingSystems(face).contains(QFontDatabase::Japanese))
      << face.toStdString();
}

}  // namespace
}  // namespace morvik
