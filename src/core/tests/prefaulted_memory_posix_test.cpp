// How the POSIX build maps large objects (core/platform/prefaulted_memory.h).
#include <gtest/gtest.h>

#include <sys/mman.h>
#include <unistd.h>

#include <QFile>

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdint>
#include <cstring>
#include <memory>
#include <optional>
#include <vector>

#include "core/platform/large_pages.h"
#include "core/platform/prefaulted_memory.h"

namespace morvik {
namespace {

constexpr std::uintptr_t kLargePage = std::uintptr_t{2} << 20;

// The VmFlags line of the mapping that holds `address`, as the system records it; none
// when no mapping holds it.
std::optional<QByteArray> FlagsOfMappingAt(const void* address) {
  QFile smaps(QStringLiteral("/proc/self/smaps"));
  if (!smaps.open(QIODevice::ReadOnly)) return std::nullopt;
  const auto at = reinterpret_cast<std::uintptr_t>(address);
  bool holds = false;
  for (const QByteArray& line : smaps.readAll().split('\n')) {
    if (line.startsWith("VmFlags:") && holds) return line;
    const QList<QByteArray> range = line.left(line.indexOf(' ')).split('-');
    bool startOk = false;
    bool endOk = false;
    const std::uintptr_t start = range.size() == 2 ? range[0].toULongLong(&startOk, 16) : 0;
    const std::uintptr_t end = range.size() == 2 ? range[1].toULongLong(&endOk, 16) : 0;
    if (startOk && endOk) holds = start <= at && at < end;
  }
  return std::nullopt;
}

// Whether the page that holds `address` is mapped: the system refuses to sync a page that
// is not. Allocates nothing, unlike FlagsOfMappingAt.
bool IsMapped(const void* address) {
  const auto size = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t page = reinterpret_cast<std::uintptr_t>(address) / size * size;
  return msync(reinterpret_cast<void*>(page), size, MS_ASYNC) == 0 || errno != ENOMEM;
}

class PrefaultedMemoryPosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(QStringLiteral("/proc/self/smaps"))) GTEST_SKIP() << "no /proc";
  }
};

constexpr auto kNeverSlow = std::chrono::hours(1);

// An object of a large page or more lies on whole large pages offered for large pages,
// and all of them go back when it is freed.
TEST_F(PrefaultedMemoryPosixTest, LargeObjectsTakeWholeLargePages) {
  constexpr std::size_t kBytes = 2 * kLargePage + 5;
  platform::LargePages pages(kNeverSlow);
  auto* memory = static_cast<unsigned char*>(pages.Allocate(kBytes));
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(memory) % kLargePage, 0u);
  std::memset(memory, 0xAB, kBytes);
  EXPECT_EQ(memory[kBytes - 1], 0xAB);
  EXPECT_TRUE(FlagsOfMappingAt(memory).value_or("").contains(" hg"));
  unsigned char* const lastPage = memory + 3 * kLargePage - 1;
  EXPECT_TRUE(IsMapped(lastPage));
  platform::LargePages::Free(memory, kBytes);
  // Asked before anything else is allocated (and may take the addresses again).
  EXPECT_FALSE(IsMapped(memory));
  EXPECT_FALSE(IsMapped(lastPage));
}

// Once a large page has come slowly (here: any), the rest of that object and everything
// after it come on small pages.
TEST_F(PrefaultedMemoryPosixTest, AfterASlowLargePageObjectsComeOnSmallPages) {
  constexpr std::size_t kBytes = 3 * kLargePage;
  platform::LargePages pages(std::chrono::nanoseconds::zero());
  auto* first = static_cast<char*>(pages.Allocate(kBytes));
  EXPECT_TRUE(FlagsOfMappingAt(first).value_or("").contains(" hg"));
  EXPECT_TRUE(FlagsOfMappingAt(first + kLargePage).value_or("").contains(" nh"));
  EXPECT_FALSE(pages.Asking());
  auto* second = static_cast<char*>(pages.Allocate(kBytes));
  EXPECT_FALSE(FlagsOfMappingAt(second).value_or(" hg").contains(" hg"));
  const std::unique_ptr<char[]> buffer(new char[kBytes]);
  pages.Offer(buffer.get(), kBytes);
  EXPECT_FALSE(FlagsOfMappingAt(buffer.get() + kBytes / 4).value_or(" hg").contains(" hg"));
  platform::LargePages::Free(first, kBytes);
  platform::LargePages::Free(second, kBytes);
}

// Every page of an object is there when it comes, small objects and large ones alike.
TEST_F(PrefaultedMemoryPosixTest, ObjectsComeWithTheirPagesPresent) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  for (const std::size_t bytes : {std::size_t{1}, 3 * page + 1, 2 * kLargePage + 5}) {
    void* memory = platform::AllocatePrefaulted(bytes);
    const std::size_t pages = (bytes + page - 1) / page;
    std::vector<unsigned char> present(pages);
    ASSERT_EQ(mincore(memory, pages * page, present.data()), 0) << bytes;
    EXPECT_EQ(std::count_if(present.begin(), present.end(), [](unsigned char p) { return p & 1; }),
              static_cast<std::ptrdiff_t>(pages))
        << bytes;
    platform::FreePrefaulted(memory, bytes);
  }
}

// A buffer of the heap offered for large pages: its mapping says so, inside the buffer.
TEST_F(PrefaultedMemoryPosixTest, OfferedBuffersAskForLargePages) {
  constexpr std::size_t kBytes = 3 * kLargePage + 7;
  const std::unique_ptr<char[]> buffer(new char[kBytes]);
  platform::LargePages(kNeverSlow).Offer(buffer.get(), kBytes);
  std::memset(buffer.get(), 1, kBytes);
  EXPECT_TRUE(FlagsOfMappingAt(buffer.get() + kBytes / 2).value_or("").contains(" hg"));
}

}  // namespace
}  // namespace morvik
