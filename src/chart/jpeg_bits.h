#pragma once
// Bits as a JPG file's coded data holds them, most significant first.
//
// PackedBits gathers codes as they are, without the file's byte stuffing: that is how
// the MCU cache keeps a block's coded AC values, and how the writer assembles a scan, so
// that a run of MCUs the chart before coded at the same places can be copied from its
// scan as one run of bits. AppendStuffed then writes a scan into the file: a 0x00 after
// every 0xFF byte (which would otherwise read as a marker), the last byte padded with one
// bits. Bits are moved a 64-bit word at a time, since a chart's scan is some hundreds of
// kilobytes.

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

namespace morvik::jpeg {

class PackedBits {
 public:
  // The `count` (0..32) low bits of `value`; the higher bits must be zero.
  void Put(uint32_t value, int count) {
    if (count == 0) return;
    if (used_ + 8 > capacity_) Grow(8);
    PutTop(uint64_t{value} << (64 - count), count);
  }

  // `count` bits of `bytes` from bit `first` on (bit 0 is the top bit of the first byte).
  // The bytes must be readable up to 8 bytes beyond the byte of the run's last bit.
  void PutPacked(const uint8_t* bytes, std::size_t first, std::size_t count);

  // Pads with zero bits to a byte, so that the next run of codes starts on one.
  void AlignToByte();
  std::size_t bitCount() const { return used_ * 8 + held_; }
  // Everything put, the last byte padded with zero bits, followed by `zeroBytes` zeros.
  std::vector<uint8_t> TakeBytes(int zeroBytes);
  // Writes out the bits still held, the last byte padded with zero bits, and
  // `zeroBytes` zeros after it: data() then holds every bit put. Nothing may be put after.
  void Close(int zeroBytes);
  const uint8_t* data() const { return bytes_.get(); }
  // Room for `bits` more, made at once.
  void Reserve(std::size_t bits) { Grow(bits / 8 + 16); }

 private:
  // The top `count` (1..64) bits of `bits`; the lower bits must be zero. There must be
  // room for a word.
  void PutTop(uint64_t bits, int count) {
    const int total = held_ + count;
    if (total < 64) {
      heldBits_ |= bits >> held_;
      held_ = total;
      return;
    }
    qToBigEndian(heldBits_ | bits >> held_, bytes_.get() + used_);
    used_ += 8;
    heldBits_ = held_ == 0 ? 0 : bits << (64 - held_);
    held_ = total - 64;
  }
  // Room for `bytes` more beyond those put, the buffer grown ahead by doubling.
  void Grow(std::size_t bytes);

  // Not cleared when made: a scan's buffer is written once, and it is large.
  std::unique_ptr<uint8_t[]> bytes_;  // the first used_ are put
  std::size_t capacity_ = 0;
  std::size_t used_ = 0;
  uint64_t heldBits_ = 0;  // the top held_ bits
  int held_ = 0;
};

// How AppendStuffed goes through the bytes: the widest vectors the processor has, 16
// bytes at a time, or one byte at a time. Every way gives the same bytes; the narrower
// ones are there so that tests can hold each to the others on any processor.
enum class StuffingWay { kWidest, kSixteen, kBytes };

// Appends the scan of `bitCount` bits of `bytes` to `out` as the file holds it: a 0x00
// after every 0xFF byte, the last byte padded with one bits.
void AppendStuffed(const uint8_t* bytes, std::size_t bitCount, QByteArray& out,
                   StuffingWay way = StuffingWay::kWidest);

}  // namespace morvik::jpeg
