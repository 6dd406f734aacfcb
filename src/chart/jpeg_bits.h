#pragma once
// Bits as a JPG file's coded data holds them, most significant first.
//
// PackedBits keeps codes as they are, byte-aligned where each run of codes starts: that
// is how the MCU cache keeps a block's coded AC values. ScanWriter writes the scan itself:
// a 0x00 after every 0xFF byte (which would otherwise read as a marker), and the last
// byte padded with one bits. Both gather bits in a 64-bit word filled from the top, and
// move whole words, since a chart's scan is some hundreds of kilobytes.

#include <QByteArray>
#include <QtEndian>

#include <algorithm>
#include <cstdint>
#include <vector>

namespace morvik::jpeg {

class PackedBits {
 public:
  // The `count` (0..32) low bits of `value`; the higher bits must be zero.
  void Put(uint32_t value, int count) {
    if (count == 0) return;
    const uint64_t bits = uint64_t{value} << (64 - count);
    const int total = held_ + count;
    if (total < 64) {
      heldBits_ |= bits >> held_;
      held_ = total;
      return;
    }
    PutWord(heldBits_ | bits >> held_);
    heldBits_ = held_ == 0 ? 0 : bits << (64 - held_);
    held_ = total - 64;
  }

  // Pads with zero bits to a byte, so that the next run of codes starts on one.
  void AlignToByte();
  uint32_t bitCount() const { return static_cast<uint32_t>(used_) * 8 + held_; }
  // Everything put, the last byte padded with zero bits, followed by `zeroBytes` zeros.
  std::vector<uint8_t> TakeBytes(int zeroBytes);

 private:
  void PutWord(uint64_t word) {
    if (used_ + 8 > bytes_.size()) bytes_.resize(std::max<std::size_t>(64, 2 * bytes_.size()));
    qToBigEndian(word, bytes_.data() + used_);
    used_ += 8;
  }

  std::vector<uint8_t> bytes_;  // the first used_ are put
  std::size_t used_ = 0;
  uint64_t heldBits_ = 0;  // the top held_ bits
  int held_ = 0;
};

class ScanWriter {
 public:
  // Appends to `out`, which must outlive the writer, with room for `expectedBytes` made
  // at once; `out` has the right size after Finish.
  ScanWriter(QByteArray& out, qsizetype expectedBytes);

  // The `count` (0..32) low bits of `value`; the higher bits must be zero.
  void Put(uint32_t value, int count) {
    if (count == 0) return;
    Reserve(kWordRoom);
    Cursor cursor = cursor_;
    cursor.PutTop(uint64_t{value} << (64 - count), count);
    cursor_ = cursor;
  }

  // `bitCount` bits packed in `bytes`, most significant first. The bytes must be readable
  // up to the next multiple of 8 bytes after the last bit.
  void PutPacked(const uint8_t* bytes, uint32_t bitCount);

  // Writes the bits still held, the last byte padded with ones, and trims `out`.
  void Finish();

 private:
  // Where the writing stands. The loops work on a copy of it in local variables, which
  // the compiler keeps in registers (the bytes written could alias the writer's members).
  struct Cursor {
    uint8_t* at;            // the next byte
    uint64_t heldBits = 0;  // the top `held` bits wait to be written
    int held = 0;

    // The top `count` (0..64) bits of `bits`; the lower bits must be zero. There must be
    // room for a word.
    void PutTop(uint64_t bits, int count) {
      const int total = held + count;
      if (total < 64) {
        heldBits |= bits >> held;
        held = total;
        return;
      }
      PutWord(heldBits | bits >> held);
      heldBits = held == 0 ? 0 : bits << (64 - held);
      held = total - 64;
    }

    void PutWord(uint64_t word) {
      // A byte of the word is 0xFF exactly when that byte of ~word is zero.
      const uint64_t inverted = ~word;
      if (((inverted - 0x0101010101010101u) & ~inverted & 0x8080808080808080u) != 0) {
        at = PutWordStuffed(at, word);
        return;
      }
      qToBigEndian(word, at);
      at += 8;
    }
  };

  static uint8_t* PutWordStuffed(uint8_t* at, uint64_t word);
  // Room for `bytes` more at the cursor.
  void Reserve(qsizetype bytes) {
    if (cursor_.at + bytes > end_) Grow(bytes);
  }
  void Grow(qsizetype bytes);

  // A word with every byte stuffed; one with a single 0xFF writes 8 bytes beyond it.
  static constexpr qsizetype kWordRoom = 24;

  QByteArray& out_;
  uint8_t* end_;  // of out_'s bytes
  Cursor cursor_;
};

}  // namespace morvik::jpeg
