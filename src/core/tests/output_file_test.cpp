#include "core/output_file.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include <vector>

#include "core/failures.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

struct QuoteCase {
  const char* name;
  std::vector<QString> fields;
  QString line;
};

class QuotedLine : public ::testing::TestWithParam<QuoteCase> {};

TEST_P(QuotedLine, QuotesEveryField) {
  EXPECT_EQ(QuotedCsvLine(GetParam().fields), GetParam().line);
}

INSTANTIATE_TEST_SUITE_P(
    All, QuotedLine,
    ::testing::Values(QuoteCase{"Plain", {"a", "b"}, "\"a\",\"b\""},
                      QuoteCase{"Empty", {"", ""}, "\"\",\"\""}, QuoteCase{"NoFields", {}, ""},
                      QuoteCase{"QuoteDoubled", {"say \"hi\""}, "\"say \"\"hi\"\"\""},
                      QuoteCase{"CommaKept", {"a,b", "c"}, "\"a,b\",\"c\""},
                      QuoteCase{"QuotesAtTheEdges",
                                {"\"", "社\"員\"", "", "\"\"x"},
                                "\"\"\"\",\"社\"\"員\"\"\",\"\",\"\"\"\"\"x\""}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(OutputFile, WritesCp932WithCrLf) {
  testing::TempFolder folder;
  const QString path = folder.FilePath(QStringLiteral("out.csv"));
  WriteCp932Lines(path, {QStringLiteral("\"社員～\""), QString(), QStringLiteral("x")});
  EXPECT_EQ(folder.ReadBytes(QStringLiteral("out.csv")),
            QByteArray("\"\x8E\xD0\x88\xF5\x81\x60\"\r\n\r\nx\r\n"));
}

TEST(OutputFile, ReplacesAnExistingFile) {
  testing::TempFolder folder;
  const QString path = folder.WriteBytes(QStringLiteral("out.csv"), "old content that is longer");
  WriteCp932Lines(path, {QStringLiteral("new")});
  EXPECT_EQ(folder.ReadBytes(QStringLiteral("out.csv")), QByteArray("new\r\n"));
}

struct UnwritableCase {
  const char* name;
  QString target;  // inside the test folder, which also holds "file.txt" and "out.csv/"
};

class Unwritable : public ::testing::TestWithParam<UnwritableCase> {};

// The failure names the file, and no temporary file is left behind.
TEST_P(Unwritable, FailsAndLeavesTheFolderAsItWas) {
  testing::TempFolder folder;
  folder.WriteBytes(QStringLiteral("file.txt"), "x");
  ASSERT_TRUE(QDir().mkdir(folder.FilePath(QStringLiteral("out.csv"))));
  const auto listing = [&] {
    return QDir(folder.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden);
  };
  const QStringList before = listing();
  const QString path = folder.FilePath(GetParam().target);
  try {
    WriteCp932Lines(path, {QStringLiteral("x")});
    FAIL() << "no RunFailure";
  } catch (const RunFailure& failure) {
    EXPECT_TRUE(failure.detail().contains(path)) << failure.detail().toStdString();
  }
  EXPECT_EQ(listing(), before);
  EXPECT_TRUE(QDir(folder.FilePath(QStringLiteral("out.csv"))).isEmpty());
}

INSTANTIATE_TEST_SUITE_P(All, Unwritable,
                         ::testing::Values(UnwritableCase{"TargetIsAFolder", "out.csv"},
                                           UnwritableCase{"ParentIsAFile", "file.txt/out.csv"},
                                           UnwritableCase{"MissingFolder", "none/out.csv"},
                                           UnwritableCase{"NulInName", QStringLiteral("file.txt") +
                                                                           QChar(0) + "x.csv"}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(OutputFile, KeepsThePermissionsOfTheReplacedFile) {
  testing::TempFolder folder;
  const QString path = folder.WriteBytes(QStringLiteral("out.csv"), "old");
  ASSERT_TRUE(QFile::setPermissions(path, QFileDevice::ReadOwner | QFileDevice::WriteOwner));
  WriteCp932Lines(path, {QStringLiteral("new")});
  EXPECT_EQ(QFile::permissions(path) & 0x0FFF, QFileDevice::ReadUser | QFileDevice::WriteUser);
  EXPECT_EQ(folder.ReadBytes(QStringLiteral("out.csv")), QByteArray("new\r\n"));
}

}  // namespace
}  // namespace morvik
