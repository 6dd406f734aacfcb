#include "core/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

namespace morvik {
namespace {

struct Kept {
  std::mutex mutex;
  std::vector<std::shared_ptr<const void>> objects;
};

Kept& KeptObjects() {
  static Kept kept;
  return kept;
}

}  // namespace

bool CanEndProcessNow() {
#if defined(__SANITIZE_ADDRESS__)
  return false;
#elif defined(__has_feature)
#if __has_feature(address_sanitizer)
  return false;
#else
  return true;
#endif
#else
  return true;
#endif
}

void KeepUntilProcessEnd(std::shared_ptr<const void> held) {
  Kept& kept = KeptObjects();
  std::lock_guard lock(kept.mutex);
  kept.objects.push_back(std::move(held));
}

void EndProcessNow(int exitCode) {
  std::fflush(stdout);
  std::fflush(stderr);
  std::_Exit(exitCode);
}

}  // namespace morvik
