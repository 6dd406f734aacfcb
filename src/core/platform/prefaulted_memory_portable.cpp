#include "core/platform/prefaulted_memory.h"

#include <new>

namespace morvik::platform {

void* AllocatePrefaulted(std::size_t bytes) { return ::operator new(bytes); }

void FreePrefaulted(void* memory, std::size_t bytes) noexcept { ::operator delete(memory, bytes); }

void OfferLargePages(void* /*memory*/, std::size_t /*bytes*/) noexcept {}

}  // namespace morvik::platform
