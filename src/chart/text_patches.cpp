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

void TextPatches::CopyInto(const QImage& patch, const QRect& area, QImage& image) {
  const int bytesPerPixel = image.depth() / 8;
  const std::size_t bytes = std::size_t(area.width()) * bytesPerPixel;
  const std::size_t offset = std::size_t(area.left()) * bytesPerPixel;
  for (int y = 0; y < area.height(); ++y) {
    std::memcpy(image.scanLine(area.top() + y) + offset, patch.constScanLine(y), bytes);
  }
}

}  // namespace morvik
