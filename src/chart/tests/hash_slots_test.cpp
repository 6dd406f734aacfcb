// The slot table against the standard library's map, through long runs of random
// inserts, finds and erases; the keys are made to crowd into a few slots, and to wrap
// around the end of the array, where probing and moving values back go wrong first.
#include "chart/hash_slots.h"

#include <gtest/gtest.h>

#include <memory>
#include <random>
#include <unordered_map>

namespace morvik::jpeg {
namespace {

struct KeyCase {
  const char* name;
  // The bits above the slot index that vary from key to key: 0 makes every key of the
  // same low bits collide.
  int highBits;
  int lowBits;       // how many of the slot index bits vary
  uint64_t lowBase;  // where the low bits start: near the end of the array wraps around
};

class HashSlotsTest : public ::testing::TestWithParam<KeyCase> {};

TEST_P(HashSlotsTest, KeepsWhatAMapKeeps) {
  const KeyCase& keys = GetParam();
  std::mt19937_64 random(20261209);
  const auto randomKey = [&] {
    const uint64_t low = (keys.lowBase + (random() & ((uint64_t{1} << keys.lowBits) - 1))) & 1023;
    const uint64_t high = keys.highBits == 0 ? 0 : random() & ((uint64_t{1} << keys.highBits) - 1);
    return high << 10 | low;  // the table has 1024 slots at first
  };
  HashSlots<std::shared_ptr<int>> table;
  std::unordered_map<uint64_t, int> reference;
  for (int step = 0; step < 20000; ++step) {
    const uint64_t key = randomKey();
    const bool kept = reference.contains(key);
    ASSERT_EQ(table.Contains(key), kept) << "step " << step;
    if (kept) {
      ASSERT_EQ(**table.Find(key), reference[key]) << "step " << step;
    }
    if (random() % 3 == 0) {
      table.Erase(key);
      reference.erase(key);
    } else if (!kept) {
      table.Insert(key, std::make_shared<int>(step));
      reference[key] = step;
    }
    ASSERT_EQ(table.size(), reference.size());
  }
  for (const auto& [key, value] : reference) {
    ASSERT_NE(table.Find(key), nullptr);
    EXPECT_EQ(**table.Find(key), value);
  }
}

INSTANTIATE_TEST_SUITE_P(Keys, HashSlotsTest,
                         ::testing::Values(KeyCase{"spread", 20, 10, 0},
                                           KeyCase{"eight_slots", 8, 3, 0},
                                           KeyCase{"wrapping", 8, 3, 1020},
                                           KeyCase{"growing", 12, 10, 500}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvik::jpeg
