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

// One row of MCUs, each of four Y blocks (2 x 2), one Cb and one Cr: the file's order.
void CheckStripLayout(const QuantizedMcus& quantized, int mcuCount) {
  const bool expected = quantized.columns == mcuCount && quantized.rows == 1 &&
                        quantized.blocksPerMcu == kBlocksPerMcu &&
                        quantized.blockColumns == std::array{2, 1, 1} &&
                        quantized.blockRows == std::array{2, 1, 1};
  if (!expected) throw RunFailure(QStringLiteral("JPEG: the library laid out a strip otherwise"));
}

void TransformStrip(std::span<const McuKey> mcus, std::vector<McuCode>& out) {
  const int count = static_cast<int>(mcus.size());
  const std::vector<uint8_t> strip = PackStrip(mcus);
  const QuantizedMcus quantized =
      QuantizeWithLibrary({strip.data(), count * kMcuSide, kMcuSide,
                           static_cast<std::ptrdiff_t>(count) * kMcuRowBytes});
  CheckStripLayout(quantized, count);
  for (int i = 0; i < count; ++i) {
    const Block* mcu = &quantized.blocks[static_cast<std::size_t>(i) * kBlocksPerMcu];
    out.push_back(CodeMcu({mcu, mcu + 1, mcu + 2, mcu + 3, mcu + 4, mcu + 5}));
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
  bits.Reserve(8192);  // a kilobyte: room for all but the busiest MCUs at once
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
