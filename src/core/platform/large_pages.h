#pragma once
// Large (2 MB) pages for the process's large objects, asked for while they come cheaply
// (POSIX build; prefaulted_memory.h gives the calls the program uses).
//
// One large page costs a trap and a page-table entry where 4 KB pages cost 512 of each,
// so it usually comes far sooner: 0.1 ms against 0.9 ms for 512 small pages on the
// virtual machines this was measured on. But a virtual machine that hands freed memory
// back to its host has the host supply a large page again when it is next touched: some
// 5 ms a page, where small pages still came at the same speed. A run started after a
// pause could take many of its large pages that way, and then took longer on two cores
// than it would have on small pages (some 15%). So once a large page has come slowly, the
// process asks for small pages.

#include <atomic>
#include <chrono>
#include <cstddef>

namespace morvik::platform {

class LargePages {
 public:
  // Asks for large pages until one takes longer than `slowPage` to come (in the time of
  // the thread that touches it first).
  explicit LargePages(std::chrono::nanoseconds slowPage) : slowPage_(slowPage) {}
  LargePages(const LargePages&) = delete;
  LargePages& operator=(const LargePages&) = delete;

  // The process's own.
  static LargePages& ForProcess();

  // `bytes` of memory, aligned for any object, with its pages present. An object of a
  // large page or more lies on whole large pages (asked for large pages while they come
  // cheaply). Throws std::bad_alloc when there is none.
  void* Allocate(std::size_t bytes);
  // Gives back what Allocate gave for the same `bytes`.
  static void Free(void* memory, std::size_t bytes) noexcept;

  // For a buffer of a large page or more about to be written from end to end (its
  // contents are not kept): asks for large pages for the whole large pages inside it
  // while they come cheaply (for small ones otherwise), and makes its pages present,
  // timing them as Allocate does.
  void Offer(void* memory, std::size_t bytes) noexcept;

  bool Asking() const { return asking_.load(std::memory_order_relaxed); }

 private:
  // Writes to every page of `length` bytes; one large page at a time, and timed, when
  // `onLargePages`.
  void Touch(char* memory, std::size_t length, bool onLargePages);

  const std::chrono::nanoseconds slowPage_;
  std::atomic<bool> asking_{true};
};

}  // namespace morvik::platform
