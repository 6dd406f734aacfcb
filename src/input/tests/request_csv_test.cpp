#include "input/request_csv.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/failures.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

const QString kHeaderLine = QStringLiteral(
    "申請者社員番号,承認状態,申請番号,申請種別,申請日,申請所属,申請者名,開始日,開始時間,"
    "終了日,終了時間,内容,承認者（承認状態）,時間外申請時間,時間外休憩時間,時間外振替日,"
    "時間外振替時間");
const QString kTooMany = QStringLiteral(
    "エラー：メモリーがオーパーフローしました．申請ファイルは最大5,000行です．5,000行以内に修正して"
    "ください．5,000行までのデータで処理します．");
const QString kMismatch = QStringLiteral(
    "エラー：申請CSVファイルと打刻CSVファイルの年月が違っている可能性があります．申請CSVファイルと"
    "打刻CSVファイルの年月を確認してください．");
const QString kSeveral = QStringLiteral(
    "エラー：申請ファイルの年月に複数年月が含まれていました．1か月分の正しいデータに修正してやり直"
    "し"
    "てください．");
const QString kReading = QStringLiteral("申請CSVを読み込みます");
const QString kRead = QStringLiteral("申請CSVを読み込みました");

class RequestCsvTest : public InputTest {
 protected:
  void SetUp() override {
    t().staffList[0] = QStringLiteral("heading");
    t().staffList[1] = QStringLiteral("00123");
    t().stampMonthPrefix = QStringLiteral("2022/04/");
  }
  void UseFile(const QStringList& records) {
    t().requestCsvPath = folder.WriteCp932(QStringLiteral("requests.csv"), CrLfLines(records));
  }
  void Read() { ReadRequestCsv(t(), frontend); }
  const RequestRow& Row(int r) { return t().requestTable.at(r); }
  QStringList StaffColumn(int rows) {
    QStringList cells;
    for (int r = 0; r < rows; ++r) cells << Row(r)[1];
    return cells;
  }
  static QStringList PlaceholderCells(const QString& staffNo, const QString& name,
                                      const QString& dept, const QString& date) {
    return {staffNo, "承認", "",      "休暇申請(時間単位年休)", "", dept, name, date,
            "19:30", date,   "19:30", "時間外　申請データなし", "", "",   "0",  "0",
            ""};
  }
  QStringList Cells(int r) {
    QStringList cells;
    for (int c = 1; c <= 17; ++c) cells << Row(r)[c];
    return cells;
  }
};

TEST_F(RequestCsvTest, KeepsListedRowsWithNormalForms) {
  UseFile({kHeaderLine, RequestLine("00123", "2022/4/5", "8:30", "2022/4/6", "17:15"),
           RequestLine("00999", "2022/04/07"),
           RequestLine("00123", "2022/04/08", "17:15", "2022/04/08", "9:00")});
  Read();
  EXPECT_EQ(Cells(0).join(u','), kHeaderLine);
  EXPECT_EQ(StaffColumn(4), (QStringList{"申請者社員番号", "00123", "00123", ""}));
  EXPECT_EQ(Row(1)[8], QStringLiteral("2022/04/05"));
  EXPECT_EQ(Row(1)[9], QStringLiteral("08:30"));
  EXPECT_EQ(Row(1)[10], QStringLiteral("2022/04/06"));
  EXPECT_EQ(Row(1)[11], QStringLiteral("17:15"));
  EXPECT_EQ(Row(2)[8], QStringLiteral("2022/04/08"));
  EXPECT_EQ(Row(2)[11], QStringLiteral("09:00"));
  EXPECT_EQ(Row(2)[12], QStringLiteral("会議"));
  EXPECT_EQ(t().requestRowCount, 3);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/04/"));
  EXPECT_EQ(t().multipleMonths, 0);
  EXPECT_TRUE(frontend.messages.isEmpty());
  EXPECT_EQ(frontend.statusHistory, (QStringList{kReading, kRead}));
  EXPECT_TRUE(Row(1)[0].isEmpty());
}

TEST_F(RequestCsvTest, StaffNumbersAfterTheFirstEmptyEntryAreNotListed) {
  t().staffList[2] = QString();
  t().staffList[3] = QStringLiteral("00456");
  UseFile({kHeaderLine, RequestLine("00456", "2022/04/01"), RequestLine("heading", "2022/04/02"),
           RequestLine("123", "2022/04/03"), RequestLine("00123", "2022/04/04")});
  Read();
  EXPECT_EQ(StaffColumn(4), (QStringList{"申請者社員番号", "heading", "00123", ""}));
}

TEST_F(RequestCsvTest, FixedMonthLooksAtTheDateAsWritten) {
  t().fixedMonth = 1;
  t().targetMonthText = QStringLiteral("2022/04");
  UseFile({kHeaderLine, RequestLine("00123", "2022/4/5"), RequestLine("00123", "2022/05/01"),
           RequestLine("00123", "2022/04/09")});
  Read();
  EXPECT_EQ(Row(1)[8], QStringLiteral("2022/04/09"));
  EXPECT_TRUE(Row(2)[1].isEmpty());
  EXPECT_EQ(t().requestRowCount, 2);
}

TEST_F(RequestCsvTest, HeaderOnlyGivesThePlaceholderRow) {
  UseFile({kHeaderLine});
  t().requestMonthPrefix = QStringLiteral("2021/01/");
  Read();
  EXPECT_EQ(Cells(1), PlaceholderCells("00000", "氏名？打刻なし", "不明？", "2022/04/32"));
  EXPECT_EQ(t().requestRowCount, 2);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/04/"));
  EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(RequestCsvTest, PlaceholderTakesNameAndDepartmentFromTheStamps) {
  t().stampTable[3][1] = QStringLiteral("00000");
  t().stampTable[3][2] = QStringLiteral("佐藤");
  t().stampTable[3][3] = QStringLiteral("外科");
  t().stampTable[4][1] = QStringLiteral("00000");
  t().stampTable[4][2] = QStringLiteral("later row");
  UseFile({kHeaderLine, RequestLine("00999", "2022/04/01")});  // nobody listed
  Read();
  EXPECT_EQ(Cells(1), PlaceholderCells("00000", "佐藤", "外科", "2022/04/32"));
}

TEST_F(RequestCsvTest, EmptyFileAddsNoPlaceholderAndKeepsTheEarlierMonth) {
  t().requestCsvPath = folder.WriteBytes(QStringLiteral("requests.csv"), QByteArray());
  t().requestMonthPrefix = QStringLiteral("2022/03/");
  Read();
  EXPECT_TRUE(Row(1)[1].isEmpty());
  EXPECT_EQ(t().requestRowCount, 1);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/03/"));
  EXPECT_EQ(frontend.messages, QStringList{kMismatch});
}

TEST_F(RequestCsvTest, NoFileEmptiesTheTableAndStops) {
  t().requestTable[3][5] = QStringLiteral("old");
  t().requestMonthPrefix = QStringLiteral("2022/03/");
  Read();
  EXPECT_TRUE(t().requestTable[3][5].isEmpty());
  EXPECT_EQ(t().requestRowCount, 1);
  EXPECT_EQ(t().requestMonthPrefix, QStringLiteral("2022/03/"));
  EXPECT_EQ(frontend.statusHistory, QStringList{kReading});
}

struct MonthCase {
  const char* name;
  QString stampPrefix;
  QStringList startDates;
  QStringList messages;
};

class RequestMonths : public RequestCsvTest, public ::testing::WithParamInterface<MonthCase> {};

TEST_P(RequestMonths, WarnsAboutMonths) {
  const MonthCase& c = GetParam();
  t().stampMonthPrefix = c.stampPrefix;
  QStringList records{kHeaderLine};
  for (const QString& date : c.startDates) records << RequestLine("00123", date);
  UseFile(records);
  Read();
  EXPECT_EQ(frontend.messages, c.messages);
  EXPECT_EQ(t().multipleMonths, c.messages.contains(kSeveral) ? 1 : 0);
  EXPECT_EQ(frontend.statusText, kRead);
}

INSTANTIATE_TEST_SUITE_P(
    All, RequestMonths,
    ::testing::Values(
        MonthCase{"SameMonth", "2022/04/", {"2022/04/01", "2022/4/30"}, {}},
        MonthCase{"OtherMonth", "2022/05/", {"2022/04/01"}, {kMismatch}},
        MonthCase{"FewStamps", "", {"2022/04/01"}, {kMismatch}},
        MonthCase{"MixedMonths", "2022/04/", {"2022/04/01", "2022/05/01"}, {kSeveral}},
        MonthCase{"MixedAndOther", "2022/05/", {"2022/04/01", "2022/05/01"}, {kMismatch, kSeveral}},
        MonthCase{"EmptyStartDateIsAnotherMonth", "2022/04/", {"2022/04/01", ""}, {kSeveral}}),
    [](const auto& info) { return std::string(info.param.name); });

class RequestLimit : public RequestCsvTest, public ::testing::WithParamInterface<int> {};

TEST_P(RequestLimit, StopsAtFiveThousandRows) {
  const int kept = GetParam();
  QStringList records{kHeaderLine};
  for (int i = 1; i <= kept; ++i) {
    records << RequestLine("00123", "2022/04/01", "8:00", "2022/04/01", "9:00", QString::number(i));
  }
  UseFile(records);
  Read();
  const bool limit = kept >= 5000;
  EXPECT_EQ(frontend.messages, limit ? QStringList{kTooMany} : QStringList{});
  EXPECT_EQ(frontend.statusHistory.contains(QStringLiteral("申請CSVの読み込みエラー")), limit);
  EXPECT_EQ(frontend.statusText, kRead);
  EXPECT_EQ(t().requestRowCount, std::min(kept, 5000) + 1);
  EXPECT_EQ(Row(std::min(kept, 5000))[12], QString::number(std::min(kept, 5000)));
  const auto& bar = frontend.bar(ProgressBar::kStep);
  EXPECT_EQ(bar.value, bar.max);
  EXPECT_EQ(bar.max, folder.ReadBytes(QStringLiteral("requests.csv")).size());
}

INSTANTIATE_TEST_SUITE_P(All, RequestLimit, ::testing::Values(4999, 5000, 5001));

struct RequestFailureCase {
  const char* name;
  QString record;
  QString where;
};

class RequestFailures : public RequestCsvTest,
                        public ::testing::WithParamInterface<RequestFailureCase> {};

TEST_P(RequestFailures, GoToTheRunFailure) {
  const RequestFailureCase& c = GetParam();
  UseFile({kHeaderLine, RequestLine("00123", "2022/04/01"), c.record});
  try {
    Read();
    FAIL() << "no RunFailure";
  } catch (const RunFailure& failure) {
    EXPECT_TRUE(failure.detail().contains(t().requestCsvPath)) << failure.detail().toStdString();
    EXPECT_TRUE(failure.detail().contains(c.where)) << failure.detail().toStdString();
  }
}

INSTANTIATE_TEST_SUITE_P(
    All, RequestFailures,
    ::testing::Values(
        RequestFailureCase{"CutShort", "00123,承認,1", "record 3"},
        RequestFailureCase{"CutShortBeforeEmptyLines", "00123,承認,1\r\n",
                           "record 3 is cut short by the end of the file (3 of 17 fields)"},
        RequestFailureCase{"StartDateInTwoPieces", RequestLine("00123", "2022/04"), "record 3"},
        RequestFailureCase{"EmptyEndDate", RequestLine("00123", "2022/04/02", "8:00", ""),
                           "end date"}),
    [](const auto& info) { return std::string(info.param.name); });

// A file saved by hand often ends with empty lines: they are the end of the file.
TEST_F(RequestCsvTest, EmptyLinesAtTheEndChangeNothing) {
  const QString records = CrLfLines(
      {kHeaderLine, RequestLine("00123", "2022/04/01"), RequestLine("00123", "2022/4/2", "8:30")});
  const auto read = [&](const QString& ending) {
    t().requestCsvPath = folder.WriteCp932(QStringLiteral("requests.csv"), records + ending);
    frontend = RecordingFrontend();
    Read();
    const std::vector<RequestRow> rows(t().requestTable.begin(), t().requestTable.end());
    return std::make_tuple(rows, t().requestRowCount, t().requestMonthPrefix, frontend.messages);
  };
  const auto plain = read(QString());
  ASSERT_EQ(std::get<1>(plain), 3);
  for (const char* ending : {"\r\n", "\r\n\r\n", "\n\n"}) {
    EXPECT_TRUE(read(QString::fromLatin1(ending)) == plain) << QByteArray(ending).toHex().data();
  }
}

TEST_F(RequestCsvTest, UnlistedRecordWithABadDateIsJustDiscarded) {
  UseFile({kHeaderLine, RequestLine("00999", "bad")});
  EXPECT_NO_THROW(Read());
}

TEST_F(RequestCsvTest, MissingFileGoesToTheRunFailure) {
  t().requestCsvPath = folder.FilePath(QStringLiteral("none.csv"));
  EXPECT_THROW(Read(), RunFailure);
}

// ---- The two look-ups ----

struct ListedCase {
  const char* name;
  QStringList entries;
  QString staffNo;
  qint16 listed;
};

class StaffListed : public InputTest, public ::testing::WithParamInterface<ListedCase> {};

TEST_P(StaffListed, SetsTheFlag) {
  const ListedCase& c = GetParam();
  for (int i = 0; i < c.entries.size(); ++i) t().staffList[i] = c.entries[i];
  t().staffListed = 7;
  IsStaffListed(t(), c.staffNo);
  EXPECT_EQ(t().staffListed, c.listed);
}

INSTANTIATE_TEST_SUITE_P(All, StaffListed,
                         ::testing::Values(ListedCase{"Listed", {"h", "1", "2"}, "2", 1},
                                           ListedCase{"HeadingCounts", {"h", "1"}, "h", 1},
                                           ListedCase{"ExactTextOnly", {"h", "00123"}, "123", 0},
                                           ListedCase{"AfterFirstEmpty", {"h", "", "2"}, "2", 0},
                                           ListedCase{"EmptyNumberIsListed", {"h", "1"}, "", 1},
                                           ListedCase{"EmptyList", {}, "1", 0}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, FullStaffListDoesNotListTheEmptyNumber) {
  for (QString& entry : t().staffList) entry = QStringLiteral("x");
  IsStaffListed(t(), QString());
  EXPECT_EQ(t().staffListed, 0);
  IsStaffListed(t(), QStringLiteral("x"));
  EXPECT_EQ(t().staffListed, 1);
}

TEST_F(InputTest, LookupStampStaffTakesTheFirstRowOrTheNotFoundTexts) {
  t().stampTable[2] = StampRow{"", "7", "name1", "dept1", "", "", "", "", "", "2022/04/02"};
  t().stampTable[50000] = StampRow{"", "8", "last", "deptL", "", "", "", "", "", "2022/04/30"};
  t().stampTable[9] = StampRow{"", "7", "name2", "dept2", "", "", "", "", "", "2022/04/09"};
  LookupStampStaff(t(), QStringLiteral("7"));
  EXPECT_EQ((QStringList{t().lookupStaffNo, t().lookupStaffName, t().lookupDate, t().lookupDept}),
            (QStringList{"7", "name1", "2022/04/02", "dept1"}));
  LookupStampStaff(t(), QStringLiteral("8"));
  EXPECT_EQ(t().lookupStaffName, QStringLiteral("last"));
  for (const QString& missing : {QStringLiteral("9"), QString()}) {
    LookupStampStaff(t(), missing);
    EXPECT_EQ((QStringList{t().lookupStaffNo, t().lookupStaffName, t().lookupDate, t().lookupDept}),
              (QStringList{missing, "氏名？打刻なし", "yyyy/mm/dd", "不明？"}));
  }
}

}  // namespace
}  // namespace morvik::testing
