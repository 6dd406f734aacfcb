#include "chart/mcu_transform.h"

#include <QString>

#include <algorithm>
#include <cstring>

#include "chart/jpeg_huffman.h"
#include "chart/jpeg_library.h"
#include "core/failures.h"

namespace morvik::jpeg {
namespace {

// MCUs a strip: wide enough that the library's set-up is small beside the work, and well
// within the widest image it takes (65,500 pixels).
constexpr int kMcusPerStrip = 1024;

std::vector<uint8_t> PackStrip(std::span<const McuKey> mcus) {
  const std::size_t stride = mcus.size() * kMcuRowBytes;
  std::vector<uint8_t> strip(stride * kMcuSide);
  for (std::size_t i = 0; i < mcus.size(); ++i) {
    for (int row = 0; row < kMcuSide; ++row) {
      std::memcpy(&strip[row * stride + i * kMcuRowBytes], mcus[i].pixels + row * kMcuRowBytes,
                  kMcuRowBytes);
    }
  }
  return strip;
}

void CheckStripLayout(const std::array<ComponentBlocks, 3>& components, int mcuCount) {
  const bool expected =
      components[0].widthInBlocks == 2 * mcuCount && components[0].heightInBlocks == 2 &&
      components[1].widthInBlocks == mcuCount && components[1].heightInBlocks == 1 &&
      components[2].widthInBlocks == mcuCount && components[2].heightInBlocks == 1;
  if (!expected) throw RunFailure(QStringLiteral("JPEG: the library laid out a strip otherwise"));
}

// The blocks of the strip's MCU `index`, in the file's order.
std::array<const Block*, kBlocksPerMcu> BlocksOf(const std::array<ComponentBlocks, 3>& components,
                                                 int index) {
  const ComponentBlocks& y = components[0];
  return {&y.At(2 * index, 0),     &y.At(2 * index + 1, 0),     &y.At(2 * index, 1),
          &y.At(2 * index + 1, 1), &components[1].At(index, 0), &components[2].At(index, 0)};
}

void TransformStrip(std::span<const McuKey> mcus, std::vector<McuCode>& out) {
  const int count = static_cast<int>(mcus.size());
  const std::vector<uint8_t> strip = PackStrip(mcus);
  const RgbPixels pixels{strip.data(), count * kMcuSide, kMcuSide,
                         static_cast<std::ptrdiff_t>(count) * kMcuRowBytes};
  const std::array<ComponentBlocks, 3> components =
      ReadQuantizedBlocks(CompressWithLibrary(pixels, Density{}));
  CheckStripLayout(components, count);
  for (int i = 0; i < count; ++i) {
    out.push_back(CodeMcu(BlocksOf(components, i)));
  }
}

}  // namespace

McuCode CodeMcu(const std::array<const Block*, kBlocksPerMcu>& blocks) {
  const BlockCoders& coders = LibraryBlockCoders();
  McuCode code;
  code.firstLumaDc = (*blocks[0])[0];
  code.lastLumaDc = (*blocks[3])[0];
  code.cbDc = (*blocks[4])[0];
  code.crDc = (*blocks[5])[0];
  PackedBits bits;
  coders.luma.AppendAcCodes(*blocks[0], bits);
  for (int b = 1; b < 4; ++b) {
    const Code dc = coders.luma.DcDifference((*blocks[b])[0] - (*blocks[b - 1])[0]);
    bits.Put(dc.bits, dc.length);
    coders.luma.AppendAcCodes(*blocks[b], bits);
  }
  code.bitCounts[0] = static_cast<uint16_t>(bits.bitCount());
  bits.AlignToByte();
  for (int b = 4; b < kBlocksPerMcu; ++b) {
    const uint32_t start = bits.bitCount();
    coders.chroma.AppendAcCodes(*blocks[b], bits);
    code.bitCounts[b - 3] = static_cast<uint16_t>(bits.bitCount() - start);
    bits.AlignToByte();
  }
  code.bits = bits.TakeBytes(kCodeReadAheadBytes);
  return code;
}

std::vector<McuCode> TransformMcus(std::span<const McuKey> mcus) {
  std::vector<McuCode> codes;
  codes.reserve(mcus.size());
  for (std::size_t first = 0; first < mcus.size(); first += kMcusPerStrip) {
    TransformStrip(mcus.subspan(first, std::min<std::size_t>(kMcusPerStrip, mcus.size() - first)),
                   codes);
  }
  return codes;
}

}  // namespace morvik::jpeg
