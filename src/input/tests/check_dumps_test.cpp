#include "input/check_dumps.h"

#include <gtest/gtest.h>

#include <functional>

#include "core/failures.h"
#include "core/text_codec.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

struct DumpCase {
  const char* name;
  std::function<void(const WorkingTables&, const QString&)> dump;
  QString fileName;
  int lines;
  int fields;
};

class CheckDumps : public InputTest, public ::testing::WithParamInterface<DumpCase> {};

// Every row of the table's full size, every field quoted, CP932 with CR LF.
TEST_P(CheckDumps, WriteTheWholeTable) {
  const DumpCase& c = GetParam();
  t().requestTable[0][1] = QStringLiteral("申請者社員番号");
  t().requestTable[0][0] = QStringLiteral("never written");
  t().requestTable[1][17] = QStringLiteral("say \"hi\"");
  t().staffList[0] = QStringLiteral("見出し～");
  t().stampTable[50000][15] = QStringLiteral("last");
  c.dump(t(), folder.path());

  const QByteArray bytes = folder.ReadBytes(c.fileName);
  EXPECT_TRUE(bytes.endsWith("\r\n"));
  EXPECT_EQ(bytes.count("\r\n"), c.lines);
  EXPECT_EQ(bytes.count('\n'), c.lines);  // no bare line feeds
  const QStringList lines = DecodeCp932(bytes).split(QStringLiteral("\r\n"));
  ASSERT_EQ(lines.size(), c.lines + 1);
  const QString emptyLine = QStringList(c.fields, QStringLiteral("\"\"")).join(u',');
  EXPECT_EQ(lines[c.lines - 2], emptyLine);
  if (c.fields == 17) {
    EXPECT_TRUE(lines[0].startsWith(QStringLiteral("\"申請者社員番号\",\"\"")));
    EXPECT_TRUE(lines[1].endsWith(QStringLiteral(",\"say \"\"hi\"\"\"")));
  } else if (c.fields == 1) {
    EXPECT_EQ(lines[0], QStringLiteral("\"見出し～\""));
    EXPECT_TRUE(bytes.startsWith("\"\x8C\xA9\x8F\x6F\x82\xB5\x81\x60\"\r\n"));
  } else {
    EXPECT_TRUE(lines[c.lines - 1].endsWith(QStringLiteral(",\"last\"")));
  }
}

INSTANTIATE_TEST_SUITE_P(
    All, CheckDumps,
    ::testing::Values(DumpCase{"Requests", InFileData_chk, "データ確認用_申請.csv", 5001, 17},
                      DumpCase{"StaffList", InFileData1_chk, "データ確認用_職員番号指定.csv", 5001,
                               1},
                      DumpCase{"Stamps", InFileData2_chk, "データ確認用_打刻.csv", 50001, 15}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(InputTest, DumpIntoAMissingFolderFails) {
  EXPECT_THROW(InFileData_chk(t(), folder.FilePath(QStringLiteral("no/such/folder"))), RunFailure);
}

}  // namespace
}  // namespace morvik::testing
