#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QLineEdit>
#include <QProcess>

#include "app/batch_options.h"

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

// The program next to this test's build folder (build/src/ui/ -> build/).
QString ProgramPath() {
  return QDir(QCoreApplication::applicationDirPath()).filePath(QStringLiteral("../../morvikgraph"));
}

struct PrintCase {
  QStringList arguments;
  QString output;
};

// Without --batch too: a window opened instead would never end by itself.
TEST(ProgramStartTest, HelpAndVersionPrintAndExit) {
  ASSERT_TRUE(QFileInfo(ProgramPath()).isExecutable()) << ProgramPath().toStdString();
  const QString version = QStringLiteral("MorvikGraph 1.1.1\n");
  const PrintCase cases[] = {
      {{"--help"}, BatchUsage()},
      {{"-h"}, BatchUsage()},
      {{"--version"}, version},
      {{"a申請.csv", "--version"}, version},
      {{"--batch", "--help"}, BatchUsage()},
      {{"--batch", "--version"}, version},
  };
  QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
  environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
  for (const PrintCase& c : cases) {
    SCOPED_TRACE(c.arguments.join(' ').toStdString());
    QProcess process;
    process.setProcessEnvironment(environment);
    process.start(ProgramPath(), c.arguments);
    const bool ended = process.waitForFinished(15000);
    if (!ended) {
      process.kill();
      process.waitForFinished();
    }
    ASSERT_TRUE(ended);
    EXPECT_EQ(process.exitCode(), 0);
    EXPECT_EQ(QString::fromUtf8(process.readAllStandardOutput()), c.output);
  }
}

}  // namespace
}  // namespace morvik
