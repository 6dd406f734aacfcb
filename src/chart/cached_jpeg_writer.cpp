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

using CodedImage = McuCache::CodedImage;

// The entry of each MCU of the image that the cache holds, row by row; the others are
// noted in `newMcus`. An MCU with the pixels of the last chart's at the same place takes
// that entry without a hash (without even comparing where both hold the same layer's
// pixels); the cache is asked for the rest a row of MCUs at a time.
std::vector<SharedMcuEntry> FindMcus(const QImage& image, const ImageOrigin& origin,
                                     const CodedImage* last, McuCache& cache, NewMcus& newMcus) {
  const int columns = image.width() / kMcuSide;
  const int rows = image.height() / kMcuSide;
  const std::ptrdiff_t stride = image.bytesPerLine();
  std::vector<SharedMcuEntry> entries(static_cast<std::size_t>(columns) * rows);
  std::vector<uint8_t> rowPixels(static_cast<std::size_t>(columns) * kMcuBytes);
  std::vector<McuKey> keys;
  std::vector<int> keyPlaces;
  std::vector<SharedMcuEntry> found;
  for (int row = 0; row < rows; ++row) {
    keys.clear();
    keyPlaces.clear();
    const uint32_t sameLayer =
        last != nullptr
            ? origin.SameLayerColumns(last->origin, row * kMcuSide, (row + 1) * kMcuSide - 1)
            : 0;
    for (int column = 0; column < columns; ++column) {
      const int place = row * columns + column;
      const uint8_t* topLeft = image.constBits() + row * kMcuSide * stride + column * kMcuRowBytes;
      const McuEntry* before = last != nullptr ? last->entries[place].get() : nullptr;
      const int tileColumn = column * kMcuSide / DirtyTiles::kTileWidth;
      const bool layerPixels =
          tileColumn < DirtyTiles::kColumns && (sameLayer >> tileColumn & 1) != 0;
      if (before != nullptr && (layerPixels || HasPixelsOf(topLeft, stride, *before))) {
        entries[place] = last->entries[place];
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

// Codes the MCUs of `image` (its entries) into `image.scan`, noting where each starts.
// Where a run of MCUs repeats the last chart's at the same places, and so does the MCU
// before the run, the run's code is the last chart's bit for bit (its DC differences
// are all within the run): it is copied from the last chart's scan as one run of bits.
// The others are coded entry by entry: a DC difference, then the run of codes after it.
class ScanAssembler {
 public:
  ScanAssembler(CodedImage& image, const CodedImage* last) : image_(image), last_(last) {}

  void PutAll() {
    const std::size_t count = image_.entries.size();
    image_.mcuStarts.resize(count + 1);
    // A chart's scan is about half a byte a pixel.
    PackedBits& bits = image_.scan;
    bits.Reserve(count * kMcuSide * kMcuSide * 4);
    for (std::size_t place = 0; place < count;) {
      std::size_t end = place;
      while (end < count && RepeatsLast(end)) ++end;
      if (end > place) {
        CopyFromLast(place, end);
        place = end;
      } else {
        PutEntry(place++);
      }
    }
    image_.mcuStarts[count] = bits.bitCount();
    bits.Close(CodedImage::kScanReadAheadBytes);
  }

 private:
  bool RepeatsLast(std::size_t place) const {
    if (last_ == nullptr || image_.entries[place] != last_->entries[place]) return false;
    return place == 0 || image_.entries[place - 1] == last_->entries[place - 1];
  }

  void CopyFromLast(std::size_t first, std::size_t end) {
    const std::size_t from = last_->mcuStarts[first];
    const std::size_t to = image_.scan.bitCount();
    for (std::size_t place = first; place < end; ++place) {
      image_.mcuStarts[place] = to + (last_->mcuStarts[place] - from);
    }
    image_.scan.PutPacked(last_->scan.data(), from, last_->mcuStarts[end] - from);
    NowAfter(image_.entries[end - 1]->code);
  }

  void PutEntry(std::size_t place) {
    image_.mcuStarts[place] = image_.scan.bitCount();
    const McuCode& code = image_.entries[place]->code;
    const uint8_t* runs = code.bits.data();
    PutRun(coders_.luma, code.firstLumaDc - previousLuma_, runs, code.bitCounts[0]);
    PutRun(coders_.chroma, code.cbDc - previousCb_, runs, code.bitCounts[1]);
    PutRun(coders_.chroma, code.crDc - previousCr_, runs, code.bitCounts[2]);
    NowAfter(code);
  }

  // A DC difference, then the run of codes that follows it; `runs` moves to the next run.
  void PutRun(const BlockCoder& coder, int difference, const uint8_t*& runs, uint16_t bitCount) {
    const Code dc = coder.DcDifference(difference);
    image_.scan.Put(dc.bits, dc.length);
    image_.scan.PutPacked(runs, 0, bitCount);
    runs += (bitCount + 7) / 8;
  }

  void NowAfter(const McuCode& code) {
    previousLuma_ = code.lastLumaDc;
    previousCb_ = code.cbDc;
    previousCr_ = code.crDc;
  }

  CodedImage& image_;
  const CodedImage* last_;
  const BlockCoders& coders_ = LibraryBlockCoders();
  int previousLuma_ = 0;
  int previousCb_ = 0;
  int previousCr_ = 0;
};

}  // namespace

bool CanEncodeCached(const QImage& image) {
  return image.format() == QImage::Format_RGB888 && image.width() > 0 && image.height() > 0 &&
         image.width() % kMcuSide == 0 && image.height() % kMcuSide == 0 &&
         image.width() <= kLargestSide && image.height() <= kLargestSide &&
         image.textKeys().isEmpty() && !image.colorSpace().isValid();
}

QByteArray EncodeJpegCached(const QImage& image, McuCache& cache, const ImageOrigin& origin) {
  if (!CanEncodeCached(image)) {
    throw RunFailure(QStringLiteral("JPEG: the cached writer does not take this image"));
  }
  const McuCache::Use use(cache);
  if (!use) throw RunFailure(QStringLiteral("JPEG: the cache is coding another chart"));
  auto coded = std::make_shared<CodedImage>();
  coded->columns = image.width() / kMcuSide;
  coded->rows = image.height() / kMcuSide;
  coded->origin = origin;
  const std::shared_ptr<const CodedImage> last = cache.LastImage(coded->columns, coded->rows);
  NewMcus newMcus;
  coded->entries = FindMcus(image, origin, last.get(), cache, newMcus);
  newMcus.CodeInto(coded->entries, cache);
  ScanAssembler(*coded, last.get()).PutAll();

  QByteArray file;
  AppendFileHeader(file, image.width(), image.height(),
                   DensityOf(image.dotsPerMeterX(), image.dotsPerMeterY()), LibraryCodingTables());
  AppendStuffed(coded->scan.data(), coded->scan.bitCount(), file);
  AppendFileEnd(file);
  cache.SetLastImage(std::move(coded));
  return file;
}

}  // namespace morvik::jpeg
