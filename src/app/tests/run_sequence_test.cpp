#include "app/run_sequence.h"

#include <gtest/gtest.h>

#include "app/session.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kClearMonth = QStringLiteral("1ヵ月分の個人データをクリアします");
const QString kError1 = QStringLiteral(
    "エラー：何らかのエラーが発生しました．ファイルを開いている場合は閉じてからもう一度実行して"
    "ください．(Error1)");

class RunSequenceTest : public ::testing::Test {
 protected:
  RunSequenceTest() {
    session.programFolder = folder.path();
    session.outputFolder = folder.path();
    session.tables->requestMonthPrefix = "2026/11/";
  }

  // Rows 0.. of the request table: the header text, then the given staff numbers.
  void SetRows(const QString& header, const QStringList& staffNumbers) {
    auto& table = session.tables->requestTable;
    table[0][1] = header;
    table[0][4] = "申請種別";
    for (int i = 0; i < staffNumbers.size(); ++i) {
      table[i + 1][1] = staffNumbers[i];
      table[i + 1][4] = "not a placed type";
    }
  }

  int MonthsFinishedInLoop() const { return frontend.statusHistory.count(kClearMonth); }

  testing::TempFolder folder;
  Session session;
  testing::RecordingFrontend frontend;
};

TEST_F(RunSequenceTest, EachChangeOfStaffNumberFinishesTheStaffMemberBefore) {
  const struct {
    const char* label;
    QString header;
    QStringList staff;
    int finishedInLoop;  // the run finishes one more after the loop
    QString lastGroup;
  } cases[] = {
      {"header, A, A, B, C", "申請者社員番号", {"A", "A", "B", "C"}, 2, "C"},
      {"header only", "申請者社員番号", {}, 0, "申請者社員番号"},
      {"header spelled otherwise", "社員番号", {"A", "A"}, 2, "A"},
      {"header text inside the rows joins the group", "申請者社員番号",
       {"A", "申請者社員番号", "B"}, 0, "B"},
  };
  for (const auto& c : cases) {
    Session fresh;
    fresh.outputFolder = folder.path();
    fresh.tables->requestMonthPrefix = "2026/11/";
    session.tables.swap(fresh.tables);
    frontend = testing::RecordingFrontend();
    SetRows(c.header, c.staff);
    RunStaffLoop(session, frontend);
    EXPECT_EQ(MonthsFinishedInLoop(), c.finishedInLoop) << c.label;
    EXPECT_EQ(session.tables->groupStaffNo, c.lastGroup) << c.label;
  }
}

TEST_F(RunSequenceTest, LoopEndsAfterRow5000WhenEveryRowIsFilled) {
  auto& table = session.tables->requestTable;
  table[0][1] = "申請者社員番号";
  for (int r = 1; r < kRequestRows; ++r) table[r][1] = "A";
  RunStaffLoop(session, frontend);
  EXPECT_EQ(frontend.bar(ProgressBar::kStaff).value, 5000);
  EXPECT_EQ(MonthsFinishedInLoop(), 0);
}

TEST_F(RunSequenceTest, LoopCopiesColumnsIntoTheCurrentRequest) {
  SetRows("申請者社員番号", {"A"});
  session.tables->requestTable[1][17] = "last";
  RunStaffLoop(session, frontend);
  EXPECT_EQ(session.tables->currentRequest[1], "A");
  EXPECT_EQ(session.tables->currentRequest[17], "last");
  EXPECT_TRUE(session.tables->currentRequest[0].isEmpty());
}

struct CheckCase {
  const char* label;
  bool jpg, bmp;
  QString stamp, staffList, request;
  bool useStaffList;
  QString message;  // empty: the checks pass and the run starts
};

TEST_F(RunSequenceTest, InputChecksInTheirOrder) {
  const QString noFormat =
      QStringLiteral("注意：出力ファイル形式が選択されていませんのでJPG形式に変更します．");
  const CheckCase cases[] = {
      {"no image format", false, false, "s.csv", "", "r.csv", false, noFormat},
      {"no stamp file", true, false, "", "", "r.csv", false,
       "エラー：「打刻ファイル名を正しく指定してください．"},
      {"staff list ticked without a name", true, false, "s.csv", "", "r.csv", true,
       "エラー：「職員番号指定ファイル名」を正しく指定してください．"},
      {"neither staff list nor request", true, false, "s.csv", "", "", false,
       "エラー：「職員番号指定ファイル名」または「申請ファイル名」を正しく指定してください．"},
      {"request missing without staff list", true, false, "s.csv", "l.txt", "", false,
       "エラー：「申請ファイル名」を正しく指定してください．"},
      {"staff list without request runs", true, false, "s.csv", "l.txt", "", true, ""},
      {"BMP only runs", false, true, "s.csv", "", "r.csv", false, ""},
  };
  for (const CheckCase& c : cases) {
    Session fresh;
    fresh.outputFolder = folder.path();
    WorkingTables& t = *fresh.tables;
    t.saveJpg = c.jpg;
    t.saveBmp = c.bmp;
    fresh.form.saveJpg = c.jpg;
    t.stampCsvPath = c.stamp;
    t.staffListPath = c.staffList;
    t.requestCsvPath = c.request;
    fresh.form.useStaffList = c.useStaffList;
    testing::RecordingFrontend seen;
    const RunOutcome outcome = OnRunClicked(fresh, seen);
    if (c.message.isEmpty()) {
      EXPECT_NE(outcome.kind, RunOutcome::Kind::kRefused) << c.label;
      EXPECT_TRUE(seen.events.contains("busy")) << c.label;
    } else {
      EXPECT_EQ(outcome.kind, RunOutcome::Kind::kRefused) << c.label;
      EXPECT_EQ(seen.messages, QStringList{c.message}) << c.label;
      EXPECT_TRUE(seen.events.isEmpty()) << c.label;
    }
  }
}

TEST_F(RunSequenceTest, NoImageFormatTicksJpgForTheNextPress) {
  WorkingTables& t = *session.tables;
  t.saveJpg = 0;
  session.form.saveJpg = false;
  OnRunClicked(session, frontend);
  EXPECT_EQ(t.saveJpg, 1);
  EXPECT_TRUE(session.form.saveJpg);
}

TEST_F(RunSequenceTest, FailurePathLeavesTheChartWindowOpen) {
  WorkingTables& t = *session.tables;
  t.stampCsvPath = folder.FilePath("missing_打刻.csv");
  t.requestCsvPath = folder.FilePath("missing_申請.csv");
  const RunOutcome outcome = OnRunClicked(session, frontend);
  EXPECT_EQ(outcome.kind, RunOutcome::Kind::kFailed);
  EXPECT_TRUE(outcome.detail.contains("missing_打刻.csv")) << outcome.detail.toStdString();
  EXPECT_EQ(frontend.messages.last(), kError1);
  EXPECT_TRUE(frontend.chartWindowOpen);
  EXPECT_FALSE(frontend.busy);
  EXPECT_TRUE(frontend.statusText.isEmpty());
  EXPECT_FALSE(frontend.bar(ProgressBar::kStep).visible);
  EXPECT_FALSE(frontend.bar(ProgressBar::kStaff).visible);
}

}  // namespace
}  // namespace morvik
