#include "chart/layer_buffers.h"

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>

#include "core/platform/prefaulted_memory.h"

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

// A buffer's pixels, given back when the last image that shares them goes (on whichever
// thread that is).
struct PrefaultedPixels {
  void* memory = nullptr;
  std::size_t bytes = 0;

  static void Free(void* pixels) {
    std::unique_ptr<PrefaultedPixels> held(static_cast<PrefaultedPixels*>(pixels));
    platform::FreePrefaulted(held->memory, held->bytes);
  }
};

// A copy of `image`'s pixels and resolution in memory whose pages are there at once, on
// 2 MB pages where the system gives them: a run on two cores makes some half a dozen
// buffers of 2.4 MB, each otherwise touched for the first time page by page.
QImage PrefaultedCopy(const QImage& image) {
  auto held = std::make_unique<PrefaultedPixels>();
  held->bytes = static_cast<std::size_t>(image.sizeInBytes());
  held->memory = platform::AllocatePrefaulted(held->bytes);
  auto* pixels = static_cast<uchar*>(held->memory);
  std::memcpy(pixels, image.constBits(), held->bytes);
  QImage copy(pixels, image.width(), image.height(), image.bytesPerLine(), image.format(),
              &PrefaultedPixels::Free, held.get());
  if (copy.isNull()) {
    platform::FreePrefaulted(held->memory, held->bytes);
    return image.copy();
  }
  held.release();  // the image's now
  copy.setDotsPerMeterX(image.dotsPerMeterX());
  copy.setDotsPerMeterY(image.dotsPerMeterY());
  return copy;
}

}  // namespace

LayerBuffers::LayerBuffers(QImage blank)
    : blank_(std::move(blank)), image_(PrefaultedCopy(blank_)) {}

void LayerBuffers::StoreLayer() {
  layer_ = PrefaultedCopy(image_);
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
    image_ = PrefaultedCopy(blank_);
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
