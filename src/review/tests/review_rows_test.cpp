#include "review/review_rows.h"

#include <gtest/gtest.h>

#include "review/month_findings.h"
#include "review_test_support.h"

namespace morvik::review {
namespace {

using testing::November;
using testing::Request;

TEST(ReviewRowsTest, OvertimeLevelsAtTheirEdges) {
  const struct {
    qint32 minutes;
    QString level;
  } cases[] = {{0, ""},         {2700, ""},      {2701, "45h超"},    {4800, "45h超"},
               {4801, "80h超"}, {5999, "80h超"}, {6000, "100h以上"}, {-60, ""}};
  for (const auto& c : cases) EXPECT_EQ(OvertimeLevel(c.minutes), c.level) << c.minutes;
}

TEST(ReviewRowsTest, DayStretchesAreCutAtMidnight) {
  StaffMonthRecord record = November({2});
  record.requests = {Request(RequestKind::kDuty, "承認", 2, "17:15", 3, "08:30"),
                     Request(RequestKind::kOvertime, "承認", 4, "22:00", 4, "0:00", "2")};
  const std::vector<Stretch> pieces = CoveredPieces(record);
  EXPECT_EQ(DayStretchesText(pieces, 2), "08:30-17:15 17:15-24:00");
  EXPECT_EQ(DayStretchesText(pieces, 3), "00:00-08:30");
  EXPECT_EQ(DayStretchesText(pieces, 4), "22:00-24:00");
  EXPECT_EQ(DayStretchesText(pieces, 5), "");
}

TEST(ReviewRowsTest, RequestsWithoutAReadableStretchCoverNothing) {
  const StaffMonthRecord record = November({});
  const struct {
    const char* label;
    RequestFacts request;
  } cases[] = {
      {"empty times", Request(RequestKind::kOvertime, "承認", 2, "", 2, "")},
      {"reversed", Request(RequestKind::kOvertime, "承認", 2, "20:00", 2, "19:00")},
      {"end equals start", Request(RequestKind::kOvertime, "承認", 2, "20:00", 2, "20:00")},
      {"end day before start day", Request(RequestKind::kDuty, "承認", 3, "17:00", 2, "08:30")},
      {"unreadable date",
       {RequestKind::kDuty, "承認", "2026/11/xx", "17:00", "2026/11/03", "08:30", ""}},
  };
  for (const auto& c : cases) EXPECT_FALSE(RequestStretch(record, c.request)) << c.label;
}

TEST(ReviewRowsTest, SummaryLineTotalsTheMonth) {
  StaffMonthRecord record = November({2, 3});
  record.regularMinutes = 960;
  record.netRegularMinutes = 720;
  record.overtimeMinutes = 2709;  // 45.15 hours
  record.requests = {
      Request(RequestKind::kOvertime, "承認", 2, "17:15", 2, "19:15", "2"),
      Request(RequestKind::kOvertime, "承認", 3, "17:15", 3, "18:45", "1.5"),
      Request(RequestKind::kOvertime, "承認待ち", 3, "19:00", 3, "20:00", "1"),
      Request(RequestKind::kDuty, "承認", 5, "17:15", 6, "08:30"),
      Request(RequestKind::kDuty, "却下", 7, "17:15", 8, "08:30"),
      Request(RequestKind::kSelfStudy, "承認待ち", 9, "18:00", 9, "19:30"),
      Request(RequestKind::kSelfStudy, "却下", 10, "18:00", 10, "22:00"),
      Request(RequestKind::kLeave, "却下", 3, "08:30", 3, "12:00"),
  };
  // Days 3, 5, 6 (the duty's two halves) and 9 (self-study) have covered time, no stamps.
  record.stamps = {{testing::Date(2), "08:20"}, {testing::Date(2), "19:20"}};
  const std::vector<QString> line = SummaryLine(record, FindDisagreements(record, 30));
  const std::vector<QString> expected = {
      "00123", "山田 花子", "内科", "2026/11", "16.0", "12.0", "4.0", "45.2", "45h超", "3.5",
      "2",     "3",         "1",    "1.5",     "2",    "0",    "0",   "0",    "4"};
  EXPECT_EQ(line, expected);
  EXPECT_EQ(line.size(), SummaryHeader().size());
}

}  // namespace
}  // namespace morvik::review
