#include "chart/dirty_tiles.h"

#include <algorithm>
#include <bit>
#include <cstring>

namespace morvik {

namespace {

// The tile columns from `first` to `last`, a bit each.
std::uint32_t ColumnBits(int first, int last) {
  return (last == 31 ? ~std::uint32_t{0} : (std::uint32_t{1} << (last + 1)) - 1) &
         ~((std::uint32_t{1} << first) - 1);
}

}  // namespace

void DirtyTiles::Mark(const QRect& rect) {
  const QRect clipped = rect.normalized() & QRect(0, 0, kColumns * kTileWidth, kRows * kTileHeight);
  if (clipped.isEmpty()) return;
  const std::uint32_t columns =
      ColumnBits(clipped.left() / kTileWidth, clipped.right() / kTileWidth);
  for (int row = clipped.top() / kTileHeight; row <= clipped.bottom() / kTileHeight; ++row) {
    rows_[row] |= columns;
  }
}

std::uint32_t DirtyTiles::MarkedColumns(int top, int bottom) const {
  std::uint32_t columns = 0;
  const int last = std::min(bottom / kTileHeight, kRows - 1);
  for (int row = std::max(top / kTileHeight, 0); row <= last; ++row) columns |= rows_[row];
  return columns;
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
