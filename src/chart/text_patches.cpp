#include "chart/text_patches.h"

#include <cstring>

namespace morvik {

const QImage* TextPatches::Find(const Key& key) const {
  const auto found = patches_.find(key);
  return found == patches_.end() ? nullptr : &found->second;
}

void TextPatches::Keep(const Key& key, QImage patch) {
  if (patches_.size() >= kLimit) patches_.clear();
  patches_.insert_or_assign(key, std::move(patch));
}

void TextPatches::CopyInto(const QImage& patch, const QRect& area, const QRegion& keepOut,
                           QImage& image) {
  const int bytesPerPixel = image.depth() / 8;
  uchar* const bits = image.bits();
  for (const QRect& part : QRegion(area).subtracted(keepOut)) {
    const std::size_t bytes = std::size_t(part.width()) * bytesPerPixel;
    for (int y = part.top(); y <= part.bottom(); ++y) {
      uchar* to = bits + std::size_t(y) * image.bytesPerLine() + std::size_t(part.left()) * bytesPerPixel;
      const uchar* from = patch.constScanLine(y - area.top()) +
                          std::size_t(part.left() - area.left()) * bytesPerPixel;
      std::memcpy(to, from, bytes);
    }
  }
}

}  // namespace morvik
