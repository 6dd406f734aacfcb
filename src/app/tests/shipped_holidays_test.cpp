// The holiday file shipped next to the program: it loads, and the calendar of every month
// it covers marks exactly its weekday holidays with "祝".
#include <gtest/gtest.h>

#include <QDate>
#include <QSet>

#include <memory>

#include "app/holiday_file.h"
#include "core/working_tables.h"
#include "sheet/regular_work.h"
#include "testing/recording_frontend.h"

namespace morvik {
namespace {

const QString kShipped = QStringLiteral(MORVIK_SOURCE_DIR "/data/MorvikGraph_祝日_max100.txt");

TEST(ShippedHolidaysTest, LoadsAndMarksExactlyTheWeekdayHolidays) {
  auto tables = std::make_unique<WorkingTables>();
  testing::RecordingFrontend frontend;
  LoadHolidayFile(kShipped, *tables, frontend);
  QSet<QString> holidays;
  for (int row = 1; row < kHolidayRows; ++row) {
    if (!tables->holidayTable[row].date.isEmpty()) holidays.insert(tables->holidayTable[row].date);
  }
  ASSERT_EQ(holidays.size(), 92);
  for (const char* date : {"2023/01/01", "2024/02/12", "2025/05/06", "2026/09/22", "2027/11/23"}) {
    EXPECT_TRUE(holidays.contains(date)) << date;
  }

  int marked = 0;
  for (int year = 2023; year <= 2027; ++year) {
    for (int month = 1; month <= 12; ++month) {
      tables->requestMonthPrefix = QDate(year, month, 1).toString("yyyy/MM/");
      SetRegularWork(*tables, frontend);
      const QDate first(year, month, 1);
      for (int day = 1; day <= first.daysInMonth(); ++day) {
        const QDate date(year, month, day);
        const bool weekday = date.dayOfWeek() <= 5;
        const bool holiday = holidays.contains(date.toString("yyyy/MM/dd"));
        const bool isMarked = tables->dayLabel[day].endsWith(QStringLiteral("(祝)"));
        EXPECT_EQ(isMarked, weekday && holiday) << date.toString(Qt::ISODate).toStdString();
        marked += isMarked ? 1 : 0;
      }
    }
  }
  EXPECT_GT(marked, 70);  // most holidays fall on weekdays
}

}  // namespace
}  // namespace morvik
