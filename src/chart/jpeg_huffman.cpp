#include "chart/jpeg_huffman.h"

#include <QString>

#include <bit>
#include <cstdlib>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

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

// Which of a block's values (row by row) are not zero, as the bits of a word.
uint64_t NonzeroValues(const Block& block) {
#if defined(__SSE2__)
  uint64_t nonzero = 0;
  for (int i = 0; i < 4; ++i) {
    const auto* at = reinterpret_cast<const __m128i*>(block.data() + 16 * i);
    // Narrowed with saturation, a value is zero exactly when it was.
    const __m128i narrowed = _mm_packs_epi16(_mm_loadu_si128(at), _mm_loadu_si128(at + 1));
    const auto zeros = static_cast<unsigned>(
        _mm_movemask_epi8(_mm_cmpeq_epi8(narrowed, _mm_setzero_si128())));
    nonzero |= uint64_t{~zeros & 0xFFFFu} << (16 * i);
  }
  return nonzero;
#else
  uint64_t nonzero = 0;
  for (int i = 0; i < 64; ++i) nonzero |= uint64_t{block[i] != 0} << i;
  return nonzero;
#endif
}

// For each row of a block and each set of its values (a byte, one bit a column), the
// bits of their places in zigzag order.
constexpr auto kZigzagPlacesOfRow = [] {
  std::array<int, 64> place{};
  for (int k = 0; k < 64; ++k) place[kZigzagOrder[k]] = k;
  std::array<std::array<uint64_t, 256>, 8> places{};
  for (int row = 0; row < 8; ++row) {
    for (int set = 0; set < 256; ++set) {
      for (int column = 0; column < 8; ++column) {
        if ((set >> column & 1) != 0) places[row][set] |= uint64_t{1} << place[row * 8 + column];
      }
    }
  }
  return places;
}();

// Bits of places row by row moved to their places in zigzag order.
uint64_t InZigzagOrder(uint64_t rowByRow) {
  uint64_t zigzag = 0;
  for (int row = 0; row < 8; ++row) zigzag |= kZigzagPlacesOfRow[row][rowByRow >> (8 * row) & 0xFF];
  return zigzag;
}

// Codes gathered in a word, which goes to `out` 32 bits at a time: most codes are a few
// bits long, far fewer than PackedBits takes in one call.
class GatheredBits {
 public:
  explicit GatheredBits(PackedBits& out) : out_(out) {}

  // `count` (0..32) low bits of `value`; the higher bits must be zero.
  void Put(uint32_t value, int count) {
    word_ = word_ << count | value;  // the bits above held_ are left over from earlier ones
    held_ += count;
    if (held_ >= 32) {
      held_ -= 32;
      out_.Put(static_cast<uint32_t>(word_ >> held_), 32);
    }
  }

  void Flush() { out_.Put(static_cast<uint32_t>(word_) & ((uint32_t{1} << held_) - 1), held_); }

 private:
  PackedBits& out_;
  uint64_t word_ = 0;
  int held_ = 0;  // below 32 between calls
};

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

BlockCoder::BlockCoder(const HuffmanSpec& dc, const HuffmanSpec& ac) {
  const std::array<Code, 256> categories = CodesOf(dc);
  dcDifferences_.reserve(2 * kMaxDcDifference + 1);
  for (int difference = -kMaxDcDifference; difference <= kMaxDcDifference; ++difference) {
    const int category = Category(difference);
    dcDifferences_.push_back(
        categories[category].length == 0
            ? Code{}
            : Joined(categories[category], ExtraBits(difference, category), category));
  }
  const std::array<Code, 256> symbols = CodesOf(ac);
  for (int symbol = 0; symbol < 256; ++symbol) {
    const int category = symbol & 0xF;
    acSymbols_[symbol] =
        symbols[symbol].length == 0 ? Code{} : Joined(symbols[symbol], 0, category);
  }
  sixteenZeros_ = symbols[kSixteenZeros];
  endOfBlock_ = symbols[kEndOfBlock];
  acValues_.reserve(2 * kMaxAcValue + 1);
  acValuesAfterNoZeros_.reserve(2 * kMaxAcValue + 1);
  for (int value = -kMaxAcValue; value <= kMaxAcValue; ++value) {
    const int category = Category(value);
    const uint32_t extra = ExtraBits(value, category);
    acValues_.push_back(extra << 4 | static_cast<uint32_t>(category));
    const Code& symbol = acSymbols_[category];  // no zeros before
    acValuesAfterNoZeros_.push_back(
        symbol.length == 0 ? 0 : (symbol.bits | extra) << 5 | static_cast<uint32_t>(symbol.length));
  }
}

Code BlockCoder::DcDifference(int difference) const {
  if (std::abs(difference) > kMaxDcDifference) ThrowBeyondRange("DC difference", difference);
  const Code& code = dcDifferences_[difference + kMaxDcDifference];
  if (code.length == 0) ThrowBeyondRange("DC difference", difference);
  return code;
}

void BlockCoder::AppendAcCodes(const Block& block, PackedBits& out) const {
  // The places of the values that are not zero, in zigzag order, visited one after the
  // other: both the long runs of zeros in flat parts of a chart and the dense blocks
  // around its text take only as many steps as there are values to code.
  uint64_t nonzero = InZigzagOrder(NonzeroValues(block)) & ~uint64_t{1};  // not the DC
  // Read through locals: the stores of the bits could alias the members.
  const Code* const symbols = acSymbols_.data();
  const uint32_t* const values = acValues_.data();
  const uint32_t* const afterNoZeros = acValuesAfterNoZeros_.data();
  GatheredBits bits(out);
  int previous = 0;  // the last nonzero value's place, or the DC's
  for (; nonzero != 0; nonzero &= nonzero - 1) {
    const int k = std::countr_zero(nonzero);
    const int value = block[kZigzagOrder[k]];
    const auto index = static_cast<unsigned>(value + kMaxAcValue);
    if (index > 2 * kMaxAcValue) ThrowBeyondRange("AC value", value);
    int zeros = k - previous - 1;
    previous = k;
    Code code;
    if (zeros == 0) {  // most values of the dense blocks around a chart's text
      const uint32_t joined = afterNoZeros[index];
      code = {joined >> 5, static_cast<int>(joined & 0x1F)};
    } else {
      for (; zeros > 15; zeros -= 16) bits.Put(sixteenZeros_.bits, sixteenZeros_.length);
      const uint32_t sized = values[index];
      const Code& symbol = symbols[zeros << 4 | (sized & 0xF)];
      code = {symbol.bits | sized >> 4, symbol.length};
    }
    if (code.length == 0) ThrowBeyondRange("AC value", value);
    bits.Put(code.bits, code.length);
  }
  if (previous != 63) bits.Put(endOfBlock_.bits, endOfBlock_.length);
  bits.Flush();
}

const BlockCoders& LibraryBlockCoders() {
  static const BlockCoders coders{
      BlockCoder(LibraryCodingTables().lumaDc, LibraryCodingTables().lumaAc),
      BlockCoder(LibraryCodingTables().chromaDc, LibraryCodingTables().chromaAc)};
  return coders;
}

}  // namespace morvik::jpeg
