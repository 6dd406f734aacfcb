// Enter on a focused button presses it, as in a Windows dialog; Space still does.
#include <gtest/gtest.h>

#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <functional>

#include "ui/tests/ui_test_support.h"

namespace morvik {
namespace {

using testing::TypeText;
using testing::WindowFixture;

const QString kSamples = QStringLiteral(MORVIK_SAMPLES_DIR "/personal/");

void PressOnFocused(WindowFixture& fixture, const char* button, Qt::Key key) {
  fixture.window->show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(fixture.window.get()));
  auto* target = fixture.Find<QPushButton>(button);
  target->setFocus();
  ASSERT_TRUE(target->hasFocus());
  QTest::keyClick(target, key);
}

TEST(MainWindowKeysTest, EnterOnTheFocusedRunButtonRunsTheMonth) {
  for (const Qt::Key key : {Qt::Key_Return, Qt::Key_Enter, Qt::Key_Space}) {
    SCOPED_TRACE(static_cast<int>(key));
    WindowFixture fixture;
    TypeText(fixture.Find<QLineEdit>("requestFileField"), kSamples + "2026_11_申請.csv");
    TypeText(fixture.Find<QLineEdit>("stampFileField"), kSamples + "2026_11_打刻.csv");
    PressOnFocused(fixture, "runButton", key);
    EXPECT_EQ(fixture.log.messages, QStringList{QStringLiteral("処理を終了しました．")});
    const QStringList charts =
        QDir(fixture.session.outputFolder).entryList({QStringLiteral("202611_*.jpg")});
    EXPECT_EQ(charts.size(), 1);
  }
}

struct EnterCase {
  const char* button;
  std::function<bool(const WindowFixture&)> pressed;
};

TEST(MainWindowKeysTest, EnterPressesEveryOtherFocusedButton) {
  const EnterCase cases[] = {
      {"browseRequestButton", [](const WindowFixture& f) { return f.log.browses.size() == 1; }},
      {"browseStaffListButton", [](const WindowFixture& f) { return f.log.browses.size() == 1; }},
      {"nextMonthButton",
       [](const WindowFixture& f) {
         return f.Find<QLineEdit>("monthField")->text() == QStringLiteral("2022/02");
       }},
      {"exitButton",
       [](const WindowFixture& f) { return f.log.endStatuses == std::vector<int>{0}; }},
  };
  for (const EnterCase& c : cases) {
    SCOPED_TRACE(c.button);
    WindowFixture fixture;
    ASSERT_FALSE(c.pressed(fixture));
    PressOnFocused(fixture, c.button, Qt::Key_Return);
    EXPECT_TRUE(c.pressed(fixture));
  }
}

}  // namespace
}  // namespace morvik
