#include "sheet/regular_work.h"

#include <gtest/gtest.h>

#include <ostream>
#include <utility>
#include <vector>

#include "core/failures.h"
#include "sheet/tests/sheet_test_support.h"

namespace morvik {
namespace {

using testing::RecordingFrontend;

struct CalendarCase {
  const char* name;
  QString prefix;
  std::vector<std::pair<int, QString>> holidays;  // holiday table row, date
  int days;
  qint32 regularMinutes;
  std::vector<std::pair<int, std::string>> labels;  // day, expected label
};

void PrintTo(const CalendarCase& c, std::ostream* os) { *os << c.name; }

class CalendarTest : public ::testing::TestWithParam<CalendarCase> {};

TEST_P(CalendarTest, LaysLabelsPeriodsAndMinutes) {
  const CalendarCase& c = GetParam();
  auto t = std::make_unique<WorkingTables>();
  for (const auto& [row, date] : c.holidays) t->holidayTable.at(row).date = date;
  t->requestMonthPrefix = c.prefix;
  RecordingFrontend frontend;
  SetRegularWork(*t, frontend);

  EXPECT_EQ(t->regularMinutes, c.regularMinutes);
  for (const auto& [day, label] : c.labels) EXPECT_EQ(t->dayLabel.at(day).toStdString(), label);
  EXPECT_FALSE(t->dayLabel.at(c.days).isEmpty());
  EXPECT_TRUE(t->dayLabel.at(c.days + 1).isEmpty());
  int working = 0;
  for (int d = 1; d <= c.days; ++d) {
    const bool free = QStringLiteral("土日祝").contains(t->dayLabel.at(d).at(6));
    const std::vector<std::string> regular = {"08:30-17:15"};
    EXPECT_EQ(testing::Periods(*t, d), free ? std::vector<std::string>{} : regular) << d;
    working += free ? 0 : 1;
  }
  EXPECT_EQ(working * 480, c.regularMinutes);
  EXPECT_EQ(frontend.statusHistory, QStringList({QStringLiteral("通常勤務をセットします"),
                                                 QStringLiteral("通常勤務をセットしました")}));
}

INSTANTIATE_TEST_SUITE_P(
    Months, CalendarTest,
    ::testing::Values(
        CalendarCase{"May2022GoldenWeek",
                     QStringLiteral("2022/05/"),
                     {{1, "2022/05/03"}, {2, "2022/05/04"}, {3, "2022/05/05"}},
                     31,
                     9120,
                     {{1, "05/01(日)"},
                      {2, "05/02(月)"},
                      {3, "05/03(祝)"},
                      {4, "05/04(祝)"},
                      {5, "05/05(祝)"},
                      {6, "05/06(金)"},
                      {7, "05/07(土)"},
                      {31, "05/31(火)"}}},
        CalendarCase{"Feb2023", QStringLiteral("2023/02/"), {}, 28, 9600, {{28, "02/28(火)"}}},
        CalendarCase{"Feb2024", QStringLiteral("2024/02/"), {}, 29, 10080, {{29, "02/29(木)"}}},
        // Saturday holiday; a holiday after empty rows, twice; dates in another form, of
        // another month and of no day.
        CalendarCase{"Sep2023",
                     QStringLiteral("2023/09/"),
                     {{50, "2023/09/23"},
                      {60, "2023/09/18"},
                      {61, "2023/09/18"},
                      {62, "2023/9/22"},
                      {63, "2023/10/09"},
                      {64, "2023/09/31"},
                      {65, "2023/09/04 "}},
                     30,
                     9600,
                     {{18, "09/18(祝)"}, {22, "09/22(金)"}, {23, "09/23(土)"}}}),
    [](const auto& info) { return info.param.name; });

TEST(RegularWorkTest, SecondCallGivesTheSameMonth) {
  auto t = testing::RegularMonth(QStringLiteral("2022/05/"));
  const auto labels = t->dayLabel;
  RecordingFrontend frontend;
  SetRegularWork(*t, frontend);
  EXPECT_EQ(t->dayLabel, labels);
  EXPECT_EQ(t->regularMinutes, 22 * 480);
}

TEST(RegularWorkTest, MonthThatIsNoDateEndsTheRunAndWritesNothing) {
  for (const QString& prefix :
       {QString(), QStringLiteral("2022/13/"), QStringLiteral("2022/5/"),
        QStringLiteral("2022-05-"), QStringLiteral("2022/05"), QStringLiteral("ab/cd/ef")}) {
    auto t = std::make_unique<WorkingTables>();
    t->requestMonthPrefix = prefix;
    t->regularMinutes = 123;
    RecordingFrontend frontend;
    EXPECT_THROW(SetRegularWork(*t, frontend), RunFailure) << prefix.toStdString();
    EXPECT_EQ(t->regularMinutes, 123);
    EXPECT_TRUE(t->dayLabel.at(1).isEmpty());
  }
}

}  // namespace
}  // namespace morvik
