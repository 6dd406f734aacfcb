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

// Whether every page from `memory` to `memory + bytes` is present.
bool AllPresent(const void* memory, std::size_t bytes) {
  const auto page = static_cast<std::uintptr_t>(sysconf(_SC_PAGESIZE));
  const std::uintptr_t first = reinterpret_cast<std::uintptr_t>(memory) / page * page;
  const std::uintptr_t end = reinterpret_cast<std::uintptr_t>(memory) + bytes;
  std::vector<unsigned char> present((end - first + page - 1) / page);
  if (mincore(reinterpret_cast<void*>(first), end - first, present.data()) != 0) return false;
  return std::all_of(present.begin(), present.end(), [](unsigned char p) { return p & 1; });
}

// A buffer that starts 100 bytes past a page's start, as a heap buffer may, in a mapping
// of its own: what earlier tests advised elsewhere does not show in it.
class OddBuffer {
 public:
  explicit OddBuffer(std::size_t bytes)
      : length_(bytes + 2 * kLargePage),
        mapping_(
            mmap(nullptr, length_, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0)) {}
  ~OddBuffer() {
    if (mapping_ != MAP_FAILED) munmap(mapping_, length_);
  }
  OddBuffer(const OddBuffer&) = delete;
  OddBuffer& operator=(const OddBuffer&) = delete;
  char* get() const { return static_cast<char*>(mapping_) + 100; }

 private:
  std::size_t length_;
  void* mapping_;
};

class PrefaultedMemoryPosixTest : public ::testing::Test {
 protected:
  void SetUp() override {
    if (!QFile::exists(QStringLiteral("/proc/self/smaps"))) GTEST_SKIP() << "no /proc";
  }
};

// Tests of the advice for large pages, which systems without them refuse.
class LargePagesTest : public PrefaultedMemoryPosixTest {
 protected:
  void SetUp() override {
    PrefaultedMemoryPosixTest::SetUp();
    if (!QFile::exists(QStringLiteral("/sys/kernel/mm/transparent_hugepage/enabled"))) {
      GTEST_SKIP() << "no large pages";
    }
  }
};

constexpr auto kNeverSlow = std::chrono::hours(1);

// An object of a large page or more lies on whole large pages offered for large pages,
// and all of them go back when it is freed.
TEST_F(LargePagesTest, LargeObjectsTakeWholeLargePages) {
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
// after it come on small pages, asked for outright.
TEST_F(LargePagesTest, AfterASlowLargePageObjectsComeOnSmallPages) {
  constexpr std::size_t kBytes = 3 * kLargePage;
  platform::LargePages pages(std::chrono::nanoseconds::zero());
  auto* first = static_cast<char*>(pages.Allocate(kBytes));
  EXPECT_TRUE(FlagsOfMappingAt(first).value_or("").contains(" hg"));
  EXPECT_TRUE(FlagsOfMappingAt(first + kLargePage).value_or("").contains(" nh"));
  EXPECT_FALSE(pages.Asking());
  auto* second = static_cast<char*>(pages.Allocate(kBytes));
  EXPECT_TRUE(FlagsOfMappingAt(second).value_or("").contains(" nh"));
  const OddBuffer buffer(kBytes);
  pages.Offer(buffer.get(), kBytes);
  EXPECT_TRUE(FlagsOfMappingAt(buffer.get() + kBytes / 4).value_or("").contains(" nh"));
  EXPECT_TRUE(AllPresent(buffer.get(), kBytes));  // on small pages, the last one too
  platform::LargePages::Free(first, kBytes);
  platform::LargePages::Free(second, kBytes);
}

// A buffer offered for large pages: its mapping says so, inside the buffer, and every
// page of it is present, the last one too.
TEST_F(LargePagesTest, OfferedBuffersAskForLargePages) {
  constexpr std::size_t kBytes = 3 * kLargePage + 7;
  const OddBuffer buffer(kBytes);
  platform::LargePages(kNeverSlow).Offer(buffer.get(), kBytes);
  EXPECT_TRUE(AllPresent(buffer.get(), kBytes));
  EXPECT_TRUE(FlagsOfMappingAt(buffer.get() + kBytes / 2).value_or("").contains(" hg"));
}

// Every page of an object is there when it comes, small objects and large ones alike.
TEST_F(PrefaultedMemoryPosixTest, ObjectsComeWithTheirPagesPresent) {
  const auto page = static_cast<std::size_t>(sysconf(_SC_PAGESIZE));
  for (const std::size_t bytes : {std::size_t{1}, 3 * page + 1, 2 * kLargePage + 5}) {
    void* memory = platform::AllocatePrefaulted(bytes);
    EXPECT_TRUE(AllPresent(memory, bytes)) << bytes;
    platform::FreePrefaulted(memory, bytes);
  }
}

}  // namespace
}  // namespace morvik
