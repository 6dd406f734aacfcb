// The pieces of the cached JPG writer: the scan's bits, the transform of MCUs in strips,
// and the cache's bounds and pixel checks.
#include <QImage>

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <set>
#include <thread>
#include <vector>

#include "chart/jpeg_bits.h"
#include "chart/jpeg_huffman.h"
#include "chart/jpeg_library.h"
#include "chart/mcu_cache.h"
#include "chart/mcu_transform.h"
#include "core/failures.h"

namespace morvik::jpeg {
namespace {

using Bits = std::vector<bool>;

Bits BitsOf(const std::vector<std::pair<uint32_t, int>>& codes) {
  Bits bits;
  for (const auto& [value, count] : codes) {
    for (int i = count - 1; i >= 0; --i) bits.push_back((value >> i) & 1);
  }
  return bits;
}

// The scan's bytes, one bit at a time: a 0x00 after each 0xFF, the end padded with ones.
QByteArray ReferenceScan(Bits bits) {
  while (bits.size() % 8 != 0) bits.push_back(true);
  QByteArray out;
  for (std::size_t i = 0; i < bits.size(); i += 8) {
    int byte = 0;
    for (std::size_t j = 0; j < 8; ++j) byte = byte << 1 | bits[i + j];
    out.append(static_cast<char>(byte));
    if (byte == 0xFF) out.append('\0');
  }
  return out;
}

QByteArray ReferenceScan(const std::vector<std::pair<uint32_t, int>>& codes) {
  return ReferenceScan(BitsOf(codes));
}

QByteArray Stuffed(PackedBits& bits) {
  const std::size_t bitCount = bits.bitCount();
  const std::vector<uint8_t> bytes = bits.TakeBytes(0);
  QByteArray out("head");
  AppendStuffed(bytes.data(), bitCount, out);
  return out.mid(4);
}

QByteArray WrittenScan(const std::vector<std::pair<uint32_t, int>>& codes) {
  PackedBits bits;
  for (const auto& [value, count] : codes) bits.Put(value, count);
  return Stuffed(bits);
}

TEST(ScanBitsTest, StuffsAndPadsAsTheFileNeeds) {
  using Codes = std::vector<std::pair<uint32_t, int>>;
  const struct {
    const char* name;
    Codes codes;
    QByteArray expected;
  } cases[] = {
      {"nothing", {}, QByteArray()},
      {"a whole byte", {{0xA5, 8}}, QByteArray("\xA5", 1)},
      {"padded with ones", {{0b101, 3}}, QByteArray("\xBF", 1)},
      {"0xFF stuffed", {{0xFF, 8}, {0x12, 8}}, QByteArray("\xFF\x00\x12", 3)},
      {"padding makes 0xFF", {{0x7F, 7}}, QByteArray("\xFF\x00", 2)},
      {"0xFF across a word",
       {{0, 4}, {0xFFFFFFFF, 32}, {0, 28}},
       QByteArray("\x0F\xFF\x00\xFF\x00\xFF\x00\xF0\x00\x00\x00", 11)},
      {"0xFF first in a word",
       {{0xFF000000, 32}, {0x12, 32}},
       QByteArray("\xFF\x00\x00\x00\x00\x00\x00\x00\x12", 9)},
      {"0xFF last in a word",
       {{0x12, 32}, {0xFF, 32}},
       QByteArray("\x00\x00\x00\x12\x00\x00\x00\xFF\x00", 9)},
      {"0xFF in the middle of a word",
       {{0x00FF, 16}, {0x345678, 24}, {0x9ABCDE, 24}},
       QByteArray("\x00\xFF\x00\x34\x56\x78\x9A\xBC\xDE", 9)},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(WrittenScan(c.codes), c.expected) << c.name;
    EXPECT_EQ(ReferenceScan(c.codes), c.expected) << c.name << " (reference)";
  }
}

TEST(ScanBitsTest, RandomCodesAndCopiedRunsMatchTheBitByBitScan) {
  std::mt19937 random(42);
  std::uniform_int_distribution<int> length(0, 32), pick(0, 9), offset(0, 63);
  for (int round = 0; round < 300; ++round) {
    std::vector<std::pair<uint32_t, int>> codes;
    for (int i = 0, n = pick(random) * 20; i < n; ++i) {
      const int count = length(random);
      // Mostly ones, so that 0xFF bytes are common.
      uint32_t value = pick(random) < 6 ? 0xFFFFFFFFu : static_cast<uint32_t>(random());
      value &= count == 32 ? 0xFFFFFFFFu : (1u << count) - 1;
      codes.emplace_back(value, count);
    }
    ASSERT_EQ(WrittenScan(codes), ReferenceScan(codes)) << "round " << round;

    // A run of the same bits copied from any bit into a scan off any bit, as the writer
    // copies the last chart's code: the source starts and the copy ends anywhere.
    PackedBits source;
    for (const auto& [value, count] : codes) source.Put(value, count);
    const std::size_t sourceBits = source.bitCount();
    const std::vector<uint8_t> bytes = source.TakeBytes(16);
    const std::size_t first = sourceBits == 0 ? 0 : random() % sourceBits;
    const std::size_t count = sourceBits == 0 ? 0 : random() % (sourceBits - first + 1);
    const int lead = offset(random);
    PackedBits scan;
    const auto ones = [](int count) { return count == 32 ? ~0u : (1u << count) - 1; };
    scan.Put(ones(lead / 2), lead / 2);  // whatever is held before the run
    scan.Put(ones(lead - lead / 2), lead - lead / 2);
    scan.PutPacked(bytes.data(), first, count);
    scan.Put(0b10, 2);
    Bits expected(lead, true);
    const Bits all = BitsOf(codes);
    expected.insert(expected.end(), all.begin() + first, all.begin() + first + count);
    expected.insert(expected.end(), {true, false});
    ASSERT_EQ(Stuffed(scan), ReferenceScan(expected))
        << "round " << round << ", bits " << first << " + " << count << " after " << lead;
  }
}

// Scans of every length up to a few vectors, ending anywhere in a byte, with no 0xFF
// bytes, some, and nothing else, stuffed each way: 32 or 16 bytes at a time and the rest
// one by one.
TEST(ScanBitsTest, StuffsEveryPatternOfFfBytes) {
  std::mt19937 random(11);
  for (const int ffPercent : {0, 30, 100}) {
    for (std::size_t length = 0; length <= 140; ++length) {
      std::vector<uint8_t> bytes(length + 1);
      for (uint8_t& byte : bytes) {
        byte = static_cast<int>(random() % 100) < ffPercent ? 0xFF : random() % 0xFF;
      }
      for (int dropped = 0; dropped < 8 && dropped <= static_cast<int>(8 * length); ++dropped) {
        const std::size_t bitCount = 8 * length - dropped;
        Bits bits;
        for (std::size_t i = 0; i < bitCount; ++i) bits.push_back(bytes[i / 8] >> (7 - i % 8) & 1);
        for (const StuffingWay way :
             {StuffingWay::kWidest, StuffingWay::kSixteen, StuffingWay::kBytes}) {
          QByteArray out("head");
          AppendStuffed(bytes.data(), bitCount, out, way);
          ASSERT_EQ(out.mid(4), ReferenceScan(bits))
              << ffPercent << "% 0xFF, " << length << " bytes less " << dropped << " bits, way "
              << static_cast<int>(way);
        }
      }
    }
  }
}

// A picture with every kind of block: flat, edges, noise, saturated colours.
QImage MixedPicture(int width, int height) {
  QImage image(width, height, QImage::Format_RGB888);
  std::mt19937 random(5);
  for (int y = 0; y < height; ++y) {
    for (int x = 0; x < width; ++x) {
      const int region = (x / 16 + y / 16) % 4;
      const uint32_t noise = random();
      uchar* p = image.scanLine(y) + 3 * x;
      p[0] = region == 0 ? 255 : region == 1 ? (x * 7 + y) & 0xFF : noise & 0xFF;
      p[1] = region == 0 ? 255 : region == 1 ? (y * 5) & 0xFF : (noise >> 8) & 0xFF;
      p[2] = region == 3 ? 0 : region == 1 ? 40 : (noise >> 16) & 0xFF;
    }
  }
  return image;
}

// Every MCU of the image, row by row, gathered into `pixels`.
std::vector<McuKey> AllMcus(const QImage& image, std::vector<uint8_t>& pixels) {
  const int count = image.width() / kMcuSide * (image.height() / kMcuSide);
  pixels.assign(static_cast<std::size_t>(count) * kMcuBytes, 0);
  std::vector<McuKey> mcus;
  for (int y = 0; y < image.height(); y += kMcuSide) {
    for (int x = 0; x < image.width(); x += kMcuSide) {
      const uint8_t* at = image.constBits() + y * image.bytesPerLine() + 3 * x;
      mcus.push_back(GatherMcu(at, image.bytesPerLine(), &pixels[mcus.size() * kMcuBytes]));
    }
  }
  return mcus;
}

// The blocks taken on their way to the library's Huffman coder are those its file holds,
// MCU by MCU in the file's order, and in the same order of values.
TEST(McuTransformTest, BlocksTakenFromTheLibraryAreThoseOfItsFile) {
  const QImage image = MixedPicture(256, 128);
  const RgbPixels pixels{image.constBits(), image.width(), image.height(), image.bytesPerLine()};
  const auto file = ReadQuantizedBlocks(CompressWithLibrary(pixels, Density{}));
  const QuantizedMcus taken = QuantizeWithLibrary(pixels);
  ASSERT_EQ(taken.columns, 16);
  ASSERT_EQ(taken.rows, 8);
  ASSERT_EQ(taken.blocksPerMcu, kBlocksPerMcu);
  ASSERT_EQ(taken.blocks.size(), 16u * 8 * kBlocksPerMcu);
  for (int row = 0; row < taken.rows; ++row) {
    for (int column = 0; column < taken.columns; ++column) {
      const Block* expected[kBlocksPerMcu] = {&file[0].At(2 * column, 2 * row),
                                              &file[0].At(2 * column + 1, 2 * row),
                                              &file[0].At(2 * column, 2 * row + 1),
                                              &file[0].At(2 * column + 1, 2 * row + 1),
                                              &file[1].At(column, row),
                                              &file[2].At(column, row)};
      for (int b = 0; b < kBlocksPerMcu; ++b) {
        ASSERT_EQ(taken.blocks[(row * taken.columns + column) * kBlocksPerMcu + b], *expected[b])
            << "MCU " << column << ", " << row << ", block " << b;
      }
    }
  }
}

TEST(McuTransformTest, TheLibrarysRefusalIsARunFailure) {
  const std::vector<uint8_t> row(65536 * 3, 0x80);  // wider than the library takes
  EXPECT_THROW(QuantizeWithLibrary({row.data(), 65536, 16, 0}), RunFailure);
  EXPECT_THROW(QuantizeWithLibrary({row.data(), 0, 16, 0}), RunFailure);
}

// An MCU's blocks taken from the strips must be those the library gives it in the whole
// image, whatever MCUs stand beside it in the strip.
TEST(McuTransformTest, BlocksOfMcusInAStripAreThoseOfTheWholeImage) {
  const QImage image = MixedPicture(256, 128);
  const auto whole = ReadQuantizedBlocks(CompressWithLibrary(
      {image.constBits(), image.width(), image.height(), image.bytesPerLine()}, Density{}));
  std::vector<uint8_t> pixels;
  const std::vector<McuKey> mcus = AllMcus(image, pixels);
  std::vector<int> order(mcus.size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = static_cast<int>(i);
  std::shuffle(order.begin(), order.end(), std::mt19937(9));
  order.resize(order.size() * 2 / 3);
  std::vector<McuKey> picked;
  for (int i : order) picked.push_back(mcus[i]);

  const std::vector<McuCode> codes = TransformMcus(picked);
  ASSERT_EQ(codes.size(), picked.size());
  const int columns = image.width() / kMcuSide;
  for (std::size_t k = 0; k < order.size(); ++k) {
    const int column = order[k] % columns, row = order[k] / columns;
    const McuCode expected =
        CodeMcu({&whole[0].At(2 * column, 2 * row), &whole[0].At(2 * column + 1, 2 * row),
                 &whole[0].At(2 * column, 2 * row + 1), &whole[0].At(2 * column + 1, 2 * row + 1),
                 &whole[1].At(column, row), &whole[2].At(column, row)});
    EXPECT_TRUE(codes[k] == expected) << "MCU " << order[k];
  }
}

// MCUs of distinct pixels in a row of an image, each with a code that tells them apart.
struct CacheFixture {
  explicit CacheFixture(int count) : image(count * kMcuSide, kMcuSide, QImage::Format_RGB888) {
    for (int i = 0; i < count; ++i) {
      for (int y = 0; y < kMcuSide; ++y) {
        std::fill_n(image.scanLine(y) + i * kMcuRowBytes, kMcuRowBytes, static_cast<uchar>(i));
      }
    }
    mcus = AllMcus(image, pixels);
    for (int i = 0; i < count; ++i) {
      codes.emplace_back();
      codes.back().firstLumaDc = static_cast<int16_t>(i);
    }
  }
  SharedMcuEntry Insert(McuCache& cache, int i) const {
    return cache.InsertAll({&mcus[i], 1}, {codes[i]}).at(0);
  }
  QImage image;
  std::vector<uint8_t> pixels;
  std::vector<McuKey> mcus;
  std::vector<McuCode> codes;
};

std::vector<SharedMcuEntry> Find(McuCache& cache, std::span<const McuKey> keys) {
  std::vector<SharedMcuEntry> found(keys.size());
  cache.FindAll(keys, found);
  return found;
}

TEST(McuCacheTest, AHashCollisionIsAMissNeverAnotherMcusCode) {
  CacheFixture f(2);
  f.mcus[1].hash = f.mcus[0].hash;  // as if two pixel blocks hashed alike
  McuCache cache;
  const SharedMcuEntry first = f.Insert(cache, 0);
  std::vector<SharedMcuEntry> found = Find(cache, f.mcus);
  EXPECT_EQ(found[0], first);
  EXPECT_EQ(found[1], nullptr);
  f.Insert(cache, 1);  // the first one stays
  found = Find(cache, f.mcus);
  EXPECT_EQ(found[0], first);
  EXPECT_EQ(found[1], nullptr);
}

TEST(McuCacheTest, KeepsToItsBudgetAndKeepsWhatIsInUse) {
  CacheFixture f(200);
  const std::size_t budget = 40 * 1024;  // room for a few dozen entries
  McuCache cache(budget);
  for (int i = 0; i < 200; ++i) {
    f.Insert(cache, i);
    Find(cache, {&f.mcus[0], 1});  // the first MCU is met again and again
    ASSERT_LE(cache.stats().bytes, budget) << "after " << i + 1;
  }
  const std::vector<SharedMcuEntry> found = Find(cache, f.mcus);
  ASSERT_NE(found[0], nullptr) << "an entry in use is kept";
  EXPECT_EQ(found[0]->code, f.codes[0]);
  EXPECT_EQ(found[1], nullptr) << "an early entry not met again is dropped";
  ASSERT_NE(found[199], nullptr) << "the newest is kept";
  EXPECT_EQ(found[199]->code, f.codes[199]);
  const auto kept = std::count_if(found.begin(), found.end(), [](auto& e) { return e != nullptr; });
  EXPECT_GT(kept, 10);
}

// The same pixels and code, in an entry of its own or not.
bool SameMcu(const SharedMcuEntry& a, const SharedMcuEntry& b) {
  return a != nullptr && b != nullptr && a->pixels == b->pixels && a->code == b->code;
}

// Caches that share take what another has coded, as a copy of their own (each cache's
// entries are counted by its thread alone), and keep it, also once the other has dropped
// it; what none has coded stays a miss.
TEST(McuCacheTest, CachesThatShareTakeWhatTheOthersHaveCoded) {
  CacheFixture f(8);
  McuCache first(4 * 1024);  // two entries a generation: it soon drops the first ones
  McuCache second;
  first.ShareWith({&second});
  second.ShareWith({&first});
  const SharedMcuEntry coded = f.Insert(first, 0);
  const SharedMcuEntry taken = Find(second, {&f.mcus[0], 1})[0];
  EXPECT_TRUE(SameMcu(taken, coded));
  EXPECT_NE(taken, coded);
  EXPECT_EQ(Find(second, {&f.mcus[0], 1})[0], taken) << "kept from then on";
  for (int i = 1; i < 8; ++i) f.Insert(first, i);
  ASSERT_LT(first.stats().entries, 5u);
  EXPECT_TRUE(SameMcu(Find(first, {&f.mcus[0], 1})[0], coded))
      << "the second one's copy serves again";
  McuCache alone;
  EXPECT_EQ(Find(alone, {&f.mcus[0], 1})[0], nullptr);
  EXPECT_EQ(Find(second, {&f.mcus[1], 1})[0], nullptr) << "dropped before the second took it";
  EXPECT_TRUE(SameMcu(Find(second, {&f.mcus[7], 1})[0], Find(first, {&f.mcus[7], 1})[0]));
}

// The writer takes the last chart's entry at a place when the pixels are the same: any
// byte of any row that differs must tell them apart.
TEST(McuCacheTest, AnEntrysPixelsDifferWhereverOneByteDiffers) {
  QImage image = MixedPicture(64, 32);
  McuEntry entry;
  const McuKey key =
      GatherMcu(image.constBits() + 16 * 3, image.bytesPerLine(), entry.pixels.data());
  ASSERT_EQ(key.pixels, entry.pixels.data());
  const auto topLeft = [&image] { return image.constBits() + 16 * 3; };
  EXPECT_TRUE(HasPixelsOf(topLeft(), image.bytesPerLine(), entry));
  for (int row = 0; row < kMcuSide; ++row) {
    for (int at = 0; at < kMcuRowBytes; ++at) {
      uchar& byte = image.scanLine(row)[16 * 3 + at];
      byte ^= 1;
      ASSERT_FALSE(HasPixelsOf(topLeft(), image.bytesPerLine(), entry)) << row << ", " << at;
      byte ^= 1;
    }
  }
  EXPECT_TRUE(HasPixelsOf(topLeft(), image.bytesPerLine(), entry));
}

// Every way of hashing gives XXH3's hash of the pixels: the cache's entries do not depend
// on the processor that made them.
TEST(McuCacheTest, EveryWayOfHashingGivesTheSameHash) {
  std::mt19937 random(9);
  std::vector<uint8_t> pixels(kMcuBytes);
  for (int round = 0; round < 200; ++round) {
    // Mostly white with a few marks, as chart MCUs are, and wholly random ones.
    for (uint8_t& byte : pixels) {
      byte = round % 2 == 0 ? static_cast<uint8_t>(random()) : random() % 50 == 0 ? 0 : 255;
    }
    ASSERT_EQ(HashMcu(pixels.data(), HashWay::kWidest), HashMcu(pixels.data(), HashWay::kLibrary))
        << "round " << round;
  }
}

// An entry whose pixels, DC value and code length all tell `i`, and its pixels.
using NumberedEntry = std::pair<SharedMcuEntry, std::array<uint8_t, kMcuBytes>>;
NumberedEntry MakeNumberedEntry(int i) {
  std::array<uint8_t, kMcuBytes> pixels;
  for (std::size_t at = 0; at < pixels.size(); ++at) pixels[at] = static_cast<uint8_t>(i + at);
  McuCode code;
  code.firstLumaDc = static_cast<int16_t>(i);
  code.bits.assign(static_cast<std::size_t>(i % 50), static_cast<uint8_t>(i));
  return {SharedMcuEntry::Make(pixels.data(), code), pixels};
}

// Each live entry of `live[i]` has its own memory and still tells `i`; gives their count.
std::size_t ExpectIntactAndApart(const std::vector<NumberedEntry>& live) {
  std::set<const McuEntry*> places;
  for (std::size_t i = 0; i < live.size(); ++i) {
    const auto& [entry, pixels] = live[i];
    if (entry == nullptr) continue;
    EXPECT_TRUE(places.insert(entry.get()).second) << i;
    EXPECT_EQ(entry->pixels, pixels) << i;
    EXPECT_EQ(entry->code.firstLumaDc, static_cast<int16_t>(i)) << i;
    EXPECT_EQ(entry->code.bits.size(), i % 50) << i;
  }
  return places.size();
}

// Entries made, let go of and made again, over more than one of the blocks they are cut
// from: each keeps its own pixels and code while it lives.
TEST(McuCacheTest, LiveEntriesNeverShareMemory) {
  std::vector<NumberedEntry> live;
  for (int i = 0; i < 6000; ++i) live.push_back(MakeNumberedEntry(i));  // some 5 MB
  for (std::size_t i = 0; i < live.size(); i += 2) live[i].first = nullptr;
  for (int i = 6000; i < 9000; ++i) live.push_back(MakeNumberedEntry(i));
  EXPECT_EQ(ExpectIntactAndApart(live), 6000u);
}

// The saving threads make entries at once; now and then both find the current block used
// up and each make a new one (some 30 MB here: a dozen blocks beyond the slots that
// earlier tests left free).
TEST(McuCacheTest, EntriesMadeOnTwoThreadsAtOnceNeverShareMemory) {
  constexpr int kEach = 20000;
  std::vector<NumberedEntry> live(2 * kEach);
  const auto makeEvery = [&live](int first) {
    for (int i = first; i < 2 * kEach; i += 2) live[i] = MakeNumberedEntry(i);
  };
  std::thread other(makeEvery, 1);
  makeEvery(0);
  other.join();
  EXPECT_EQ(ExpectIntactAndApart(live), live.size());
}

TEST(McuCacheTest, RemembersTheLastChartForItsSizeOnly) {
  McuCache cache;
  EXPECT_EQ(cache.LastImage(3, 2), nullptr);
  auto image = std::make_shared<McuCache::CodedImage>();
  image->columns = 3;
  image->rows = 2;
  cache.SetLastImage(image);
  EXPECT_EQ(cache.LastImage(3, 2), image);
  EXPECT_EQ(cache.LastImage(2, 3), nullptr);
  EXPECT_EQ(cache.LastImage(6, 1), nullptr);
}

}  // namespace
}  // namespace morvik::jpeg
