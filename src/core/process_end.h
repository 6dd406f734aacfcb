#pragma once
// The end of a process that has nothing left to do but free memory.
//
// A batch run from the command line ends its process as soon as its outputs are written
// and reported. What the run holds by then (the working tables' hundreds of thousands of
// texts, the JPG writer's coded blocks) is tens of megabytes in some hundred thousand
// allocations: freeing them one by one takes longer than the system takes to reclaim the
// whole process. So such a run keeps its large objects here and ends the process without
// taking anything apart.

#include <memory>

namespace morvik {

// False in builds with the address sanitizer: its leak check needs everything freed, so
// those processes end as usual.
bool CanEndProcessNow();

// Keeps `held` until the process ends.
void KeepUntilProcessEnd(std::shared_ptr<const void> held);

// Flushes standard output and error and ends the process with `exitCode`, destroying
// nothing. Only where CanEndProcessNow().
[[noreturn]] void EndProcessNow(int exitCode);

}  // namespace morvik
