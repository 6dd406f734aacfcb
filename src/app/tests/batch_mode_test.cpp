#include "app/batch_mode.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>

#include <cstdio>

#include "app/batch_options.h"
#include "batch_runner.h"
#include "testing/scoped_environment.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kHolidayName = QStringLiteral("MorvikGraph_祝日_max100.txt");

class BatchModeTest : public ::testing::Test {
 protected:
  BatchModeTest() { program.WriteCp932(kHolidayName, "2026/11/03,文化の日\r\n"); }

  testing::BatchResult Run(const QStringList& arguments) {
    return testing::RunBatchCapturing(arguments, program.path(), start.path());
  }

  testing::TempFolder program;
  testing::TempFolder start;
};

TEST_F(BatchModeTest, RefusalsAndEndsGiveTheirExitStatus) {
  const struct {
    const char* label;
    QStringList arguments;
    int exit;
    QString stderrHas;
  } cases[] = {
      {"no stamp file",
       {"--batch", "--request", "r申請.csv"},
       kExitRefused,
       "エラー：「打刻ファイル名を正しく指定してください．"},
      {"no image format",
       {"--batch", "--no-jpg", "--stamp", "s.csv"},
       kExitRefused,
       "注意：出力ファイル形式が選択されていませんのでJPG形式に変更します．"},
      {"unknown option", {"--batch", "--frobnicate"}, kExitRefused, "usage:"},
      {"malformed month", {"--batch", "--month", "2026/13"}, kExitRefused, "usage:"},
      {"month without value", {"--batch", "--month"}, kExitRefused, "usage:"},
      {"missing holiday file",
       {"--batch", "--holidays", "nowhere.txt"},
       kExitProgramEnd,
       "エラー：祝日ファイル(MorvikGraph_祝日_max100.txt)が開けませんでした．"},
  };
  for (const auto& c : cases) {
    const testing::BatchResult result = Run(c.arguments);
    EXPECT_EQ(result.exit, c.exit) << c.label;
    EXPECT_TRUE(result.err.contains(c.stderrHas)) << c.label << ": " << result.err.toStdString();
  }
}

TEST_F(BatchModeTest, TooManyHolidayRecordsEndTheProgram) {
  QString text;
  for (int i = 1; i <= 101; ++i) text += QStringLiteral("2026/01/01,x%1\r\n").arg(i);
  start.WriteCp932("h.txt", text);
  const testing::BatchResult result = Run({"--batch", "--holidays", "h.txt", "--stamp", "s.csv"});
  EXPECT_EQ(result.exit, kExitProgramEnd);
  EXPECT_TRUE(result.err.contains("100行を超えました"));
}

TEST_F(BatchModeTest, HelpAndVersionSucceed) {
  EXPECT_EQ(Run({"--batch", "--help"}).exit, kExitFinished);
  EXPECT_EQ(Run({"--batch", "--version"}).exit, kExitFinished);
}

TEST(BatchOptionsTest, FlagsAreParsed) {
  const BatchParse parse = ParseBatchOptions(
      {"--batch", "a申請.csv", "--stamp", "s.csv", "--staff-list", "", "--sjis", "--month",
       "2026/11", "--no-jpg", "--bmp", "--csv", "--out", "o", "--dump", "--verbose"});
  ASSERT_TRUE(parse.options.has_value());
  const BatchOptions& o = *parse.options;
  EXPECT_EQ(o.files, QStringList{"a申請.csv"});
  EXPECT_EQ(o.stamp, "s.csv");
  EXPECT_EQ(o.staffList, "");
  EXPECT_EQ(o.utf8, false);
  EXPECT_EQ(o.month, "2026/11");
  EXPECT_FALSE(o.jpg);
  EXPECT_TRUE(o.bmp && o.csv && o.dump && o.verbose);
  EXPECT_EQ(o.outputFolder, "o");
}

}  // namespace
}  // namespace morvik

namespace morvik {
namespace {

const QString kSamples = QStringLiteral(MORVIK_SOURCE_DIR "/data/samples");
const QString kShippedHolidays =
    QStringLiteral(MORVIK_SOURCE_DIR "/data/MorvikGraph_祝日_max100.txt");

class BatchSampleTest : public BatchModeTest {
 protected:
  testing::BatchResult RunPersonal(const QString& outName, QStringList extra = {}) {
    QFile::remove(program.FilePath(kHolidayName));
    QFile::copy(kShippedHolidays, program.FilePath(kHolidayName));
    return Run(QStringList{"--batch", "--out", start.FilePath(outName), "--request",
                           kSamples + "/personal/2026_11_申請.csv", "--stamp",
                           kSamples + "/personal/2026_11_打刻.csv"} +
               extra);
  }
  QStringList Files(const QString& outName, const QString& pattern) {
    return QDir(start.FilePath(outName)).entryList({pattern}, QDir::Files, QDir::Name);
  }
};

int CrLfLineCount(const QByteArray& bytes) { return static_cast<int>(bytes.count("\r\n")); }

TEST_F(BatchSampleTest, PersonalMonthWritesChartsCsvAndDumps) {
  const testing::BatchResult result = RunPersonal("out", {"--csv", "--bmp", "--dump"});
  ASSERT_EQ(result.exit, kExitFinished) << result.err.toStdString();
  EXPECT_EQ(result.err, "処理を終了しました．\n");
  const QStringList jpg = Files("out", "*.jpg");
  ASSERT_EQ(jpg.size(), 1);
  EXPECT_TRUE(jpg[0].startsWith("202611_")) << jpg[0].toStdString();
  EXPECT_EQ(Files("out", "*.bmp").size(), 1);
  EXPECT_EQ(Files("out", "2026*.csv").size(), 1);
  const QImage chart(start.FilePath("out/" + jpg[0]));
  EXPECT_EQ(chart.size(), QSize(1024, 768));
  const struct {
    const char* name;
    int lines;
  } dumps[] = {{"データ確認用_申請.csv", 5001},
               {"データ確認用_職員番号指定.csv", 5001},
               {"データ確認用_打刻.csv", 50001}};
  for (const auto& dump : dumps) {
    EXPECT_EQ(CrLfLineCount(start.ReadBytes(QStringLiteral("out/") + dump.name)), dump.lines)
        << dump.name;
  }
}

TEST_F(BatchSampleTest, SameClockGivesIdenticalCharts) {
  ASSERT_EQ(RunPersonal("a").exit, kExitFinished);
  ASSERT_EQ(RunPersonal("b").exit, kExitFinished);
  const QString name = Files("a", "*.jpg").value(0);
  ASSERT_FALSE(name.isEmpty());
  EXPECT_EQ(start.ReadBytes("a/" + name), start.ReadBytes("b/" + name));
}

// The cached JPG writer (the default) and Qt's image writer (MORVIK_JPEG_CACHE=off), which
// wrote every JPG before it, give the same bytes for every chart of both samples.
TEST_F(BatchSampleTest, BothJpgWritersGiveTheSameChartsForBothSamples) {
  const QString managers = kSamples + "/managers/";
  const QStringList managersArguments{"--request",
                                      managers + "2026_11_申請_全職員.csv",
                                      "--stamp",
                                      managers + "2026_11_打刻_全職員.csv",
                                      "--utf8",
                                      "--staff-list",
                                      managers + "MorvikGraph_職員番号指定.txt"};
  for (const char* cache : {"off", "on"}) {
    const testing::ScopedEnvironment writer("MORVIK_JPEG_CACHE", cache);
    ASSERT_EQ(RunPersonal(QStringLiteral("personal-%1").arg(cache)).exit, kExitFinished);
    const QString out = start.FilePath(QStringLiteral("managers-%1").arg(cache));
    ASSERT_EQ(Run(QStringList{"--batch", "--out", out} + managersArguments).exit, kExitFinished);
  }
  const struct {
    const char* sample;
    int charts;
  } samples[] = {{"personal", 1}, {"managers", 30}};
  for (const auto& sample : samples) {
    const QString off = QStringLiteral("%1-off").arg(sample.sample);
    const QString on = QStringLiteral("%1-on").arg(sample.sample);
    const QStringList names = Files(off, "*.jpg");
    EXPECT_EQ(names.size(), sample.charts) << sample.sample;
    EXPECT_EQ(Files(on, "*.jpg"), names) << sample.sample;
    for (const QString& name : names) {
      EXPECT_EQ(start.ReadBytes(on + "/" + name), start.ReadBytes(off + "/" + name))
          << name.toStdString();
    }
  }
}

}  // namespace
}  // namespace morvik
