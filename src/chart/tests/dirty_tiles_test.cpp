#include "chart/dirty_tiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

namespace morvik {
namespace {

constexpr int kTile = DirtyTiles::kTileSize;

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
  for (int row = 0; row < 768 / kTile; ++row) {
    for (int column = 0; column < 1024 / kTile; ++column) {
      const bool copied = std::find(c.copied.begin(), c.copied.end(), QPoint(column, row)) !=
                          c.copied.end();
      // Both corners of the tile, so that a copy cut short within a tile shows too.
      for (const QPoint corner : {QPoint(column * kTile, row * kTile),
                                  QPoint(column * kTile + kTile - 1, row * kTile + kTile - 1)}) {
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
        MarkCase{"one pixel", {QRect(33, 70, 1, 1)}, {{1, 2}}},
        MarkCase{"across a tile edge", {QRect(31, 31, 2, 2)}, {{0, 0}, {1, 0}, {0, 1}, {1, 1}}},
        MarkCase{"last column and row", {QRect(1023, 767, 1, 1)}, {{31, 23}}},
        MarkCase{"partly outside", {QRect(-50, -50, 60, 60)}, {{0, 0}}},
        MarkCase{"wholly outside", {QRect(2000, 10, 5, 5), QRect(10, -40, 5, 5)}, {}},
        MarkCase{"upside down", {QRect(QPoint(70, 40), QPoint(60, 33))}, {{1, 1}, {2, 1}}},
        MarkCase{"two runs in a row",
                 {QRect(0, 100, 10, 1), QRect(990, 100, 10, 1)},
                 {{0, 3}, {30, 3}, {31, 3}}}));

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
