#pragma once
// A map from 64-bit hashes to pointer-like values, kept in one array of slots (open
// addressing, linear probing). Finding a value then costs one look into a compact array
// that mostly stays in the processor's cache, where a node-based map costs a look into the
// bucket array and another into a node allocated somewhere else: the MCU cache looks up
// hundreds of MCUs for every chart.
//
// The keys are hashes already, so their low bits choose the slot. A null value marks an
// empty slot: null values are not stored.

#include <cstddef>
#include <cstdint>
#include <utility>
#include <vector>

namespace morvik::jpeg {

template <typename Value>
class HashSlots {
 public:
  // The value kept for `key`, or null.
  const Value* Find(uint64_t key) const {
    const std::size_t i = SlotOf(key);
    return i == kNoSlot ? nullptr : &slots_[i].value;
  }

  bool Contains(uint64_t key) const { return Find(key) != nullptr; }

  // Keeps `value` (not null) for `key`, which the table must not hold yet.
  void Insert(uint64_t key, Value value) {
    if (2 * (size_ + 1) > slots_.size()) Grow();
    std::size_t i = IndexOf(key);
    while (slots_[i].value != nullptr) i = Next(i);
    slots_[i] = {key, std::move(value)};
    ++size_;
  }

  // Lets go of the value kept for `key`, if any.
  void Erase(uint64_t key) {
    std::size_t hole = SlotOf(key);
    if (hole == kNoSlot) return;
    slots_[hole] = Slot();
    --size_;
    // The values after the hole that would no longer be found past it move back into it.
    for (std::size_t i = Next(hole); slots_[i].value != nullptr; i = Next(i)) {
      const std::size_t home = IndexOf(slots_[i].key);
      const bool homeAfterHole = hole < i ? (home > hole && home <= i) : (home > hole || home <= i);
      if (homeAfterHole) continue;
      slots_[hole] = std::move(slots_[i]);
      slots_[i] = Slot();
      hole = i;
    }
  }

  std::size_t size() const { return size_; }

 private:
  struct Slot {
    uint64_t key = 0;
    Value value{};
  };
  static constexpr std::size_t kFirstSlots = 1024;
  static constexpr std::size_t kNoSlot = SIZE_MAX;

  // The slot that holds `key`, or kNoSlot.
  std::size_t SlotOf(uint64_t key) const {
    if (slots_.empty()) return kNoSlot;
    for (std::size_t i = IndexOf(key);; i = Next(i)) {
      if (slots_[i].value == nullptr) return kNoSlot;
      if (slots_[i].key == key) return i;
    }
  }

  std::size_t IndexOf(uint64_t key) const { return key & (slots_.size() - 1); }
  std::size_t Next(std::size_t i) const { return (i + 1) & (slots_.size() - 1); }

  // Doubles the slots (a power of two), so that at most half of them are in use.
  void Grow() {
    std::vector<Slot> old =
        std::exchange(slots_, std::vector<Slot>(slots_.empty() ? kFirstSlots : 2 * slots_.size()));
    size_ = 0;
    for (Slot& slot : old) {
      if (slot.value != nullptr) Insert(slot.key, std::move(slot.value));
    }
  }

  std::vector<Slot> slots_;  // empty, or a power of two of them
  std::size_t size_ = 0;
};

}  // namespace morvik::jpeg
