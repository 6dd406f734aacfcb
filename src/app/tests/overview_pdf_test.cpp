// The print PDF of the managers' sample, read back with poppler: its pages, its texts,
// and its charts against the saved images.
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QRegularExpression>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "core/text_codec.h"
#include "headless_tools.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kScreens = QStringLiteral(MORVIK_BINARY_DIR "/screens");
const QString kPdf = QStringLiteral("202611_勤務表.pdf");
const QString kSummary = QStringLiteral("202611_集計.csv");
const QString kMonthTitle = QStringLiteral("2026/11　勤務表");  // as the chart prints it

// A chart page rendered at 300 dpi and brought to the chart's size may differ from the
// saved JPG by this much on average (0-255 a channel): one-unit lines and glyph edges are
// blended by another rasteriser and by the resampling. The sample's first chart measures
// about 6.7; a chart of another staff member about 13, so a wrong or misplaced chart fails.
constexpr double kMeanDifferenceBound = 9.0;

struct Staff {
  QString no, name;
};

// Staff members in run order, from the review's summary table.
std::vector<Staff> ReadStaff(const QByteArray& summary) {
  std::vector<Staff> staff;
  const QStringList lines = DecodeCp932(summary).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  for (const QString& line : lines.mid(1)) {
    const QStringList f = line.mid(1, line.size() - 2).split(QStringLiteral("\",\""));
    staff.push_back({f[0], f[1]});
  }
  return staff;
}

QString WithoutBlanks(QString text) {
  return text.remove(QRegularExpression(QStringLiteral("[\\s\\x{3000}]")));
}

bool IsInk(QRgb pixel) { return qGray(pixel) < 200; }

// The chart's frame on a rendered page: the outermost lines of ink that run over more than
// half of the page's width (rows) or of its height (columns).
QRect ChartFrame(const QImage& page) {
  const auto longRow = [&](int y) {
    int ink = 0;
    for (int x = 0; x < page.width(); ++x) ink += IsInk(page.pixel(x, y));
    return ink > page.width() / 2;
  };
  const auto longColumn = [&](int x) {
    int ink = 0;
    for (int y = 0; y < page.height(); ++y) ink += IsInk(page.pixel(x, y));
    return ink > page.height() / 2;
  };
  int top = 0, bottom = page.height() - 1, left = 0, right = page.width() - 1;
  while (top < bottom && !longRow(top)) ++top;
  while (bottom > top && !longRow(bottom)) --bottom;
  while (left < right && !longColumn(left)) ++left;
  while (right > left && !longColumn(right)) --right;
  return QRect(QPoint(left, top), QPoint(right, bottom));
}

double MeanDifference(const QImage& a, const QImage& b) {
  const QImage x = a.convertToFormat(QImage::Format_RGB32);
  const QImage y = b.convertToFormat(QImage::Format_RGB32);
  double sum = 0;
  for (int row = 0; row < x.height(); ++row) {
    for (int col = 0; col < x.width(); ++col) {
      const QRgb p = x.pixel(col, row), q = y.pixel(col, row);
      sum += std::abs(qRed(p) - qRed(q)) + std::abs(qGreen(p) - qGreen(q)) +
             std::abs(qBlue(p) - qBlue(q));
    }
  }
  return sum / (3.0 * x.width() * x.height());
}

class OverviewPdfTest : public ::testing::Test, protected testing::ManagersSampleRuns {};

TEST_F(OverviewPdfTest, ManagersPdfHasTheSummaryThenAChartPageEach) {
  const testing::BatchResult run = RunManagers("out", {"--pdf", "--review"});
  ASSERT_EQ(run.exit, kExitFinished) << run.err.toStdString();
  const std::vector<Staff> staff = ReadStaff(start.ReadBytes("out/" + kSummary));
  const QString pdf = start.FilePath("out/" + kPdf);
  const qint64 bytes = QFileInfo(pdf).size();
  EXPECT_LT(bytes, 60 * 1024 * static_cast<qint64>(staff.size())) << bytes << " bytes";

  const testing::ToolRun text =
      testing::RunTool("pdftotext", {"-layout", "-enc", "UTF-8", pdf, "-"});
  ASSERT_TRUE(text.ran && text.exit == 0) << text.error.toStdString();
  QStringList pages = QString::fromUtf8(text.out).split(u'\f');
  if (pages.last().trimmed().isEmpty()) pages.removeLast();
  const int summaryPages = static_cast<int>(pages.size() - staff.size());
  ASSERT_GE(summaryPages, 1) << pages.size() << " pages for " << staff.size() << " staff";
  for (int k = 0; k < summaryPages; ++k) {
    EXPECT_TRUE(pages[k].contains(QStringLiteral("集計"))) << "page " << k + 1;
  }
  for (std::size_t k = 0; k < staff.size(); ++k) {
    const QString page = WithoutBlanks(pages[summaryPages + static_cast<int>(k)]);
    // Once in the page's label, once in the chart's own header: the chart's text is text.
    EXPECT_GE(page.count(WithoutBlanks(staff[k].name)), 2) << staff[k].name.toStdString();
    EXPECT_TRUE(page.contains(staff[k].no)) << staff[k].no.toStdString();
    EXPECT_TRUE(page.contains(WithoutBlanks(kMonthTitle))) << "page " << summaryPages + k + 1;
    EXPECT_TRUE(WithoutBlanks(pages[0]).contains(WithoutBlanks(staff[k].name)))
        << "the summary lists " << staff[k].name.toStdString();
  }

  // The first chart page against the saved charts of its staff member and of another one.
  const int chartPage = summaryPages + 1;
  const testing::ToolRun render = testing::RunTool(
      "pdftoppm", {"-f", QString::number(chartPage), "-l", QString::number(chartPage), "-r", "300",
                   "-png", "-singlefile", pdf, start.FilePath("page")});
  ASSERT_TRUE(render.ran && render.exit == 0) << render.error.toStdString();
  const QImage page(start.FilePath("page.png"));
  ASSERT_FALSE(page.isNull());
  QDir().mkpath(kScreens);
  page.save(kScreens + "/pdf_chart_page.png");
  const QRect frame = ChartFrame(page);
  ASSERT_GT(frame.width(), 1024) << "rendered large enough to compare";
  const QImage chart =
      page.copy(frame).scaled(1024, 768, Qt::IgnoreAspectRatio, Qt::SmoothTransformation);
  const auto saved = [&](const Staff& s) {
    const QStringList found =
        QDir(start.FilePath("out")).entryList({"*_" + s.no + "_*.jpg"}, QDir::Files);
    return found.size() == 1 ? QImage(start.FilePath("out/" + found[0])) : QImage();
  };
  const QImage own = saved(staff[0]);
  const QImage other = saved(staff[1]);
  ASSERT_FALSE(own.isNull() || other.isNull());
  const double toOwn = MeanDifference(chart, own);
  const double toOther = MeanDifference(chart, other);
  EXPECT_LT(toOwn, kMeanDifferenceBound);
  EXPECT_LT(toOwn * 1.5, toOther) << "own " << toOwn << ", other " << toOther;
  RecordProperty("meanDifferenceOwn", QString::number(toOwn, 'f', 2).toStdString());
  RecordProperty("meanDifferenceOther", QString::number(toOther, 'f', 2).toStdString());
  std::printf("chart page vs saved chart: mean difference %.2f (another staff member's %.2f)\n",
              toOwn, toOther);
}

}  // namespace
}  // namespace morvik
