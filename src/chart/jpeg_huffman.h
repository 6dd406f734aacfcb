#pragma once
// Huffman coding of quantized blocks, as a baseline JPG codes them: a block's DC value
// as its difference from the previous block's of the same component (a size category,
// then that many bits), then its AC values in zigzag order as runs of zeros before each
// nonzero value (16 zeros in a row as ZRL, the zeros after the last one as EOB).

#include <array>
#include <cstdint>
#include <vector>

#include "chart/jpeg_bits.h"
#include "chart/jpeg_library.h"

namespace morvik::jpeg {

// A code and its length in bits; length 0 means the table has no code for the symbol.
struct Code {
  uint32_t bits = 0;
  int length = 0;
};

// The code of each symbol of a table, assigned in the order that the file states.
// Throws RunFailure for a table that cannot be a Huffman table.
std::array<Code, 256> CodesOf(const HuffmanSpec& huffman);

// Codes a component class's (luma's or chroma's) blocks.
class BlockCoder {
 public:
  BlockCoder(const HuffmanSpec& dc, const HuffmanSpec& ac);

  // The DC difference's code and extra bits, as one code. Throws RunFailure beyond the
  // range that 8-bit samples give.
  Code DcDifference(int difference) const;

  // Appends the codes of the block's AC values. Throws RunFailure for a value beyond the
  // range that 8-bit samples give.
  void AppendAcCodes(const Block& block, PackedBits& out) const;

 private:
  static constexpr int kMaxDcDifference = 2047;
  static constexpr int kMaxAcValue = 1023;
  std::vector<Code> dcDifferences_;  // index difference + kMaxDcDifference
  // Each AC symbol's code followed by room for the extra bits of its size category (its
  // low four bits), all zero.
  std::array<Code, 256> acSymbols_;
  Code sixteenZeros_;
  Code endOfBlock_;
  // For each AC value (index value + kMaxAcValue), its extra bits and, in the low four
  // bits, its size category.
  std::vector<uint32_t> acValues_;
  // The same values' whole codes when no zeros come before them, code << 5 | length.
  std::vector<uint32_t> acValuesAfterNoZeros_;
};

// The coders of the tables the library's settings give: luma's for the four Y blocks of
// an MCU, chroma's for Cb and Cr.
struct BlockCoders {
  BlockCoder luma;
  BlockCoder chroma;
};
const BlockCoders& LibraryBlockCoders();

}  // namespace morvik::jpeg
