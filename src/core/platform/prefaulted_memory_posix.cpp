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

void* MapAnonymous(std::size_t length, int extraFlags) {
  void* memory = mmap(nullptr, length, PROT_READ | PROT_WRITE,
                      MAP_PRIVATE | MAP_ANONYMOUS | extraFlags, -1, 0);
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
  auto* mapped = static_cast<char*>(MapAnonymous(length + kLargePage, 0));
  const auto start = reinterpret_cast<std::uintptr_t>(mapped);
  char* aligned = mapped + (RoundUp(start, kLargePage) - start);
  if (aligned > mapped) munmap(mapped, aligned - mapped);
  munmap(aligned + length, mapped + length + kLargePage - (aligned + length));
  OfferLargePages(aligned, length);
#if defined(MADV_POPULATE_WRITE)
  madvise(aligned, length, MADV_POPULATE_WRITE);  // before Linux 5.14, pages come as touched
#endif
  return aligned;
}

}  // namespace

// A page touched for the first time costs a trap into the system; asked for present
// pages at once, the system sets them up in one go, and the object's constructor then
// writes to memory that is there (on Linux; elsewhere the flag is not known and the pages
// come as they are touched).
void* AllocatePrefaulted(std::size_t bytes) {
  const std::size_t length = MappedLength(bytes);
  if (length >= kLargePage) return MapOnLargePages(length);
#if defined(MAP_POPULATE)
  return MapAnonymous(length, MAP_POPULATE);
#else
  return MapAnonymous(length, 0);
#endif
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
