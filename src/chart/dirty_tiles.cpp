#include "chart/dirty_tiles.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace morvik {

void DirtyTiles::Mark(const QRect& rect) {
  const QRect clipped = rect.normalized() & QRect(0, 0, kColumns * kTileWidth, kRows * kTileHeight);
  if (clipped.isEmpty()) return;
  const int firstColumn = clipped.left() / kTileWidth;
  const int lastColumn = clipped.right() / kTileWidth;
  const std::uint32_t columns =
      (lastColumn == 31 ? ~std::uint32_t{0} : (std::uint32_t{1} << (lastColumn + 1)) - 1) &
      ~((std::uint32_t{1} << firstColumn) - 1);
  for (int row = clipped.top() / kTileHeight; row <= clipped.bottom() / kTileHeight; ++row) {
    rows_[row] |= columns;
  }
}

void DirtyTiles::MarkAll() { rows_.fill(~std::uint32_t{0} >> (32 - kColumns)); }

bool DirtyTiles::IsClean() const {
  return std::all_of(rows_.begin(), rows_.end(), [](std::uint32_t r) { return r == 0; });
}

void DirtyTiles::CopyBack(const QImage& from, QImage& to) {
  const int bytesPerPixel = from.depth() / 8;
  const qsizetype fromLine = from.bytesPerLine();
  const qsizetype toLine = to.bytesPerLine();
  const uchar* fromBits = from.constBits();
  uchar* toBits = to.bits();
  for (int row = 0; row < kRows; ++row) {
    std::uint32_t columns = rows_[row];
    while (columns != 0) {
      // One run of neighbouring marked tiles at a time: one copy a scanline for the run.
      const int first = std::countr_zero(columns);
      const int length = std::countr_one(columns >> first);
      columns &= length + first >= 32 ? 0 : ~std::uint32_t{0} << (first + length);
      const std::size_t offset = std::size_t(first) * kTileWidth * bytesPerPixel;
      const std::size_t bytes = std::size_t(length) * kTileWidth * bytesPerPixel;
      for (int y = row * kTileHeight; y < (row + 1) * kTileHeight; ++y) {
        std::memcpy(toBits + y * toLine + offset, fromBits + y * fromLine + offset, bytes);
      }
    }
    rows_[row] = 0;
  }
}

}  // namespace morvik
