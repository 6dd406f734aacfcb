#pragma once
// What the canvas knows of a chart image it hands out: outside the tiles it marks, the
// pixels are those of one month's layer. Two images of the same layer so share every
// pixel of the tiles that neither marks, which spares the JPG writer comparing them.

#include <QtGlobal>

#include <cstdint>

#include "chart/dirty_tiles.h"

namespace morvik {

struct ImageOrigin {
  quint64 layer = 0;  // no other layer of the process has the number; 0: nothing known
  DirtyTiles drawn;   // the tiles that may differ from the layer

  // The tile columns (DirtyTiles::kTileWidth pixels wide, bit c for column c) in which
  // this image and `other` both hold their layer's pixels from pixel row `top` to
  // `bottom`, when it is the same layer; none otherwise.
  std::uint32_t SameLayerColumns(const ImageOrigin& other, int top, int bottom) const {
    if (layer == 0 || layer != other.layer) return 0;
    return ~(drawn.MarkedColumns(top, bottom) | other.drawn.MarkedColumns(top, bottom));
  }
};

}  // namespace morvik
