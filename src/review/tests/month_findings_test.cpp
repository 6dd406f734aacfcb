#include "review/month_findings.h"

#include <gtest/gtest.h>

#include <vector>

#include "review/review_rows.h"
#include "review_test_support.h"

namespace morvik::review {
namespace {

using testing::Date;
using testing::November;
using testing::Request;
constexpr auto kOvertime = RequestKind::kOvertime;
constexpr auto kDuty = RequestKind::kDuty;
constexpr auto kLeave = RequestKind::kLeave;

struct StampAt {
  int day;
  const char* time;
};

// "day time kind minutes" for each finding, as the findings table would say it.
std::vector<std::string> Described(const StaffMonthRecord& record, const MonthFindings& found) {
  std::vector<std::string> lines;
  for (const auto& fields : FindingLines(record, found)) {
    lines.push_back(QStringLiteral("%1 %2 %3 %4")
                        .arg(fields[3].right(2), fields[5], fields[6], fields[7])
                        .toStdString());
  }
  return lines;
}

TEST(MonthFindingsTest, StampsOutsideAndDaysWithoutStamps) {
  const struct {
    const char* label;
    std::initializer_list<int> workingDays;
    std::vector<RequestFacts> requests;
    std::vector<StampAt> stamps;
    int tolerance;
    std::vector<std::string> expected;
  } cases[] = {
      {"tolerance exactly T, and T + 1, at both ends",
       {2},
       {},
       {{2, "07:59"}, {2, "08:00"}, {2, "17:45"}, {2, "17:46"}},
       30,
       {"02 07:59 始業前 31", "02 17:46 終業後 31"}},
      {"tolerance 0: a stamp on the stretch's end is inside",
       {2},
       {},
       {{2, "08:30"}, {2, "17:15"}, {2, "17:16"}},
       0,
       {"02 17:16 終業後 1"}},
      {"an end of 00:00 on the start date runs to midnight",
       {2},
       {Request(kOvertime, "承認", 2, "17:15", 2, "00:00", "6")},
       {{2, "08:20"}, {3, "00:30"}, {3, "00:31"}},
       30,
       {"03 00:31 終業後 31"}},
      {"a night duty across midnight, stamps on both days",
       {2},
       {Request(kDuty, "承認", 2, "17:15", 3, "08:30")},
       {{2, "08:25"}, {2, "23:59"}, {3, "08:50"}, {3, "09:01"}},
       30,
       {"03 09:01 終業後 31"}},
      {"day 1 before 08:30 is left out; after it counts",
       {},
       {},
       {{1, "07:00"}, {1, "08:30"}},
       30,
       {"01 08:30 予定なし "}},
      {"more than 8 hours from covered time is unscheduled",
       {2},
       {},
       {{2, "08:30"}, {3, "01:15"}, {3, "01:16"}},
       30,
       {"03 01:15 終業後 480", "03 01:16 予定なし 481"}},
      {"halfway between two stretches counts as after the end",
       {2},
       {Request(kOvertime, "承認", 2, "19:59", 2, "21:00", "1")},
       {{2, "08:30"}, {2, "18:37"}, {2, "18:38"}},
       30,
       {"02 18:37 終業後 82", "02 18:38 始業前 81"}},
      {"leave not rejected cuts the regular period",
       {2, 3},
       {Request(kLeave, "承認待ち", 2, "08:30", 2, "12:00"),
        Request(kLeave, "却下", 3, "08:30", 3, "12:00")},
       {{2, "11:00"}, {3, "08:30"}},
       30,
       {"02 11:00 始業前 60"}},
      {"a rejected request covers nothing; a waiting one does",
       {2},
       {Request(kOvertime, "却下", 2, "17:15", 2, "20:00", "2"),
        Request(kOvertime, "承認待ち", 2, "06:00", 2, "08:30", "2")},
       {{2, "06:00"}, {2, "19:55"}},
       30,
       {"02 19:55 終業後 160"}},
      {"a covered day without stamps beside one with a single stamp",
       {2, 3},
       {},
       {{3, "12:00"}},
       30,
       {"02  打刻なし 525"}},
      {"under an hour covered is no day without stamps",
       {2, 3},
       {Request(kLeave, "承認", 2, "08:30", 2, "16:30")},
       {{3, "08:30"}},
       30,
       {}},
      {"bad times are ignored but mark their day as stamped",
       {2},
       {},
       {{2, ""}, {2, "25:99"}, {2, "8:3x"}, {2, "24:00"}},
       30,
       {}},
  };
  for (const auto& c : cases) {
    StaffMonthRecord record = November(c.workingDays);
    record.requests = c.requests;
    for (const StampAt& s : c.stamps) record.stamps.push_back({Date(s.day), s.time});
    EXPECT_EQ(Described(record, FindDisagreements(record, c.tolerance)), c.expected) << c.label;
  }
}

TEST(MonthFindingsTest, CountsStampsAndKeepsTheLargestMinutesOutside) {
  StaffMonthRecord record = November({2});
  for (const char* time : {"07:00", "08:40", "19:15", "8:3x", ""}) {
    record.stamps.push_back({Date(2), time});
  }
  record.stamps.push_back({Date(1), "06:00"});       // may end last month's duty
  record.stamps.push_back({"2026/11/31", "09:00"});  // no such day
  const MonthFindings found = FindDisagreements(record, 30);
  EXPECT_EQ(found.stampsCounted, 3);
  EXPECT_EQ(found.stampsIgnored, 3);
  EXPECT_EQ(found.stampsOutside, 2);
  EXPECT_EQ(found.largestOutside, 120);
  EXPECT_EQ(found.daysWithoutStamps, 0);
}

TEST(MonthFindingsTest, ManyStampsOfOneStaffMember) {
  StaffMonthRecord record = November({2, 3, 4});
  int leftOut = 0;  // day 1 before 08:30
  for (int i = 0; i < 50000; ++i) {
    const int day = 1 + i % 30;
    const int hour = i % 24;
    if (day == 1 && hour < 8) ++leftOut;
    record.stamps.push_back(
        {Date(day), QStringLiteral("%1:%2").arg(hour).arg(i % 60, 2, 10, QLatin1Char('0'))});
  }
  record.stamps.push_back({Date(2), "99:99"});
  const MonthFindings found = FindDisagreements(record, 30);
  EXPECT_EQ(found.stampsCounted, 50000 - leftOut);
  EXPECT_EQ(found.stampsIgnored, 1);
  EXPECT_EQ(found.findings.size(), static_cast<size_t>(found.stampsOutside));
}

}  // namespace
}  // namespace morvik::review
