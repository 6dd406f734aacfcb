#include "chart/layer_buffers.h"

#include <algorithm>
#include <atomic>
#include <cstring>

namespace morvik {
namespace {

// True when no other image shares the pixels any more. A saving thread lets go of its
// copy only after reading the pixels; the fence makes those reads complete before the
// buffer is written again.
bool IsFree(const QImage& image) {
  if (!image.isDetached()) return false;
  std::atomic_thread_fence(std::memory_order_acquire);
  return true;
}

// Layer numbers are unique in the process, so that images of different canvases never
// pass for images of the same layer.
quint64 NewLayerNumber() {
  static std::atomic<quint64> last{0};
  return ++last;
}

}  // namespace

LayerBuffers::LayerBuffers(QImage blank) : blank_(std::move(blank)), image_(blank_.copy()) {}

void LayerBuffers::StoreLayer() {
  layer_ = image_.copy();
  layerNumber_ = NewLayerNumber();
  imageLayer_ = layerNumber_;
  dirty_ = DirtyTiles();
}

void LayerBuffers::RestoreLayer() {
  TakeFreeBuffer();
  if (imageLayer_ == layerNumber_) {
    dirty_.CopyBack(layer_, image_);
  } else {
    std::memcpy(image_.bits(), layer_.constBits(), layer_.sizeInBytes());
    imageLayer_ = layerNumber_;
  }
  dirty_ = DirtyTiles();
}

// The image handed out last may still be being saved: drawing then goes on in a buffer
// handed out earlier and let go since, or in a new one.
void LayerBuffers::TakeFreeBuffer() {
  if (IsFree(image_)) return;
  retired_.push_back({std::move(image_), dirty_, imageLayer_});
  const auto free = std::find_if(retired_.begin(), retired_.end(),
                                 [](const Retired& buffer) { return IsFree(buffer.image); });
  if (free == retired_.end()) {
    image_ = blank_.copy();
    imageLayer_ = 0;
    if (retired_.size() > kRetiredLimit) retired_.erase(retired_.begin());
    return;
  }
  image_ = std::move(free->image);
  dirty_ = free->dirty;
  imageLayer_ = free->layer;
  retired_.erase(free);
}

ImageOrigin LayerBuffers::Origin() const {
  return OnLayer() ? ImageOrigin{layerNumber_, dirty_} : ImageOrigin{};
}

}  // namespace morvik
