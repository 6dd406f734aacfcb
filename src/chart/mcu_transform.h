#pragma once
// New MCUs turned into their codes: libjpeg-turbo transforms them, this program codes
// the AC values.
//
// The MCUs are packed side by side into a strip image one MCU high, which the library
// transforms with the program's settings; their quantized blocks are taken as they reach
// its Huffman coder, which never runs.
// Colour conversion and the DCT work on one pixel and one block at a time, and the 2 x 2
// averaging of Cb and Cr on pixel pairs that never cross an MCU's edge, in the same
// rounding pattern for every MCU; so each MCU's blocks in the strip are those it has in
// any image.

#include <span>
#include <vector>

#include "chart/jpeg_library.h"
#include "chart/mcu_cache.h"

namespace morvik::jpeg {

// The code of an MCU of these blocks (in the file's order). Throws RunFailure for values
// beyond the range of 8-bit samples.
McuCode CodeMcu(const std::array<const Block*, kBlocksPerMcu>& blocks);

// The code of each MCU, in order. Throws RunFailure when the library fails.
std::vector<McuCode> TransformMcus(std::span<const McuKey> mcus);

}  // namespace morvik::jpeg
