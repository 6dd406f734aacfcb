#include "chart/jpeg_huffman.h"

#include <QString>

#include <bit>
#include <cstdlib>

#include "chart/jpeg_zigzag.h"
#include "core/failures.h"

namespace morvik::jpeg {
namespace {

constexpr uint8_t kEndOfBlock = 0x00;
constexpr uint8_t kSixteenZeros = 0xF0;

// The size category of a value (bits of its magnitude), and those low bits: the value
// itself when positive, one less when negative (its ones' complement).
int Category(int value) { return std::bit_width(static_cast<unsigned>(std::abs(value))); }

uint32_t ExtraBits(int value, int category) {
  const int bits = value < 0 ? value - 1 : value;
  return static_cast<uint32_t>(bits) & ((1u << category) - 1);
}

Code Joined(const Code& code, uint32_t extra, int extraLength) {
  return {code.bits << extraLength | extra, code.length + extraLength};
}

[[noreturn]] void ThrowBeyondRange(const char* what, int value) {
  throw RunFailure(QStringLiteral("JPEG: %1 %2 is beyond 8-bit samples").arg(what).arg(value));
}

}  // namespace

std::array<Code, 256> CodesOf(const HuffmanSpec& huffman) {
  std::array<Code, 256> codes{};
  uint32_t next = 0;
  std::size_t symbol = 0;
  for (int length = 1; length <= 16; ++length) {
    for (int i = 0; i < huffman.counts[length - 1]; ++i, ++next, ++symbol) {
      if (symbol >= huffman.symbols.size() || next >= (1u << length)) {
        throw RunFailure(QStringLiteral("JPEG: a Huffman table with too many codes"));
      }
      codes[huffman.symbols[symbol]] = {next, length};
    }
    next <<= 1;
  }
  return codes;
}

BlockCoder::BlockCoder(const HuffmanSpec& dc, const HuffmanSpec& ac) : ac_(CodesOf(ac)) {
  const std::array<Code, 256> categories = CodesOf(dc);
  dcDifferences_.reserve(2 * kMaxDcDifference + 1);
  for (int difference = -kMaxDcDifference; difference <= kMaxDcDifference; ++difference) {
    const int category = Category(difference);
    dcDifferences_.push_back(
        categories[category].length == 0
            ? Code{}
            : Joined(categories[category], ExtraBits(difference, category), category));
  }
  acValues_.reserve(2 * kMaxAcValue + 1);
  for (int value = -kMaxAcValue; value <= kMaxAcValue; ++value) {
    const int category = Category(value);
    acValues_.push_back(ExtraBits(value, category) << 4 | static_cast<uint32_t>(category));
  }
}

Code BlockCoder::DcDifference(int difference) const {
  if (std::abs(difference) > kMaxDcDifference) ThrowBeyondRange("DC difference", difference);
  const Code& code = dcDifferences_[difference + kMaxDcDifference];
  if (code.length == 0) ThrowBeyondRange("DC difference", difference);
  return code;
}

void BlockCoder::AppendAcCodes(const Block& block, PackedBits& out) const {
  // The values in zigzag order, and which of them are not zero: most blocks of a chart
  // have long runs of zeros, which are then skipped at once.
  int16_t values[64];
  uint64_t nonzero = 0;
  for (int k = 1; k < 64; ++k) {
    values[k] = block[kZigzagOrder[k]];
    nonzero |= uint64_t{values[k] != 0} << k;
  }
  int previous = 0;  // the last nonzero value's place, or the DC's
  for (; nonzero != 0; nonzero &= nonzero - 1) {
    const int k = std::countr_zero(nonzero);
    int zeros = k - previous - 1;
    for (; zeros > 15; zeros -= 16) out.Put(ac_[kSixteenZeros].bits, ac_[kSixteenZeros].length);
    const auto index = static_cast<unsigned>(values[k] + kMaxAcValue);
    if (index > 2 * kMaxAcValue) ThrowBeyondRange("AC value", values[k]);
    const uint32_t sized = acValues_[index];
    const int category = static_cast<int>(sized & 0xF);
    const Code& code = ac_[zeros << 4 | category];
    if (code.length == 0) ThrowBeyondRange("AC value", values[k]);
    out.Put(code.bits << category | sized >> 4, code.length + category);
    previous = k;
  }
  if (previous != 63) out.Put(ac_[kEndOfBlock].bits, ac_[kEndOfBlock].length);
}

const BlockCoders& LibraryBlockCoders() {
  static const BlockCoders coders{
      BlockCoder(LibraryCodingTables().lumaDc, LibraryCodingTables().lumaAc),
      BlockCoder(LibraryCodingTables().chromaDc, LibraryCodingTables().chromaAc)};
  return coders;
}

}  // namespace morvik::jpeg
