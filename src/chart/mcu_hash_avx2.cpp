// XXH3 of an MCU's pixels, from the library's header with everything inlined and compiled
// for AVX2 (this file alone): with the length fixed and 32-byte vectors, it takes a
// fraction of the library's call, which its build for any x86-64 processor does 16 bytes
// at a time. The hash is XXH3's, the same whichever way it is computed.
#define XXH_INLINE_ALL
#include <xxhash.h>

#include "chart/mcu_cache.h"

namespace morvik::jpeg {

uint64_t HashMcuWithAvx2(const uint8_t* pixels) { return XXH3_64bits(pixels, kMcuBytes); }

}  // namespace morvik::jpeg
