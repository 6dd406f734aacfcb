#include "chart/jpeg_bits.h"

#include <QtEndian>

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
  // Every byte stuffed, and the word in hand.
  Reserve(bitCount / 4 + 2 * kWordRoom);
  Cursor cursor = cursor_;
  for (; bitCount >= 64; bitCount -= 64, bytes += 8) {
    cursor.PutTop(qFromBigEndian<uint64_t>(bytes), 64);
  }
  if (bitCount > 0) {
    cursor.PutTop(TopBits(qFromBigEndian<uint64_t>(bytes), bitCount), static_cast<int>(bitCount));
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
