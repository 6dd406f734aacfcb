#include "chart/dirty_tiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvik {
namespace {

constexpr int kW = DirtyTiles::kTileWidth;
constexpr int kH = DirtyTiles::kTileHeight;

QImage Filled(QColor colour) {
  QImage image(1024, 768, QImage::Format_RGB888);
  image.fill(colour);
  return image;
}

struct MarkCase {
  const char* name;
  std::vector<QRect> marked;
  // Tiles (column, row) expected to be copied back; every other tile must stay.
  std::vector<QPoint> copied;
};

class DirtyTilesTest : public ::testing::TestWithParam<MarkCase> {};

TEST_P(DirtyTilesTest, CopiesBackExactlyTheTilesTouched) {
  const MarkCase& c = GetParam();
  const QImage layer = Filled(Qt::white);
  QImage drawn = Filled(Qt::red);
  DirtyTiles tiles;
  for (const QRect& rect : c.marked) tiles.Mark(rect);
  tiles.CopyBack(layer, drawn);
  EXPECT_TRUE(tiles.IsClean());
  for (int row = 0; row < 768 / kH; ++row) {
    for (int column = 0; column < 1024 / kW; ++column) {
      const bool copied =
          std::find(c.copied.begin(), c.copied.end(), QPoint(column, row)) != c.copied.end();
      // Both corners of the tile, so that a copy cut short within a tile shows too.
      for (const QPoint corner :
           {QPoint(column * kW, row * kH), QPoint(column * kW + kW - 1, row * kH + kH - 1)}) {
        EXPECT_EQ(drawn.pixelColor(corner), copied ? QColor(Qt::white) : QColor(Qt::red))
            << c.name << " tile " << column << "," << row;
      }
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rects, DirtyTilesTest,
    ::testing::Values(
        MarkCase{"nothing", {}, {}},
        MarkCase{"one pixel", {QRect(kW + 1, 2 * kH + kH / 2, 1, 1)}, {{1, 2}}},
        MarkCase{
            "across a tile edge", {QRect(kW - 1, kH - 1, 2, 2)}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        MarkCase{"last column and row", {QRect(1023, 767, 1, 1)}, {{1024 / kW - 1, 768 / kH - 1}}},
        MarkCase{"partly outside", {QRect(-50, -50, 51, 51)}, {{0, 0}}},
        MarkCase{"wholly outside", {QRect(2000, 10, 5, 5), QRect(10, -40, 5, 5)}, {}},
        MarkCase{"a box over three columns and two rows",
                 {QRect(kW - 1, kH + 1, kW + 2, kH)},
                 {{0, 1}, {1, 1}, {2, 1}, {0, 2}, {1, 2}, {2, 2}}},
        MarkCase{"two runs in a row",
                 {QRect(0, 12 * kH, 10, 1), QRect(1024 - kW - 2, 12 * kH, 10, 1)},
                 {{0, 12}, {1024 / kW - 2, 12}, {1024 / kW - 1, 12}}}));

TEST(DirtyTilesTest, MarkAllCopiesTheWholeImage) {
  const QImage layer = Filled(Qt::white);
  QImage drawn = Filled(Qt::red);
  DirtyTiles tiles;
  tiles.MarkAll();
  tiles.CopyBack(layer, drawn);
  EXPECT_EQ(drawn, layer);
}

}  // namespace
}  // namespace morvik
