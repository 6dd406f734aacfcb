#include <gtest/gtest.h>

#include <QLineEdit>

#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::WindowFixture;

const QDateTime kToday(QDate(2022, 4, 12), QTime(9, 0));

TEST(LoadMainWindowTest, MissingHolidayFileEndsTheProgramBeforeTheWindowOpens) {
  WindowFixture fixture({}, kToday, /*holidayFile=*/false);
  EXPECT_EQ(fixture.window, nullptr);
  EXPECT_EQ(
      fixture.log.messages,
      QStringList{QStringLiteral(
          "エラー：祝日ファイル(MorvikGraph_祝日_max100.txt)が開けませんでした．「MorvikGraph."
          "exe」のフォルダに「MorvikGraph_祝日_max100.txt」を入れて起動してください．")});
}

struct StartCase {
  QStringList arguments;
  QString request;
  QString stamp;
  int messages;
};

TEST(LoadMainWindowTest, WindowShowsTheFileNamesAndMonthOfStartUp) {
  const StartCase cases[] = {
      {{}, QString(), QString(), 0},
      {{"a申請.csv", "b打刻.csv"}, "a申請.csv", "b打刻.csv", 0},
      {{"b打刻.csv", "a申請.csv"}, "a申請.csv", "b打刻.csv", 0},
      {{"history-1.csv"}, QString(), "history-1.csv", 0},
      {{"a.csv", "b.csv", "c.csv"}, QString(), QString(), 1},
  };
  for (const StartCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    WindowFixture fixture(c.arguments, kToday);
    ASSERT_NE(fixture.window, nullptr);
    EXPECT_EQ(fixture.Find<QLineEdit>("requestFileField")->text(), c.request);
    EXPECT_EQ(fixture.Find<QLineEdit>("stampFileField")->text(), c.stamp);
    EXPECT_EQ(fixture.Find<QLineEdit>("monthField")->text(), QStringLiteral("2022/04"));
    EXPECT_EQ(fixture.log.messages.size(), c.messages);
    EXPECT_FALSE(fixture.window->isVisible());
  }
}

}  // namespace
}  // namespace morvik
