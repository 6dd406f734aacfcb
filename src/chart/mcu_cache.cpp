#include "chart/mcu_cache.h"

#include <cstring>

#if defined(__x86_64__)
#include <xxh_x86dispatch.h>  // picks the widest vector unit the processor has
#else
#include <xxhash.h>
#endif

namespace morvik::jpeg {
namespace {

// An entry's share of the budget: its pixels and code, and a rough allowance for the
// hash table's node and the code's shared ownership.
std::size_t BytesOf(const McuCode& code) {
  constexpr std::size_t kOverhead = 96;
  return kMcuBytes + sizeof(McuCode) + code.bits.capacity() + kOverhead;
}

}  // namespace

McuKey GatherMcu(const uint8_t* topLeft, std::ptrdiff_t stride, uint8_t* out) {
  for (int row = 0; row < kMcuSide; ++row) {
    std::memcpy(out + row * kMcuRowBytes, topLeft + row * stride, kMcuRowBytes);
  }
  return {out, HashMcu(out)};
}

uint64_t HashMcu(const uint8_t* pixels) { return XXH3_64bits(pixels, kMcuBytes); }

McuCache::McuCache(std::size_t budgetBytes) : budgetBytes_(budgetBytes) {}

void McuCache::FindAll(std::span<const McuKey> keys, std::span<SharedMcuCode> codes) {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < keys.size() && i < codes.size(); ++i) codes[i] = FindLocked(keys[i]);
}

void McuCache::InsertAll(std::span<const McuKey> keys, std::span<const SharedMcuCode> codes) {
  std::lock_guard lock(mutex_);
  for (std::size_t i = 0; i < keys.size() && i < codes.size(); ++i) {
    if (codes[i] == nullptr) continue;
    // Another thread may have kept the same pixels meanwhile (its code is the same), or,
    // rarely, other pixels of the same hash: the entry kept first stays.
    if (newer_.contains(keys[i].hash) || older_.contains(keys[i].hash)) continue;
    Entry entry;
    std::memcpy(entry.pixels.data(), keys[i].pixels, kMcuBytes);
    entry.code = codes[i];
    KeepLocked(keys[i].hash, std::move(entry));
  }
}

McuCache::Stats McuCache::stats() const {
  std::lock_guard lock(mutex_);
  return {newer_.size() + older_.size(), newerBytes_ + olderBytes_, hits_, misses_};
}

SharedMcuCode McuCache::FindLocked(const McuKey& key) {
  const auto inNewer = newer_.find(key.hash);
  const auto inOlder = inNewer == newer_.end() ? older_.find(key.hash) : older_.end();
  const Entry* entry = inNewer != newer_.end()   ? &inNewer->second
                       : inOlder != older_.end() ? &inOlder->second
                                                 : nullptr;
  if (entry == nullptr || std::memcmp(key.pixels, entry->pixels.data(), kMcuBytes) != 0) {
    ++misses_;
    return nullptr;
  }
  ++hits_;
  SharedMcuCode code = entry->code;
  if (inOlder != older_.end()) {
    // Still in use: it moves to the newer generation.
    Entry moved = std::move(inOlder->second);
    olderBytes_ -= BytesOf(*code);
    older_.erase(inOlder);
    KeepLocked(key.hash, std::move(moved));
  }
  return code;
}

void McuCache::KeepLocked(uint64_t hash, Entry entry) {
  const std::size_t bytes = BytesOf(*entry.code);
  if (bytes > budgetBytes_ / 2) return;  // each generation keeps to half the budget
  if (newerBytes_ + bytes > budgetBytes_ / 2) {
    older_ = std::move(newer_);
    olderBytes_ = newerBytes_;
    newer_ = Generation();
    newerBytes_ = 0;
  }
  newerBytes_ += bytes;
  newer_.emplace(hash, std::move(entry));
}

}  // namespace morvik::jpeg
