// A canvas that has drawn other charts before (kept its month's grid as a layer, laid out
// texts, an open painter) draws exactly what a fresh canvas draws.
#include <gtest/gtest.h>

#include <memory>

#include "chart/canvas.h"
#include "chart/chart_drawing.h"
#include "chart/stamp_index.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"

namespace morvik {
namespace {

// A month of `prefix` for staff member `number`, with some requests and stamps.
std::unique_ptr<WorkingTables> Month(const QString& prefix, const QString& number, int seed) {
  auto t = std::make_unique<WorkingTables>();
  t->requestMonthPrefix = prefix;
  t->staffNo = number;
  t->staffName = QStringLiteral("職員 %1").arg(number);
  t->staffDept = QStringLiteral("内科");
  t->regularMinutes = 9600 + seed;
  t->netRegularMinutes = 9000 + seed;
  t->overtimeMinutes = 30 * seed;
  for (int d = 1; d <= 30; ++d) {
    t->dayLabel[d] = prefix.mid(5, 2) + QStringLiteral("/%1(%2)")
                                            .arg(d, 2, 10, QLatin1Char('0'))
                                            .arg(QStringLiteral("月火水木金土日")[(d + seed) % 7]);
    t->workStart[d][1] = QStringLiteral("08:30");
    t->workEnd[d][1] = QStringLiteral("17:15");
  }
  for (int d = 2 + seed % 3; d <= 30; d += 4) {
    t->workStart[d][2] = QStringLiteral("17:15");
    t->workEnd[d][2] = QStringLiteral("19:%1").arg(10 + seed, 2, 10, QLatin1Char('0'));
    t->requestLabel[d][1] = QStringLiteral("時間外 記録整理 %1").arg(d);
    t->requestStart[d][1] = t->workStart[d][2];
    t->requestEnd[d][1] = t->workEnd[d][2];
    t->requestState[d][1] = QStringLiteral("承認待ち");
  }
  t->stampRowCount = 3;
  const QString stamps[][4] = {{number, "x", prefix + "05", "08:20"},
                               {"other", "y", prefix + "05", "09:00"},
                               {number, "x", prefix + "06", "18:40"}};
  for (int i = 0; i < 3; ++i) {
    t->stampTable[i + 1][1] = stamps[i][0];
    t->stampTable[i + 1][2] = stamps[i][1];
    t->stampTable[i + 1][9] = stamps[i][2];
    t->stampTable[i + 1][10] = stamps[i][3];
  }
  return t;
}

QImage DrawOn(Canvas& canvas, const WorkingTables& tables) {
  testing::RecordingFrontend frontend;
  const QDateTime now(QDate(2026, 12, 1), QTime(9, 0));
  DrawChart(tables, StampIndex(tables), canvas, frontend, now);
  return canvas.image().copy();
}

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

}  // namespace
}  // namespace morvik
