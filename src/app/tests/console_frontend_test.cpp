#include "app/console_frontend.h"

#include <gtest/gtest.h>

#include "batch_runner.h"

#include <cstdio>

namespace morvik {
namespace {

QString Drive(bool verbose, bool terminal) {
  std::FILE* stream = std::tmpfile();
  ConsoleFrontend frontend(stream, verbose, terminal);
  frontend.SetStatusText("打刻をプロットします");
  frontend.SetProgressRange(ProgressBar::kStep, 0, 200);
  frontend.SetProgressVisible(ProgressBar::kStep, true);
  frontend.SetProgressValue(ProgressBar::kStep, 100);
  frontend.ShowMessage("処理を終了しました．");
  const QString text = testing::ReadBack(stream);
  std::fclose(stream);
  return text;
}

TEST(ConsoleFrontendTest, MessagesAlwaysStatusOnlyWhenVerbose) {
  EXPECT_EQ(Drive(false, false), "処理を終了しました．\n");
  EXPECT_EQ(Drive(true, false), "打刻をプロットします\n処理を終了しました．\n");
}

TEST(ConsoleFrontendTest, ProgressBarOnlyOnATerminalAndClearedBeforeAMessage) {
  const QString text = Drive(false, true);
  EXPECT_TRUE(text.contains(" 50%")) << text.toStdString();
  EXPECT_TRUE(text.endsWith("\r\033[K処理を終了しました．\n")) << text.toStdString();
}

}  // namespace
}  // namespace morvik
