#include "core/platform/prefaulted_memory.h"

#include <sys/mman.h>

#include <new>

namespace morvik::platform {

// A page touched for the first time costs a trap into the system; asked for present
// pages at once, the system sets them up in one go, and the object's constructor then
// writes to memory that is there (on Linux; elsewhere the flag is not known and the pages
// come as they are touched).
void* AllocatePrefaulted(std::size_t bytes) {
  int flags = MAP_PRIVATE | MAP_ANONYMOUS;
#if defined(MAP_POPULATE)
  flags |= MAP_POPULATE;
#endif
  void* memory = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, flags, -1, 0);
  if (memory == MAP_FAILED) throw std::bad_alloc();
  return memory;
}

void FreePrefaulted(void* memory, std::size_t bytes) noexcept {
  if (memory != nullptr) munmap(memory, bytes);
}

}  // namespace morvik::platform
