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

ScanWriter::ScanWriter(QByteArray& out, qsizetype expectedBytes) : out_(out), used_(out.size()) {
  out_.resize(used_ + std::max<qsizetype>(expectedBytes, 0));
  data_ = out_.data();
  room_ = out_.size();
}

void ScanWriter::PutPacked(const uint8_t* bytes, uint32_t bitCount) {
  for (; bitCount >= 64; bitCount -= 64, bytes += 8) PutTop(qFromBigEndian<uint64_t>(bytes), 64);
  if (bitCount > 0) {
    PutTop(TopBits(qFromBigEndian<uint64_t>(bytes), bitCount), static_cast<int>(bitCount));
  }
}

void ScanWriter::Finish() {
  if (held_ % 8 != 0) {
    const int padding = 8 - held_ % 8;
    heldBits_ |= ((uint64_t{1} << padding) - 1) << (64 - held_ - padding);
    held_ += padding;
  }
  if (used_ + kWordRoom > room_) Grow();
  for (int shift = 56; held_ > 0; held_ -= 8, shift -= 8) {
    const auto byte = static_cast<uint8_t>(heldBits_ >> shift);
    data_[used_++] = static_cast<char>(byte);
    if (byte == 0xFF) data_[used_++] = 0;
  }
  heldBits_ = 0;
  out_.resize(used_);
}

void ScanWriter::PutWordStuffed(uint64_t word) {
  char* at = data_ + used_;
  for (int shift = 56; shift >= 0; shift -= 8) {
    const auto byte = static_cast<uint8_t>(word >> shift);
    at[0] = static_cast<char>(byte);
    at[1] = 0;  // kept only after 0xFF
    at += byte == 0xFF ? 2 : 1;
  }
  used_ = at - data_;
}

// Room for one more word at least, the buffer grown ahead by doubling.
void ScanWriter::Grow() {
  out_.resize(std::max<qsizetype>(2 * out_.size(), used_ + kWordRoom + 4096));
  data_ = out_.data();
  room_ = out_.size();
}

}  // namespace morvik::jpeg
