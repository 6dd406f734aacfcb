#pragma once
// Which parts of a chart image differ from the month's layer it started from, in tiles of
// 32 × 32 pixels. A chart covers a fraction of the image, so a buffer that drew one chart
// is brought back to the layer by copying those tiles only, not the whole image.

#include <QImage>
#include <QRect>

#include <array>
#include <cstdint>

namespace morvik {

class DirtyTiles {
 public:
  static constexpr int kTileSize = 32;

  // Marks every tile that `rect` touches; the part outside the image is ignored.
  void Mark(const QRect& rect);
  void MarkAll();
  bool IsClean() const;
  // Copies the marked tiles of `from` into `to` (both of the canvas's size and format)
  // and marks nothing any more.
  void CopyBack(const QImage& from, QImage& to);

 private:
  static constexpr int kColumns = 1024 / kTileSize;
  static constexpr int kRows = 768 / kTileSize;
  static_assert(kColumns <= 32, "one bit a tile column");
  std::array<std::uint32_t, kRows> rows_{};  // bit c of rows_[r]: tile (c, r) is marked
};

}  // namespace morvik
