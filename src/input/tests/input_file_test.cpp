#include <gtest/gtest.h>

#include <QDateTime>
#include <QFile>
#include <QFileInfo>

#include <functional>

#include "core/failures.h"
#include "input/input_file.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

using testing::TempFolder;

const QString kFirst = QStringLiteral("社員番号,氏名\r\n1001,山田 太郎\r\n");
const QString kSameSize = QStringLiteral("社員番号,氏名\r\n1002,山田 太郎\r\n");
const QString kRewritten = QStringLiteral("社員番号,氏名\r\n2002,佐藤 花子,追記\r\n");

struct ReadAheadCase {
  const char* name;
  // Between the start of the read ahead and Take: may change the files; gives the path
  // to take.
  std::function<QString(const TempFolder&, const QString& readAhead)> meanwhile;
  QString expected;
};

class InputFileReadAheadTest : public ::testing::TestWithParam<ReadAheadCase> {};

// Take gives what ReadInputFile gives at that moment, never the text read ahead of a change.
TEST_P(InputFileReadAheadTest, TakesWhatReadingThenWouldGive) {
  const TempFolder folder;
  const QString path = folder.WriteUtf8(QStringLiteral("stamps.csv"), kFirst, /*withBom=*/true);
  InputFileReadAhead readAhead(path, InputFileReadAhead::When::kNow);
  const QString taken = GetParam().meanwhile(folder, path);
  EXPECT_EQ(readAhead.Take(taken), GetParam().expected);
  EXPECT_EQ(ReadInputFile(taken), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InputFileReadAheadTest,
    ::testing::Values(
        ReadAheadCase{"Unchanged", [](const TempFolder&, const QString& path) { return path; },
                      kFirst},
        ReadAheadCase{"Rewritten",
                      [](const TempFolder& folder, const QString& path) {
                        folder.WriteUtf8(QStringLiteral("stamps.csv"), kRewritten);
                        return path;
                      },
                      kRewritten},
        // Of the same size and time of change: only the path tells them apart.
        ReadAheadCase{"AnotherFileTaken",
                      [](const TempFolder& folder, const QString& path) {
                        const QString other =
                            folder.WriteUtf8(QStringLiteral("other.csv"), kSameSize, true);
                        QFile file(other);
                        const QDateTime changed = QFileInfo(path).lastModified();
                        if (!file.open(QIODevice::ReadWrite) ||
                            !file.setFileTime(changed, QFileDevice::FileModificationTime)) {
                          ADD_FAILURE() << "cannot set the time of change";
                        }
                        return other;
                      },
                      kSameSize}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InputFileReadAhead, AFileGoneFailsAsReadingItWould) {
  const TempFolder folder;
  const QString path = folder.FilePath(QStringLiteral("missing.csv"));
  InputFileReadAhead readAhead(path);
  QString expected;
  try {
    ReadInputFile(path);
  } catch (const RunFailure& failure) {
    expected = FailureDetail(failure);
  }
  ASSERT_FALSE(expected.isEmpty());
  try {
    readAhead.Take(path);
    ADD_FAILURE() << "no failure";
  } catch (const RunFailure& failure) {
    EXPECT_EQ(FailureDetail(failure), expected);
  }
}

TEST(InputFileReadAhead, ASecondTakeReadsTheFileAgain) {
  const TempFolder folder;
  const QString path = folder.WriteCp932(QStringLiteral("stamps.csv"), kFirst);
  InputFileReadAhead readAhead(path);
  EXPECT_EQ(readAhead.Take(path), kFirst);
  folder.WriteCp932(QStringLiteral("stamps.csv"), kRewritten);
  EXPECT_EQ(readAhead.Take(path), kRewritten);
}

// Read whole, whatever its size: empty, small, or spanning several 2 MB pages (a
// three-byte character then straddles a page's end).
TEST(ReadInputFile, ReadsEveryByteOfAFile) {
  const TempFolder folder;
  for (const int lines : {0, 1, 120'000}) {
    QString text;
    for (int i = 0; i < lines; ++i) text += QStringLiteral("%1,山田 太郎,出勤\r\n").arg(i);
    const QString path = folder.WriteUtf8(QStringLiteral("stamps.csv"), text);
    EXPECT_EQ(ReadInputFile(path), text) << lines << " lines";
  }
}

}  // namespace
}  // namespace morvik
