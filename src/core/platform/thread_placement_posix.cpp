#include "core/platform/thread_placement.h"

#ifdef __linux__
#include <sched.h>
#endif

namespace morvik::platform {

#ifdef __linux__

int CurrentCore() noexcept { return sched_getcpu(); }

void MoveOffCore(int creatorsCore) noexcept {
  cpu_set_t allowed;
  CPU_ZERO(&allowed);
  if (creatorsCore < 0 || creatorsCore >= CPU_SETSIZE ||
      sched_getaffinity(0, sizeof allowed, &allowed) != 0 || CPU_COUNT(&allowed) < 2 ||
      !CPU_ISSET(creatorsCore, &allowed) || sched_getcpu() != creatorsCore) {
    return;
  }
  cpu_set_t others = allowed;
  CPU_CLR(creatorsCore, &others);
  // The first call moves the thread at once; the second only widens where it may run.
  if (sched_setaffinity(0, sizeof others, &others) == 0) {
    sched_setaffinity(0, sizeof allowed, &allowed);
  }
}

#else

int CurrentCore() noexcept { return -1; }
void MoveOffCore(int) noexcept {}

#endif

}  // namespace morvik::platform
