#include "sheet/staff_month.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <string>
#include <vector>

#include "core/failures.h"
#include "core/text_codec.h"
#include "sheet/tests/sheet_test_support.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

using testing::RecordingFrontend;
using testing::TempFolder;
using Fields = std::vector<std::string>;

const char kHeader[] =
    "\"申請者社員番号\",\"申請者名\",\"開始日(曜日)\",\"開始1\",\"終了1\",\"開始2\",\"終了2\","
    "\"開始3\",\"終了3\",\"開始4\",\"終了4\",\"開始5\",\"終了5\",\"開始6\",\"終了6\","
    "\"開始7\",\"終了7\",\"開始8\",\"終了8\",\"開始9\",\"終了9\",\"開始10\",\"終了10\","
    "\"1申請種別+内容\",\"1申請の開始時間\",\"1申請の終了時間\",\"1申請承認\",\"2申請種別+内容\","
    "\"2申請の開始時間\",\"2申請の終了時間\",\"2申請承認\",\"3申請種別+内容\",\"3申請の開始時間\","
    "\"3申請の終了時間\",\"3申請承認\",\"4申請種別+内容\",\"4申請の開始時間\",\"4申請の終了時間\","
    "\"4申請承認\",\"5申請種別+内容\",\"5申請の開始時間\",\"5申請の終了時間\",\"5申請承認\","
    "\"6申請種別+内容\",\"6申請の開始時間\",\"6申請の終了時間\",\"6申請承認\",\"7申請種別+内容\","
    "\"7申請の開始時間\",\"7申請の終了時間\",\"7申請承認\",\"8申請種別+内容\",\"8申請の開始時間\","
    "\"8申請の終了時間\",\"8申請承認\",\"9申請種別+内容\",\"9申請の開始時間\",\"9申請の終了時間\","
    "\"9申請承認\",\"10申請種別+内容\",\"10申請の開始時間\",\"10申請の終了時間\",\"10申請承認\","
    "\"開始日\",\"終了日\"";

// Fields of a line where every field is quoted and a doubled quote stands for one.
Fields SplitQuoted(const QString& line) {
  Fields fields;
  QString field;
  bool quoted = false;
  for (qsizetype i = 0; i < line.size(); ++i) {
    const QChar c = line.at(i);
    if (quoted && c == u'"' && i + 1 < line.size() && line.at(i + 1) == u'"') {
      field += c;
      ++i;
    } else if (c == u'"') {
      quoted = !quoted;
    } else if (c == u',' && !quoted) {
      fields.push_back(field.toStdString());
      field.clear();
    } else {
      field += c;
    }
  }
  fields.push_back(field.toStdString());
  return fields;
}

// The file's lines, checked for CP932 without a byte-order mark and CR LF line ends.
QStringList ReadCsv(const TempFolder& folder, const QString& name) {
  const QByteArray bytes = folder.ReadBytes(name);
  EXPECT_FALSE(bytes.startsWith("\xEF\xBB\xBF"));
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), bytes.count('\n'));
  QStringList lines = DecodeCp932(bytes).split(QStringLiteral("\r\n"));
  lines.removeLast();
  return lines;
}

std::unique_ptr<WorkingTables> Staff(const QString& monthPrefix, qint16 writeCsv) {
  auto t = std::make_unique<WorkingTables>();
  t->holidayTable.at(1).date = QStringLiteral("2022/05/03");
  t->requestMonthPrefix = monthPrefix;
  RecordingFrontend frontend;
  SetRegularWork(*t, frontend);
  t->staffNo = QStringLiteral("00123");
  t->staffName = QStringLiteral("NAME");
  t->staffDept = QStringLiteral("DEPT");
  t->writeWorkCsv = writeCsv;
  return t;
}

Fields Line(std::initializer_list<std::pair<int, std::string>> filled) {
  Fields fields(65);
  for (const auto& [column, text] : filled) fields.at(column - 1) = text;
  return fields;
}

TEST(StaffMonthTest, WritesHeaderAndOneLinePerDayOfTheCleanedMonth) {
  auto t = Staff(QStringLiteral("2022/05/"), 1);
  testing::SetPeriods(*t, 10, {"08:30-17:15", "18:00-20:00"});
  testing::SetPeriods(*t, 11, {"08:30-17:15", "12:00-13:00"});
  t->requestLabel.at(10).at(1) = QStringLiteral("時間外 残業");
  t->requestStart.at(10).at(1) = QStringLiteral("18:00");
  t->requestEnd.at(10).at(1) = QStringLiteral("20:00");
  t->requestState.at(10).at(1) = QStringLiteral("承認済");
  t->dayStartDate.at(10) = QStringLiteral("2022/05/10");
  t->requestLabel.at(32).at(1) = QStringLiteral("日当直 spill");
  TempFolder folder;
  RecordingFrontend frontend;
  int charts = 0;
  SaveStaffMonth(*t, folder.path(), frontend, [&] {
    ++charts;
    EXPECT_TRUE(QFile::exists(folder.FilePath(t->workCsvPath)));
  });

  EXPECT_EQ(charts, 1);
  EXPECT_EQ(t->workCsvPath, QStringLiteral("202205_DEPT_00123_NAME.csv"));
  const QStringList lines = ReadCsv(folder, t->workCsvPath);
  ASSERT_EQ(lines.size(), 32);
  EXPECT_EQ(lines[0].toStdString(), kHeader);
  for (const QString& line : lines) EXPECT_EQ(SplitQuoted(line).size(), 65u);
  const std::string no = "00123", name = "NAME";
  EXPECT_EQ(
      SplitQuoted(lines[2]),
      Line({{1, no}, {2, name}, {3, "05/02(月)"}, {4, "08:30"}, {5, "17:15"}, {64, "2022/05/02"}}));
  EXPECT_EQ(SplitQuoted(lines[3]),
            Line({{1, no}, {2, name}, {3, "05/03(祝)"}, {64, "2022/05/03"}}));
  EXPECT_EQ(SplitQuoted(lines[7]),
            Line({{1, no}, {2, name}, {3, "05/07(土)"}, {64, "2022/05/07"}}));
  EXPECT_EQ(SplitQuoted(lines[10]), Line({{1, no},
                                          {2, name},
                                          {3, "05/10(火)"},
                                          {4, "08:30"},
                                          {5, "17:15"},
                                          {6, "18:00"},
                                          {7, "20:00"},
                                          {24, "時間外 残業"},
                                          {25, "18:00"},
                                          {26, "20:00"},
                                          {27, "承認済"},
                                          {64, "2022/05/10"},
                                          {65, "2022/05/10"}}));
  EXPECT_EQ(
      SplitQuoted(lines[11]),
      Line({{1, no}, {2, name}, {3, "05/11(水)"}, {4, "08:30"}, {5, "17:15"}, {64, "2022/05/11"}}));
  EXPECT_EQ(SplitQuoted(lines[31])[2], "05/31(火)");
  EXPECT_EQ(frontend.statusHistory.mid(2),
            QStringList({QStringLiteral("完成したCSVを保存します"),
                         QStringLiteral("完成したCSVを保存しました")}));
}

TEST(StaffMonthTest, LinesFollowTheMonthAndReplaceAnOldFile) {
  for (const auto& [prefix, lines] :
       std::vector<std::pair<QString, int>>{{"2022/04/", 31}, {"2023/02/", 29}, {"2024/02/", 30}}) {
    auto t = Staff(prefix, 1);
    TempFolder folder;
    const QString name = prefix.left(4) + prefix.mid(5, 2) + QStringLiteral("_DEPT_00123_NAME.csv");
    folder.WriteBytes(name, QByteArray(100000, 'x'));
    RecordingFrontend frontend;
    SaveStaffMonth(*t, folder.path(), frontend, [] {});
    EXPECT_EQ(ReadCsv(folder, name).size(), lines) << prefix.toStdString();
  }
}

TEST(StaffMonthTest, QuoteInAFieldIsDoubled) {
  auto t = Staff(QStringLiteral("2022/05/"), 1);
  t->staffName = QStringLiteral("N\"A,ME");
  TempFolder folder;
  RecordingFrontend frontend;
  SaveStaffMonth(*t, folder.path(), frontend, [] {});
  const QStringList lines = ReadCsv(folder, t->workCsvPath);
  ASSERT_EQ(lines.size(), 32);
  EXPECT_TRUE(lines[1].startsWith(QStringLiteral("\"00123\",\"N\"\"A,ME\",\"05/01(日)\",")));
  EXPECT_EQ(SplitQuoted(lines[1]).size(), 65u);
  EXPECT_EQ(SplitQuoted(lines[1])[1], "N\"A,ME");
}

TEST(StaffMonthTest, WithoutTheCsvOnlyTheNameIsSetAndTheChartDrawn) {
  auto t = Staff(QStringLiteral("2022/05/"), 0);
  TempFolder folder;
  RecordingFrontend frontend;
  int charts = 0;
  SaveStaffMonth(*t, folder.path(), frontend, [&] { ++charts; });
  EXPECT_EQ(charts, 1);
  EXPECT_EQ(t->workCsvPath, QStringLiteral("202205_DEPT_00123_NAME.csv"));
  EXPECT_TRUE(QDir(folder.path()).entryList(QDir::Files).isEmpty());
  EXPECT_FALSE(frontend.statusHistory.join(u'\n').contains(QStringLiteral("CSV")));
}

TEST(StaffMonthTest, FileNamePartsNeverLeaveTheOutputFolder) {
  const struct {
    const char* dept;
    const char* number;
    const char* name;
    const char* file;
  } cases[] = {
      {"A/B", "00123", "..", "202205_A_B_00123__.csv"},
      {"..", "x\\y", "a:b*c?d\"e<f>g|h", "202205___x_y_a_b_c_d_e_f_g_h.csv"},
      {"内科", ".", "名前\t改行\n", "202205_内科___名前_改行_.csv"},
      {"不明？", "...", "氏名？打刻なし", "202205_不明？_..._氏名？打刻なし.csv"},
  };
  for (const auto& c : cases) {
    auto t = Staff(QStringLiteral("2022/05/"), 1);
    t->staffDept = QString::fromUtf8(c.dept);
    t->staffNo = QString::fromUtf8(c.number);
    t->staffName = QString::fromUtf8(c.name);
    TempFolder folder;
    RecordingFrontend frontend;
    SaveStaffMonth(*t, folder.path(), frontend, [] {});
    EXPECT_EQ(t->workCsvPath, QString::fromUtf8(c.file)) << c.file;
    EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files), QStringList{t->workCsvPath}) << c.file;
  }
}

TEST(StaffMonthTest, FailureEndsTheRunBeforeTheChart) {
  struct Case {
    const char* what;
    QString prefix;
    qint16 writeCsv;
    QString name;
    bool missingFolder;
  };
  for (const Case& c : {Case{"missing folder", "2022/05/", 1, "NAME", true},
                        Case{"no month", "", 0, "NAME", false}}) {
    auto t = Staff(QStringLiteral("2022/05/"), c.writeCsv);
    t->requestMonthPrefix = c.prefix;
    t->staffName = c.name;
    TempFolder folder;
    const QString outputFolder = c.missingFolder ? folder.FilePath("missing") : folder.path();
    RecordingFrontend frontend;
    int charts = 0;
    try {
      SaveStaffMonth(*t, outputFolder, frontend, [&] { ++charts; });
      ADD_FAILURE() << c.what << ": no failure";
    } catch (const RunFailure& failure) {
      if (c.writeCsv == 1) {
        EXPECT_TRUE(failure.detail().contains(t->workCsvPath)) << c.what;
      }
    }
    EXPECT_EQ(charts, 0) << c.what;
  }
}

}  // namespace
}  // namespace morvik
