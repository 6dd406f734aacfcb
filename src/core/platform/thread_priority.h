#pragma once
// Scheduling priority of the calling thread. POSIX build: thread_priority_posix.cpp;
// Windows and MORVIK_PORTABLE: thread_priority_portable.cpp (QThread).

namespace morvik::platform {

// Lowers the calling thread below the process's other threads. A hint: where the system
// cannot do it, nothing changes.
void LowerCurrentThreadPriority();

}  // namespace morvik::platform
