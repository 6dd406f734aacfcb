#include "input/staff_list.h"

#include <gtest/gtest.h>

#include "core/failures.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

const QString kHeading = QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡");
const QString kMissing =
    QStringLiteral(":ファイルが存在しません．「MorvikGraph_職員番号指定.txt」を作成してください．");
const QString kTooMany = QStringLiteral(
    "エラー：「MorvikGraph_職員番号指定.txt」が5000行を超えました．5000行以内に修正してください.");

class StaffListTest : public InputTest {
 protected:
  void UseList(const QString& path) {
    t().useStaffList = 1;
    form.staffListFile = path;
  }
  QStringList ListWithNumbers(int count) {
    QStringList lines{kHeading};
    for (int i = 1; i <= count; ++i) lines << QStringLiteral("%1").arg(i, 5, 10, QChar(u'0'));
    return lines;
  }
};

TEST_F(StaffListTest, UnusedListIsNotOpenedAndKeepsEntries) {
  form.staffListFile = folder.FilePath(QStringLiteral("missing.txt"));
  t().staffList[1] = QStringLiteral("00042");
  LoadStaffList(t(), form, frontend);
  EXPECT_EQ(t().staffList[1], QStringLiteral("00042"));
  EXPECT_TRUE(t().staffListPath.isEmpty());
  EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(StaffListTest, MissingFileShowsItsNameAndEndsTheProgram) {
  const QString path = folder.FilePath(QStringLiteral("other list.txt"));
  UseList(path);
  t().staffList[3] = QStringLiteral("kept");
  EXPECT_THROW(LoadStaffList(t(), form, frontend), ProgramEnd);
  EXPECT_EQ(frontend.messages, QStringList{path + kMissing});
  EXPECT_EQ(t().staffListPath, path);
  EXPECT_EQ(t().staffList[3], QStringLiteral("kept"));  // nothing emptied before the check
}

TEST_F(StaffListTest, ReadsOneEntryPerField) {
  t().staffList[7] = QStringLiteral("from an earlier run");
  UseList(folder.WriteCp932(QStringLiteral("list.txt"),
                            CrLfLines({kHeading, QStringLiteral("00123"), QStringLiteral("200,300"),
                                       QString(), QStringLiteral("\"4,00\"")})));
  LoadStaffList(t(), form, frontend);
  const QStringList expected{
      kHeading,  QStringLiteral("00123"), QStringLiteral("200"), QStringLiteral("300"),
      QString(), QStringLiteral("4,00")};
  for (int i = 0; i < expected.size(); ++i) EXPECT_EQ(t().staffList[i], expected[i]) << i;
  EXPECT_TRUE(t().staffList[6].isEmpty());
  EXPECT_TRUE(t().staffList[7].isEmpty());
  EXPECT_TRUE(frontend.messages.isEmpty());
}

TEST_F(StaffListTest, Utf8FileIsDecodedAsUtf8) {
  UseList(folder.WriteUtf8(QStringLiteral("list.txt"),
                           CrLfLines({kHeading, QStringLiteral("山田")}), true));
  LoadStaffList(t(), form, frontend);
  EXPECT_EQ(t().staffList[0], kHeading);
  EXPECT_EQ(t().staffList[1], QStringLiteral("山田"));
}

TEST_F(StaffListTest, HeadingAndFiveThousandNumbersLoad) {
  UseList(folder.WriteCp932(QStringLiteral("list.txt"), CrLfLines(ListWithNumbers(5000))));
  LoadStaffList(t(), form, frontend);
  EXPECT_TRUE(frontend.messages.isEmpty());
  EXPECT_EQ(t().staffList[5000], QStringLiteral("05000"));
}

// The reader shared with the other files ends at empty lines after the last number, so
// they are no entries beyond the limit.
TEST_F(StaffListTest, EmptyLinesAfterTheLastNumberAreNotEntries) {
  UseList(folder.WriteCp932(QStringLiteral("list.txt"),
                            CrLfLines(ListWithNumbers(5000)) + QStringLiteral("\r\n\r\n")));
  LoadStaffList(t(), form, frontend);
  EXPECT_TRUE(frontend.messages.isEmpty());
  EXPECT_EQ(t().staffList[5000], QStringLiteral("05000"));
}

TEST_F(StaffListTest, OneEntryMoreEndsTheProgram) {
  UseList(folder.WriteCp932(QStringLiteral("list.txt"), CrLfLines(ListWithNumbers(5001))));
  EXPECT_THROW(LoadStaffList(t(), form, frontend), ProgramEnd);
  EXPECT_EQ(frontend.messages, QStringList{kTooMany});
}

TEST_F(StaffListTest, UnreadableFileGoesToTheRunFailure) {
  UseList(folder.path());  // a folder exists but cannot be read as a file
  EXPECT_THROW(LoadStaffList(t(), form, frontend), RunFailure);
  EXPECT_TRUE(frontend.messages.isEmpty());
}

}  // namespace
}  // namespace morvik::testing
