#include "core/platform/thread_placement.h"

namespace morvik::platform {

// Qt has no say in where a thread runs: the system places it.
int CurrentCore() noexcept { return -1; }
void MoveOffCore(int) noexcept {}

}  // namespace morvik::platform
