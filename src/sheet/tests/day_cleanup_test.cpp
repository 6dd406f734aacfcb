#include "sheet/day_cleanup.h"

#include <gtest/gtest.h>

#include <ostream>
#include <string>
#include <vector>

#include "sheet/tests/sheet_test_support.h"

namespace morvik {
namespace {

using testing::Periods;
using testing::RecordingFrontend;
using testing::SetPeriods;
using Strings = std::vector<std::string>;

struct CleanupCase {
  const char* name;
  QString label;
  std::vector<QString> before;
  Strings after;
};

void PrintTo(const CleanupCase& c, std::ostream* os) { *os << c.name; }

class LunchBreakTest : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(LunchBreakTest, TakesOutTheLunchHourOnOrdinaryWeekdays) {
  auto t = std::make_unique<WorkingTables>();
  t->dayLabel.at(2) = GetParam().label;
  SetPeriods(*t, 2, GetParam().before);
  ApplyLunchBreak(*t);
  EXPECT_EQ(Periods(*t, 2), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(
    Periods, LunchBreakTest,
    ::testing::Values(
        CleanupCase{"LunchHourGoes", "05/02(月)", {"08:30-17:15", "12:00-13:00"}, {"08:30-17:15"}},
        CleanupCase{"InsideLunchHourGoes", "05/02(月)", {"12:15-13:00", "12:10-12:50"}, {}},
        CleanupCase{"EndCutBack",
                    "05/02(月)",
                    {"11:00-13:00", "11:00-13:30"},
                    {"11:00-12:00", "11:00-13:30"}},
        CleanupCase{"StartMovedOn", "05/02(月)", {"12:30-15:00"}, {"13:00-15:00"}},
        CleanupCase{"Saturday",
                    "05/07(土)",
                    {"12:00-13:00", "11:00-13:00"},
                    {"12:00-13:00", "11:00-13:00"}},
        CleanupCase{"Sunday", "05/08(日)", {"12:00-13:00"}, {"12:00-13:00"}},
        CleanupCase{"Holiday", "05/03(祝)", {"12:30-15:00"}, {"12:30-15:00"}},
        CleanupCase{"NoLabelIsAWeekday", "", {"12:30-15:00"}, {"13:00-15:00"}}),
    [](const auto& info) { return info.param.name; });

class SortTest : public ::testing::TestWithParam<CleanupCase> {};

TEST_P(SortTest, ClosesUpOnceThenOrdersByStart) {
  auto t = std::make_unique<WorkingTables>();
  SetPeriods(*t, 32, GetParam().before);
  RecordingFrontend frontend;
  SortWorkTimes(*t, frontend);
  EXPECT_EQ(Periods(*t, 32), GetParam().after);
  EXPECT_EQ(frontend.statusHistory, QStringList({QStringLiteral("勤務時間をソートします"),
                                                 QStringLiteral("勤務時間をソートしました")}));
}

INSTANTIATE_TEST_SUITE_P(
    Periods, SortTest,
    ::testing::Values(
        CleanupCase{"EndsStayWithStarts",
                    "",
                    {"19:00-21:00", "08:30-17:15", "00:00-05:00"},
                    {"00:00-05:00", "08:30-17:15", "19:00-21:00"}},
        CleanupCase{"TwoGapsShrinkByOne",
                    "",
                    {"", "", "08:30-17:15", "13:00-14:00"},
                    {"", "08:30-17:15", "13:00-14:00"}},
        // The first move leaves slots 3 and 4 empty; the pass moves slot 5 down once.
        CleanupCase{"OnePassOnly",
                    "",
                    {"08:30-17:15", "", "19:00-20:00", "", "18:00-19:00"},
                    {"08:30-17:15", "18:00-19:00", "", "19:00-20:00"}},
        CleanupCase{"SingleGapCloses",
                    "",
                    {"08:30-17:15", "", "19:00-20:00", "18:00-19:00"},
                    {"08:30-17:15", "18:00-19:00", "19:00-20:00"}},
        CleanupCase{"TextOrder", "", {"10:00-11:00", "9:00-9:30"}, {"10:00-11:00", "9:00-9:30"}},
        // The exchange with 08:00 carries the first 18:00 past the second one.
        CleanupCase{"ExchangeOrder",
                    "",
                    {"18:00-19:00", "18:00-20:00", "08:00-09:00"},
                    {"08:00-09:00", "18:00-20:00", "18:00-19:00"}}),
    [](const auto& info) { return info.param.name; });

TEST(DayCleanupTest, LunchThenSortAndEntriesMoveWhole) {
  auto t = std::make_unique<WorkingTables>();
  t->dayLabel.at(2) = QStringLiteral("05/02(月)");
  SetPeriods(*t, 2, {"08:30-17:15", "12:15-13:00", "17:15-19:00"});
  SetPeriods(*t, 0, {"19:00-21:00", "12:00-13:00"});
  for (int s : {2, 3}) {
    t->requestLabel.at(2).at(s) = QStringLiteral("L%1").arg(s);
    t->requestStart.at(2).at(s) = QStringLiteral("S%1").arg(s);
    t->requestEnd.at(2).at(s) = QStringLiteral("E%1").arg(s);
    t->requestState.at(2).at(s) = QStringLiteral("A%1").arg(s);
  }
  RecordingFrontend frontend;
  ApplyLunchBreak(*t);
  SortWorkTimes(*t, frontend);
  EXPECT_EQ(Periods(*t, 2), (Strings{"08:30-17:15", "17:15-19:00"}));
  EXPECT_EQ(testing::Entries(*t, 2), (Strings{"L2|S2|E2|A2", "L3|S3|E3|A3"}));
  EXPECT_TRUE(t->requestStart.at(2).at(3).isEmpty());
  EXPECT_EQ(Periods(*t, 0), (Strings{"19:00-21:00", "12:00-13:00"}));
}

}  // namespace
}  // namespace morvik
