#include "chart/stamp_plot.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

#include "chart/canvas.h"
#include "chart/chart_colours.h"
#include "chart/chart_geometry.h"
#include "chart/stamp_index.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"

namespace morvik::chart {
namespace {

const QColor kWhite(255, 255, 255);

int Pixel(double coordinate) { return static_cast<int>(std::lround(coordinate)); }

class StampPlotTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables->requestMonthPrefix = QStringLiteral("2022/04/");
    tables->staffNo = QStringLiteral("00123");
  }

  // Appends a stamp row and counts it, as the stamp reader does.
  void Stamp(const char* staffNo, const char* date, const char* time,
             const char* name = "山田　太郎") {
    StampRow& row = tables->stampTable.at(++tables->stampRowCount);
    row[1] = QString::fromUtf8(staffNo);
    row[2] = QString::fromUtf8(name);
    row[9] = QString::fromUtf8(date);
    row[10] = QString::fromUtf8(time);
  }

  bool MarkerAt(int day, double minute) const {
    const Band band = StampBand(day);
    const int x = Pixel(MinuteX(minute) + 1);
    return canvas.image().pixelColor(x, Pixel(band.top)) == kStampRed &&
           canvas.image().pixelColor(x, Pixel(band.bottom)) == kStampRed;
  }

  int RedPixels() const {
    int count = 0;
    for (int y = 0; y < Canvas::kHeight; ++y) {
      for (int x = 0; x < Canvas::kWidth; ++x) {
        count += canvas.image().pixelColor(x, y) == kStampRed;
      }
    }
    return count;
  }

  std::unique_ptr<WorkingTables> tables = std::make_unique<WorkingTables>();
  Canvas canvas;
  testing::RecordingFrontend frontend;
};

TEST_F(StampPlotTest, MarksTheStaffMembersStampsOfTheMonthOnly) {
  Stamp("00123", "2022/04/05", "08:21");
  Stamp("00124", "2022/04/06", "08:21");  // another staff member
  Stamp("00123", "2022/03/07", "08:21");  // another month
  Stamp("0123", "2022/04/08", "08:21");   // staff numbers are compared as text
  Stamp("00123", "2022/04/30", "17:40");
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  EXPECT_TRUE(MarkerAt(5, 501));
  EXPECT_TRUE(MarkerAt(30, 1060));
  for (const int day : {6, 7, 8}) EXPECT_FALSE(MarkerAt(day, 501)) << "day " << day;
  EXPECT_EQ(frontend.statusHistory, QStringList({QStringLiteral("打刻をプロットします"),
                                                 QStringLiteral("打刻をプロットしました")}));
  const auto& bar = frontend.bar(ProgressBar::kStep);
  EXPECT_EQ(bar.max, 5);
  EXPECT_EQ(bar.value, 5);
  EXPECT_TRUE(bar.visible);
}

TEST_F(StampPlotTest, MarkerIsFiveMinutesWideAndEightUnitsHigh) {
  Stamp("00123", "2022/04/05", "12:00");
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  // 12:00 is x = 536, 12:05 is x = 539.17: columns 536..539, rows 197..204.
  EXPECT_EQ(RedPixels(), 4 * 8);
  EXPECT_EQ(canvas.image().pixelColor(536, 197), kStampRed);
  EXPECT_EQ(canvas.image().pixelColor(539, 204), kStampRed);
  EXPECT_EQ(canvas.image().pixelColor(540, 204), kWhite);
  EXPECT_EQ(canvas.image().pixelColor(536, 205), kWhite);
}

TEST_F(StampPlotTest, EmptyNameEndsTheScan) {
  Stamp("00123", "2022/04/05", "08:21");
  Stamp("00123", "2022/04/06", "08:21", "");
  Stamp("00123", "2022/04/07", "08:21");
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  EXPECT_TRUE(MarkerAt(5, 501));
  EXPECT_FALSE(MarkerAt(7, 501));
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).value, 3);
}

TEST_F(StampPlotTest, DayThatIsNoNumberLandsInRowZeroAboveTheGrid) {
  Stamp("00123", "2022/04/xx", "10:00");
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  EXPECT_TRUE(MarkerAt(0, 600));
  EXPECT_EQ(StampBand(0).top, 97);
}

TEST_F(StampPlotTest, LateStampCrossesTheRightFrameLine) {
  Stamp("00123", "2022/04/05", "23:58");
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  for (const int x : {991, 992, 993, 994}) {
    EXPECT_EQ(canvas.image().pixelColor(x, 200), kStampRed) << x;
  }
}

TEST_F(StampPlotTest, NoStampsSaysSoAndLeavesTheProgressBarAlone) {
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  EXPECT_EQ(frontend.statusHistory, QStringList({QStringLiteral("打刻をプロットします"),
                                                 QStringLiteral("打刻がありません")}));
  EXPECT_EQ(frontend.progressValueWrites, 0);
  EXPECT_FALSE(frontend.bar(ProgressBar::kStep).visible);
  EXPECT_EQ(RedPixels(), 0);
}

TEST_F(StampPlotTest, FullTableFindsTheStaffMembersRowsWithFewProgressUpdates) {
  for (int i = 1; i < kStampRows; ++i) {
    Stamp(i == 49'999 ? "00123" : "00999", "2022/04/12", i == 49'999 ? "09:30" : "07:00");
  }
  PlotStamps(*tables, StampIndex(*tables), canvas, frontend);
  EXPECT_TRUE(MarkerAt(12, 570));
  EXPECT_EQ(RedPixels(), 4 * 8);
  EXPECT_LE(frontend.progressValueWrites, 500);
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).max, 50'000);
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).value, 50'000);
}

}  // namespace
}  // namespace morvik::chart
