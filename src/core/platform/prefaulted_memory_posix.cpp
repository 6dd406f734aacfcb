#include "core/platform/prefaulted_memory.h"

#include <sys/mman.h>
#include <unistd.h>

#include <cstdint>
#include <new>

namespace morvik::platform {
namespace {

constexpr std::size_t kLargePage = std::size_t{2} << 20;

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

// Memory on large pages where the system gives them to memory that asks (Linux's
// transparent huge pages): one 2 MB page costs a trap and a page-table entry where 4 KB
// pages cost 512 of each, both when the pages come and when the process gives them back.
// Where a first touch of a 4 KB page costs microseconds, as on the virtual machines this
// was measured on, the working tables' 20 MB took some 8 ms to set up on small pages and
// under 1 ms on large ones. The mapping starts on a large page's boundary, which the
// system needs; where it gives no large pages, the memory is what the small-page path
// gives.
void* MapOnLargePages(std::size_t length) {
  auto* mapped = static_cast<char*>(MapAnonymous(length + kLargePage));
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  char* aligned = mapped + (RoundUp(start, kLargePage) - start);
  if (aligned > mapped) munmap(mapped, aligned - mapped);
  munmap(aligned + length, mapped + length + kLargePage - (aligned + length));
  OfferLargePages(aligned, length);
  return aligned;
}

// Makes the pages present by writing to each (fresh memory reads as zero, so writing a
// zero keeps it). Not MADV_POPULATE_WRITE or MAP_POPULATE: those hold the process's
// memory-map lock for the whole range, and where the machine backs memory lazily (a
// virtual machine that takes freed memory back) a 2 MB page can take milliseconds to come.
// Meanwhile another thread's mmap or mprotect, which the heap makes as it grows, waited
// for the lock: the JPG worker stood still for 10 ms and more at a time. A page touched
// here comes under the lock of its own mapping only.
void TouchPages(void* memory, std::size_t length) {
  static const auto kPage = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  volatile auto* bytes = static_cast<volatile char*>(memory);
  for (std::size_t offset = 0; offset < length; offset += kPage) bytes[offset] = 0;
}

}  // namespace

// The pages are made present here in one pass, not wherever the object's constructor
// first writes to them: on large pages, one trap for each 2 MB.
void* AllocatePrefaulted(std::size_t bytes) {
  const std::size_t length = MappedLength(bytes);
  void* memory = length >= kLargePage ? MapOnLargePages(length) : MapAnonymous(length);
  TouchPages(memory, length);
  return memory;
}

void FreePrefaulted(void* memory, std::size_t bytes) noexcept {
  if (memory != nullptr) munmap(memory, MappedLength(bytes));
}

void OfferLargePages(void* memory, std::size_t bytes) noexcept {
#if defined(MADV_HUGEPAGE)
  // The advice goes to whole small pages, those inside the buffer only.
  static const auto kPage = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  if (bytes < kLargePage || start > UINTPTR_MAX - bytes) return;
  const std::uintptr_t first = (start + kPage - 1) / kPage * kPage;
  const std::uintptr_t end = (start + bytes) / kPage * kPage;
  madvise(reinterpret_cast<void*>(first), end - first, MADV_HUGEPAGE);
#else
  (void)memory;
  (void)bytes;
#endif
}

}  // namespace morvik::platform
