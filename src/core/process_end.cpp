#include "core/process_end.h"

#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <vector>

#include "core/sanitizer.h"

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

bool CanEndProcessNow() { return !kAddressSanitizer; }

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
