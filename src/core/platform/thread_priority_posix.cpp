#include "core/platform/thread_priority.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace morvik::platform {

void LowerCurrentThreadPriority() {
#ifdef __linux__
  // Linux takes a niceness for one thread through its thread id.
  constexpr int kNiceness = 10;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNiceness);  // a hint: failure is fine
#endif
}

}  // namespace morvik::platform
