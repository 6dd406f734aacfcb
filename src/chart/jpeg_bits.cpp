#include "chart/jpeg_bits.h"

#include <QtEndian>

#include <bit>

namespace morvik::jpeg {
namespace {

uint64_t TopBits(uint64_t bits, uint32_t count) {
  return count == 0 ? 0 : bits & ~uint64_t{0} << (64 - count);
}

}  // namespace

void PackedBits::AlignToByte() { Put(0, (8 - held_ % 8) % 8); }

std::vector<uint8_t> PackedBits::TakeBytes(int zeroBytes) {
  AlignToByte();
  bytes_.resize(used_);
  for (int shift = 56; held_ > 0; held_ -= 8, shift -= 8) {
    bytes_.push_back(static_cast<uint8_t>(heldBits_ >> shift));
  }
  heldBits_ = 0;
  bytes_.resize(bytes_.size() + std::max(zeroBytes, 0));
  used_ = 0;
  return std::move(bytes_);
}

ScanWriter::ScanWriter(QByteArray& out, qsizetype expectedBytes) : out_(out) {
  const qsizetype start = out_.size();
  out_.resize(start + std::max<qsizetype>(expectedBytes, kWordRoom));
  cursor_.at = reinterpret_cast<uint8_t*>(out_.data()) + start;
  end_ = reinterpret_cast<uint8_t*>(out_.data()) + out_.size();
}

void ScanWriter::PutPacked(const uint8_t* bytes, uint32_t bitCount) {
  Reserve((bitCount / 64 + 2) * kWordRoom);  // a word for each 64 bits, the tail, the held
  Cursor cursor = cursor_;
  // Each whole word in puts out one word and leaves as many bits held as before, so the
  // shifts stay the same for the whole run.
  const uint32_t words = bitCount / 64;
  if (cursor.held == 0) {
    for (uint32_t i = 0; i < words; ++i) cursor.PutWord(qFromBigEndian<uint64_t>(bytes + 8 * i));
  } else {
    const int kept = cursor.held;
    for (uint32_t i = 0; i < words; ++i) {
      const uint64_t word = qFromBigEndian<uint64_t>(bytes + 8 * i);
      cursor.PutWord(cursor.heldBits | word >> kept);
      cursor.heldBits = word << (64 - kept);
    }
  }
  bitCount %= 64;
  if (bitCount > 0) {
    const uint64_t tail = qFromBigEndian<uint64_t>(bytes + 8 * words);
    cursor.PutTop(TopBits(tail, bitCount), static_cast<int>(bitCount));
  }
  cursor_ = cursor;
}

void ScanWriter::Finish() {
  Cursor& c = cursor_;
  if (c.held % 8 != 0) {
    const int padding = 8 - c.held % 8;
    c.heldBits |= ((uint64_t{1} << padding) - 1) << (64 - c.held - padding);
    c.held += padding;
  }
  Reserve(kWordRoom);
  for (int shift = 56; c.held > 0; c.held -= 8, shift -= 8) {
    const auto byte = static_cast<uint8_t>(c.heldBits >> shift);
    *c.at++ = byte;
    if (byte == 0xFF) *c.at++ = 0;
  }
  c.heldBits = 0;
  out_.resize(c.at - reinterpret_cast<uint8_t*>(out_.data()));
}

uint8_t* ScanWriter::PutWordStuffed(uint8_t* at, uint64_t word) {
  // The top bit of each 0xFF byte: a byte is 0xFF when its low seven bits are all ones
  // (adding one carries into the top bit, never beyond) and its top bit is set.
  constexpr uint64_t kLowSeven = 0x7F7F7F7F7F7F7F7Fu;
  const uint64_t ones = ((word & kLowSeven) + 0x0101010101010101u) & word & ~kLowSeven;
  if ((ones & (ones - 1)) == 0) {
    // The common case: one 0xFF. The bytes after it move up by one, after a 0x00.
    const int place = std::countl_zero(ones) / 8;  // from the first byte
    qToBigEndian(word, at);
    at[place + 1] = 0;
    if (place < 7) qToBigEndian(word << 8 * (place + 1), at + place + 2);
    return at + 9;
  }
  for (int shift = 56; shift >= 0; shift -= 8) {
    const auto byte = static_cast<uint8_t>(word >> shift);
    at[0] = byte;
    at[1] = 0;  // kept only after 0xFF
    at += byte == 0xFF ? 2 : 1;
  }
  return at;
}

// Room for `bytes` more, the buffer grown ahead by doubling.
void ScanWriter::Grow(qsizetype bytes) {
  const qsizetype used = cursor_.at - reinterpret_cast<uint8_t*>(out_.data());
  out_.resize(std::max<qsizetype>(2 * out_.size(), used + bytes + 4096));
  cursor_.at = reinterpret_cast<uint8_t*>(out_.data()) + used;
  end_ = reinterpret_cast<uint8_t*>(out_.data()) + out_.size();
}

}  // namespace morvik::jpeg
