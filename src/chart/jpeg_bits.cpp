#include "chart/jpeg_bits.h"

#include <QtEndian>

#include <array>
#include <bit>
#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#define MORVIK_STUFF_BY_VECTORS 1
#include <immintrin.h>
#endif

namespace morvik::jpeg {

namespace {

// The 64 bits of `bytes` from bit `bit` on.
uint64_t WordAt(const uint8_t* bytes, std::size_t bit) {
  const uint8_t* at = bytes + bit / 8;
  const int skip = static_cast<int>(bit % 8);
  const uint64_t word = qFromBigEndian<uint64_t>(at);
  return skip == 0 ? word : word << skip | at[8] >> (8 - skip);
}

// Byte j of `to` becomes the 8 bits of `from` that start `skip` (1..7) bits into byte j,
// 16 bytes at a time where the processor has them, for up to `bytes` bytes (reading one
// byte beyond); gives how many it wrote. A copied run of a chart's code is mostly whole
// words, and most of the scan is copied runs.
std::size_t CopyShifted(const uint8_t* from, uint8_t* to, std::size_t bytes, int skip) {
  std::size_t done = 0;
#if defined(__SSE2__)
  // Shifting 16-bit lanes moves bits across the two bytes of a lane: the masks keep
  // each byte's own bits, and its neighbour's come from the load one byte further on.
  const __m128i ownBits = _mm_set1_epi8(static_cast<char>(0xFF << skip));
  const __m128i nextBits = _mm_set1_epi8(static_cast<char>(0xFF >> (8 - skip)));
  const __m128i left = _mm_cvtsi32_si128(skip);
  const __m128i right = _mm_cvtsi32_si128(8 - skip);
  for (; done + 16 <= bytes; done += 16) {
    const __m128i here = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + done));
    const __m128i next = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from + done + 1));
    const __m128i high = _mm_and_si128(_mm_sll_epi16(here, left), ownBits);
    const __m128i low = _mm_and_si128(_mm_srl_epi16(next, right), nextBits);
    _mm_storeu_si128(reinterpret_cast<__m128i*>(to + done), _mm_or_si128(high, low));
  }
#else
  (void)from, (void)to, (void)bytes, (void)skip;
#endif
  return done;
}

// The top `count` (1..63) bits of a word.
uint64_t TopBits(std::size_t count) { return ~(~uint64_t{0} >> count); }

#if defined(MORVIK_STUFF_BY_VECTORS)
// A chart's scan has a 0xFF every twenty bytes or so: too often for a loop that stops at
// each. So eight bytes at a time are spread over sixteen by one shuffle, chosen by which
// of them are 0xFF, that puts a zero after each of those (a shuffle index of 0x80 gives
// a zero byte).
struct StuffingShuffle {
  alignas(16) std::array<uint8_t, 16> order;
  int zerosAdded;
};

constexpr std::array<StuffingShuffle, 256> MakeStuffingShuffles() {
  std::array<StuffingShuffle, 256> shuffles{};
  for (int ones = 0; ones < 256; ++ones) {
    StuffingShuffle& shuffle = shuffles[ones];
    shuffle.order.fill(0x80);
    int to = 0;
    for (int from = 0; from < 8; ++from) {
      shuffle.order[to++] = static_cast<uint8_t>(from);
      if ((ones >> from & 1) != 0) ++to;
    }
    shuffle.zerosAdded = std::popcount(static_cast<unsigned>(ones));
  }
  return shuffles;
}

constexpr std::array<StuffingShuffle, 256> kStuffingShuffles = MakeStuffingShuffles();

// Stuffs 16 bytes at a time while 16 remain; gives where it stopped. `to` must have room
// for 32 bytes beyond every 16 taken.
__attribute__((target("ssse3"))) const uint8_t* StuffByShuffles(const uint8_t* from,
                                                                const uint8_t* end, uint8_t*& to) {
  const __m128i allOnes = _mm_set1_epi8(-1);
  for (; end - from >= 16; from += 16) {
    const __m128i sixteen = _mm_loadu_si128(reinterpret_cast<const __m128i*>(from));
    const auto ones = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(sixteen, allOnes)));
    const StuffingShuffle& low = kStuffingShuffles[ones & 0xFF];
    const StuffingShuffle& high = kStuffingShuffles[ones >> 8];
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(to),
        _mm_shuffle_epi8(sixteen,
                         _mm_load_si128(reinterpret_cast<const __m128i*>(low.order.data()))));
    to += 8 + low.zerosAdded;
    _mm_storeu_si128(
        reinterpret_cast<__m128i*>(to),
        _mm_shuffle_epi8(_mm_srli_si128(sixteen, 8),
                         _mm_load_si128(reinterpret_cast<const __m128i*>(high.order.data()))));
    to += 8 + high.zerosAdded;
  }
  return from;
}

// With the processor's byte expansion (AVX-512 VBMI2), 32 bytes at a time in a few
// instructions, whatever 0xFF bytes they hold. Each byte takes two bit places of a word:
// one for itself, one for a zero after it that only a 0xFF fills. Of the places filled, in
// order, the even ones are the bytes and the odd ones the zeros: pext lists which is
// which, and the expansion lays the bytes out so. Gives where it stopped; `to` must have
// room for 64 bytes beyond every 32 taken.
__attribute__((target("avx512f,avx512bw,avx512vl,avx512vbmi2,bmi2,popcnt"))) const uint8_t*
StuffByExpanding(const uint8_t* from, const uint8_t* end, uint8_t*& to) {
  constexpr uint64_t kBytePlaces = 0x5555555555555555;
  constexpr uint64_t kZeroPlaces = ~kBytePlaces;
  const __m256i allOnes = _mm256_set1_epi8(-1);
  for (; end - from >= 32; from += 32) {
    const __m256i bytes = _mm256_loadu_si256(reinterpret_cast<const __m256i*>(from));
    const uint32_t ones = _mm256_cmpeq_epi8_mask(bytes, allOnes);
    const uint64_t filled = kBytePlaces | _pdep_u64(ones, kZeroPlaces);
    const uint64_t byteMask = _pext_u64(kBytePlaces, filled);
    _mm512_storeu_si512(to, _mm512_maskz_expand_epi8(byteMask, _mm512_castsi256_si512(bytes)));
    to += 32 + _mm_popcnt_u32(ones);
  }
  return from;
}

bool CanShuffleBytes() {
  static const bool can = __builtin_cpu_supports("ssse3") != 0;
  return can;
}

bool CanExpandBytes() {
  static const bool can =
      __builtin_cpu_supports("avx512bw") != 0 && __builtin_cpu_supports("avx512vl") != 0 &&
      __builtin_cpu_supports("avx512vbmi2") != 0 && __builtin_cpu_supports("bmi2") != 0 &&
      __builtin_cpu_supports("popcnt") != 0;
  return can;
}
#endif

}  // namespace

void PackedBits::PutPacked(const uint8_t* bytes, std::size_t first, std::size_t count) {
  if (count == 0) return;
  Grow(count / 8 + 16);
  const uint64_t head = WordAt(bytes, first);
  if (held_ + count < 64) {
    PutTop(head & TopBits(count), static_cast<int>(count));
    return;
  }
  // The first word out: the bits held, then the run's first 64 - held_.
  uint8_t* to = bytes_.get() + used_;
  qToBigEndian(heldBits_ | head >> held_, to);
  to += 8;
  // Every further word out is the 64 bits of the run from `from` on, all of them the same
  // number of bits into a byte: a byte-for-byte copy when that is none.
  std::size_t from = first + 64 - held_;
  const std::size_t end = first + count;
  const std::size_t words = (end - from) / 64;
  const uint8_t* at = bytes + from / 8;
  if (const int skip = static_cast<int>(from % 8); skip == 0) {
    std::memcpy(to, at, 8 * words);
    to += 8 * words;
  } else {
    std::size_t i = CopyShifted(at, to, 8 * words, skip) / 8;
    for (at += 8 * i, to += 8 * i; i < words; ++i, at += 8, to += 8) {
      qToBigEndian(qFromBigEndian<uint64_t>(at) << skip | at[8] >> (8 - skip), to);
    }
  }
  from += 64 * words;
  used_ = static_cast<std::size_t>(to - bytes_.get());
  held_ = static_cast<int>(end - from);
  heldBits_ = held_ == 0 ? 0 : WordAt(bytes, from) & TopBits(held_);
}

void PackedBits::AlignToByte() { Put(0, (8 - held_ % 8) % 8); }

std::vector<uint8_t> PackedBits::TakeBytes(int zeroBytes) {
  const std::size_t bitsPut = bitCount();
  Close(zeroBytes);
  std::vector<uint8_t> bytes(bytes_.get(),
                             bytes_.get() + (bitsPut + 7) / 8 + std::max(zeroBytes, 0));
  *this = PackedBits();
  return bytes;
}

void PackedBits::Close(int zeroBytes) {
  const auto zeros = static_cast<std::size_t>(std::max(zeroBytes, 0));
  Grow(8 + zeros);
  qToBigEndian(heldBits_, bytes_.get() + used_);
  const std::size_t end = used_ + (held_ + 7) / 8;
  std::fill_n(bytes_.get() + end, zeros, uint8_t{0});
  heldBits_ = 0;
}

void PackedBits::Grow(std::size_t bytes) {
  if (used_ + bytes <= capacity_) return;
  const std::size_t capacity = std::max({std::size_t{64}, 2 * capacity_, used_ + bytes});
  auto grown = std::make_unique_for_overwrite<uint8_t[]>(capacity);
  if (used_ > 0) std::memcpy(grown.get(), bytes_.get(), used_);
  bytes_ = std::move(grown);
  capacity_ = capacity;
}

void AppendStuffed(const uint8_t* bytes, std::size_t bitCount, QByteArray& out, StuffingWay way) {
  const std::size_t whole = bitCount / 8;
  const qsizetype start = out.size();
  // Every byte may double, the padded last one too; 16 more for the last vector stored.
  out.resize(start + static_cast<qsizetype>(2 * whole + 2 + 16));
  auto* const base = reinterpret_cast<uint8_t*>(out.data());
  uint8_t* to = base + start;
  const uint8_t* from = bytes;
  const uint8_t* const end = bytes + whole;
#if defined(MORVIK_STUFF_BY_VECTORS)
  if (way == StuffingWay::kWidest && CanExpandBytes()) from = StuffByExpanding(from, end, to);
  if (way != StuffingWay::kBytes && CanShuffleBytes()) from = StuffByShuffles(from, end, to);
#else
  (void)way;
#endif
  for (; from < end; ++from) {
    *to++ = *from;
    if (*from == 0xFF) *to++ = 0;
  }
  if (const int rest = static_cast<int>(bitCount % 8); rest != 0) {
    const uint8_t padding = 0xFF >> rest;
    const auto last = static_cast<uint8_t>((*end & ~padding) | padding);
    *to++ = last;
    if (last == 0xFF) *to++ = 0;
  }
  out.resize(to - base);
}

}  // namespace morvik::jpeg
