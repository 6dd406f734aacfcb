#include <gtest/gtest.h>

#include <QApplication>
#include <QLabel>
#include <QProgressBar>
#include <QTest>

#include <limits>

#include "chart/canvas.h"
#include "ui/chart_window.h"
#include "ui/qt_frontend.h"
#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::WindowFixture;

struct PositionCase {
  double min, max, value;
  int expected;
};

TEST(ProgressPositionTest, MapsTheWritersRangeOntoTheBar) {
  const PositionCase cases[] = {
      {0, 10, 0, 0},         {0, 10, 5, 500},
      {0, 10, 10, 1000},     {0, 3, 1, 333},
      {2, 4, 3, 500},        {-5, 5, 0, 500},
      {0, 10, 15, 1000},     {0, 10, -1, 0},
      {0, 0, 0, 0},          {10, 0, 5, 0},
      {0, 5000, 4999, 1000}, {0, 10, std::numeric_limits<double>::quiet_NaN(), 0},
  };
  for (const PositionCase& c : cases) {
    EXPECT_EQ(ProgressPosition(c.min, c.max, c.value), c.expected)
        << c.min << ".." << c.max << " at " << c.value;
  }
}

TEST(QtFrontendTest, ProgressBarsAndStatusLineShowWhatTheRunReports) {
  WindowFixture fixture;
  Frontend& frontend = fixture.window->frontend();
  auto* staffBar = fixture.Find<QProgressBar>("staffBar");
  auto* stepBar = fixture.Find<QProgressBar>("stepBar");
  frontend.SetProgressRange(ProgressBar::kStaff, 0, 40);
  frontend.SetProgressValue(ProgressBar::kStaff, 10);
  frontend.SetProgressVisible(ProgressBar::kStaff, true);
  EXPECT_EQ(staffBar->value(), 250);
  EXPECT_FALSE(staffBar->isHidden());
  EXPECT_TRUE(stepBar->isHidden());
  frontend.SetProgressRange(ProgressBar::kStep, 0, 4);
  frontend.SetProgressValue(ProgressBar::kStep, 3);
  EXPECT_EQ(stepBar->value(), 750);
  EXPECT_EQ(staffBar->value(), 250);

  frontend.SetStatusText(QStringLiteral("全データをクリアします"));
  EXPECT_EQ(fixture.Find<QLabel>("statusText")->text(), QStringLiteral("全データをクリアします"));
  frontend.SetStatusText(QString());
  EXPECT_TRUE(fixture.Find<QLabel>("statusText")->text().isEmpty());
}

TEST(QtFrontendTest, BusyPointerIsBalancedAndMessagesGetTheArrow) {
  Session session;
  QList<Qt::CursorShape> pointers;  // the pointer while each message is up
  WindowServices services;
  services.showMessage = [&](QWidget*, const QString&) {
    const QCursor* cursor = QApplication::overrideCursor();
    pointers << (cursor ? cursor->shape() : Qt::BlankCursor);
  };
  MainWindow window(session, services);
  Frontend& frontend = window.frontend();
  frontend.SetBusy(true);
  frontend.SetBusy(true);
  ASSERT_NE(QApplication::overrideCursor(), nullptr);
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);
  frontend.ShowMessage(QStringLiteral("during the run"));
  EXPECT_EQ(QApplication::overrideCursor()->shape(), Qt::WaitCursor);

  frontend.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  frontend.SetBusy(false);
  EXPECT_EQ(QApplication::overrideCursor(), nullptr);
  frontend.ShowMessage(QStringLiteral("after the run"));
  EXPECT_EQ(pointers, (QList<Qt::CursorShape>{Qt::ArrowCursor, Qt::BlankCursor}));
}

TEST(QtFrontendTest, ChartWindowShowsTheCanvasAndCloses) {
  WindowFixture fixture;
  Frontend& frontend = fixture.window->frontend();
  ChartWindow& chart = fixture.window->chartWindow();
  EXPECT_EQ(chart.windowTitle(), QStringLiteral("勤務表"));
  EXPECT_TRUE(chart.isHidden());
  frontend.ShowChartWindow();
  EXPECT_TRUE(chart.isVisible());
  EXPECT_EQ(chart.size(), QSize(1024, 768));

  fixture.session.canvas.FilledBox(100, 200, 110, 210, Qt::red);
  frontend.RefreshChartWindow();
  const QImage shown = chart.grab().toImage();
  EXPECT_EQ(shown.pixelColor(105, 205), QColor(Qt::red));
  EXPECT_EQ(shown.pixelColor(50, 50), QColor(Qt::white));

  frontend.CloseChartWindow();
  EXPECT_TRUE(chart.isHidden());
}

TEST(QtFrontendTest, MainWindowComesToTheFrontWithoutStayingOnTop) {
  WindowFixture fixture;
  fixture.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
  fixture.window->frontend().ShowChartWindow();
  fixture.window->frontend().BringMainWindowToFront();
  EXPECT_FALSE(fixture.window->windowFlags() & Qt::WindowStaysOnTopHint);
  EXPECT_TRUE(QTest::qWaitForWindowActive(fixture.window.get()));
}

}  // namespace
}  // namespace morvik
