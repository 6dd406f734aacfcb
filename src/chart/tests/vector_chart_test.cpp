// A chart kept as vectors paints the pixels the image canvas draws.
#include "chart/vector_chart.h"

#include <QPainter>

#include <gtest/gtest.h>

#include "chart/canvas.h"

namespace morvik {
namespace {

// The same drawing on an image canvas and on a vector canvas.
void DrawSample(Canvas& canvas) {
  canvas.FilledBox(100, 200, 140, 212, QColor(185, 220, 255));
  canvas.FilledBox(140.4F, 300, 99.6F, 290, QColor(255, 128, 128));
  canvas.Line(80, 100, 80, 746, QColor(0, 0, 0));
  canvas.Line(80, 105, 992, 105, QColor(0, 0, 0));
  canvas.SetLineStyle(LineStyle::kDotted);
  canvas.Line(118, 100, 118, 746, QColor(192, 192, 192));
  canvas.SetLineStyle(LineStyle::kSolid);
  canvas.SetFont(9, false);
  canvas.SetTextColor(QColor(0, 128, 0));
  canvas.SetTextPosition(300, 400);
  canvas.Print(QStringLiteral("時間外申請 17:15"));
  canvas.SetFont(12, true);
  canvas.SetTextPosition(880, 60);
  canvas.Print(QStringLiteral("山田　花子"));
}

QImage Painted(const VectorChart& chart) {
  QImage image(Canvas::kWidth, Canvas::kHeight, QImage::Format_RGB888);
  image.fill(Qt::white);
  QPainter painter(&image);
  // Edges on whole units and one-unit lines through pixel centres cover whole pixels.
  painter.setRenderHint(QPainter::Antialiasing, true);
  VectorChartPainter().Paint(chart, painter);
  return image;
}

int DifferingPixels(const QImage& a, const QImage& b, const QRect& area) {
  int count = 0;
  for (int y = area.top(); y <= area.bottom(); ++y) {
    for (int x = area.left(); x <= area.right(); ++x) count += a.pixel(x, y) != b.pixel(x, y);
  }
  return count;
}

TEST(VectorChartTest, PaintsTheImageCanvasPixels) {
  Canvas image;
  DrawSample(image);
  Canvas vectors(Canvas::Surface::kVectors);
  DrawSample(vectors);
  const QImage painted = Painted(vectors.TakeVectors());
  const QImage& expected = image.image();
  // Boxes and lines exactly; texts in the same place (glyph edges may blend differently).
  EXPECT_EQ(DifferingPixels(painted, expected, QRect(0, 0, 1024, 380)), 0);
  EXPECT_LT(DifferingPixels(painted, expected, QRect(280, 380, 300, 40)), 40);
  EXPECT_EQ(DifferingPixels(painted, expected, QRect(0, 420, 1024, 348)), 0);
  QImage blank(expected.size(), expected.format());
  blank.fill(Qt::white);
  EXPECT_EQ(DifferingPixels(vectors.image(), blank, QRect(0, 0, 1024, 768)), 0) << "no pixels";
}

TEST(VectorChartTest, ChartsOverOneLayerShareIt) {
  Canvas canvas(Canvas::Surface::kVectors);
  canvas.FilledBox(0, 0, 10, 10, QColor(1, 2, 3));
  canvas.StoreLayer(QStringLiteral("month"));
  canvas.FilledBox(20, 20, 30, 30, QColor(4, 5, 6));
  const VectorChart first = canvas.TakeVectors();
  ASSERT_TRUE(canvas.RestoreLayer(QStringLiteral("month")));
  canvas.Line(0, 0, 5, 0, QColor(7, 8, 9));
  const VectorChart second = canvas.TakeVectors();
  EXPECT_EQ(&first.layer(), &second.layer());
  EXPECT_EQ(first.layer().size(), 1U);
  EXPECT_EQ(first.own().size(), 1U);
  ASSERT_EQ(second.own().size(), 1U);
  EXPECT_TRUE(std::holds_alternative<VectorChart::Line>(second.own()[0]));
  EXPECT_FALSE(canvas.RestoreLayer(QStringLiteral("another month")));
  canvas.Clear();
  EXPECT_TRUE(canvas.TakeVectors().layer().empty()) << "a cleared canvas is off its layer";
}

}  // namespace
}  // namespace morvik
