#include "chart/cached_jpeg_writer.h"

#include <QColorSpace>

#include <cstring>
#include <unordered_map>

#include "chart/jpeg_bits.h"
#include "chart/jpeg_huffman.h"
#include "chart/jpeg_library.h"
#include "chart/jpeg_markers.h"
#include "chart/mcu_transform.h"

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

  // Transforms the new MCUs, gives their places their codes and keeps them in the cache.
  void CodeInto(std::vector<SharedMcuCode>& codes, McuCache& cache) const {
    if (hashes_.empty()) return;
    std::vector<McuKey> keys;
    keys.reserve(hashes_.size());
    for (std::size_t i = 0; i < hashes_.size(); ++i) {
      keys.push_back({PixelsOf(static_cast<int>(i)), hashes_[i]});
    }
    const std::vector<SharedMcuCode> fresh = TransformMcus(keys);
    for (const auto& [place, index] : places_) codes[place] = fresh[index];
    cache.InsertAll(keys, fresh);
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

// The code of each MCU of the image that the cache holds, row by row; the others are
// noted in `newMcus`. The cache is asked a row of MCUs at a time.
std::vector<SharedMcuCode> FindMcus(const QImage& image, McuCache& cache, NewMcus& newMcus) {
  const int columns = image.width() / kMcuSide;
  const int rows = image.height() / kMcuSide;
  const std::ptrdiff_t stride = image.bytesPerLine();
  std::vector<SharedMcuCode> codes(static_cast<std::size_t>(columns) * rows);
  std::vector<uint8_t> rowPixels(static_cast<std::size_t>(columns) * kMcuBytes);
  std::vector<McuKey> keys(columns);
  for (int row = 0; row < rows; ++row) {
    const uint8_t* top = image.constBits() + row * kMcuSide * stride;
    for (int column = 0; column < columns; ++column) {
      keys[column] = GatherMcu(top + column * kMcuRowBytes, stride,
                               &rowPixels[static_cast<std::size_t>(column) * kMcuBytes]);
    }
    const std::span<SharedMcuCode> rowCodes(&codes[static_cast<std::size_t>(row) * columns],
                                            columns);
    cache.FindAll(keys, rowCodes);
    for (int column = 0; column < columns; ++column) {
      if (rowCodes[column] == nullptr) newMcus.Add(keys[column], row * columns + column);
    }
  }
  return codes;
}

void PutMcus(const std::vector<SharedMcuCode>& codes, ScanWriter& scan) {
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
  for (const SharedMcuCode& code : codes) {
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
  NewMcus newMcus;
  std::vector<SharedMcuCode> codes = FindMcus(image, cache, newMcus);
  newMcus.CodeInto(codes, cache);

  QByteArray file;
  AppendFileHeader(file, image.width(), image.height(),
                   DensityOf(image.dotsPerMeterX(), image.dotsPerMeterY()), LibraryCodingTables());
  ScanWriter scan(file, image.width() * image.height() / 4);
  PutMcus(codes, scan);
  scan.Finish();
  AppendFileEnd(file);
  return file;
}

}  // namespace morvik::jpeg
