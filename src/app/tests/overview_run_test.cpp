// The overview page and the print PDF in batch runs: the other outputs stay the same
// bytes, and the page works in a real browser (headless Chromium).
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QUrl>

#include <algorithm>

#include "app/batch_mode.h"
#include "batch_runner.h"
#include "core/text_codec.h"
#include "headless_tools.h"
#include "overview_browser_harness.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

const QString kScreens = QStringLiteral(MORVIK_BINARY_DIR "/screens");
const QString kPage = QStringLiteral("202611_一覧.html");
const QString kPdf = QStringLiteral("202611_勤務表.pdf");
const QString kSummary = QStringLiteral("202611_集計.csv");
const QString kHostile = QStringLiteral("<img src=x onerror=alert(1)> &amp; #1 %41 x");

const QString kRequestHeader = QStringLiteral(
    "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,終了日,"
    "終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,時間外振替時間");
const QString kStampHeader = QStringLiteral(
    "社員番号,氏名,所属,所属コード,職種,雇用区分,打刻区分,打刻方法,打刻日,打刻時刻,曜日,端末名,"
    "修正区分,修正理由,登録日時");

struct SummaryRow {
  QString no, dept;
  int largestOutside;
  double overtime;
};

// The review's summary table, an account of the run independent of the page.
std::vector<SummaryRow> ReadSummary(const QByteArray& bytes) {
  std::vector<SummaryRow> rows;
  const QStringList lines = DecodeCp932(bytes).split(QStringLiteral("\r\n"), Qt::SkipEmptyParts);
  for (const QString& line : lines.mid(1)) {
    const QStringList f = line.mid(1, line.size() - 2).split(QStringLiteral("\",\""));
    rows.push_back({f[0], f[2], f[17].toInt(), f[7].toDouble()});
  }
  return rows;
}

QStringList Strings(const QJsonValue& array) {
  QStringList list;
  for (const QJsonValue& v : array.toArray()) list << v.toString();
  return list;
}

class OverviewRunTest : public ::testing::Test, protected testing::ManagersSampleRuns {
 protected:
  testing::BatchResult RunManagers(const QString& out, const QStringList& extra) {
    return ManagersSampleRuns::RunManagers(out, QStringList{"--csv"} + extra);
  }

  // Two staff members; the first's department and name hold `hostile`, and a stamp of
  // theirs lies far outside, so that the page shows them first. The second's request has
  // `secondHours` of overtime.
  testing::BatchResult RunHostile(const QString& out, const QStringList& flags,
                                  const QString& secondHours = "1.5") {
    const auto request = [](const QString& no, const QString& text, const QString& number,
                            const QString& hours) {
      return QStringList{no,      "承認", number,         "時間外申請", "2026/11/01",
                         text,    text,   "2026/11/02",   "17:15",      "2026/11/02",
                         "18:45", "業務", "上司（承認）", hours,        "0",
                         "",      ""}
          .join(u',');
    };
    const auto stamp = [](const QString& no, const QString& text, const QString& time) {
      return QStringList{no,     text,   text,   "D1",         "医師",
                         "常勤", "出勤", "IC",   "2026/11/02", time,
                         "月",   "本館", "なし", "",           "2026/11/02 " + time}
          .join(u',');
    };
    start.WriteCp932("req.csv",
                     testing::CrLfLines({kRequestHeader, request("00100", kHostile, "1", "1.5"),
                                         request("00200", "看護部", "2", secondHours)}));
    start.WriteUtf8(
        "stamp.csv",
        testing::CrLfLines({kStampHeader, stamp("00100", kHostile, "08:20"),
                            stamp("00100", kHostile, "23:00"), stamp("00200", "看護部", "08:20"),
                            stamp("00200", "看護部", "18:50")}));
    start.WriteCp932("list.txt", testing::CrLfLines({"職員番号", "00100", "00200"}));
    return testing::RunBatchCapturing(
        QStringList{"--batch", "--request", "req.csv", "--stamp", "stamp.csv", "--staff-list",
                    "list.txt", "--out", out} +
            flags,
        program.path(), start.path());
  }
};

TEST_F(OverviewRunTest, PageAndPdfAreTwoMoreFilesAndChangeNothingElse) {
  ASSERT_EQ(RunManagers("plain", {"--jobs", "1"}).exit, kExitFinished);
  const testing::BatchResult html = RunManagers("html", {"--html", "--pdf", "--jobs", "3"});
  ASSERT_EQ(html.exit, kExitFinished) << html.err.toStdString();
  ASSERT_EQ(RunManagers("html1", {"--html", "--pdf", "--jobs", "1"}).exit, kExitFinished);

  const QStringList plain = Files("plain");
  QStringList expected = QStringList(plain) << kPage << kPdf;
  expected.sort();
  EXPECT_EQ(Files("html"), expected) << "the review's tables only with --review";
  for (const QString& name : plain) {
    EXPECT_TRUE(start.ReadBytes("plain/" + name) == start.ReadBytes("html/" + name))
        << name.toStdString();
  }
  for (const QString& name : {kPage, kPdf}) {
    EXPECT_TRUE(start.ReadBytes("html/" + name) == start.ReadBytes("html1/" + name))
        << name.toStdString() << " the same with any --jobs";
  }
}

TEST_F(OverviewRunTest, ManagersPageWorksInABrowser) {
  const testing::BatchResult run = RunManagers("out", {"--html", "--review"});
  ASSERT_EQ(run.exit, kExitFinished) << run.err.toStdString();
  std::vector<SummaryRow> summary = ReadSummary(start.ReadBytes("out/" + kSummary));
  ASSERT_GT(summary.size(), 5U);
  ASSERT_EQ(RunHostile("hostile", {"--html"}).exit, kExitFinished);

  const QString department = summary.back().dept;
  const QString pages = QStringLiteral(
                            "[{src: 'out/%1', sortColumn: 1, filter: '%2'}, {src: 'hostile/%1', "
                            "sortColumn: 1, filter: ''}]")
                            .arg(QString::fromLatin1(QUrl::toPercentEncoding(kPage)), department);
  start.WriteUtf8("harness.html",
                  QString::fromUtf8(testing::kBrowserHarness).replace("PAGES", pages));
  const testing::ToolRun browser =
      testing::RunChromium({"--allow-file-access-from-files", "--virtual-time-budget=30000",
                            "--dump-dom", testing::FileUrl(start.FilePath("harness.html"))});
  ASSERT_TRUE(browser.ran) << browser.error.toStdString();
  const QByteArray dom = browser.out;
  const int from = dom.indexOf("<pre id=\"result\">") + 17;
  const QByteArray json = QByteArray::fromBase64(dom.mid(from, dom.indexOf("</pre>") - from));
  const QJsonArray results = QJsonDocument::fromJson(json).array();
  ASSERT_EQ(results.size(), 2) << dom.left(2000).toStdString();

  // The managers' sample: every charted staff member, the most minutes outside first.
  const QJsonObject managers = results[0].toObject();
  const int staff = static_cast<int>(summary.size());
  EXPECT_EQ(managers["rows"].toInt(), staff);
  EXPECT_EQ(managers["images"].toInt(), staff);
  EXPECT_EQ(managers["loaded"].toInt(), staff) << "every thumbnail loads";
  EXPECT_TRUE(managers["lazy"].toBool());
  std::stable_sort(summary.begin(), summary.end(), [](const SummaryRow& a, const SummaryRow& b) {
    return a.largestOutside != b.largestOutside ? a.largestOutside > b.largestOutside
                                                : a.overtime > b.overtime;
  });
  EXPECT_EQ(managers["first"].toObject()["no"].toString(), summary.front().no);
  EXPECT_EQ(managers["chartWidth"].toInt(), 1024);
  QStringList numbers = Strings(managers["order"]);
  numbers.sort();
  EXPECT_EQ(Strings(managers["sortedUp"]), numbers);
  std::reverse(numbers.begin(), numbers.end());
  EXPECT_EQ(Strings(managers["sortedDown"]), numbers);
  QStringList inDepartment;
  for (const SummaryRow& row : summary) {
    if (row.dept == department) inDepartment << row.no;
  }
  QStringList filtered = Strings(managers["filtered"]);
  filtered.sort();
  inDepartment.sort();
  EXPECT_EQ(filtered, inDepartment) << department.toStdString();
  EXPECT_EQ(managers["shown"].toString(),
            QStringLiteral("%1 / %2 名を表示").arg(inDepartment.size()).arg(staff));
  EXPECT_TRUE(managers["expanded"].toBool()) << "a row with findings expands";

  // Markup in a name is shown as text, runs nothing, and the chart still opens.
  const QJsonObject hostile = results[1].toObject();
  EXPECT_EQ(hostile["rows"].toInt(), 2);
  EXPECT_EQ(hostile["first"].toObject()["name"].toString(), kHostile);
  EXPECT_EQ(hostile["first"].toObject()["dept"].toString(), kHostile);
  EXPECT_EQ(hostile["images"].toInt(), 2) << "no element made from the data";
  EXPECT_EQ(hostile["handlerAttributes"].toInt(), 0);
  EXPECT_EQ(hostile["loaded"].toInt(), 2);
  EXPECT_EQ(hostile["chartWidth"].toInt(), 1024);

  // For the README and for a look by eye.
  QDir().mkpath(kScreens);
  const testing::ToolRun shot = testing::RunChromium(
      {"--window-size=1400,900", "--hide-scrollbars", "--virtual-time-budget=10000",
       "--screenshot=" + kScreens + "/overview.png",
       testing::FileUrl(start.FilePath("out/" + kPage))});
  EXPECT_TRUE(shot.ran && QFile::exists(kScreens + "/overview.png")) << shot.error.toStdString();
}

// The page and the PDF hold the staff members finished before an "(Error1)" failure.
TEST_F(OverviewRunTest, FailedRunWritesBothForTheStaffFinishedBefore) {
  const testing::BatchResult run = RunHostile("failed", {"--html", "--pdf"}, "x");
  ASSERT_EQ(run.exit, kExitRunFailed) << run.err.toStdString();
  const QString page = QString::fromUtf8(start.ReadBytes("failed/" + kPage));
  EXPECT_EQ(page.count("<tbody data-order="), 1);
  EXPECT_TRUE(page.contains("<td>00100</td>"));
  EXPECT_FALSE(page.contains("<td>00200</td>"));
  const QByteArray pdf = start.ReadBytes("failed/" + kPdf);
  ASSERT_TRUE(pdf.startsWith("%PDF"));
  EXPECT_EQ(pdf.count("/Type /Page") - pdf.count("/Type /Pages"), 2) << "the summary and a chart";
}

}  // namespace
}  // namespace morvik
