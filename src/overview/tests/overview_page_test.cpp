// The overview's rows from the review, their order, and the page written from them.
#include "overview/overview_page.h"

#include <gtest/gtest.h>

#include "overview/overview_rows.h"
#include "review/review_rows.h"
#include "review/tests/review_test_support.h"

namespace morvik::overview {
namespace {

using review::RequestKind;
using review::testing::Date;
using review::testing::November;
using review::testing::Request;

const QString kHostile = QStringLiteral("<img src=x onerror=alert(1)> &amp; #1 %41 x");

// A reviewed staff member with `overtimeMinutes` and stamps at `times` on day 2 (a
// working day, covered 08:30-17:15).
review::StaffMonthRecord Staff(const QString& no, qint32 overtimeMinutes,
                               std::initializer_list<const char*> times) {
  review::StaffMonthRecord record = November({2, 3});
  record.staffNo = no;
  record.overtimeMinutes = overtimeMinutes;
  for (const char* time : times) record.stamps.push_back({Date(2), time});
  record.stamps.push_back({Date(3), "08:20"});
  return record;
}

TEST(OverviewRowsTest, TakesTheReviewsFieldsAndPairsImagesByPlace) {
  // The fields are taken by place from the review's summary line.
  const std::vector<QString> header = review::SummaryHeader();
  EXPECT_EQ(header[4], "拘束時間");
  EXPECT_EQ(header[7], "時間外");
  EXPECT_EQ(header[10], "承認待ち件数");
  EXPECT_EQ(header[11], "却下件数");
  EXPECT_EQ(review::FindingsHeader()[3], "日付");

  review::MonthReview reviewed;
  review::StaffMonthRecord first = Staff("00001", 46 * 60, {"08:20", "19:00"});
  first.regularMinutes = 600;
  first.netRegularMinutes = 540;
  first.requests = {Request(RequestKind::kOvertime, "承認待ち", 4, "18:00", 4, "19:00", "1"),
                    Request(RequestKind::kLeave, "却下", 5, "08:30", 5, "12:00"),
                    Request(RequestKind::kLeave, "却下", 6, "08:30", 5, "12:00")};
  reviewed.Add(first);
  reviewed.Add(Staff("00002", 0, {"08:20", "17:20"}));
  const std::vector<QString> images = {"a b.jpg"};

  const std::vector<OverviewRow> rows = OverviewRows(reviewed.staff(), images);
  ASSERT_EQ(rows.size(), 2U);
  const OverviewRow& row = rows[0];
  EXPECT_EQ(row.imageFile, "a b.jpg");
  EXPECT_EQ(rows[1].imageFile, "") << "no image handed over";
  EXPECT_EQ(row.totals, (std::array<QString, 4>{"10.0", "9.0", "1.0", "46.0"}));
  EXPECT_EQ(row.overtimeLevel, "45h超");
  EXPECT_EQ(row.waiting, 1);
  EXPECT_EQ(row.rejected, 2);
  EXPECT_EQ(row.stampsOutside, 1);
  EXPECT_EQ(row.largestOutside, 105);  // 19:00 after 17:15
  ASSERT_EQ(row.findings.size(), 2U);  // the stamp at 19:00, day 4 of the waiting request
  EXPECT_EQ(row.findings[0].date, "2026/11/02");
  EXPECT_EQ(row.findings[0].time, "19:00");
  EXPECT_EQ(row.findings[0].kind, "終業後");
  EXPECT_EQ(row.findings[0].minutes, "105");
  EXPECT_EQ(rows[1].findings.size(), 0U);
}

TEST(OverviewRowsTest, AttentionOrderIsLargestOutsideThenOvertimeThenRunOrder) {
  std::vector<OverviewRow> rows(5);
  const struct {
    int outside;
    qint32 overtime;
  } values[] = {{0, 100}, {30, 10}, {0, 200}, {30, 50}, {0, 100}};
  for (int k = 0; k < 5; ++k) {
    rows[k].runIndex = k;
    rows[k].largestOutside = values[k].outside;
    rows[k].overtimeMinutes = values[k].overtime;
  }
  SortForAttention(rows);
  std::vector<int> order;
  for (const OverviewRow& row : rows) order.push_back(row.runIndex);
  EXPECT_EQ(order, (std::vector<int>{3, 1, 2, 0, 4}));
}

TEST(OverviewPageTest, ShowsEveryTextFromTheExportsAsTextAndLinksTheChartEncoded) {
  OverviewRow row;
  row.staffNo = "0001\"";
  row.staffName = kHostile;
  row.staffDept = kHostile;
  row.imageFile = "202611_" + QString(kHostile).replace('<', '_').replace('>', '_') + ".jpg";
  row.overtimeLevel = "100h以上";
  row.overtimeMinutes = 6000;
  row.findings.push_back({"2026/11/02", "11/02(月)", "19:00", kHostile, "105", "08:30-17:15"});
  OverviewRow plain;
  plain.staffNo = "0002";
  const std::vector<OverviewRow> rows = {row, plain};

  const QString page =
      QString::fromUtf8(OverviewPage("2026/11", QDateTime(QDate(2026, 12, 7), QTime(10, 0)), rows));
  EXPECT_FALSE(page.contains("<img src=x")) << "markup from the data";
  EXPECT_FALSE(page.contains("onerror=alert(1)>"));
  EXPECT_EQ(page.count("&lt;img src=x onerror=alert(1)&gt; &amp;amp; #1 %41 x"), 3);
  EXPECT_TRUE(page.contains("<td>0001&quot;</td>"));
  const QString link =
      "202611__img%20src%3Dx%20onerror%3Dalert%281%29_%20%26amp%3B%20%231%20%2541%20x.jpg";
  EXPECT_EQ(page.count("href=\"" + link + "\""), 1);
  EXPECT_EQ(page.count("src=\"" + link + "\" loading=\"lazy\""), 1);
  EXPECT_EQ(page.count("<tbody data-order="), 2);
  EXPECT_LT(page.indexOf("<td>0001&quot;</td>"), page.indexOf("<td>0002</td>"));
  EXPECT_TRUE(page.contains("2026/12/07 10:00:00"));
  EXPECT_TRUE(page.contains("100h以上</span>"));
  EXPECT_EQ(page.count("<script"), 1) << "only the page's own script";
}

}  // namespace
}  // namespace morvik::overview
