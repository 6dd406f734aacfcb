// A run that saves charts on other threads must be indistinguishable from one that saves
// each chart at once: the same files, byte for byte, and the same messages in the same
// order, including a failed save and a message from a later staff member.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "app/batch_mode.h"
#include "app/chart_pipeline.h"
#include "batch_runner.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kRequestHeader = QStringLiteral(
    "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,"
    "終了日,終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,"
    "時間外振替時間");
const QString kStampHeader =
    QStringLiteral("社員番号,氏名,所属,4,5,6,7,8,打刻日,打刻時刻,11,12,13,14,15");

QString Request(int staff, const QString& type, int day, const QString& start, const QString& end,
                const QString& hours = QString()) {
  const QString date = QStringLiteral("2026/11/%1").arg(day, 2, 10, QLatin1Char('0'));
  return QStringLiteral("S%1,承認,1,%2,2026/11/01,内科,職員%1,%3,%4,%3,%5,内容,,%6,0,,")
      .arg(staff)
      .arg(type, date, start, end, hours);
}

// Eight staff members; the fourth fills a day with ten periods and then splits one by a
// leave, which shows the ten-period message while earlier charts may still be saving.
QStringList RequestLines() {
  QStringList lines{kRequestHeader};
  for (int staff = 1; staff <= 8; ++staff) {
    for (int day = 2; day <= 27; day += 5) {
      lines << Request(staff, "時間外申請", day, "17:15", "19:00", "1.75");
    }
  }
  for (int i = 0; i < 9; ++i) {
    lines << Request(4, "時間外申請", 10, QStringLiteral("%1:00").arg(18 + i % 5), "23:00", "1");
  }
  lines << Request(4, "休暇申請(時間単位年休)", 10, "10:00", "11:00");
  return lines;
}

QStringList StampLines() {
  QStringList lines{kStampHeader};
  for (int staff = 1; staff <= 8; ++staff) {
    for (int day = 2; day <= 6; ++day) {
      lines << QStringLiteral("S%1,職員%1,内科,4,5,6,7,8,2026/11/%2,8:2%1,11,12,13,14,15")
                   .arg(staff)
                   .arg(day);
    }
  }
  return lines;
}

testing::BatchResult RunInto(const testing::TempFolder& folder, const QString& out, int jobs) {
  QDir(folder.path()).mkpath(out);
  // A folder where the second staff member's chart should go: that save fails (Error2).
  QDir(folder.FilePath(out)).mkpath(QStringLiteral("202611_内科_S2_職員2.jpg"));
  return testing::RunBatchCapturing(
      {"--batch", "--request", "requests.csv", "--stamp", "stamps.csv", "--utf8", "--staff-list",
       "staff.txt", "--csv", "--bmp", "--out", out, "--jobs", QString::number(jobs)},
      folder.path(), folder.path());
}

TEST(ChartPipelineTest, ParallelSavingGivesTheSameFilesAndMessagesInTheSameOrder) {
  testing::TempFolder folder;
  folder.WriteCp932("MorvikGraph_祝日_max100.txt", "2026/11/03,文化の日\r\n");
  folder.WriteCp932("requests.csv", testing::CrLfLines(RequestLines()));
  folder.WriteUtf8("stamps.csv", testing::CrLfLines(StampLines()));
  QStringList staffList{QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡")};
  for (int staff = 1; staff <= 8; ++staff) staffList << QStringLiteral("S%1").arg(staff);
  folder.WriteCp932("staff.txt", testing::CrLfLines(staffList));

  const testing::BatchResult sequential = RunInto(folder, "one", 1);
  const testing::BatchResult parallel = RunInto(folder, "three", 3);
  ASSERT_EQ(sequential.exit, kExitOutputsLost) << sequential.err.toStdString();
  EXPECT_EQ(parallel.exit, sequential.exit);
  EXPECT_EQ(QString(parallel.err).replace("/three/", "/one/"), sequential.err);
  const QStringList messages = sequential.err.split(u'\n', Qt::SkipEmptyParts);
  ASSERT_EQ(messages.size(), 4) << sequential.err.toStdString();
  EXPECT_TRUE(messages[0].endsWith("(Error2)"));
  EXPECT_TRUE(messages[1].startsWith("what failed: ") && messages[1].contains("S2_職員2.jpg"));
  EXPECT_TRUE(messages[2].contains("1日10回勤務がオーパーフローしました"));
  EXPECT_EQ(messages[3], "処理を終了しました．");

  const QStringList files = QDir(folder.FilePath("one")).entryList(QDir::Files, QDir::Name);
  // CSVs, BMPs, and JPGs but the failed one (its BMP was written before the JPG failed).
  EXPECT_EQ(files.size(), 8 + 8 + 7) << files.join(' ').toStdString();
  EXPECT_EQ(QDir(folder.FilePath("three")).entryList(QDir::Files, QDir::Name), files);
  for (const QString& file : files) {
    EXPECT_EQ(folder.ReadBytes("one/" + file), folder.ReadBytes("three/" + file))
        << file.toStdString();
  }
}

class NotSavedLog : public testing::RecordingFrontend {
 public:
  void ReportNotSaved(const QString& detail) override { notSaved << detail; }
  QStringList notSaved;
};

// With one worker, the calling thread saves the charts handed over while the worker has
// enough to do; whichever thread saved a chart, its result is reported in the order the
// charts were handed over.
TEST(ChartPipelineTest, ChartsSavedByTheCallingThreadAreReportedInTurn) {
  testing::TempFolder folder;
  QImage image(1024, 768, QImage::Format_RGB888);
  image.fill(Qt::white);
  NotSavedLog log;
  ChartPipeline pipeline(2, log);
  constexpr int kCharts = 24;
  for (int i = 0; i < kCharts; ++i) {
    const QString name = QStringLiteral("chart%1.bmp").arg(i);
    if (i % 3 == 1) QDir(folder.path()).mkpath(name);  // a folder there: the save fails
    ChartSave save;
    save.image = image;
    save.bmpPath = folder.FilePath(name);
    pipeline.Submit(std::move(save));
  }
  pipeline.FinishAll();
  EXPECT_EQ(pipeline.failedCharts(), kCharts / 3);
  ASSERT_EQ(log.notSaved.size(), kCharts / 3);
  for (int k = 0; k < kCharts / 3; ++k) {
    EXPECT_TRUE(log.notSaved[k].contains(QStringLiteral("chart%1.bmp").arg(3 * k + 1)))
        << log.notSaved[k].toStdString();
  }
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), kCharts - kCharts / 3);
}

}  // namespace
}  // namespace morvik
