#include "chart/chart_saving.h"

#include <QDir>
#include <QFile>
#include <QImage>
#include <QImageReader>
#include <QtEndian>

#include <gtest/gtest.h>

#include <memory>

#include "chart/canvas.h"
#include "core/working_tables.h"
#include "testing/recording_frontend.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kError2 = QStringLiteral(
    "エラー：グラフの保存でエラーが発生しました．「SaveJPG.dll」が「MorvikGraph.exe」と同じフォルダ"
    "に存在しているか確認してください．(Error2)");
const QString kCsvName = QStringLiteral("202204_内科_00123_山田　太郎.csv");
const QString kBmpName = QStringLiteral("202204_内科_00123_山田　太郎.bmp");
const QString kJpgName = QStringLiteral("202204_内科_00123_山田　太郎.jpg");

class SaveChartTest : public ::testing::Test {
 protected:
  void SetUp() override {
    tables->workCsvPath = kCsvName;
    canvas.FilledBox(100, 100, 299, 199, QColor(255, 128, 128));
    frontend.SetStatusText(QStringLiteral("打刻をプロットしました"));
    frontend.SetProgressVisible(ProgressBar::kStep, true);
    frontend.SetBusy(true);
  }

  void Save(const QString& folder) { SaveChart(*tables, folder, canvas, frontend); }

  void ExpectError2() const {
    EXPECT_EQ(frontend.messages, QStringList({kError2}));
    EXPECT_FALSE(frontend.busy);
    EXPECT_EQ(frontend.statusText, QString());
    EXPECT_FALSE(frontend.bar(ProgressBar::kStep).visible);
    EXPECT_FALSE(frontend.events.contains(QStringLiteral("refresh chart")));
  }

  std::unique_ptr<WorkingTables> tables = std::make_unique<WorkingTables>();
  Canvas canvas;
  testing::RecordingFrontend frontend;
  testing::TempFolder folder;
};

struct FormatCase {
  const char* name;
  qint16 bmp;
  qint16 jpg;
};

class SaveFormatTest : public SaveChartTest, public ::testing::WithParamInterface<FormatCase> {};

TEST_P(SaveFormatTest, WritesTheChosenImagesBesideTheWorkCsvName) {
  tables->saveBmp = GetParam().bmp;
  tables->saveJpg = GetParam().jpg;
  Save(folder.path());
  EXPECT_TRUE(frontend.messages.isEmpty()) << frontend.messages.join(u'\n').toStdString();
  EXPECT_TRUE(frontend.events.contains(QStringLiteral("refresh chart")));
  EXPECT_EQ(QFile::exists(folder.FilePath(kBmpName)), GetParam().bmp == 1);
  EXPECT_EQ(QFile::exists(folder.FilePath(kJpgName)), GetParam().jpg == 1);
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files).size(), GetParam().bmp + GetParam().jpg)
      << "no temporary file is left behind";

  if (GetParam().bmp == 1) {
    const QByteArray bmp = folder.ReadBytes(kBmpName);
    ASSERT_GT(bmp.size(), 54);
    EXPECT_EQ(bmp.left(2), QByteArray("BM"));
    EXPECT_EQ(qFromLittleEndian<quint16>(bmp.constData() + 28), 24);  // bits a pixel
    EXPECT_EQ(qFromLittleEndian<quint32>(bmp.constData() + 30), 0u);  // uncompressed
    const QImage image(folder.FilePath(kBmpName));
    EXPECT_EQ(image.convertToFormat(QImage::Format_RGB32),
              canvas.image().convertToFormat(QImage::Format_RGB32));
  }
  if (GetParam().jpg == 1) {
    QImageReader reader(folder.FilePath(kJpgName));
    EXPECT_EQ(reader.format(), QByteArray("jpeg"));
    const QImage image = reader.read();
    ASSERT_EQ(image.size(), QSize(1024, 768));
    // Quality 100: the box's colour survives within a step or two.
    const QColor inside = image.pixelColor(200, 150);
    EXPECT_NEAR(inside.red(), 255, 3);
    EXPECT_NEAR(inside.green(), 128, 3);
    EXPECT_NEAR(inside.blue(), 128, 3);
  }
}

INSTANTIATE_TEST_SUITE_P(Options, SaveFormatTest,
                         ::testing::Values(FormatCase{"JpgOnly", 0, 1}, FormatCase{"BmpOnly", 1, 0},
                                           FormatCase{"Both", 1, 1}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SaveChartTest, ReplacesAnExistingImage) {
  tables->saveBmp = 1;
  tables->saveJpg = 0;
  folder.WriteBytes(kBmpName, "old chart");
  Save(folder.path());
  EXPECT_EQ(QImage(folder.FilePath(kBmpName)).size(), QSize(1024, 768));
}

TEST_F(SaveChartTest, UnwritableFolderShowsError2AndReturns) {
  tables->saveBmp = 1;
  Save(folder.FilePath(QStringLiteral("missing/folder")));
  ExpectError2();
}

TEST_F(SaveChartTest, WorkCsvNameShorterThanItsExtensionShowsError2) {
  tables->workCsvPath = QStringLiteral("ab");
  Save(folder.path());
  ExpectError2();
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
}

TEST_F(SaveChartTest, FailedBmpMeansNoJpgAttempt) {
  tables->saveBmp = 1;
  tables->saveJpg = 1;
  ASSERT_TRUE(QDir(folder.path()).mkdir(kBmpName));  // a folder where the BMP should go
  Save(folder.path());
  ExpectError2();
  EXPECT_FALSE(QFile::exists(folder.FilePath(kJpgName)));
}

TEST_F(SaveChartTest, FailedJpgKeepsTheBmp) {
  tables->saveBmp = 1;
  tables->saveJpg = 1;
  ASSERT_TRUE(QDir(folder.path()).mkdir(kJpgName));
  Save(folder.path());
  ExpectError2();
  EXPECT_EQ(QImage(folder.FilePath(kBmpName)).size(), QSize(1024, 768));
}

}  // namespace
}  // namespace morvik
