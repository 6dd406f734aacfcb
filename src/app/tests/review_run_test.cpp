// The month review in batch runs: its tables beside the other outputs, which stay the
// same bytes with the review on or off and with any number of saving threads.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "core/text_codec.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kFindings = QStringLiteral("202611_乖離一覧.csv");
const QString kSummary = QStringLiteral("202611_集計.csv");

class ReviewRunTest : public ::testing::Test, protected testing::ManagersSampleRuns {
 protected:
  testing::BatchResult RunManagers(const QString& out, const QStringList& extra) {
    return ManagersSampleRuns::RunManagers(out, QStringList{"--csv", "--bmp", "--dump"} + extra);
  }
};

TEST_F(ReviewRunTest, ReviewAddsItsTwoTablesAndChangesNothingElse) {
  ASSERT_EQ(RunManagers("plain", {"--jobs", "1"}).exit, kExitFinished);
  const testing::BatchResult reviewed = RunManagers("review", {"--review", "--jobs", "3"});
  ASSERT_EQ(reviewed.exit, kExitFinished) << reviewed.err.toStdString();
  ASSERT_EQ(RunManagers("review1", {"--review", "--jobs", "1", "--tolerance", "30"}).exit,
            kExitFinished);

  const QStringList plain = Files("plain");
  QStringList expected = QStringList(plain) << kFindings << kSummary;
  expected.sort();
  EXPECT_EQ(Files("review"), expected);
  for (const QString& name : plain) {
    EXPECT_TRUE(start.ReadBytes("plain/" + name) == start.ReadBytes("review/" + name))
        << name.toStdString();
  }
  for (const QString& name : {kFindings, kSummary}) {
    EXPECT_TRUE(start.ReadBytes("review/" + name) == start.ReadBytes("review1/" + name))
        << name.toStdString();
  }
  const QByteArray summary = start.ReadBytes("review/" + kSummary);
  const int charts = QDir(start.FilePath("plain")).entryList({"*.jpg"}, QDir::Files).size();
  EXPECT_EQ(summary.count("\r\n"), 1 + charts);
  EXPECT_GT(start.ReadBytes("review/" + kFindings).count("\r\n"), 1) << "the sample has findings";
}

TEST_F(ReviewRunTest, ToleranceIsAWholeNumberUpTo240) {
  const struct {
    QString value;
    int exit;
  } cases[] = {{"0", kExitFinished}, {"240", kExitFinished}, {"241", kExitRefused},
               {"-1", kExitRefused}, {"1.5", kExitRefused},  {"abc", kExitRefused},
               {"", kExitRefused},   {" 5", kExitRefused}};
  int n = 0;
  for (const auto& c : cases) {
    const QString out = QStringLiteral("t%1").arg(n++);
    const QStringList arguments = {"--review", "--no-jpg", "--bmp", "--tolerance", c.value};
    EXPECT_EQ(RunManagers(out, arguments).exit, c.exit) << c.value.toStdString();
    if (c.exit == kExitRefused) {
      EXPECT_FALSE(QDir(start.FilePath(out)).exists());
    }
  }
}

TEST_F(ReviewRunTest, ToleranceWithoutReviewWritesNoTables) {
  ASSERT_EQ(RunManagers("out", {"--tolerance", "10"}).exit, kExitFinished);
  EXPECT_FALSE(Files("out").contains(kSummary));
  EXPECT_FALSE(Files("out").contains(kFindings));
}

TEST_F(ReviewRunTest, ALargerToleranceFindsNoMoreStampsOutside) {
  ASSERT_EQ(RunManagers("t0", {"--review", "--tolerance", "0"}).exit, kExitFinished);
  ASSERT_EQ(RunManagers("t240", {"--review", "--tolerance", "240"}).exit, kExitFinished);
  const auto lines = [&](const QString& out) {
    return DecodeCp932(start.ReadBytes(out + "/" + kFindings)).count("\r\n");
  };
  EXPECT_GT(lines("t0"), lines("t240"));
}

}  // namespace
}  // namespace morvik
