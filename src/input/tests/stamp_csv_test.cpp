#include "input/stamp_csv.h"

#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "core/failures.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

const QString kHeading = QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡");
const QString kLimitMessage = QStringLiteral(
    "エラー：打刻CSVファイルが50,000行を超えています．50,000行までのデータで処理します．");
const QString kReadError = QStringLiteral("打刻CSVの読み込みエラー");
const QString kUtf8Done = QStringLiteral("打刻CSV (UTF-8)を取り込みました");
const QString kSjisDone = QStringLiteral("打刻CSV (S-JIS)を読み込みました");

class StampCsvTest : public InputTest {
 protected:
  void SetUp() override {
    OnUtf8StampsClicked(form, t());  // UTF-8 mode, as with the staff list in use
  }
  // Writes `text` as UTF-8 (or CP932) and makes it the stamp CSV.
  void UseUtf8(const QString& text) {
    t().stampCsvPath = folder.WriteUtf8(QStringLiteral("stamps.csv"), text);
  }
  void UseCp932(const QString& text) {
    t().stampCsvPath = folder.WriteCp932(QStringLiteral("stamps.csv"), text);
  }
  const StampRow& Row(int r) { return t().stampTable.at(r); }
  QStringList Column(int column, int rows) {
    QStringList cells;
    for (int r = 0; r < rows; ++r) cells << Row(r)[column];
    return cells;
  }
  QString LinesOf(const QStringList& staff, bool finalLineEnd) {
    QStringList lines{StampHeader()};
    for (int i = 0; i < staff.size(); ++i) {
      lines << StampLine(staff[i], QStringLiteral("2022/04/%1").arg(i + 1, 2, 10, QChar(u'0')),
                         QStringLiteral("08:30"));
    }
    return finalLineEnd ? CrLfLines(lines) : lines.join(QStringLiteral("\r\n"));
  }
  QString RunFailureDetail(const std::function<void()>& read) {
    try {
      read();
    } catch (const RunFailure& failure) {
      return failure.detail();
    }
    ADD_FAILURE() << "no RunFailure";
    return QString();
  }
};

// ---- The staff-change count and the hand-over to Shift-JIS ----

struct CountCase {
  const char* name;
  QStringList staff;
  bool finalLineEnd;
  int count;  // 0: handed over to Shift-JIS
};

class StaffChangeCount : public StampCsvTest, public ::testing::WithParamInterface<CountCase> {};

TEST_P(StaffChangeCount, DecidesTheHandOver) {
  const CountCase& c = GetParam();
  UseUtf8(LinesOf(c.staff, c.finalLineEnd));
  ReadStampCsvUtf8(t(), form, frontend);
  const bool handedOver = c.count == 0;
  EXPECT_EQ(t().stampStaffCount, c.count);
  EXPECT_EQ(form.useSjisStamps, handedOver);
  EXPECT_EQ(form.useUtf8Stamps, !handedOver);
  EXPECT_EQ(t().stampIsUtf8, handedOver ? 0 : 1);
  EXPECT_EQ(frontend.statusText, handedOver ? kSjisDone : kUtf8Done);
  EXPECT_EQ(t().staffList[1], handedOver ? c.staff[0] : QString());
}

INSTANTIATE_TEST_SUITE_P(
    All, StaffChangeCount,
    ::testing::Values(CountCase{"OneStaffWithLineEnd", {"A", "A", "A"}, true, 0},
                      CountCase{"OneStaffWithoutLineEnd", {"A", "A", "A"}, false, 1},
                      CountCase{"TwoStaffWithoutLineEnd", {"A", "A", "B"}, false, 0},
                      CountCase{"TwoStaffWithLineEnd", {"A", "A", "B"}, true, 3},
                      CountCase{"BackAndForth", {"A", "B", "A"}, false, 3}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StampCsvTest, HandOverRereadsTheFileAsRecords) {
  UseUtf8(LinesOf({"A", "A", "A"}, true));
  ReadStampCsvUtf8(t(), form, frontend);
  // The Shift-JIS reader takes records, so the final line end adds no empty row.
  EXPECT_EQ(t().stampRowCount, 4);
  EXPECT_EQ(Column(1, 5), (QStringList{"社員番号", "A", "A", "A", ""}));
  EXPECT_EQ(t().staffList[0], kHeading);
  EXPECT_EQ(frontend.statusHistory,
            (QStringList{"打刻CSV (UTF-8)を取り込みます", "打刻CSV (UTF-8)を取り込んでいます1",
                         "打刻CSV (UTF-8)を取り込んでいます2", kUtf8Done,
                         "打刻CSV (S-JIS)を読み込みます", kSjisDone}));
}

TEST_F(StampCsvTest, Utf8KeepsTheEmptyLastRow) {
  UseUtf8(LinesOf({"A", "A", "B"}, true));
  t().staffList[1] = QStringLiteral("untouched");
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(t().stampRowCount, 5);
  EXPECT_EQ(Column(1, 5), (QStringList{"社員番号", "A", "A", "B", ""}));
  EXPECT_EQ(Row(3)[2], QStringLiteral("山田 太郎"));
  EXPECT_EQ(Row(3)[15], QStringLiteral("c15"));
  EXPECT_EQ(t().stampMonthPrefix, QStringLiteral("2022/04/"));
  EXPECT_EQ(t().staffList[1], QStringLiteral("untouched"));
  EXPECT_TRUE(Row(1)[0].isEmpty());
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).max, 50000);
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).value, 50000);
}

// ---- Normal forms, quotes, line ends ----

TEST_F(StampCsvTest, Utf8NormalisesDatesAndTimesOfDatedDataRows) {
  UseUtf8(CrLfLines({StampHeader(), StampLine("A", "2022/4/1", "8:30"), StampLine("A", "", "9:15"),
                     StampLine("B", "2022/4/10/x", "12:00")}));
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(Column(9, 4), (QStringList{"h9", "2022/04/01", "", "2022/04/10"}));
  EXPECT_EQ(Column(10, 4), (QStringList{"h10", "08:30", "9:15", "12:00"}));
}

TEST_F(StampCsvTest, SjisNormalisesTimesOfEveryDataRow) {
  OnSjisStampsClicked(form, t());
  UseCp932(
      CrLfLines({StampHeader(), StampLine("A", "2022/4/1", "8:30"), StampLine("A", "", "9:15")}));
  ReadStampCsvSjis(t(), frontend);
  EXPECT_EQ(Column(9, 3), (QStringList{"h9", "2022/04/01", ""}));
  EXPECT_EQ(Column(10, 3), (QStringList{"h10", "08:30", "09:15"}));
  EXPECT_EQ(t().stampMonthPrefix, QString());  // row 2 has no date
}

TEST_F(StampCsvTest, Utf8RemovesQuotesAndJoinsASplitColumn14) {
  const QString line = QStringLiteral(
      "\"A\",\"山田\",\"内科\",4,5,6,7,8,\"2022/04/01\",\"08:30\",11,12,13,\"a,b\",");
  UseUtf8(CrLfLines({StampHeader(), line, StampLine("B", "2022/04/02", "09:00")}));
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(Row(1)[1], QStringLiteral("A"));
  EXPECT_EQ(Row(1)[14], QStringLiteral("a,b"));
  EXPECT_TRUE(Row(1)[15].isEmpty());
}

TEST_F(StampCsvTest, Utf8JoinsField15IntoColumn14WhenTheLineHas16Fields) {
  const QString line = QStringLiteral("A,n,d,4,5,6,7,8,2022/04/01,08:30,11,12,13,a,b,");
  UseUtf8(CrLfLines({StampHeader(), line, StampLine("B", "2022/04/02", "09:00")}));
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(Row(1)[14], QStringLiteral("a,b"));
  EXPECT_TRUE(Row(1)[15].isEmpty());
}

// Lines repeat fields of the lines one, two and three above, of the header, and forms of
// a date or time that the line above holds normalised: each row holds its own line.
TEST_F(StampCsvTest, Utf8RowsHoldTheirOwnLinesWhateverTheLinesAbove) {
  const QStringList lines = {StampHeader(),
                             StampLine("A", "2022/4/1", "8:30", "氏名"),
                             StampLine("A", "2022/4/1", "17:15", "Y"),
                             StampLine("A", "", "8:30", "氏名"),
                             StampLine("A", "2022/04/01", "08:30", "Y"),
                             StampLine("B", "2022/4/1", "8:30", "Z"),
                             StampLine("C", "2022/04/02", "17:15", "Y")};  // no hand-over
  UseUtf8(lines.join(u'\n'));
  ReadStampCsvUtf8(t(), form, frontend);
  const int rows = static_cast<int>(lines.size());
  ASSERT_EQ(t().stampRowCount, rows);
  for (int r = 0; r < rows; ++r) {
    const QStringList fields = lines[r].split(u',');
    for (int c = 1; c <= 15; ++c) {
      if (c == 9 || c == 10) continue;
      EXPECT_EQ(Row(r)[c], fields[c - 1]) << r << " " << c;
    }
  }
  EXPECT_EQ(Column(9, rows), (QStringList{"h9", "2022/04/01", "2022/04/01", "", "2022/04/01",
                                          "2022/04/01", "2022/04/02"}));
  EXPECT_EQ(Column(10, rows),
            (QStringList{"h10", "08:30", "17:15", "8:30", "08:30", "08:30", "17:15"}));
}

TEST_F(StampCsvTest, Utf8MixedLineEndsGiveTheSameLines) {
  const QString text = StampHeader() + "\r\n" + StampLine("A", "2022/04/01", "08:30") + "\n" +
                       StampLine("B", "2022/04/02", "08:31") + "\r" +
                       StampLine("C", "2022/04/03", "08:32");
  UseUtf8(text);
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(t().stampRowCount, 4);
  EXPECT_EQ(Column(1, 4), (QStringList{"社員番号", "A", "B", "C"}));
}

TEST_F(StampCsvTest, Cp932FileInUtf8ModeIsNotGarbled) {
  UseCp932(LinesOf({"A", "B"}, false));
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(Row(1)[2], QStringLiteral("山田 太郎"));
  EXPECT_EQ(Row(0)[1], QStringLiteral("社員番号"));
}

TEST_F(StampCsvTest, InvalidCp932BytesBecomeReplacementCharacters) {
  OnSjisStampsClicked(form, t());
  t().stampCsvPath =
      folder.WriteBytes(QStringLiteral("stamps.csv"),
                        "h1,h2,h3,h4,h5,h6,h7,h8,h9,h10,h11,h12,h13,h14,h15\r\n"
                        "A,\x85\x40x,d,4,5,6,7,8,2022/04/01,08:30,11,12,13,14,15\r\n");
  ReadStampCsvSjis(t(), frontend);
  EXPECT_EQ(Row(1)[2], QString(QChar(0xFFFD)) + u'x');
  EXPECT_EQ(Row(1)[3], QStringLiteral("d"));
}

// ---- The month filter ----

TEST_F(StampCsvTest, MonthFilterSkipsOtherMonthsButNeverTheHeaderOrTheLastLine) {
  t().fixedMonth = 1;
  t().targetMonthText = QStringLiteral("2022/04");
  UseUtf8(QStringList{StampHeader(), StampLine("A", "2022/04/01", "08:30"),
                      StampLine("B", "2022/05/01", "08:30"), StampLine("C", "2022/4/5", "08:30"),
                      StampLine("D", "2022/04/02", "08:30"), StampLine("E", "2022/05/03", "08:30")}
              .join("\r\n"));
  ReadStampCsvUtf8(t(), form, frontend);
  ASSERT_EQ(t().stampStaffCount, 3);  // A, D, E: no hand-over
  EXPECT_EQ(t().stampRowCount, 4);
  EXPECT_EQ(Column(1, 4), (QStringList{"社員番号", "A", "D", "E"}));
  EXPECT_EQ(Column(9, 5), (QStringList{"h9", "2022/04/01", "2022/04/02", "2022/05/03", ""}));
}

TEST_F(StampCsvTest, MonthFilterWithFinalLineEndTakesTheEmptyLastLine) {
  t().fixedMonth = 1;
  t().targetMonthText = QStringLiteral("2022/04");
  UseUtf8(
      CrLfLines({StampHeader(), StampLine("A", "2022/04/01", "08:30"),
                 StampLine("B", "2022/04/02", "08:30"), StampLine("C", "2022/05/03", "08:30")}));
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(t().stampRowCount, 4);
  EXPECT_EQ(Column(1, 4), (QStringList{"社員番号", "A", "B", ""}));
}

// ---- Failures ----

struct FailureCase {
  const char* name;
  bool utf8;
  bool fixedMonth;
  QString text;
  QString where;  // expected in the detail besides the file name
};

class StampFailures : public StampCsvTest, public ::testing::WithParamInterface<FailureCase> {};

TEST_P(StampFailures, GoToTheRunFailure) {
  const FailureCase& c = GetParam();
  t().fixedMonth = c.fixedMonth ? 1 : 0;
  t().targetMonthText = QStringLiteral("2022/04");
  UseCp932(c.text);
  const QString detail = RunFailureDetail([&] {
    if (c.utf8) {
      ReadStampCsvUtf8(t(), form, frontend);
    } else {
      ReadStampCsvSjis(t(), frontend);
    }
  });
  EXPECT_TRUE(detail.contains(t().stampCsvPath)) << detail.toStdString();
  EXPECT_TRUE(detail.contains(c.where)) << detail.toStdString();
  EXPECT_TRUE(frontend.messages.isEmpty());
}

const QString kHeaderLine = QStringLiteral("社員番号,氏名,所属,4,5,6,7,8,9,10,11,12,13,14,15\r\n");

INSTANTIATE_TEST_SUITE_P(
    All, StampFailures,
    ::testing::Values(
        FailureCase{"Utf8Field16", true, false,
                    kHeaderLine + "A,n,\"d,x\",4,5,6,7,8,2022/04/01,08:30,11,12,13,14,15\r\n",
                    "line 2"},
        FailureCase{"Utf8DateWithoutThreePieces", true, false,
                    kHeaderLine + "A,n,d,4,5,6,7,8,2022-04-01,08:30,11,12,13,14,15\r\n", "line 2"},
        FailureCase{"Utf8ShortLineUnderMonthFilter", true, true,
                    kHeaderLine + "A,n,d,4,5,6,7,8,2022/04/01,08:30,11,12,13,14,15\r\n\r\nB,x",
                    "line 3"},
        FailureCase{"SjisDateWithoutThreePieces", false, false,
                    kHeaderLine + "A,n,d,4,5,6,7,8,2022/04,08:30,11,12,13,14,15\r\n", "record 2"},
        FailureCase{"SjisRecordCutShort", false, false,
                    kHeaderLine + "A,n,d,4,5,6,7,8,2022/04/01,08:30\r\n", "record 2"},
        FailureCase{"SjisRecordCutShortBeforeEmptyLines", false, false,
                    kHeaderLine + "A,n,d,4,5,6,7,8,2022/04/01,08:30\r\n\r\n\r\n",
                    "record 2 is cut short by the end of the file (10 of 15 fields)"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(StampCsvTest, MissingFileGoesToTheRunFailure) {
  t().stampCsvPath = folder.FilePath(QStringLiteral("none.csv"));
  EXPECT_THROW(ReadStampCsvUtf8(t(), form, frontend), RunFailure);
  EXPECT_THROW(ReadStampCsvSjis(t(), frontend), RunFailure);
}

// ---- Shift-JIS only ----

TEST_F(StampCsvTest, SjisPutsTheFirstStaffMemberIntoTheStaffList) {
  OnSjisStampsClicked(form, t());
  t().staffList[1] = QStringLiteral("from the list file");
  t().staffList[2] = QStringLiteral("00777");
  UseCp932(LinesOf({"00123", "00123"}, true));
  ReadStampCsvSjis(t(), frontend);
  EXPECT_EQ(t().staffList[0], kHeading);
  EXPECT_EQ(t().staffList[1], QStringLiteral("00123"));
  EXPECT_EQ(t().staffList[2], QStringLiteral("00777"));
  EXPECT_EQ(t().stampRowCount, 3);
  EXPECT_EQ(t().stampStaffCount, 0);
  const qint64 length = folder.ReadBytes(QStringLiteral("stamps.csv")).size();
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).max, length);
  EXPECT_EQ(frontend.bar(ProgressBar::kStep).value, length);
  EXPECT_TRUE(frontend.bar(ProgressBar::kStep).visible);
}

// A file saved by hand often ends with empty lines: they are the end of the file.
TEST_F(StampCsvTest, SjisEmptyLinesAtTheEndChangeNothing) {
  const QString lines = LinesOf({"A", "A", "B"}, true);
  const auto read = [&](const QString& ending) {
    UseCp932(lines + ending);
    ReadStampCsvSjis(t(), frontend);
    const std::vector<StampRow> rows(t().stampTable.begin(), t().stampTable.end());
    return std::make_tuple(rows, t().stampRowCount, t().stampMonthPrefix, t().staffList[1]);
  };
  const auto plain = read(QString());
  ASSERT_EQ(std::get<1>(plain), 4);
  for (const char* ending : {"\r\n", "\r\n\r\n", "\n\n"}) {
    EXPECT_TRUE(read(QString::fromLatin1(ending)) == plain) << QByteArray(ending).toHex().data();
  }
}

// The UTF-8 reader takes the empty piece after each line end as a row; with one staff
// member that hands the file over to the Shift-JIS reader, which ignores the empty lines.
TEST_F(StampCsvTest, HandOverWithEmptyLinesAtTheEndReadsTheRecords) {
  UseUtf8(LinesOf({"A", "A", "A"}, true) + "\r\n");
  ReadStampCsvUtf8(t(), form, frontend);
  EXPECT_EQ(frontend.statusText, kSjisDone);
  EXPECT_EQ(t().stampRowCount, 4);
  EXPECT_EQ(Column(1, 5), (QStringList{"社員番号", "A", "A", "A", ""}));
}

TEST_F(StampCsvTest, SjisClearsTheRowsOfAnEarlierFile) {
  OnSjisStampsClicked(form, t());
  t().stampTable[5][3] = QStringLiteral("old");
  t().stampStaffCount = 7;
  UseCp932(LinesOf({"A"}, true));
  ReadStampCsvSjis(t(), frontend);
  EXPECT_TRUE(t().stampTable[5][3].isEmpty());
  EXPECT_EQ(t().stampStaffCount, 0);
}

// ---- The 50,000-row limit ----

QString ManyStampLines(int dataLines, bool finalLineEnd) {
  QStringList lines{StampHeader()};
  for (int i = 1; i <= dataLines; ++i) {
    lines << QStringLiteral("%1,n,d,4,5,6,7,8,2022/04/01,08:30,11,12,13,14,15").arg(i);
  }
  return finalLineEnd ? CrLfLines(lines) : lines.join(QStringLiteral("\r\n"));
}

struct LimitCase {
  const char* name;
  bool utf8;
  int dataLines;
  bool finalLineEnd;
  bool limitReached;
};

class StampLimit : public StampCsvTest, public ::testing::WithParamInterface<LimitCase> {};

TEST_P(StampLimit, StopsAfterRow50000) {
  const LimitCase& c = GetParam();
  UseUtf8(ManyStampLines(c.dataLines, c.finalLineEnd));
  if (c.utf8) {
    ReadStampCsvUtf8(t(), form, frontend);
  } else {
    ReadStampCsvSjis(t(), frontend);
  }
  if (c.limitReached) {
    EXPECT_EQ(frontend.messages, QStringList{kLimitMessage});
    EXPECT_TRUE(frontend.statusHistory.contains(kReadError));
    EXPECT_EQ(t().stampRowCount, 50001);
    EXPECT_EQ(t().stampTable[50000][1], c.dataLines >= 50000 ? "50000" : "");
  } else {
    EXPECT_TRUE(frontend.messages.isEmpty());
    EXPECT_EQ(t().stampRowCount, c.dataLines + 1);
  }
  EXPECT_EQ(frontend.statusText, c.utf8 ? kUtf8Done : kSjisDone);  // the final text wins
  EXPECT_EQ(t().stampMonthPrefix, QStringLiteral("2022/04/"));
}

INSTANTIATE_TEST_SUITE_P(All, StampLimit,
                         ::testing::Values(LimitCase{"Utf8Exactly50000", true, 50000, false, true},
                                           LimitCase{"Utf8EmptyLastLineIsRow50000", true, 49999,
                                                     true, true},
                                           LimitCase{"Utf8Below", true, 49999, false, false},
                                           LimitCase{"SjisExactly50000", false, 50000, true, true},
                                           LimitCase{"SjisMore", false, 50002, true, true},
                                           LimitCase{"SjisBelow", false, 49999, true, false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace morvik::testing
