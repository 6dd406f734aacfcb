// Where the POSIX build moves a thread just started (core/platform/thread_placement.h).
#include <gtest/gtest.h>

#include <sched.h>

#include <thread>

#include "core/platform/thread_placement.h"

namespace morvik {
namespace {

bool SameCores(const cpu_set_t& a, const cpu_set_t& b) { return CPU_EQUAL(&a, &b) != 0; }

cpu_set_t CoresOfThisThread() {
  cpu_set_t cores;
  CPU_ZERO(&cores);
  sched_getaffinity(0, sizeof cores, &cores);
  return cores;
}

// A thread on its creator's core leaves it, and may afterwards run wherever it could before.
TEST(MoveOffCore, LeavesTheCreatorsCoreAndKeepsEveryCore) {
  const cpu_set_t allowed = CoresOfThisThread();
  if (CPU_COUNT(&allowed) < 2) GTEST_SKIP() << "one core only";
  int creatorsCore = -1;
  int after = -1;
  cpu_set_t coresAfter;
  std::thread([&] {
    // Started wherever the system put it: made to sit on one core, as a new thread does.
    creatorsCore = platform::CurrentCore();
    cpu_set_t one;
    CPU_ZERO(&one);
    CPU_SET(creatorsCore, &one);
    sched_setaffinity(0, sizeof one, &one);
    sched_setaffinity(0, sizeof allowed, &allowed);
    platform::MoveOffCore(creatorsCore);
    after = platform::CurrentCore();
    coresAfter = CoresOfThisThread();
  }).join();
  ASSERT_GE(creatorsCore, 0);
  EXPECT_NE(after, creatorsCore);
  EXPECT_TRUE(SameCores(coresAfter, allowed));
}

}  // namespace
}  // namespace morvik
