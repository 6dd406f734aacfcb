#include "chart/cached_jpeg_writer.h"

#include <QColorSpace>

#include <cstring>
#include <unordered_map>

#include "chart/jpeg_bits.h"
#include "chart/jpeg_huffman.h"
#include "chart/jpeg_library.h"
#include "chart/jpeg_markers.h"
#include "chart/mcu_transform.h"
#include "core/failures.h"

namespace morvik::jpeg {
namespace {

constexpr int kLargestSide = 65500;  // the library's limit

// The MCUs of a chart that the cache does not hold, each distinct one once, and the
// places that need each.
class NewMcus {
 public:
  // MCU `place` needs the code of `key`'s pixels (copied if they are new).
  void Add(const McuKey& key, int place) {
    const auto [first, last] = byHash_.equal_range(key.hash);
    for (auto it = first; it != last; ++it) {
      if (std::memcmp(PixelsOf(it->second), key.pixels, kMcuBytes) == 0) {
        places_.emplace_back(place, it->second);
        return;
      }
    }
    const int index = static_cast<int>(hashes_.size());
    pixels_.insert(pixels_.end(), key.pixels, key.pixels + kMcuBytes);
    hashes_.push_back(key.hash);
    byHash_.emplace(key.hash, index);
    places_.emplace_back(place, index);
  }

  // Transforms the new MCUs, keeps them in the cache and gives their places their entries.
  void CodeInto(std::vector<SharedMcuEntry>& entries, McuCache& cache) const {
    if (hashes_.empty()) return;
    std::vector<McuKey> keys;
    keys.reserve(hashes_.size());
    for (std::size_t i = 0; i < hashes_.size(); ++i) {
      keys.push_back({PixelsOf(static_cast<int>(i)), hashes_[i]});
    }
    const std::vector<SharedMcuEntry> fresh = cache.InsertAll(keys, TransformMcus(keys));
    for (const auto& [place, index] : places_) entries[place] = fresh[index];
  }

 private:
  const uint8_t* PixelsOf(int index) const {
    return pixels_.data() + static_cast<std::size_t>(index) * kMcuBytes;
  }

  std::vector<uint8_t> pixels_;  // kMcuBytes each
  std::vector<uint64_t> hashes_;
  std::unordered_multimap<uint64_t, int> byHash_;
  std::vector<std::pair<int, int>> places_;  // place in the image, index of the new MCU
};

// The entry of each MCU of the image that the cache holds, row by row; the others are
// noted in `newMcus`. An MCU with the pixels of the last chart's at the same place takes
// that entry without a hash; the cache is asked for the rest a row of MCUs at a time.
std::vector<SharedMcuEntry> FindMcus(const QImage& image, McuCache& cache, NewMcus& newMcus) {
  const int columns = image.width() / kMcuSide;
  const int rows = image.height() / kMcuSide;
  const std::ptrdiff_t stride = image.bytesPerLine();
  const std::shared_ptr<const McuCache::Places> last = cache.LastAtPlaces(columns, rows);
  std::vector<SharedMcuEntry> entries(static_cast<std::size_t>(columns) * rows);
  std::vector<uint8_t> rowPixels(static_cast<std::size_t>(columns) * kMcuBytes);
  std::vector<McuKey> keys;
  std::vector<int> keyPlaces;
  std::vector<SharedMcuEntry> found;
  for (int row = 0; row < rows; ++row) {
    keys.clear();
    keyPlaces.clear();
    for (int column = 0; column < columns; ++column) {
      const int place = row * columns + column;
      const uint8_t* topLeft = image.constBits() + row * kMcuSide * stride + column * kMcuRowBytes;
      const McuEntry* before = last != nullptr ? (*last)[place].get() : nullptr;
      if (before != nullptr && HasPixelsOf(topLeft, stride, *before)) {
        entries[place] = (*last)[place];
        continue;
      }
      keys.push_back(GatherMcu(topLeft, stride, &rowPixels[keys.size() * kMcuBytes]));
      keyPlaces.push_back(place);
    }
    found.assign(keys.size(), nullptr);
    cache.FindAll(keys, found);
    for (std::size_t i = 0; i < keys.size(); ++i) {
      if (found[i] != nullptr) {
        entries[keyPlaces[i]] = std::move(found[i]);
      } else {
        newMcus.Add(keys[i], keyPlaces[i]);
      }
    }
  }
  return entries;
}

void PutMcus(const std::vector<SharedMcuEntry>& entries, ScanWriter& scan) {
  const BlockCoders& coders = LibraryBlockCoders();
  int previousLuma = 0, previousCb = 0, previousCr = 0;
  // A DC difference, then the run of codes that follows it.
  const auto put = [&scan](const BlockCoder& coder, int difference, const uint8_t*& bits,
                           uint16_t bitCount) {
    const Code dc = coder.DcDifference(difference);
    scan.Put(dc.bits, dc.length);
    scan.PutPacked(bits, bitCount);
    bits += (bitCount + 7) / 8;
  };
  for (const SharedMcuEntry& entry : entries) {
    const McuCode* code = &entry->code;
    const uint8_t* bits = code->bits.data();
    put(coders.luma, code->firstLumaDc - previousLuma, bits, code->bitCounts[0]);
    put(coders.chroma, code->cbDc - previousCb, bits, code->bitCounts[1]);
    put(coders.chroma, code->crDc - previousCr, bits, code->bitCounts[2]);
    previousLuma = code->lastLumaDc;
    previousCb = code->cbDc;
    previousCr = code->crDc;
  }
}

}  // namespace

bool CanEncodeCached(const QImage& image) {
  return image.format() == QImage::Format_RGB888 && image.width() > 0 && image.height() > 0 &&
         image.width() % kMcuSide == 0 && image.height() % kMcuSide == 0 &&
         image.width() <= kLargestSide && image.height() <= kLargestSide &&
         image.textKeys().isEmpty() && !image.colorSpace().isValid();
}

QByteArray EncodeJpegCached(const QImage& image, McuCache& cache) {
  if (!CanEncodeCached(image)) {
    throw RunFailure(QStringLiteral("JPEG: the cached writer does not take this image"));
  }
  NewMcus newMcus;
  std::vector<SharedMcuEntry> entries = FindMcus(image, cache, newMcus);
  newMcus.CodeInto(entries, cache);

  QByteArray file;
  AppendFileHeader(file, image.width(), image.height(),
                   DensityOf(image.dotsPerMeterX(), image.dotsPerMeterY()), LibraryCodingTables());
  // A chart's scan is about half a byte a pixel.
  ScanWriter scan(file, qsizetype{image.width()} * image.height() / 2);
  PutMcus(entries, scan);
  scan.Finish();
  AppendFileEnd(file);
  cache.SetLastAtPlaces(image.width() / kMcuSide, image.height() / kMcuSide, std::move(entries));
  return file;
}

}  // namespace morvik::jpeg
