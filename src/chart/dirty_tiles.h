#pragma once
// Which parts of a chart image differ from the month's layer it started from, in tiles of
// 32 × 8 pixels (flat, as the chart's bars and texts are). A chart covers a fraction of
// the image, so a buffer that drew one chart is brought back to the layer by copying
// those tiles only, not the whole image.

#include <QImage>
#include <QRect>

#include <array>
#include <cstdint>

namespace morvik {

class DirtyTiles {
 public:
  static constexpr int kTileWidth = 32;
  static constexpr int kTileHeight = 8;
  static constexpr int kColumns = 1024 / kTileWidth;
  static constexpr int kRows = 768 / kTileHeight;

  // Marks every tile that `rect` touches; the part outside the image is ignored.
  void Mark(const QRect& rect);
  void MarkAll();
  bool IsClean() const;
  // The tile columns with a marked tile in the pixel rows `top` to `bottom`, bit c for
  // column c (of kTileWidth pixels).
  std::uint32_t MarkedColumns(int top, int bottom) const;
  // Copies the marked tiles of `from` into `to` (both of the canvas's size and format)
  // and marks nothing any more.
  void CopyBack(const QImage& from, QImage& to);

 private:
  static_assert(kColumns <= 32, "one bit a tile column");
  std::array<std::uint32_t, kRows> rows_{};  // bit c of rows_[r]: tile (c, r) is marked
};

}  // namespace morvik
