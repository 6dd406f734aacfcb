#pragma once
// The coded MCUs of a run, so that each distinct MCU is transformed and coded once.
//
// An MCU is 16 x 16 pixels: four 8 x 8 luma blocks and, at half resolution, one Cb and
// one Cr block. With fixed tables, every MCU of the same pixels is coded the same way but
// for its blocks' DC differences from the blocks before it; so the cache keeps each
// block's DC value and the coded bits of its AC values.
//
// Entries are found by a hash of the pixels and confirmed by comparing the pixels, so a
// collision costs a transform and never gives a chart another MCU's code. The cache
// keeps to a byte budget in two generations: once the newer one holds half the budget,
// the older one is dropped and the newer one takes its place; an entry found in the older
// one moves to the newer. A cache codes one chart at a time (a second at once is refused,
// see Use); the caches of a run's saving threads ask each other, which is safe.

#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <span>
#include <utility>
#include <vector>

#include "chart/hash_slots.h"
#include "chart/image_origin.h"
#include "chart/jpeg_bits.h"

namespace morvik::jpeg {

inline constexpr int kMcuSide = 16;
inline constexpr int kMcuRowBytes = kMcuSide * 3;
inline constexpr int kMcuBytes = kMcuSide * kMcuRowBytes;
// Y top left, Y top right, Y bottom left, Y bottom right, Cb, Cr: the order of the file.
inline constexpr int kBlocksPerMcu = 6;

// An MCU's pixels, gathered row after row into kMcuBytes, and their hash.
struct McuKey {
  const uint8_t* pixels = nullptr;
  uint64_t hash = 0;
};

// Gathers the MCU whose top left pixel of a 24-bit RGB image is at `topLeft` into `out`
// (kMcuBytes), and gives its key.
McuKey GatherMcu(const uint8_t* topLeft, std::ptrdiff_t stride, uint8_t* out);

// How HashMcu computes the hash: with the widest vectors it is built for, where the
// processor has them, or with the library's call. Both give XXH3's hash; the second is
// there so that a test can hold the first to it.
enum class HashWay { kWidest, kLibrary };
uint64_t HashMcu(const uint8_t* pixels, HashWay way = HashWay::kWidest);

inline constexpr int kCodeReadAheadBytes = 8;

// What the writer needs to code an MCU again. The DC differences between its four Y
// blocks are the MCU's own; only those of its first Y block, of Cb and of Cr depend on the
// MCU before. So the codes are kept in three runs, each of which follows a DC difference
// that the writer codes: the first Y block's AC codes, then the DC difference and AC codes
// of each other Y block; Cb's AC codes; Cr's AC codes.
struct McuCode {
  int16_t firstLumaDc = 0;  // of the top left Y block
  int16_t lastLumaDc = 0;   // of the bottom right one, which the next MCU's first follows
  int16_t cbDc = 0;
  int16_t crDc = 0;
  // Each run starts on a byte of `bits`; kCodeReadAheadBytes zero bytes follow the last,
  // so that the writer may read whole 64-bit words.
  std::array<uint16_t, 3> bitCounts{};
  std::vector<uint8_t> bits;

  friend bool operator==(const McuCode&, const McuCode&) = default;
};

// A kept MCU: its pixels, row after row, and its code.
struct McuEntry final {
  std::array<uint8_t, kMcuBytes> pixels;
  McuCode code;

  // A run keeps tens of thousands of entries, tens of megabytes that each page of would
  // otherwise be touched for the first time one by one: they come from 2 MB blocks whose
  // pages are there at once (mcu_cache.cpp).
  static void* operator new(std::size_t bytes);
  static void operator delete(void* memory) noexcept;

 private:
  friend class SharedMcuEntry;
  uint32_t references_ = 0;
};

// A counted reference to a kept MCU, null or not; the entry goes with its last reference.
// The count is a plain one, not atomic: a chart refers to some three thousand entries,
// and counting each with the processor's locked instructions cost a few per cent of a run
// on one core. That holds because every reference to an entry lives in the structures of
// one cache (its generations, its last chart, the chart being coded with it) and one
// thread at a time uses a cache: what a cache finds in another one it copies (McuCache::
// FindAll), and the other thread reads only the pixels and the code, which never change.
class SharedMcuEntry {
 public:
  SharedMcuEntry() = default;
  SharedMcuEntry(std::nullptr_t) {}  // NOLINT: as a pointer's null
  static SharedMcuEntry Make(const uint8_t* pixels, McuCode code);
  static SharedMcuEntry CopyOf(const McuEntry& entry);

  SharedMcuEntry(const SharedMcuEntry& other) : entry_(other.entry_) {
    if (entry_ != nullptr) ++entry_->references_;
  }
  SharedMcuEntry(SharedMcuEntry&& other) noexcept : entry_(std::exchange(other.entry_, nullptr)) {}
  SharedMcuEntry& operator=(SharedMcuEntry other) noexcept {
    std::swap(entry_, other.entry_);
    return *this;
  }
  ~SharedMcuEntry() {
    if (entry_ != nullptr && --entry_->references_ == 0) delete entry_;
  }

  const McuEntry* get() const { return entry_; }
  const McuEntry& operator*() const { return *entry_; }
  const McuEntry* operator->() const { return entry_; }
  friend bool operator==(const SharedMcuEntry& a, const SharedMcuEntry& b) {
    return a.entry_ == b.entry_;
  }
  friend bool operator==(const SharedMcuEntry& a, std::nullptr_t) { return a.entry_ == nullptr; }

 private:
  explicit SharedMcuEntry(McuEntry* entry) : entry_(entry) { ++entry_->references_; }

  McuEntry* entry_ = nullptr;
};

// Whether the MCU whose top left pixel of a 24-bit RGB image is at `topLeft` has the
// entry's pixels.
bool HasPixelsOf(const uint8_t* topLeft, std::ptrdiff_t stride, const McuEntry& entry);

class McuCache {
 public:
  static constexpr std::size_t kDefaultBudgetBytes = std::size_t{64} << 20;

  explicit McuCache(std::size_t budgetBytes = kDefaultBudgetBytes);

  // The cache taken for one chart. Only one thread at a time may use a cache's entries
  // (SharedMcuEntry counts them without locking): one that finds the cache in use holds
  // nothing, and must code its chart another way.
  class Use {
   public:
    explicit Use(McuCache& cache) : cache_(cache), held_(!cache.inUse_.exchange(true)) {}
    ~Use() {
      if (held_) cache_.inUse_.store(false);
    }
    Use(const Use&) = delete;
    Use& operator=(const Use&) = delete;
    explicit operator bool() const { return held_; }

   private:
    McuCache& cache_;
    const bool held_;
  };

  // Sets `found[i]` to the entry kept for `keys[i]`'s pixels, or to null. What this cache
  // does not hold is asked of the caches it shares with (those that no other thread holds
  // at that moment); what one of them holds is copied into this cache and kept from then
  // on.
  void FindAll(std::span<const McuKey> keys, std::span<SharedMcuEntry> found);

  // The other caches of the run, one for each chart saved at a time: what one of them has
  // coded, the others need not transform again. Set before the cache is used.
  void ShareWith(std::vector<McuCache*> others) { others_ = std::move(others); }

  // Keeps an entry for each key's pixels (copied) with its code; gives the entries.
  std::vector<SharedMcuEntry> InsertAll(std::span<const McuKey> keys, std::vector<McuCode> codes);

  // The chart last coded, so that the next one can copy the code of the MCUs it repeats
  // at the same places (charts of a run mostly repeat the chart before): the entry at
  // each place, row by row; the scan's bits before stuffing, followed by
  // kScanReadAheadBytes zeros; and the bit where each MCU's code starts, with one more for
  // the end. It is held besides the budget.
  struct CodedImage {
    static constexpr int kScanReadAheadBytes = 16;
    int columns = 0;
    int rows = 0;
    std::vector<SharedMcuEntry> entries;
    PackedBits scan;  // closed
    ImageOrigin origin;
    std::vector<std::size_t> mcuStarts;
  };
  std::shared_ptr<const CodedImage> LastImage(int columns, int rows) const;  // null: none
  void SetLastImage(std::shared_ptr<const CodedImage> image);

  struct Stats {
    std::size_t entries = 0;
    std::size_t bytes = 0;
    uint64_t hits = 0;  // entries found by FindAll
    uint64_t misses = 0;
  };
  Stats stats() const;

 private:
  using Generation = HashSlots<SharedMcuEntry>;

  SharedMcuEntry FindLocked(const McuKey& key);
  // Sets the null `found[i]` of `places` to a copy of the entry this cache keeps, if it
  // keeps one; leaves them all when another thread holds the cache.
  void FindOwn(std::span<const McuKey> keys, std::span<const std::size_t> places,
               std::span<SharedMcuEntry> found) const;
  // Keeps `entry` in the newer generation, unless an entry of its hash is kept already.
  void KeepLocked(uint64_t hash, SharedMcuEntry entry);

  const std::size_t budgetBytes_;
  mutable std::mutex mutex_;
  Generation newer_;
  Generation older_;
  std::size_t newerBytes_ = 0;
  std::size_t olderBytes_ = 0;
  // Shared as a whole: handing it out costs one count, not one for each of its entries.
  std::shared_ptr<const CodedImage> lastImage_;
  std::vector<McuCache*> others_;
  std::atomic<bool> inUse_{false};
  uint64_t hits_ = 0;
  uint64_t misses_ = 0;
};

}  // namespace morvik::jpeg
