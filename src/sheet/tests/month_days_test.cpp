#include "sheet/month_days.h"

#include <gtest/gtest.h>

#include "core/failures.h"

namespace morvik {
namespace {

// The month kept from one call must never answer for another: asked in turn, each month
// gives its own days, and a failed month leaves the next answers right.
TEST(MonthDaysTest, EachMonthGivesItsOwnDaysWhateverCameBefore) {
  const struct {
    const char* prefix;
    int days;
    const char* last;
  } months[] = {
      {"2024/02/", 29, "2024/02/29"}, {"2023/02/", 28, "2023/02/28"},
      {"2024/02/", 29, "2024/02/29"}, {"2026/11/", 30, "2026/11/30"},
      {"2026/12/", 31, "2026/12/31"},
  };
  for (const auto& m : months) {
    const MonthDays& month = DaysOfMonth(QString::fromLatin1(m.prefix));
    ASSERT_EQ(month.dates.size(), m.days) << m.prefix;
    ASSERT_EQ(month.dateTexts.size(), m.days) << m.prefix;
    EXPECT_EQ(month.dateTexts.back(), QString::fromLatin1(m.last)) << m.prefix;
    EXPECT_EQ(month.dates.back(), QDate::fromString(QString::fromLatin1(m.last), "yyyy/MM/dd"))
        << m.prefix;
    EXPECT_THROW(DaysOfMonth(QStringLiteral("2026/13/")), RunFailure);
  }
  EXPECT_THROW(DaysOfMonth(QString()), RunFailure);
}

}  // namespace
}  // namespace morvik
