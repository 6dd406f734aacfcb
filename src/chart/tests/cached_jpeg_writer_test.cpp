// The cached JPG writer against Qt's image writer at quality 100, which wrote every JPG
// of the program before it: the same bytes for charts, random drawings over layers,
// pictures that push the coding to its limits, and every density.
#include "chart/cached_jpeg_writer.h"

#include <QBuffer>
#include <QImageWriter>
#include <QPainter>

#include <gtest/gtest.h>

#include <climits>
#include <random>
#include <thread>

#include "chart/canvas.h"
#include "chart/chart_saving.h"
#include "chart/tests/test_charts.h"
#include "core/failures.h"
#include "core/working_tables.h"
#include "testing/scoped_environment.h"

namespace morvik {
namespace {

using jpeg::McuCache;

QByteArray ImageWriterBytes(const QImage& image) {
  QByteArray bytes;
  QBuffer buffer(&bytes);
  buffer.open(QIODevice::WriteOnly);
  QImageWriter writer(&buffer, "jpg");
  writer.setQuality(100);
  EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
  return bytes;
}

// The first differing byte, for a readable failure.
::testing::AssertionResult SameBytes(const QByteArray& actual, const QByteArray& expected) {
  if (actual == expected) return ::testing::AssertionSuccess();
  qsizetype at = 0;
  while (at < actual.size() && at < expected.size() && actual[at] == expected[at]) ++at;
  return ::testing::AssertionFailure() << "sizes " << actual.size() << " and " << expected.size()
                                       << ", first difference at byte " << at;
}

// Charts of several months and staff members, one cache for all as in a run.
TEST(CachedJpegWriterTest, ChartsOfARunComeOutAsTheImageWriterWritesThem) {
  McuCache cache;
  Canvas canvas;
  int chart = 0;
  for (const char* month : {"2026/11/", "2026/12/"}) {
    for (int staff = 1; staff <= 4; ++staff) {
      const auto tables =
          testing::Month(QString::fromLatin1(month),
                         QStringLiteral("%1").arg(staff, 5, 10, QLatin1Char('0')), staff);
      const QImage image = testing::DrawOn(canvas, *tables);
      ASSERT_TRUE(jpeg::CanEncodeCached(image));
      EXPECT_TRUE(
          SameBytes(jpeg::EncodeJpegCached(image, cache, canvas.origin()), ImageWriterBytes(image)))
          << "chart " << chart++;
    }
  }
  // Charts of a month share most of their MCUs: few may have missed the cache.
  EXPECT_LT(cache.stats().misses, 8u * 3072 / 5);
}

struct BudgetCase {
  const char* name;
  std::size_t budgetBytes;
};

void PrintTo(const BudgetCase& c, std::ostream* out) { *out << c.name; }

class RandomDrawingTest : public ::testing::TestWithParam<BudgetCase> {};

// Random boxes, lines and texts over two layers, as the canvas reuse test draws them;
// small budgets make the cache drop and move entries all the time. The canvas's word on
// which tiles hold the layer's pixels must never give a chart another's MCU.
TEST_P(RandomDrawingTest, EveryChartComesOutAsTheImageWriterWritesIt) {
  std::mt19937 random(20261208);
  const std::vector<testing::Operation> layers[] = {testing::RandomOperations(random, 40),
                                                    testing::RandomOperations(random, 40)};
  McuCache cache(GetParam().budgetBytes);
  Canvas canvas;
  for (int chart = 0; chart < 24; ++chart) {
    const int layer = chart % 5 < 3 ? 0 : 1;
    testing::DrawLayer(canvas, QStringLiteral("layer %1").arg(layer), layers[layer]);
    testing::Apply(canvas, testing::WithFixedTexts(testing::RandomOperations(random, 30), random));
    // With what the canvas knows of the pixels, as a run hands it on.
    const QImage image = canvas.image();
    ASSERT_TRUE(
        SameBytes(jpeg::EncodeJpegCached(image, cache, canvas.origin()), ImageWriterBytes(image)))
        << "chart " << chart;
  }
  EXPECT_LE(cache.stats().bytes, GetParam().budgetBytes);
}

INSTANTIATE_TEST_SUITE_P(Budgets, RandomDrawingTest,
                         ::testing::Values(BudgetCase{"run", McuCache::kDefaultBudgetBytes},
                                           BudgetCase{"a_few_charts", 2 << 20},
                                           BudgetCase{"a_few_mcus", 16 << 10},
                                           BudgetCase{"none", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

// Pictures at the edges of the coding: extreme DC steps, busy blocks with large AC values
// and many 0xFF bytes, long zero runs, sizes down to one MCU.
QImage Picture(const char* kind, int width, int height, uint32_t seed) {
  QImage image(width, height, QImage::Format_RGB888);
  std::mt19937 random(seed);
  std::uniform_int_distribution<int> byte(0, 255);
  for (int y = 0; y < height; ++y) {
    uchar* row = image.scanLine(y);
    for (int x = 0; x < width; ++x) {
      const std::string k = kind;
      uchar* p = row + 3 * x;
      if (k == "checks") {  // black and white MCUs: the largest DC differences
        p[0] = p[1] = p[2] = ((x / 16 + y / 16) % 2) ? 255 : 0;
      } else if (k == "noise") {
        p[0] = byte(random), p[1] = byte(random), p[2] = byte(random);
      } else if (k == "pixel_checks") {  // the largest AC values
        p[0] = p[1] = p[2] = ((x + y) % 2) ? 255 : 0;
      } else if (k == "colours") {  // saturated colours: extreme chroma
        const int c = (x / 8 + 3 * (y / 8)) % 6;
        p[0] = c < 2 ? 255 : 0, p[1] = c % 3 == 1 ? 255 : 0, p[2] = c >= 3 ? 255 : 0;
      } else {  // gradient with a few single pixels: long runs of zeros
        p[0] = static_cast<uchar>(x), p[1] = static_cast<uchar>(y), p[2] = 128;
        if (byte(random) == 0) p[0] = p[1] = p[2] = 0;
      }
    }
  }
  return image;
}

struct PictureCase {
  const char* kind;
  int width;
  int height;
};

void PrintTo(const PictureCase& c, std::ostream* out) {
  *out << c.kind << ' ' << c.width << 'x' << c.height;
}

class PictureTest : public ::testing::TestWithParam<PictureCase> {};

TEST_P(PictureTest, ComesOutAsTheImageWriterWritesIt) {
  const PictureCase& c = GetParam();
  McuCache cache;
  for (uint32_t seed = 1; seed <= 2; ++seed) {  // the second time, partly from the cache
    const QImage image = Picture(c.kind, c.width, c.height, seed);
    ASSERT_TRUE(jpeg::CanEncodeCached(image));
    EXPECT_TRUE(SameBytes(jpeg::EncodeJpegCached(image, cache), ImageWriterBytes(image)))
        << "seed " << seed;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Pictures, PictureTest,
    ::testing::Values(PictureCase{"checks", 256, 128}, PictureCase{"noise", 128, 96},
                      PictureCase{"pixel_checks", 64, 64}, PictureCase{"colours", 160, 48},
                      PictureCase{"gradient", 256, 256}, PictureCase{"noise", 16, 16},
                      PictureCase{"gradient", 16, 2048}, PictureCase{"noise", 17408, 32}),
    [](const auto& info) {
      return std::string(info.param.kind) + "_" + std::to_string(info.param.width) + "x" +
             std::to_string(info.param.height);
    });

// The JFIF density as the image writer states it: per inch or per cm, whichever is
// nearer to whole numbers, rounded, wrapped to 16 bits.
TEST(CachedJpegWriterTest, StatesTheDensityAsTheImageWriterDoes) {
  const std::pair<int, int> dotsPerMeter[] = {
      {3780, 3780}, {1, 1},          {19, 20},           {20, 59},       {60, 39},
      {-5, 100},    {100000, 3000},  {2580000, 2580000}, {11811, 11811}, {39370, 3937},
      {-3780, 500}, {2000000000, 7}, {-2000000000, 1},   {5000, 5000},   {3779, 3781}};
  McuCache cache;
  QImage image = Picture("gradient", 32, 16, 1);
  for (const auto& [x, y] : dotsPerMeter) {
    image.setDotsPerMeterX(x);
    image.setDotsPerMeterY(y);
    EXPECT_TRUE(SameBytes(jpeg::EncodeJpegCached(image, cache), ImageWriterBytes(image)))
        << x << " x " << y << " dots per metre";
  }
  std::mt19937 random(7);
  std::uniform_int_distribution<int> any(-200000, 200000);
  for (int i = 0; i < 200; ++i) {
    image.setDotsPerMeterX(any(random));
    image.setDotsPerMeterY(any(random));
    ASSERT_TRUE(SameBytes(jpeg::EncodeJpegCached(image, cache), ImageWriterBytes(image)))
        << image.dotsPerMeterX() << " x " << image.dotsPerMeterY() << " dots per metre";
  }
}

// Images the cached writer does not take still get the image writer's bytes.
TEST(CachedJpegWriterTest, ImagesItDoesNotTakeGoToTheImageWriter) {
  QImage partMcus = Picture("gradient", 1000, 750, 3);
  QImage otherFormat = Picture("colours", 64, 64, 3).convertToFormat(QImage::Format_RGB32);
  QImage withText = Picture("colours", 64, 64, 3);
  withText.setText(QStringLiteral("Title"), QStringLiteral("chart"));
  McuCache cache;
  for (const QImage* image : {&partMcus, &otherFormat, &withText}) {
    EXPECT_FALSE(jpeg::CanEncodeCached(*image));
    EXPECT_THROW(jpeg::EncodeJpegCached(*image, cache), RunFailure);
    EXPECT_TRUE(SameBytes(EncodeChartJpeg(*image, &cache), ImageWriterBytes(*image)));
  }
  EXPECT_EQ(cache.stats().entries, 0u);
}

// The saving threads of a run each code with a cache of their own, and the caches ask
// each other.
TEST(CachedJpegWriterTest, ThreadsWithCachesThatShareWriteTheImageWritersBytes) {
  std::vector<QImage> images;
  std::vector<QByteArray> expected;
  Canvas canvas;
  for (int staff = 1; staff <= 6; ++staff) {
    const auto tables =
        testing::Month(QStringLiteral("2026/11/"),
                       QStringLiteral("%1").arg(staff, 5, 10, QLatin1Char('0')), staff);
    images.push_back(testing::DrawOn(canvas, *tables));
    expected.push_back(ImageWriterBytes(images.back()));
  }
  // Small enough that a cache drops entries while the others still ask for them.
  std::vector<std::unique_ptr<McuCache>> caches;
  for (int t = 0; t < 4; ++t) caches.push_back(std::make_unique<McuCache>(1 << 20));
  for (const auto& cache : caches) {
    std::vector<McuCache*> others;
    for (const auto& other : caches) {
      if (other != cache) others.push_back(other.get());
    }
    cache->ShareWith(std::move(others));
  }
  std::vector<std::thread> threads;
  std::vector<int> mismatches(4, 0);
  for (int t = 0; t < 4; ++t) {
    threads.emplace_back([&, t] {
      for (int round = 0; round < 3; ++round) {
        for (std::size_t i = 0; i < images.size(); ++i) {
          const std::size_t at = (i + t) % images.size();
          if (jpeg::EncodeJpegCached(images[at], *caches[t]) != expected[at]) ++mismatches[t];
        }
      }
    });
  }
  for (std::thread& thread : threads) thread.join();
  EXPECT_EQ(mismatches, std::vector<int>(4, 0));
}

// A cache codes one chart at a time: a second thread that finds it in use is refused
// rather than counting its entries at the same time.
TEST(CachedJpegWriterTest, ACacheInUseIsRefused) {
  const QImage image = Picture("colours", 64, 32, 5);
  McuCache cache;
  {
    const McuCache::Use first(cache);
    ASSERT_TRUE(first);
    EXPECT_FALSE(McuCache::Use(cache));
    EXPECT_THROW(jpeg::EncodeJpegCached(image, cache), RunFailure);
  }
  EXPECT_EQ(jpeg::EncodeJpegCached(image, cache), ImageWriterBytes(image));
}

struct SwitchCase {
  const char* value;  // null: unset
  bool cached;
};

class CacheSwitchTest : public ::testing::TestWithParam<SwitchCase> {};

TEST_P(CacheSwitchTest, TheEnvironmentTurnsTheCacheOff) {
  const testing::ScopedEnvironment variable("MORVIK_JPEG_CACHE", GetParam().value);
  EXPECT_EQ(MakeRunJpegCache() != nullptr, GetParam().cached);
}

INSTANTIATE_TEST_SUITE_P(Values, CacheSwitchTest,
                         ::testing::Values(SwitchCase{nullptr, true}, SwitchCase{"", true},
                                           SwitchCase{"1", true}, SwitchCase{"on", true},
                                           SwitchCase{"off", false}, SwitchCase{"OFF", false},
                                           SwitchCase{"0", false}));

}  // namespace
}  // namespace morvik
