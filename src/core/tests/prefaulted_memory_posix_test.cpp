// How the POSIX build maps large objects (core/platform/prefaulted_memory.h).
#include <gtest/gtest.h>

#include <QFile>
#include <QList>

#include <cstdint>
#include <cstring>
#include <memory>

#include "core/platform/prefaulted_memory.h"

namespace morvik {
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

struct Mapping {
  std::uintptr_t start = 0;
  std::uintptr_t end = 0;
  QByteArray flags;  // the VmFlags line
};

// The process's mappings, as the system records them; empty without /proc.
QList<Mapping> Mappings() {
  QFile smaps(QStringLiteral("/proc/self/smaps"));
  QList<Mapping> mappings;
  if (!smaps.open(QIODevice::ReadOnly)) return mappings;
  for (const QByteArray& line : smaps.readAll().split('\n')) {
    if (line.startsWith("VmFlags:") && !mappings.isEmpty()) {
      mappings.back().flags = line;
      continue;
    }
    const qsizetype dash = line.indexOf('-');
    const qsizetype space = line.indexOf(' ');
    if (dash <= 0 || space <= dash) continue;
    bool startOk = false;
    bool endOk = false;
    const Mapping mapping{line.left(dash).toULongLong(&startOk, 16),
                          line.mid(dash + 1, space - dash - 1).toULongLong(&endOk, 16),
                          {}};
    if (startOk && endOk) mappings.append(mapping);
  }
  return mappings;
}

const Mapping* Containing(const QList<Mapping>& mappings, std::uintptr_t address) {
  for (const Mapping& mapping : mappings) {
    if (mapping.start <= address && address < mapping.end) return &mapping;
  }
  return nullptr;
}

// An object of a large page or more lies on whole large pages offered for large pages,
// and all of them go back when it is freed.
TEST(PrefaultedMemoryPosixTest, LargeObjectsTakeWholeLargePages) {
  if (Mappings().isEmpty()) GTEST_SKIP() << "no /proc/self/smaps";
  constexpr std::size_t kBytes = 2 * kLargePage + 5;
  auto* memory = static_cast<unsigned char*>(platform::AllocatePrefaulted(kBytes));
  const auto start = reinterpret_cast<std::uintptr_t>(memory);
  EXPECT_EQ(start % kLargePage, 0u);
  std::memset(memory, 0xAB, kBytes);
  EXPECT_EQ(memory[kBytes - 1], 0xAB);
  const QList<Mapping> mapped = Mappings();
  const Mapping* mapping = Containing(mapped, start);
  ASSERT_NE(mapping, nullptr);
  EXPECT_TRUE(mapping->flags.contains(" hg")) << mapping->flags.toStdString();
  EXPECT_NE(Containing(mapped, start + 3 * kLargePage - 1), nullptr);

  platform::FreePrefaulted(memory, kBytes);
  const QList<Mapping> after = Mappings();
  for (const std::uintptr_t address : {start, start + 2 * kLargePage, start + 3 * kLargePage - 1}) {
    EXPECT_EQ(Containing(after, address), nullptr) << "still mapped: " << address - start;
  }
}

// A buffer of the heap offered for large pages: its mapping says so, inside the buffer.
TEST(PrefaultedMemoryPosixTest, OfferedBuffersAskForLargePages) {
  if (Mappings().isEmpty()) GTEST_SKIP() << "no /proc/self/smaps";
  constexpr std::size_t kBytes = 3 * kLargePage + 7;
  const std::unique_ptr<char[]> buffer(new char[kBytes]);
  platform::OfferLargePages(buffer.get(), kBytes);
  platform::OfferLargePages(buffer.get() + 1, 100);  // no whole page: nothing to ask
  std::memset(buffer.get(), 1, kBytes);
  const auto middle = reinterpret_cast<std::uintptr_t>(buffer.get()) + kBytes / 2;
  const Mapping* mapping = Containing(Mappings(), middle);
  ASSERT_NE(mapping, nullptr);
  EXPECT_TRUE(mapping->flags.contains(" hg")) << mapping->flags.toStdString();
}

}  // namespace
}  // namespace morvik
