#pragma once
// Memory for a large object that is written from end to end as soon as it is made. POSIX
// build: prefaulted_memory_posix.cpp (the pages made present at once, 2 MB pages where
// the object spans one, while they come cheaply: large_pages.h); Windows and
// MORVIK_PORTABLE: prefaulted_memory_portable.cpp (the C++ library's operator new).

#include <cstddef>

namespace morvik::platform {

// `bytes` of memory, aligned for any object. Throws std::bad_alloc when there is none.
void* AllocatePrefaulted(std::size_t bytes);
// Gives back what AllocatePrefaulted gave for the same `bytes`.
void FreePrefaulted(void* memory, std::size_t bytes) noexcept;

// Asks for large pages for a buffer just made and about to be written from end to end
// (a decoded input file's tens of megabytes): the whole 2 MB pages within it come in one
// trap each where the system gives them (and while they come cheaply: large_pages.h).
// The POSIX build's; it also makes the pages present, so its contents are not kept.
void OfferLargePages(void* memory, std::size_t bytes) noexcept;

}  // namespace morvik::platform
