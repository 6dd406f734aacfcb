#include "sheet/request_placement.h"

#include <gtest/gtest.h>

#include <climits>
#include <ostream>
#include <string>
#include <vector>

#include "core/failures.h"
#include "sheet/tests/sheet_test_support.h"

namespace morvik {
namespace {

using testing::Entries;
using testing::Periods;
using testing::RecordingFrontend;
using testing::RegularMonth;
using Strings = std::vector<std::string>;

const QString kMay = QStringLiteral("2022/05/");

struct Row {
  QString type;
  QString startDate;
  QString startTime;
  QString endDate;
  QString endTime;
  QString hours;
  QString state = QStringLiteral("承認済");
  QString content = QStringLiteral("C");
};

void Place(WorkingTables& t, Frontend& frontend, const Row& row) {
  RequestRow& r = t.currentRequest;
  r.fill(QString());
  r[1] = QStringLiteral("00123");
  r[2] = row.state;
  r[4] = row.type;
  r[6] = QStringLiteral("DEPT");
  r[7] = QStringLiteral("NAME");
  r[8] = row.startDate;
  r[9] = row.startTime;
  r[10] = row.endDate;
  r[11] = row.endTime;
  r[12] = row.content;
  r[14] = row.hours;
  PlaceRequestRow(t, frontend);
}

Row Leave(const QString& type, const QString& start, const QString& end, int day = 9) {
  const QString date = kMay + QStringLiteral("%1").arg(day, 2, 10, QLatin1Char('0'));
  return {type, date, start, date, end, QString()};
}

struct DayExpect {
  int day;
  Strings periods;
  Strings entries;
};

struct WorkCase {
  const char* name;
  std::vector<Row> rows;
  std::vector<DayExpect> days;
  qint32 overtimeMinutes;
};

void PrintTo(const WorkCase& c, std::ostream* os) { *os << c.name; }

class WorkRequestTest : public ::testing::TestWithParam<WorkCase> {};

TEST_P(WorkRequestTest, PlacesPeriodsEntriesAndOvertime) {
  auto t = RegularMonth(kMay);
  RecordingFrontend frontend;
  for (const Row& row : GetParam().rows) Place(*t, frontend, row);
  for (const DayExpect& e : GetParam().days) {
    EXPECT_EQ(Periods(*t, e.day), e.periods) << "day " << e.day;
    EXPECT_EQ(Entries(*t, e.day), e.entries) << "day " << e.day;
  }
  EXPECT_EQ(t->overtimeMinutes, GetParam().overtimeMinutes);
  EXPECT_TRUE(frontend.messages.isEmpty());
}

const QString kDuty = QStringLiteral("日当直申請");
const QString kOvertime = QStringLiteral("時間外申請");
const QString kStudy = QStringLiteral("自己研鑽申請");

INSTANTIATE_TEST_SUITE_P(
    Cases, WorkRequestTest,
    ::testing::Values(
        WorkCase{"NightDutySplitAtMidnight",
                 {{kDuty, "2022/05/10", "17:15", "2022/05/11", "08:30", ""}},
                 {{10, {"08:30-17:15", "17:15-23:59"}, {"日当直 C|17:15|08:30|承認済"}},
                  {11, {"08:30-17:15", "00:00-08:30"}, {"日当直 C|00:00|08:30|承認済"}}},
                 0},
        WorkCase{"LastDayGoesToSpillOverDay",
                 {{kDuty, "2022/05/31", "17:15", "2022/06/01", "08:30", ""}},
                 {{31, {"08:30-17:15", "17:15-23:59"}, {"日当直 C|17:15|08:30|承認済"}},
                  {32, {"00:00-08:30"}, {"日当直 C|00:00|08:30|承認済"}}},
                 0},
        WorkCase{"MidnightEndOnTheSameDate",
                 {{kOvertime, "2022/05/09", "20:00", "2022/05/09", "00:00", "4"},
                  {kOvertime, "2022/05/10", "21:00", "2022/05/10", "0:00", " 1.5 ", "却下"}},
                 {{9, {"08:30-17:15", "20:00-23:59"}, {"時間外 C|20:00|00:00|承認済"}},
                  {10, {"08:30-17:15", "21:00-23:59"}, {"時間外 C|21:00|0:00|却下"}}},
                 240 + 90},
        WorkCase{"QuarterHoursAddUp",
                 {{kOvertime, "2022/05/09", "17:15", "2022/05/09", "18:00", "0.75"},
                  {kOvertime, "2022/05/09", "18:00", "2022/05/09", "18:45", "0.75"}},
                 {{9,
                   {"08:30-17:15", "17:15-18:00", "18:00-18:45"},
                   {"時間外 C|17:15|18:00|承認済", "時間外 C|18:00|18:45|承認済"}}},
                 90},
        // 4.5 minutes twice: 4, then 8.5 to 8 (rounding half up would give 5, then 10).
        WorkCase{"OvertimeRoundsHalfToEven",
                 {{kOvertime, "2022/05/09", "17:15", "2022/05/09", "17:20", "0.075"},
                  {kOvertime, "2022/05/09", "17:20", "2022/05/09", "17:25", "0.075"}},
                 {{9,
                   {"08:30-17:15", "17:15-17:20", "17:20-17:25"},
                   {"時間外 C|17:15|17:20|承認済", "時間外 C|17:20|17:25|承認済"}}},
                 8},
        WorkCase{"SelfStudyOnASaturday",
                 {{kStudy, "2022/05/07", "09:00", "2022/05/07", "12:00", ""}},
                 {{7, {"09:00-12:00"}, {"自己研鑽 C|09:00|12:00|承認済"}}},
                 0}),
    [](const auto& info) { return info.param.name; });

TEST(RequestPlacementTest, TypeDecidesTheLabelOrThatNothingIsPlaced) {
  const std::vector<std::pair<QString, std::string>> labels = {
      {"休暇申請(一日年休)", "年休 "},
      {"休暇申請(病気休暇)", "病休 "},
      {"休暇申請(子の看護休暇)", "子の看護休暇 "},
      {"休暇申請(介護休暇)", "その他の休暇 "},
      {"休暇申請（一日年休）", "その他の休暇 "}};  // full-width parentheses: another type
  for (const auto& [type, label] : labels) {
    auto t = RegularMonth(kMay);
    RecordingFrontend frontend;
    Place(*t, frontend, Leave(type, "18:00", "19:00"));
    EXPECT_EQ(Entries(*t, 9), Strings{label + "C|18:00|19:00|承認済"}) << type.toStdString();
  }
  for (const QString type : {"申請種別", "出張申請", "時間外申請 ", ""}) {
    auto t = RegularMonth(kMay);
    RecordingFrontend frontend;
    Place(*t, frontend, {type, "2022/06/09", "10:00", "2022/06/09", "11:00", "1"});
    EXPECT_TRUE(t->staffNo.isEmpty()) << type.toStdString();
    EXPECT_TRUE(Entries(*t, 9).empty());
    EXPECT_EQ(Periods(*t, 9), Strings{"08:30-17:15"});
    EXPECT_EQ(t->requestMonthPrefix, kMay);
    EXPECT_EQ(t->overtimeMinutes, 0);
  }
}

TEST(RequestPlacementTest, StartDateGivesDayIndexMonthAndStaff) {
  const std::vector<std::pair<QString, int>> cases = {{"2022/06/07", 7},  {"2022/05/ 7", 7},
                                                      {"2022/05/6.5", 6}, {"2022/05/7.5", 8},
                                                      {"2022/05/xx", 0},  {"", 0},
                                                      {"2022/05/", 0},    {"2022/05/32", 32},
                                                      {"2022/05/00", 0},  {"2022/05/32.5", 32}};
  for (const auto& [date, day] : cases) {
    auto t = RegularMonth(kMay);
    RecordingFrontend frontend;
    Place(*t, frontend, {kStudy, date, "18:00", date, "19:00", ""});
    EXPECT_EQ(t->dayStartDate.at(day), date) << date.toStdString();
    EXPECT_EQ(t->dayEndDate.at(day), date);
    EXPECT_EQ(Entries(*t, day), Strings{"自己研鑽 C|18:00|19:00|承認済"});
    EXPECT_EQ(t->requestMonthPrefix, date.left(8));
    EXPECT_EQ(t->staffNo + t->staffName + t->staffDept, QStringLiteral("00123NAMEDEPT"));
  }
}

TEST(RequestPlacementTest, RowsOutsideTheGridOrWithBadNumbersEndTheRun) {
  struct Failing {
    const char* what;
    Row row;
    qint32 overtimeBefore = 0;
    qint32 netBefore = 0;
  };
  const std::vector<Failing> cases = {
      {"day 33", {kStudy, "2022/05/33", "18:00", "2022/05/33", "19:00", ""}},
      {"day -1", {kStudy, "2022/05/-1", "18:00", "2022/05/-1", "19:00", ""}},
      {"day 32.6", {kStudy, "2022/05/32.6", "18:00", "2022/05/32.6", "19:00", ""}},
      {"huge day", {kStudy, "2022/05/99999999999", "18:00", "2022/05/01", "19:00", ""}},
      {"crossing from day 32", {kDuty, "2022/05/32", "17:15", "2022/05/33", "08:30", ""}},
      {"empty hours", {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", ""}},
      {"text hours", {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", "abc"}},
      {"hours with unit", {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", "1.5h"}},
      {"comma", {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", "1,5"}},
      {"huge hours", {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", "99999999"}},
      {"overtime sum",
       {kOvertime, "2022/05/09", "18:00", "2022/05/09", "19:00", "1"},
       INT32_MAX - 10},
      {"net regular", Leave(QStringLiteral("休暇申請(一日年休)"), "08:30", "17:15"), 0,
       INT32_MIN + 100},
  };
  for (const Failing& c : cases) {
    auto t = RegularMonth(kMay);
    t->overtimeMinutes = c.overtimeBefore;
    t->netRegularMinutes = c.netBefore;
    RecordingFrontend frontend;
    try {
      Place(*t, frontend, c.row);
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const RunFailure& failure) {
      EXPECT_TRUE(failure.detail().contains(QStringLiteral("00123"))) << c.what;
    }
  }
}

struct LeaveCase {
  const char* name;
  Row leave;
  std::vector<QString> before;  // work periods of day 9 before the leave
  Strings after;
  qint32 minutes;
};

void PrintTo(const LeaveCase& c, std::ostream* os) { *os << c.name; }

class LeaveTest : public ::testing::TestWithParam<LeaveCase> {};

TEST_P(LeaveTest, CutsThePeriodAndLowersNetRegularMinutes) {
  const LeaveCase& c = GetParam();
  auto t = RegularMonth(kMay);
  testing::SetPeriods(*t, 9, c.before);
  const qint32 net = t->netRegularMinutes;
  RecordingFrontend frontend;
  Place(*t, frontend, c.leave);
  EXPECT_EQ(Periods(*t, 9), c.after);
  EXPECT_EQ(net - t->netRegularMinutes, c.minutes);
  EXPECT_EQ(Entries(*t, 9).size(), 1u);
  EXPECT_EQ(t->overtimeMinutes, 0);
  EXPECT_TRUE(t->dayEndDate.at(9).isEmpty());
  EXPECT_TRUE(frontend.messages.isEmpty());
}

const std::vector<QString> kRegular = {"08:30-17:15"};

INSTANTIATE_TEST_SUITE_P(
    Rules, LeaveTest,
    ::testing::Values(
        LeaveCase{"A_WholeDay", Leave("休暇申請(一日年休)", "08:30", "17:15"), kRegular, {}, 480},
        LeaveCase{"B_Morning",
                  Leave("休暇申請(午前年休)", "08:30", "12:00"),
                  kRegular,
                  {"12:00-17:15"},
                  240},
        LeaveCase{"C_Afternoon",
                  Leave("休暇申請(午後年休)", "13:00", "17:15"),
                  kRegular,
                  {"08:30-13:00"},
                  240},
        LeaveCase{"D_Hours",
                  Leave("休暇申請(時間単位年休)", "10:00", "11:00"),
                  kRegular,
                  {"08:30-10:00", "11:00-17:15"},
                  60},
        LeaveCase{"D_SplitGoesToFirstFreeSlot",
                  Leave("休暇申請(職免)", "10:00", "11:00"),
                  {"08:30-17:15", "", "18:00-19:00"},
                  {"08:30-10:00", "11:00-17:15", "18:00-19:00"},
                  60},
        LeaveCase{"BeginsBeforeThePeriod",
                  Leave("休暇申請(職免)", "07:00", "09:00"),
                  kRegular,
                  {"08:30-17:15"},
                  120},
        LeaveCase{"EndsAfterThePeriod",
                  Leave("休暇申請(夏季休暇)", "16:00", "18:00"),
                  kRegular,
                  {"08:30-17:15"},
                  120},
        LeaveCase{"FirstFittingSlotDecides",
                  Leave("休暇申請(職免)", "18:00", "19:00"),
                  {"08:30-17:15", "18:00-20:00"},
                  {"08:30-17:15", "19:00-20:00"},
                  60},
        LeaveCase{"RejectedLeaveStillCounts",
                  {"休暇申請(介護休暇)", "2022/05/09", "08:30", "2022/05/10", "17:15", "", "却下"},
                  kRegular,
                  {},
                  480},
        LeaveCase{"TimesWithoutDigitsCountZero",
                  Leave("休暇申請(職免)", "xx:yy", "zz"),
                  kRegular,
                  {"08:30-17:15"},
                  0}),
    [](const auto& info) { return info.param.name; });

TEST(RequestPlacementTest, SplitWithTenPeriodsShowsTheOverflowMessage) {
  auto t = RegularMonth(kMay);
  testing::SetPeriods(*t, 9,
                      {"08:30-17:15", "18:00-18:10", "18:10-18:20", "18:20-18:30", "18:30-18:40",
                       "18:40-18:50", "18:50-19:00", "19:00-19:10", "19:10-19:20", "19:20-19:30"});
  RecordingFrontend frontend;
  Place(*t, frontend, Leave("休暇申請(時間単位年休)", "10:00", "11:00"));
  EXPECT_EQ(frontend.messages,
            QStringList{QStringLiteral("エラー：NAME：1日10回勤務がオーパーフローしました！")});
  EXPECT_EQ(Periods(*t, 9).front(), "08:30-10:00");
  EXPECT_EQ(Periods(*t, 9).size(), 10u);
}

TEST(RequestPlacementTest, FullDayDropsSilentlyAndMidnightEntryKeepsItsOwnLabel) {
  auto t = RegularMonth(kMay);
  RecordingFrontend frontend;
  // An earlier work request elsewhere must not lend its label to the after-midnight part.
  Place(*t, frontend, {kStudy, "2022/05/03", "18:00", "2022/05/03", "19:00", "", "承認待ち", "S"});
  for (int i = 0; i < 10; ++i) Place(*t, frontend, Leave("休暇申請(職免)", "", "", 10));
  Place(*t, frontend, {kDuty, "2022/05/10", "17:15", "2022/05/11", "08:30", "", "却下", "D"});
  EXPECT_EQ(Entries(*t, 10).size(), 10u);
  EXPECT_EQ(Entries(*t, 11), Strings{"日当直 D|00:00|08:30|却下"});
  EXPECT_EQ(Periods(*t, 11), (Strings{"08:30-17:15", "00:00-08:30"}));
  EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace morvik
