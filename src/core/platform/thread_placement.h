#pragma once
// Which processor core a thread runs on. POSIX build: thread_placement_posix.cpp (Linux's
// calls; elsewhere nothing is known and nothing moves); Windows and MORVIK_PORTABLE:
// thread_placement_portable.cpp (nothing known, nothing moved).

namespace morvik::platform {

// The core the calling thread runs on at this moment; -1 where the system does not say.
int CurrentCore() noexcept;

// For a thread that a thread on `creatorsCore` has just started: moves the calling thread
// to another core the process may run on, if it is still on that one and there is
// another, and then leaves it free to run on any of them again. A read-ahead thread is
// started for its creator to go on meanwhile; but Linux puts a new thread on its
// creator's core, where the two share it for milliseconds before the scheduler moves one
// of them. A hint: where the system cannot do it, nothing changes.
void MoveOffCore(int creatorsCore) noexcept;

}  // namespace morvik::platform
