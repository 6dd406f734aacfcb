#include "core/platform/prefaulted_memory.h"

#include <sys/mman.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <new>

#include "core/platform/large_pages.h"

namespace morvik::platform {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;
// Between a large page that was there to be taken (0.1 ms) and one that the host of a
// virtual machine had to supply again (4 to 6 ms); 512 small pages take some 0.9 ms.
constexpr std::chrono::microseconds kSlowLargePage{1500};

std::size_t SmallPage() {
  static const auto size = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  return size;
}

std::size_t RoundUp(std::size_t bytes, std::size_t multiple) {
  if (bytes > SIZE_MAX - multiple) throw std::bad_alloc();
  return (bytes + multiple - 1) / multiple * multiple;
}

// What is mapped for an object of `bytes`: an object of a large page or more takes whole
// large pages.
std::size_t MappedLength(std::size_t bytes) {
  return bytes >= kLargePage ? RoundUp(bytes, kLargePage) : bytes;
}

void* MapAnonymous(std::size_t length) {
  void* memory = mmap(nullptr, length, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  return memory;
}

enum class PageSize { kLarge, kSmall };

// Asks for pages of `size` for the whole small pages inside `bytes` at `memory` (Linux's
// transparent huge pages; elsewhere the pages are what the system gives).
void AskFor(PageSize size, void* memory, std::size_t bytes) noexcept {
#if defined(MADV_HUGEPAGE) && defined(MADV_NOHUGEPAGE)
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  if (start > UINTPTR_MAX - bytes) return;
  const std::uintptr_t first = (start + SmallPage() - 1) / SmallPage() * SmallPage();
  const std::uintptr_t end = (start + bytes) / SmallPage() * SmallPage();
  if (end <= first) return;
  madvise(reinterpret_cast<void*>(first), end - first,
          size == PageSize::kLarge ? MADV_HUGEPAGE : MADV_NOHUGEPAGE);
#else
  (void)size;
  (void)memory;
  (void)bytes;
#endif
}

// A mapping of `length` (whole large pages) that starts on a large page's boundary, which
// the system needs for large pages, and asks for them. Where the system gives none, the
// pages come small.
void* MapOnLargePages(std::size_t length) {
  auto* mapped = static_cast<char*>(MapAnonymous(length + kLargePage));
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  char* aligned = mapped + (RoundUp(start, kLargePage) - start);
  if (aligned > mapped) munmap(mapped, aligned - mapped);
  munmap(aligned + length, mapped + length + kLargePage - (aligned + length));
  AskFor(PageSize::kLarge, aligned, length);
  return aligned;
}

constexpr std::chrono::nanoseconds kNoTime{0};

// The time this thread has run, the system's work for it included (where a page comes
// slowly, the time goes there). Not the wall clock: with fewer cores than threads, a
// thread that shares its core would find every page slow.
std::chrono::nanoseconds ThreadTime() {
  timespec now{};
  clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
  return std::chrono::seconds(now.tv_sec) + std::chrono::nanoseconds(now.tv_nsec);
}

// Makes the pages present by writing to each (fresh memory reads as zero, so writing a
// zero keeps it). Not MADV_POPULATE_WRITE or MAP_POPULATE: those hold the process's
// memory-map lock for the whole range, and where a large page takes milliseconds to come,
// another thread's mmap or mprotect (which the heap makes as it grows) waited that long:
// the JPG worker stood still for 10 ms and more at a time. A page touched here comes
// under the lock of its own mapping only.
void TouchSmallPages(char* memory, std::size_t length) {
  if (length == 0) return;
  volatile char* bytes = memory;
  for (std::size_t offset = 0; offset < length; offset += SmallPage()) bytes[offset] = 0;
  bytes[length - 1] = 0;  // the last page, where `memory` is not on a page's start
}

}  // namespace

LargePages& LargePages::ForProcess() {
  static LargePages* const pages = new LargePages(kSlowLargePage);  // never destroyed
  return *pages;
}

void* LargePages::Allocate(std::size_t bytes) {
  const std::size_t length = MappedLength(bytes);
  if (length < kLargePage) {
    auto* memory = static_cast<char*>(MapAnonymous(length));
    TouchSmallPages(memory, bytes);
    return memory;
  }
  const bool large = Asking();
  auto* memory = static_cast<char*>(large ? MapOnLargePages(length) : MapAnonymous(length));
  // Said outright: where the system gives large pages unasked, it would go on giving them.
  if (!large) AskFor(PageSize::kSmall, memory, length);
  Touch(memory, large ? length : bytes, large);
  return memory;
}

void LargePages::Free(void* memory, std::size_t bytes) noexcept {
  if (memory != nullptr) munmap(memory, MappedLength(bytes));
}

void LargePages::Offer(void* memory, std::size_t bytes) noexcept {
  if (bytes < kLargePage) return;
  const bool large = Asking();
  AskFor(large ? PageSize::kLarge : PageSize::kSmall, memory, bytes);
  Touch(static_cast<char*>(memory), bytes, large);
}

void LargePages::Touch(char* memory, std::size_t length, bool onLargePages) {
  for (std::size_t start = 0; start < length; start += kLargePage) {
    const std::chrono::nanoseconds began = onLargePages ? ThreadTime() : kNoTime;
    TouchSmallPages(memory + start, std::min(kLargePage, length - start));
    if (onLargePages && ThreadTime() - began > slowPage_) {
      // The rest of this object, and what comes after, on small pages.
      asking_.store(false, std::memory_order_relaxed);
      onLargePages = false;
      const std::size_t rest = start + kLargePage;
      if (rest < length) AskFor(PageSize::kSmall, memory + rest, length - rest);
    }
  }
}

void* AllocatePrefaulted(std::size_t bytes) { return LargePages::ForProcess().Allocate(bytes); }

void FreePrefaulted(void* memory, std::size_t bytes) noexcept { LargePages::Free(memory, bytes); }

void OfferLargePages(void* memory, std::size_t bytes) noexcept {
  LargePages::ForProcess().Offer(memory, bytes);
}

}  // namespace morvik::platform
