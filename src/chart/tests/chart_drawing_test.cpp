#include "chart/chart_drawing.h"

#include <QRect>

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
const QDateTime kNow(QDate(2022, 5, 2), QTime(9, 5, 7));

int Pixel(double coordinate) { return static_cast<int>(std::lround(coordinate)); }

class ChartDrawingTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables->requestMonthPrefix = QStringLiteral("2022/04/");
    tables->staffNo = QStringLiteral("12345");
    tables->staffName = QStringLiteral("山田　太郎");
    tables->staffDept = QStringLiteral("内科");
    for (int day = 1; day <= 30; ++day) {
      tables->dayLabel[day] = QStringLiteral("04/%1(月)").arg(day, 2, 10, QChar(u'0'));
    }
  }

  void Work(int day, int slot, const char* start, const char* end) {
    tables->workStart[day][slot] = QString::fromUtf8(start);
    tables->workEnd[day][slot] = QString::fromUtf8(end);
  }

  void Request(int day, int slot, const char* label, const char* start, const char* end,
               const char* state) {
    tables->requestLabel[day][slot] = QString::fromUtf8(label);
    tables->requestStart[day][slot] = QString::fromUtf8(start);
    tables->requestEnd[day][slot] = QString::fromUtf8(end);
    tables->requestState[day][slot] = QString::fromUtf8(state);
  }

  const QImage& Draw() {
    DrawChart(*tables, StampIndex(*tables), canvas, frontend, kNow);
    return canvas.image();
  }

  // Pixels of exactly `colour` inside `area`.
  int CountExact(const QRect& area, const QColor& colour) const {
    int count = 0;
    for (int y = area.top(); y <= area.bottom(); ++y) {
      for (int x = area.left(); x <= area.right(); ++x) {
        count += canvas.image().pixelColor(x, y) == colour;
      }
    }
    return count;
  }

  std::unique_ptr<WorkingTables> tables = std::make_unique<WorkingTables>();
  Canvas canvas;
  testing::RecordingFrontend frontend;
};

QColor BarPixel(const QImage& image, double minute, float y) {
  return image.pixelColor(Pixel(MinuteX(minute)), Pixel(y));
}

struct BarCase {
  const char* name;
  const char* dayLabel;
  const char* start;
  const char* end;
  double probeMinute;
  QColor expected;
};

class BarColourTest : public ChartDrawingTest, public ::testing::WithParamInterface<BarCase> {};

// Day 5 holds one work period; the probe looks at the middle of the bar band.
TEST_P(BarColourTest, BarTakesOneColourByDayAndSpan) {
  const BarCase& c = GetParam();
  tables->dayLabel[5] = QString::fromUtf8(c.dayLabel);
  Work(5, 1, c.start, c.end);
  const QImage& image = Draw();
  const Band band = BarBand(5);
  const float middle = (band.top + band.bottom) / 2;
  EXPECT_EQ(BarPixel(image, c.probeMinute, middle), c.expected);
  EXPECT_EQ(BarPixel(image, c.probeMinute, band.top), c.expected);
  EXPECT_EQ(BarPixel(image, c.probeMinute, band.bottom), c.expected);
  // Nothing above the band within the row (the frame lines aside).
  if (c.probeMinute > 0 && c.probeMinute < 1440) {
    EXPECT_EQ(BarPixel(image, c.probeMinute, band.top - 1), kWhite);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Periods, BarColourTest,
    ::testing::Values(
        BarCase{"WeekdayRegular", "04/05(火)", "08:30", "17:15", 620, kRegularBlue},
        BarCase{"WeekdayRegularAtItsStart", "04/05(火)", "08:30", "17:15", 510, kRegularBlue},
        BarCase{"StartsAMinuteEarly", "04/05(火)", "08:29", "17:15", 620, kOvertimePink},
        BarCase{"EndsAMinuteLate", "04/05(火)", "08:30", "17:16", 620, kOvertimePink},
        BarCase{"Saturday", "04/09(土)", "08:30", "17:15", 620, kOvertimePink},
        BarCase{"Sunday", "04/10(日)", "08:30", "17:15", 620, kOvertimePink},
        BarCase{"Holiday", "04/29(祝)", "08:30", "17:15", 620, kOvertimePink},
        BarCase{"FromMidnightCoversTheFrameLine", "04/05(火)", "00:00", "08:30", 0, kOvertimePink},
        BarCase{"UntilMidnightReachesTheRightFrame", "04/05(火)", "17:15", "24:00", 1440,
                kOvertimePink},
        BarCase{"EmptySlotDrawsNothing", "04/05(火)", "", "", 620, kWhite},
        BarCase{"ZeroToZeroDrawsNothing", "04/05(火)", "00:00", "00:00", 620, kWhite}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChartDrawingTest, BarEndingAt2359StopsShortOfTheRightFrameLine) {
  Work(5, 1, "17:15", "23:59");
  const QImage& image = Draw();
  const int y = Pixel(BarBand(5).top + 6);
  EXPECT_EQ(image.pixelColor(991, y), kOvertimePink);
  EXPECT_EQ(image.pixelColor(992, y), kBlack);
}

// Self-study repaints the whole bar band; leave only its lower part, so the bar above
// stays visible.
struct OverlayCase {
  const char* label;
  QColor upper;  // at the band's top
  QColor lower;  // at the band's bottom
};

class OverlayTest : public ChartDrawingTest, public ::testing::WithParamInterface<OverlayCase> {};

TEST_P(OverlayTest, RequestBarsPaintOverTheBaseBar) {
  Work(6, 1, "08:30", "17:15");
  Request(6, 1, GetParam().label, "13:00", "17:00", "承認");
  const QImage& image = Draw();
  const Band bar = BarBand(6);
  const Band leave = LeaveBand(6);
  // Probed at 16:30, clear of the request's text.
  EXPECT_EQ(BarPixel(image, 990, bar.top), GetParam().upper);
  EXPECT_EQ(BarPixel(image, 990, leave.top - 1), GetParam().upper);
  EXPECT_EQ(BarPixel(image, 990, leave.top), GetParam().lower);
  EXPECT_EQ(BarPixel(image, 990, bar.bottom), GetParam().lower);
  // Outside the request's span the base bar is untouched.
  EXPECT_EQ(BarPixel(image, 620, bar.bottom), kRegularBlue);
}

INSTANTIATE_TEST_SUITE_P(
    Labels, OverlayTest,
    ::testing::Values(OverlayCase{"自己研鑽(学会準備)", kSelfStudyYellow, kSelfStudyYellow},
                      OverlayCase{"年休(午後)", kRegularBlue, kLeaveGrey},
                      OverlayCase{"職免", kRegularBlue, kLeaveGrey},
                      OverlayCase{"特別休暇", kRegularBlue, kLeaveGrey},
                      OverlayCase{"自己研鑽と夏休", kSelfStudyYellow, kLeaveGrey},
                      OverlayCase{"時間外(会議)", kRegularBlue, kRegularBlue}));

struct SeparatorCase {
  const char* label;
  int thickRow;  // y of the row line drawn three units thick, 0 for none
};

class WeekSeparatorTest : public ChartDrawingTest,
                          public ::testing::WithParamInterface<SeparatorCase> {};

// Day 10 with the label; its two row lines are at y = 285 and 305.
TEST_P(WeekSeparatorTest, SundayThickensTheLineAboveSaturdayTheLineBelow) {
  tables->dayLabel[10] = QString::fromUtf8(GetParam().label);
  const QImage& image = Draw();
  for (const int line : {285, 305}) {
    const bool thick = line == GetParam().thickRow;
    for (const int x : {300, 700, 991}) {
      EXPECT_EQ(image.pixelColor(x, line), kBlack) << "line " << line << " x " << x;
      EXPECT_EQ(image.pixelColor(x, line - 1) == kBlack, thick) << "line " << line << " x " << x;
      EXPECT_EQ(image.pixelColor(x, line + 1) == kBlack, thick) << "line " << line << " x " << x;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Labels, WeekSeparatorTest,
                         ::testing::Values(SeparatorCase{"04/10(日)", 285},
                                           SeparatorCase{"04/09(土)", 305},
                                           SeparatorCase{"04/29(祝)", 0},
                                           SeparatorCase{"04/11(月)", 0}));

TEST_F(ChartDrawingTest, DayLabelsAreRedOnWeekendsAndHolidaysBlackOtherwise) {
  tables->dayLabel[9] = QStringLiteral("04/09(土)");
  tables->dayLabel[10] = QStringLiteral("04/10(日)");
  tables->dayLabel[29] = QStringLiteral("04/29(祝)");
  Draw();
  for (const int day : {8, 9, 10, 11, 29}) {
    const QRect label(18, Pixel(RowTextY(day)), 60, 14);
    const bool red = day == 9 || day == 10 || day == 29;
    EXPECT_EQ(CountExact(label, kHolidayRed) > 5, red) << "day " << day;
    EXPECT_EQ(CountExact(label, kBlack) > 5, !red) << "day " << day;
  }
}

TEST_F(ChartDrawingTest, HourLinesAreDottedGreyBetweenSolidFrameLines) {
  const QImage& image = Draw();
  int grey = 0;
  int white = 0;
  for (int y = 100; y <= 745; ++y) {
    EXPECT_EQ(image.pixelColor(80, y), kBlack) << y;
    EXPECT_EQ(image.pixelColor(992, y), kBlack) << y;
    const QColor hourOne = image.pixelColor(118, y);
    grey += hourOne == kHourLineGrey;
    white += hourOne == kWhite;
  }
  EXPECT_GT(grey, 150);
  EXPECT_GT(white, 150);
}

// States are scanned day by day, slot by slot; an unknown state keeps the style of the
// last known one before it, and dark grey when there was none.
struct TextStyleCase {
  const char* name;
  const char* firstState;
  const char* secondState;
  QColor firstColour;
  QColor secondColour;
};

class RequestTextTest : public ChartDrawingTest,
                        public ::testing::WithParamInterface<TextStyleCase> {};

TEST_P(RequestTextTest, StateChoosesTheStyleAndUnknownStatesCarryItOver) {
  const TextStyleCase& c = GetParam();
  Request(3, 1, "当直", "01:00", "03:00", c.firstState);
  Request(4, 1, "時間外(会議)", "01:00", "03:00", c.secondState);
  Draw();
  const QColor textColours[] = {kApprovedGrey, kPendingGreen, kRejectedPurple};
  for (const auto& [day, colour] : {std::pair{3, c.firstColour}, std::pair{4, c.secondColour}}) {
    const QRect text(Pixel(MinuteX(60) + 2), Pixel(RowTextY(day)), 140, 13);
    for (const QColor& candidate : textColours) {
      EXPECT_EQ(CountExact(text, candidate) > 3, candidate == colour)
          << "day " << day << " colour " << candidate.name().toStdString();
    }
  }
}

INSTANTIATE_TEST_SUITE_P(
    States, RequestTextTest,
    ::testing::Values(
        TextStyleCase{"Approved", "承認", "承認", kApprovedGrey, kApprovedGrey},
        TextStyleCase{"PendingThenRejected", "承認待ち", "却下", kPendingGreen, kRejectedPurple},
        TextStyleCase{"PendingCarriedToEmpty", "承認待ち", "", kPendingGreen, kPendingGreen},
        TextStyleCase{"RejectedCarriedToUnknown", "却下", "差戻し", kRejectedPurple,
                      kRejectedPurple},
        TextStyleCase{"UnknownFirstIsDarkGrey", "取消", "", kApprovedGrey, kApprovedGrey},
        TextStyleCase{"ApprovedEndsTheCarry", "承認待ち", "承認", kPendingGreen, kApprovedGrey}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(ChartDrawingTest, NoteLiesOnTopOfTheBarsOfRow32) {
  Work(32, 1, "00:00", "24:00");
  Draw();
  const QRect note(85, 728, 800, 12);
  EXPECT_GT(CountExact(note, kBlack), 100);
  EXPECT_GT(CountExact(note, kOvertimePink), 1000);
}

TEST_F(ChartDrawingTest, NextChartStartsFromAClearedCanvas) {
  const auto emptyMonth = std::make_unique<WorkingTables>();
  emptyMonth->requestMonthPrefix = QStringLiteral("2022/05/");
  Canvas fresh;
  DrawChart(*emptyMonth, StampIndex(*emptyMonth), fresh, frontend, kNow);

  Work(7, 1, "08:30", "17:15");
  Request(7, 1, "時間外", "17:15", "19:00", "承認待ち");
  const QImage busy = Draw().copy();
  DrawChart(*emptyMonth, StampIndex(*emptyMonth), canvas, frontend, kNow);
  EXPECT_NE(busy, canvas.image());
  EXPECT_EQ(canvas.image(), fresh.image());
}

}  // namespace
}  // namespace morvik::chart
