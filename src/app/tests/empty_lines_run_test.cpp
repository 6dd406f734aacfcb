// Files saved by hand often end with empty lines. A run whose holiday file, request CSV
// and Shift-JIS stamp CSV end with some writes the same files as a run without them.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <map>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kSamples = QStringLiteral(MORVIK_SOURCE_DIR "/data/samples/personal");
const QString kHolidayName = QStringLiteral("MorvikGraph_祝日_max100.txt");
const QString kShippedHolidays = QStringLiteral(MORVIK_SOURCE_DIR "/data/") + kHolidayName;

QByteArray ReadFile(const QString& path) {
  QFile file(path);
  return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

class EmptyLinesRun : public ::testing::Test {
 protected:
  // Every output file by name, from a run over the personal sample with `ending` after the
  // last line of each input file.
  std::map<QString, QByteArray> Outputs(const QByteArray& ending) {
    testing::TempFolder program;
    testing::TempFolder start;
    program.WriteBytes(kHolidayName, ReadFile(kShippedHolidays) + ending);
    start.WriteBytes("req.csv", ReadFile(kSamples + "/2026_11_申請.csv") + ending);
    start.WriteBytes("stamp.csv", ReadFile(kSamples + "/2026_11_打刻.csv") + ending);
    const testing::BatchResult result =
        testing::RunBatchCapturing({"--batch", "--request", "req.csv", "--stamp", "stamp.csv",
                                    "--sjis", "--csv", "--bmp", "--dump", "--out", "out"},
                                   program.path(), start.path());
    EXPECT_EQ(result.exit, kExitFinished) << result.err.toStdString();
    std::map<QString, QByteArray> outputs;
    const QDir out(start.FilePath("out"));
    for (const QString& name : out.entryList(QDir::Files)) {
      outputs[name] = ReadFile(out.filePath(name));
    }
    return outputs;
  }
};

TEST_F(EmptyLinesRun, WritesTheSameFilesAsWithoutThem) {
  const std::map<QString, QByteArray> plain = Outputs("");
  ASSERT_EQ(plain.size(), 6u);  // the JPG, the BMP, the work CSV and the three dumps
  for (const QByteArray ending : {"\r\n", "\r\n\r\n", "\n\n"}) {
    const std::map<QString, QByteArray> ended = Outputs(ending);
    EXPECT_TRUE(ended == plain) << ending.toHex().toStdString();
  }
}

}  // namespace
}  // namespace morvik
