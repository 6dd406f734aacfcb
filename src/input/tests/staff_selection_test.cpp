#include "input/staff_selection.h"

#include <gtest/gtest.h>

#include <random>

#include "input/exchange_sort.h"
#include "input/request_csv.h"
#include "input/staff_lookup.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

const QString kHeaderStaffNo = QStringLiteral("申請者社員番号");

class StaffSelectionTest : public InputTest {
 protected:
  void SetUp() override {
    t().requestTable[0][1] = QStringLiteral("as read");
    t().stampMonthPrefix = QStringLiteral("2022/04/");
    t().requestRowCount = 1;
    form.monthText = QStringLiteral("2022/06");
  }
  void SetList(const QStringList& numbers) {
    t().staffList[0] = QStringLiteral("heading");
    for (int i = 0; i < numbers.size(); ++i) t().staffList[i + 1] = numbers[i];
  }
  // Request rows 1.. with the given staff numbers; column 3 tells the rows apart.
  void SetRows(const QStringList& staff) {
    for (int r = 1; r <= staff.size(); ++r) {
      t().requestTable[r][1] = staff[r - 1];
      t().requestTable[r][3] = QStringLiteral("r%1").arg(r);
    }
    t().requestRowCount = static_cast<qint16>(staff.size() + 1);
  }
  QStringList Column(int column, int rows) {
    QStringList cells;
    for (int r = 1; r <= rows; ++r) cells << t().requestTable[r][column];
    return cells;
  }
};

// ---- AddStaffRequests ----

TEST_F(StaffSelectionTest, AppendsPlaceholdersForListedStaffWithoutRows) {
  SetList({"200", "100", "300", "200"});
  SetRows({"100"});
  t().stampTable[5][1] = QStringLiteral("300");
  t().stampTable[5][2] = QStringLiteral("佐藤");
  t().stampTable[5][3] = QStringLiteral("外科");
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(Column(1, 4), (QStringList{"100", "200", "300", ""}));
  EXPECT_EQ(Column(7, 3), (QStringList{"", "氏名？打刻なし", "佐藤"}));
  EXPECT_EQ(Column(6, 3), (QStringList{"", "不明？", "外科"}));
  EXPECT_EQ(Column(8, 3), (QStringList{"", "2022/04/32", "2022/04/32"}));
  EXPECT_EQ(t().requestRowCount, 4);
  EXPECT_EQ(t().requestTable[0][1], kHeaderStaffNo);
  EXPECT_EQ(t().requestTable[0][13], QStringLiteral("承認者（承認状態）"));
  EXPECT_EQ(t().requestTable[0][17], QStringLiteral("時間外振替時間"));
  EXPECT_EQ(frontend.statusHistory, (QStringList{"職員番号指定の申請データを追加します",
                                                 "職員番号指定の申請データを追加しました"}));
  SortRequestsByStaff(t(), frontend);
  EXPECT_EQ(Column(1, 3), (QStringList{"100", "200", "300"}));
}

TEST_F(StaffSelectionTest, ListedStaffWithRowsLeaveTheTableAsItIs) {
  SetList({"100"});
  SetRows({"100"});
  t().requestMonthPrefix.clear();
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(t().requestTable[0][1], QStringLiteral("as read"));
  EXPECT_EQ(t().requestRowCount, 2);
  EXPECT_TRUE(t().requestMonthPrefix.isEmpty());
}

TEST_F(StaffSelectionTest, MonthPrefixComesFromTheMonthBoxOnlyWhenEmpty) {
  SetList({"100"});
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/06/"));
  EXPECT_EQ(t().requestTable[1][1], QStringLiteral("100"));

  t().requestTable[1][1].clear();
  t().requestMonthPrefix = QStringLiteral("2022/04/");
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/04/"));
}

TEST_F(StaffSelectionTest, SearchStopsAtTheFirstEmptyStaffNumber) {
  // Row 2 is a kept row without staff number: row 3 is not seen, and the placeholder for
  // "B" takes row 2.
  SetRows({"A", "", "B"});
  SetList({"B"});
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(Column(1, 3), (QStringList{"A", "B", "B"}));
  EXPECT_EQ(Column(3, 3), (QStringList{"r1", "", "r3"}));
}

TEST_F(StaffSelectionTest, FullTableGetsNoPlaceholder) {
  QStringList staff;
  for (int i = 0; i < 5000; ++i) staff << QStringLiteral("S%1").arg(i);
  SetRows(staff);
  SetList({"S10", "NEW"});
  AddStaffRequests(t(), form, frontend);
  EXPECT_EQ(t().requestRowCount, 5001);
  EXPECT_EQ(t().requestTable[5000][1], QStringLiteral("S4999"));
  EXPECT_EQ(t().requestTable[0][1], kHeaderStaffNo);  // the header is written all the same
}

// The order worked out ahead is the one the sort finds after AddStaffRequests: repeated
// and present staff numbers, a row without one, and a full table.
TEST_F(StaffSelectionTest, OrderWorkedOutAheadIsTheSortsOrder) {
  QStringList full;
  for (int i = 0; i < 5000; ++i) full << QStringLiteral("S%1").arg((i * 7919) % 613);
  const std::vector<std::pair<QStringList, QStringList>> cases = {
      {{"300", "100", "200", "300"}, {"200", "900", "100", "900"}},
      {{"B", "C"}, {"C", "", "A"}},
      {{"S1", "NEW"}, full},
  };
  for (const auto& [list, rows] : cases) {
    tables_ = std::make_unique<WorkingTables>();
    SetList(list);
    SetRows(rows);
    const RequestOrder order = OrderAfterPlaceholders(t(), t().staffList);
    AddStaffRequests(t(), form, frontend);
    EXPECT_EQ(QStringList(order.keys.begin(), order.keys.end()), Column(1, kRequestRows - 1));
    auto sortedHere = std::make_unique<WorkingTables>();
    sortedHere->requestTable = t().requestTable;
    SortRequestsByStaff(*sortedHere, frontend);
    SortRequestsByStaff(t(), frontend, &order);
    EXPECT_TRUE(t().requestTable == sortedHere->requestTable);
  }
}

TEST_F(StaffSelectionTest, IndexedLookupAgreesWithTheScan) {
  std::mt19937 random(7);
  for (int r = 0; r < 300; ++r) {
    t().stampTable[r][1] = QString::number(random() % 40);
    t().stampTable[r][2] = QStringLiteral("n%1").arg(r);
    if (random() % 5 == 0) t().stampTable[r][1].clear();
  }
  const StampStaffIndex index(t());
  for (int k = -1; k < 45; ++k) {
    const QString key = k < 0 ? QString() : QString::number(k);
    LookupStampStaff(t(), key);
    const QStringList scan{t().lookupStaffNo, t().lookupStaffName, t().lookupDate, t().lookupDept};
    LookupStampStaff(t(), index, key);
    EXPECT_EQ((QStringList{t().lookupStaffNo, t().lookupStaffName, t().lookupDate, t().lookupDept}),
              scan)
        << k;
  }
}

// ---- SortRequestsByStaff ----

// The exchange sort as the program describes it, row by row, column by column.
void DirectExchangeSort(WorkingTables& tables) {
  std::array<QString, kRequestColumns> swapRow;
  for (int i = 1; i <= 4999; ++i) {
    for (int j = 1; j <= 5000 - i; ++j) {
      if (tables.requestTable[i + j][1].isEmpty()) break;
      if (tables.requestTable[i][1] > tables.requestTable[i + j][1]) {
        for (int k = 1; k <= 17; ++k) {
          swapRow[k] = tables.requestTable[i][k];
          tables.requestTable[i][k] = tables.requestTable[i + j][k];
          tables.requestTable[i + j][k] = swapRow[k];
          swapRow[k].clear();
        }
      }
    }
  }
}

struct SortCase {
  const char* name;
  QStringList staff;
  QStringList sortedIds;  // column 3 after the sort
};

class SortOrder : public StaffSelectionTest, public ::testing::WithParamInterface<SortCase> {};

TEST_P(SortOrder, IsTheExchangeSortsOrder) {
  const SortCase& c = GetParam();
  SetRows(c.staff);
  SortRequestsByStaff(t(), frontend);
  EXPECT_EQ(Column(3, c.staff.size()), c.sortedIds);
}

INSTANTIATE_TEST_SUITE_P(
    All, SortOrder,
    ::testing::Values(
        SortCase{"NotStable", {"B", "B", "A"}, {"r3", "r2", "r1"}},
        SortCase{"TextNotNumber", {"9", "10", "9"}, {"r2", "r1", "r3"}},
        SortCase{"ShorterFirst", {"100", "10", "1"}, {"r3", "r2", "r1"}},
        SortCase{"EmptyRowsStayAndSplit", {"C", "A", "", "B", "A"}, {"r2", "r1", "r3", "r5", "r4"}},
        SortCase{"Sorted", {"1", "2", "3"}, {"r1", "r2", "r3"}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StaffSelectionTest, SortKeepsRowZeroAndColumnZero) {
  SetRows({"B", "A"});
  t().requestTable[1][0] = QStringLiteral("zero of row 1");
  SortRequestsByStaff(t(), frontend);
  EXPECT_EQ(t().requestTable[0][1], QStringLiteral("as read"));
  EXPECT_EQ(t().requestTable[1][0], QStringLiteral("zero of row 1"));
  EXPECT_TRUE(t().requestTable[2][0].isEmpty());
  EXPECT_EQ(Column(1, 2), (QStringList{"A", "B"}));
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).max, 5000);
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).value, 5000);
  EXPECT_EQ(frontend.progressValueWrites, 1 + 4999 + 1);
  EXPECT_EQ(frontend.statusHistory, (QStringList{"申請ファイルを職員番号でソートします",
                                                 "申請ファイルを職員番号でソートしました"}));
}

// Random tables, equal keys and empty staff numbers included, sorted both ways.
TEST(ExchangeSort, AgreesWithTheDirectStepsOnRandomTables) {
  auto fast = std::make_unique<WorkingTables>();
  auto direct = std::make_unique<WorkingTables>();
  RecordingFrontend frontend;
  std::mt19937 random(20240401);
  for (int round = 0; round < 300; ++round) {
    const int rows = round < 3 ? 5000 : static_cast<int>(random() % 80);
    // Few keys repeat often; many keys make long chains of exchanges.
    const int distinct = 1 + static_cast<int>(random() % (round % 2 == 0 ? 12 : 70));
    for (int r = 1; r <= 5000; ++r) {
      RequestRow& row = fast->requestTable[r];
      row.fill(QString());
      if (r > rows) continue;
      const auto key = static_cast<int>(random() % distinct);
      row[1] = random() % 13 == 0 ? QString() : QStringLiteral("%1").arg(key * 7);
      row[2] = QStringLiteral("row %1").arg(r);
      row[17] = QString::number(random());
    }
    direct->requestTable = fast->requestTable;
    SortRequestsByStaff(*fast, frontend);
    DirectExchangeSort(*direct);
    ASSERT_EQ(fast->requestTable, direct->requestTable) << "round " << round;
  }
}

// Exports are often sorted already, or nearly; passes may stop early there.
TEST(ExchangeSort, AgreesWithTheDirectStepsOnOrderedTables) {
  auto fast = std::make_unique<WorkingTables>();
  auto direct = std::make_unique<WorkingTables>();
  RecordingFrontend frontend;
  std::mt19937 random(20261207);
  const int rows = 400;
  for (const char* order : {"ascending", "descending", "nearly ascending", "runs"}) {
    for (int r = 1; r <= 5000; ++r) {
      RequestRow& row = fast->requestTable[r];
      row.fill(QString());
      if (r > rows) continue;
      int key = r / 3;
      if (QByteArray(order) == "descending") key = (rows - r) / 3;
      if (QByteArray(order) == "nearly ascending" && random() % 10 == 0) key = random() % 140;
      if (QByteArray(order) == "runs") key = (r % 50) / 5 + (r / 100) * 3;
      row[1] = r % 97 == 0 ? QString() : QStringLiteral("%1").arg(key + 100);
      row[2] = QStringLiteral("row %1").arg(r);
    }
    direct->requestTable = fast->requestTable;
    SortRequestsByStaff(*fast, frontend);
    DirectExchangeSort(*direct);
    ASSERT_EQ(fast->requestTable, direct->requestTable) << order;
  }
}

// Small cases worked out by hand from the passes, each on a path of its own: rows that
// move on more than once, that wait behind each other, and empty keys at either end.
TEST(ExchangeSort, OrderOfKeys) {
  const std::vector<std::pair<std::vector<QString>, std::vector<int>>> cases = {
      {{}, {}},
      {{"a"}, {0}},
      {{"", ""}, {0, 1}},
      {{"b", "b", "a"}, {2, 1, 0}},
      {{"b", "a", "b", "a"}, {1, 3, 2, 0}},
      {{"b", "b", "a", "a"}, {2, 3, 0, 1}},
      {{"", "b", "a"}, {0, 2, 1}},
      {{"b", "a", ""}, {1, 0, 2}},
      {{"b", "b", "a", "", "c", "a"}, {2, 1, 0, 3, 5, 4}},
      {{"c", "b", "a", "c", "b", "a"}, {2, 5, 4, 1, 0, 3}},
  };
  for (const auto& [keys, order] : cases) EXPECT_EQ(ExchangeSortOrder(keys), order);
}

}  // namespace
}  // namespace morvik::testing
