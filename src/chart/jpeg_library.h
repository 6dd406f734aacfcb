#pragma once
// What the program's JPG files take from libjpeg-turbo: the settings they have always been
// written with (those of Qt's image writer at quality 100: baseline, 4:2:0, the standard
// Huffman tables), the transform of pixels into quantized coefficients, and the tables.
// The cached writer codes and assembles the file itself on top of these.

#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

namespace morvik::jpeg {

// The density the file's JFIF header states. Unit 1 is dots per inch, 2 dots per cm.
struct Density {
  uint8_t unit = 1;
  uint16_t x = 1;
  uint16_t y = 1;
  friend bool operator==(const Density&, const Density&) = default;
};

// 24-bit RGB pixels, `stride` bytes from one row to the next.
struct RgbPixels {
  const uint8_t* data = nullptr;
  int width = 0;
  int height = 0;
  std::ptrdiff_t stride = 0;
};

// A whole JPG file of `pixels`, written by the library with the program's settings.
// Throws RunFailure when the library refuses (an empty or oversized image, no memory).
std::vector<uint8_t> CompressWithLibrary(const RgbPixels& pixels, Density density);

// Quantized coefficients of one 8 x 8 block, row by row (not in zigzag order).
using Block = std::array<int16_t, 64>;

// The blocks of one component, row by row.
struct ComponentBlocks {
  int widthInBlocks = 0;
  int heightInBlocks = 0;
  std::vector<Block> blocks;
  const Block& At(int column, int row) const {
    return blocks[static_cast<std::size_t>(row) * widthInBlocks + column];
  }
};

// The coefficients of Y, Cb and Cr as stored in a file that CompressWithLibrary wrote.
// Throws RunFailure for a file the library cannot read or of another layout.
std::array<ComponentBlocks, 3> ReadQuantizedBlocks(const std::vector<uint8_t>& file);

// Quantized blocks in the order that the file codes them: MCU after MCU, row by row; in
// an MCU, Y's blocks, then Cb's, then Cr's, each component's row by row.
struct QuantizedMcus {
  int columns = 0;  // MCUs across the image
  int rows = 0;
  // Each component's blocks in an MCU, across and down.
  std::array<int, 3> blockColumns{};
  std::array<int, 3> blockRows{};
  int blocksPerMcu = 0;
  std::vector<Block> blocks;
};

// The blocks that CompressWithLibrary would code for `pixels`, taken from the library
// as they reach its Huffman coder; no file is written. Throws RunFailure when the
// library refuses.
QuantizedMcus QuantizeWithLibrary(const RgbPixels& pixels);

// A Huffman table as a file states it: how many codes have each length 1..16, then the
// symbols in the order of their codes.
struct HuffmanSpec {
  std::array<uint8_t, 16> counts{};
  std::vector<uint8_t> symbols;
};

// The tables that the library's settings give. Quantization steps are row by row.
struct CodingTables {
  std::array<std::array<uint16_t, 64>, 2> quantization{};  // luma, chroma
  HuffmanSpec lumaDc, lumaAc, chromaDc, chromaAc;
};

// Taken from the library once; the same for every image.
const CodingTables& LibraryCodingTables();

}  // namespace morvik::jpeg
