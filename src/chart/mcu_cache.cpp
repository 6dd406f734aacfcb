#include "chart/mcu_cache.h"

#include <cstring>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "core/platform/prefaulted_memory.h"
#include "core/sanitizer.h"

// The library's call where the processor has no AVX2 (see mcu_hash_avx2.cpp). Not the
// library's dispatcher to the widest vector unit: hashing MCUs with AVX-512 made whole
// runs 5 to 8% slower, on one core and on two (the hash is the same either way).
#include <xxhash.h>

namespace morvik::jpeg {
namespace {

// An entry's share of the budget: its pixels and code, and a rough allowance for the
// table's slots and the heap's own bookkeeping.
std::size_t BytesOf(const McuEntry& entry) {
  constexpr std::size_t kOverhead = 96;
  return sizeof(McuEntry) + entry.code.bits.capacity() + kOverhead;
}

// Where entries live: slots cut from 2 MB blocks asked of the system with their pages
// present (on large pages where it gives them), and slots let go of kept for the next
// entries. The blocks stay with the process: the caches' budgets bound how many are ever
// in use at once. With it, a managers' run took some 6,000 fewer page faults of its
// 19,000 on one core (some 7,000 of 23,000 on two), and two cores some 4% less time.
class EntryPool {
 public:
  // Never destroyed: entries may outlive any other object of the program.
  static EntryPool& Instance() {
    static EntryPool* const pool = new EntryPool;
    return *pool;
  }

  void* Take() {
    {
      const std::lock_guard lock(mutex_);
      if (void* slot = TakeLocked()) return slot;
    }
    // A new block is made outside the lock: its pages can take milliseconds to come, and
    // the other saving thread would wait that long for a slot it may find free. If that
    // thread made a block meanwhile, what is left of it goes to the free slots.
    auto* block = static_cast<std::byte*>(platform::AllocatePrefaulted(kBlockBytes));
    const std::lock_guard lock(mutex_);
    for (std::byte* slot = next_; slot != end_; slot += kSlotBytes) GiveLocked(slot);
    next_ = block;
    end_ = block + kBlockBytes / kSlotBytes * kSlotBytes;
    return TakeLocked();
  }

  void Give(void* slot) noexcept {
    const std::lock_guard lock(mutex_);
    GiveLocked(slot);
  }

 private:
  void* TakeLocked() {
    if (free_ != nullptr) return std::exchange(free_, *static_cast<void**>(free_));
    if (next_ == end_) return nullptr;
    return std::exchange(next_, next_ + kSlotBytes);
  }

  void GiveLocked(void* slot) noexcept {
    *static_cast<void**>(slot) = free_;
    free_ = slot;
  }

  static constexpr std::size_t kBlockBytes = std::size_t{2} << 20;
  static constexpr std::size_t kAlign = alignof(std::max_align_t);
  static constexpr std::size_t kSlotBytes = (sizeof(McuEntry) + kAlign - 1) / kAlign * kAlign;

  std::mutex mutex_;
  void* free_ = nullptr;  // each free slot starts with the next one's address
  std::byte* next_ = nullptr;
  std::byte* end_ = nullptr;
};

// The lock a cache's own thread takes. Another thread holds it only to look through the
// cache (FindOwn), mostly for microseconds (longer when a copy it takes needs a new block
// of the entry pool); waiting for that asleep cost the owner a sleep and a wake-up, some
// 60 microseconds, about 150 times in a managers' run on two cores (traced on a virtual
// machine, where waking an idle core is slow). So the owner tries for a while before it
// sleeps: the worker's waits fell to a few dozen a run.
class OwnerLock {
 public:
  explicit OwnerLock(std::mutex& mutex) : mutex_(mutex) {
    for (int attempt = 0; attempt < kAttempts; ++attempt) {
      if (mutex_.try_lock()) return;
      Pause();
    }
    mutex_.lock();
  }
  ~OwnerLock() { mutex_.unlock(); }
  OwnerLock(const OwnerLock&) = delete;
  OwnerLock& operator=(const OwnerLock&) = delete;

 private:
  static constexpr int kAttempts = 2500;  // some 100 microseconds here

  static void Pause() {
#if defined(__SSE2__)
    _mm_pause();
#endif
  }

  std::mutex& mutex_;
};

}  // namespace

// With the address sanitizer, entries come from the heap, where it sees them go.
void* McuEntry::operator new(std::size_t bytes) {
  return kAddressSanitizer ? ::operator new(bytes) : EntryPool::Instance().Take();
}

void McuEntry::operator delete(void* memory) noexcept {
  if (memory == nullptr) return;
  if (kAddressSanitizer) {
    ::operator delete(memory);
  } else {
    EntryPool::Instance().Give(memory);
  }
}

McuKey GatherMcu(const uint8_t* topLeft, std::ptrdiff_t stride, uint8_t* out) {
  for (int row = 0; row < kMcuSide; ++row) {
    std::memcpy(out + row * kMcuRowBytes, topLeft + row * stride, kMcuRowBytes);
  }
  return {out, HashMcu(out)};
}

#if defined(MORVIK_MCU_HASH_AVX2)
uint64_t HashMcuWithAvx2(const uint8_t* pixels);  // mcu_hash_avx2.cpp

namespace {
bool CanHashWithAvx2() {
  static const bool can = __builtin_cpu_supports("avx2") != 0;
  return can;
}
}  // namespace
#endif

uint64_t HashMcu(const uint8_t* pixels, HashWay way) {
#if defined(MORVIK_MCU_HASH_AVX2)
  if (way == HashWay::kWidest && CanHashWithAvx2()) return HashMcuWithAvx2(pixels);
#else
  (void)way;
#endif
  return XXH3_64bits(pixels, kMcuBytes);
}

bool HasPixelsOf(const uint8_t* topLeft, std::ptrdiff_t stride, const McuEntry& entry) {
  // Most MCUs of a chart are compared this way, so the rows are compared 16 bytes at a
  // time where the processor has them (3 x 16 bytes a row); the result is memcmp's.
#if defined(__SSE2__)
  const uint8_t* kept = entry.pixels.data();
  __m128i same = _mm_set1_epi8(-1);
  for (int row = 0; row < kMcuSide; ++row, topLeft += stride, kept += kMcuRowBytes) {
    const auto* a = reinterpret_cast<const __m128i*>(topLeft);
    const auto* b = reinterpret_cast<const __m128i*>(kept);
    same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(a), _mm_loadu_si128(b)));
    same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(a + 1), _mm_loadu_si128(b + 1)));
    same = _mm_and_si128(same, _mm_cmpeq_epi8(_mm_loadu_si128(a + 2), _mm_loadu_si128(b + 2)));
  }
  return _mm_movemask_epi8(same) == 0xFFFF;
#else
  for (int row = 0; row < kMcuSide; ++row) {
    if (std::memcmp(topLeft + row * stride, entry.pixels.data() + row * kMcuRowBytes,
                    kMcuRowBytes) != 0) {
      return false;
    }
  }
  return true;
#endif
}

SharedMcuEntry SharedMcuEntry::Make(const uint8_t* pixels, McuCode code) {
  auto* entry = new McuEntry;
  std::memcpy(entry->pixels.data(), pixels, kMcuBytes);
  entry->code = std::move(code);
  return SharedMcuEntry(entry);
}

SharedMcuEntry SharedMcuEntry::CopyOf(const McuEntry& entry) {
  return Make(entry.pixels.data(), entry.code);
}

McuCache::McuCache(std::size_t budgetBytes) : budgetBytes_(budgetBytes) {}

void McuCache::FindAll(std::span<const McuKey> keys, std::span<SharedMcuEntry> found) {
  std::vector<std::size_t> missing;
  {
    const OwnerLock lock(mutex_);
    for (std::size_t i = 0; i < keys.size() && i < found.size(); ++i) {
      found[i] = FindLocked(keys[i]);
      if (found[i] == nullptr && !others_.empty()) missing.push_back(i);
    }
  }
  if (missing.empty()) return;
  // One lock at a time: the caches ask each other.
  for (const McuCache* other : others_) other->FindOwn(keys, missing, found);
  const OwnerLock lock(mutex_);
  for (const std::size_t i : missing) {
    if (found[i] != nullptr) KeepLocked(keys[i].hash, found[i]);
  }
}

void McuCache::FindOwn(std::span<const McuKey> keys, std::span<const std::size_t> places,
                       std::span<SharedMcuEntry> found) const {
  // Asked by another thread's cache. While this cache's own thread holds it, the asker does
  // not wait: that would cost a sleep and a wake-up on a busy core, not finding costs one
  // transform, and the code comes out the same either way.
  const std::unique_lock lock(mutex_, std::try_to_lock);
  if (!lock.owns_lock()) return;
  for (const std::size_t i : places) {
    if (found[i] != nullptr) continue;
    for (const Generation* generation : {&newer_, &older_}) {
      const SharedMcuEntry* kept = generation->Find(keys[i].hash);
      if (kept != nullptr && std::memcmp(keys[i].pixels, (*kept)->pixels.data(), kMcuBytes) == 0) {
        found[i] = SharedMcuEntry::CopyOf(**kept);  // see SharedMcuEntry
        break;
      }
    }
  }
}

std::vector<SharedMcuEntry> McuCache::InsertAll(std::span<const McuKey> keys,
                                                std::vector<McuCode> codes) {
  std::vector<SharedMcuEntry> entries;
  entries.reserve(keys.size());
  for (std::size_t i = 0; i < keys.size() && i < codes.size(); ++i) {
    entries.push_back(SharedMcuEntry::Make(keys[i].pixels, std::move(codes[i])));
  }
  const OwnerLock lock(mutex_);
  for (std::size_t i = 0; i < entries.size(); ++i) KeepLocked(keys[i].hash, entries[i]);
  return entries;
}

std::shared_ptr<const McuCache::CodedImage> McuCache::LastImage(int columns, int rows) const {
  const OwnerLock lock(mutex_);
  if (lastImage_ == nullptr || lastImage_->columns != columns || lastImage_->rows != rows) {
    return nullptr;
  }
  return lastImage_;
}

void McuCache::SetLastImage(std::shared_ptr<const CodedImage> image) {
  {
    const OwnerLock lock(mutex_);
    lastImage_.swap(image);
  }
  // The image let go of here is released outside the lock.
}

McuCache::Stats McuCache::stats() const {
  const OwnerLock lock(mutex_);
  return {newer_.size() + older_.size(), newerBytes_ + olderBytes_, hits_, misses_};
}

SharedMcuEntry McuCache::FindLocked(const McuKey& key) {
  const SharedMcuEntry* inNewer = newer_.Find(key.hash);
  const SharedMcuEntry* inOlder = inNewer == nullptr ? older_.Find(key.hash) : nullptr;
  const SharedMcuEntry* entry = inNewer != nullptr ? inNewer : inOlder;
  if (entry == nullptr || std::memcmp(key.pixels, (*entry)->pixels.data(), kMcuBytes) != 0) {
    ++misses_;
    return nullptr;
  }
  ++hits_;
  SharedMcuEntry found = *entry;
  if (inOlder != nullptr) {
    // Still in use: it moves to the newer generation.
    olderBytes_ -= BytesOf(*found);
    older_.Erase(key.hash);
    KeepLocked(key.hash, found);
  }
  return found;
}

void McuCache::KeepLocked(uint64_t hash, SharedMcuEntry entry) {
  // Another thread may have kept the same pixels meanwhile (its code is the same), or,
  // rarely, other pixels of the same hash: the entry kept first stays.
  if (newer_.Contains(hash) || older_.Contains(hash)) return;
  const std::size_t bytes = BytesOf(*entry);
  if (bytes > budgetBytes_ / 2) return;  // each generation keeps to half the budget
  if (newerBytes_ + bytes > budgetBytes_ / 2) {
    older_ = std::move(newer_);
    olderBytes_ = newerBytes_;
    newer_ = Generation();
    newerBytes_ = 0;
  }
  newerBytes_ += bytes;
  newer_.Insert(hash, std::move(entry));
}

}  // namespace morvik::jpeg
