// A canvas that has drawn other charts before (kept its month's grid as a layer, laid out
// texts, an open painter) draws exactly what a fresh canvas draws.
#include <gtest/gtest.h>

#include <deque>
#include <memory>
#include <random>
#include <vector>

#include "chart/canvas.h"
#include "chart/tests/test_charts.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

using testing::Apply;
using testing::DrawLayer;
using testing::DrawOn;
using testing::Month;
using testing::Operation;
using testing::RandomOperations;
using testing::WithFixedTexts;

TEST(ChartReuseTest, AUsedCanvasDrawsWhatAFreshCanvasDraws) {
  const auto first = Month(QStringLiteral("2026/11/"), QStringLiteral("00001"), 1);
  const auto sameMonth = Month(QStringLiteral("2026/11/"), QStringLiteral("00002"), 1);
  const auto otherMonth = Month(QStringLiteral("2026/12/"), QStringLiteral("00003"), 2);
  Canvas used;
  DrawOn(used, *first);
  for (const WorkingTables* tables : {sameMonth.get(), otherMonth.get(), first.get()}) {
    Canvas fresh;
    const QImage expected = DrawOn(fresh, *tables);
    EXPECT_EQ(DrawOn(used, *tables), expected) << tables->staffNo.toStdString();
  }
}

TEST(ChartReuseTest, AnImageHandedOutKeepsItsPixelsWhileTheCanvasDrawsOn) {
  const auto first = Month(QStringLiteral("2026/11/"), QStringLiteral("00001"), 1);
  const auto second = Month(QStringLiteral("2026/11/"), QStringLiteral("00002"), 3);
  Canvas canvas;
  const QImage copy = DrawOn(canvas, *first);
  DrawOn(canvas, *first);
  const QImage shared = canvas.image();  // shares the pixels, as a chart being saved does
  DrawOn(canvas, *second);
  EXPECT_EQ(shared, copy);
  EXPECT_NE(canvas.image(), copy);
}

// A run hands each chart to a saving thread and draws on; the savers let go of the
// images in their own time. Each chart must still come out as on a fresh canvas, and
// no image handed out may change.
TEST(ChartReuseTest, ChartsOverALayerMatchAFreshCanvasWhileEarlierImagesAreHeld) {
  std::mt19937 random(20261207);
  const std::vector<Operation> layers[] = {RandomOperations(random, 40),
                                           RandomOperations(random, 40)};
  Canvas used;
  std::deque<std::pair<QImage, QImage>> held;  // handed out, and what it showed then
  std::uniform_int_distribution<int> depth(0, 4), coin(0, 1);
  for (int chart = 0; chart < 48; ++chart) {
    const int layer = chart < 20 || chart >= 36 ? 0 : 1;
    const QString key = QStringLiteral("layer %1").arg(layer);
    const std::vector<Operation> operations = WithFixedTexts(RandomOperations(random, 30), random);

    Canvas fresh;
    DrawLayer(fresh, key, layers[layer]);
    Apply(fresh, operations);
    const QImage expected = fresh.image().copy();

    DrawLayer(used, key, layers[layer]);
    Apply(used, operations);
    ASSERT_EQ(used.image(), expected) << "chart " << chart;

    held.emplace_back(used.image(), expected);
    const std::size_t keep = depth(random);
    while (held.size() > keep) {
      // Savers finish in any order.
      const auto released = coin(random) == 0 ? held.begin() : held.end() - 1;
      EXPECT_EQ(released->first, released->second) << "an image handed out changed";
      held.erase(released);
    }
  }
}

}  // namespace
}  // namespace morvik
