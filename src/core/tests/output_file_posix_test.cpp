// How the POSIX build tells the temporary files of killed runs (core/platform/file_replace.h).
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <limits>

#include "core/output_file.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

// A killed run can leave a named temporary file; the next write into the folder removes
// those of processes that are gone, and nothing else.
TEST(OutputFile, FirstWriteRemovesTemporaryFilesOfGoneProcesses) {
  testing::TempFolder folder;
  const QString gone = QStringLiteral("a.jpg.morvik-tmp-%1-3").arg(std::numeric_limits<int>::max());
  const QString alive =
      QStringLiteral("b.jpg.morvik-tmp-%1-1").arg(QCoreApplication::applicationPid());
  const QStringList kept = {QStringLiteral("c.jpg.XyZ123"), QStringLiteral("d.morvik-tmp-x"),
                            QStringLiteral("e.csv")};
  for (const QString& name : QStringList{gone, alive} + kept) folder.WriteBytes(name, "x");
  EXPECT_TRUE(IsTemporaryOutputName(gone));
  EXPECT_FALSE(IsTemporaryOutputName(kept[1]));
  WriteCp932Lines(folder.FilePath(QStringLiteral("out.csv")), {QStringLiteral("x")});
  QStringList expected = QStringList{alive, QStringLiteral("out.csv")} + kept;
  expected.sort();
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files, QDir::Name), expected);
}

// A name that looks free but is taken (a link to nothing) cannot be given to the new
// file directly: it goes through a temporary name and replaces the link.
TEST(OutputFile, ReplacesALinkToNothing) {
  testing::TempFolder folder;
  const QString path = folder.FilePath(QStringLiteral("out.csv"));
  ASSERT_TRUE(QFile::link(folder.FilePath(QStringLiteral("missing")), path));
  WriteCp932Lines(path, {QStringLiteral("x")});
  EXPECT_FALSE(QFileInfo(path).isSymLink());
  EXPECT_EQ(folder.ReadBytes(QStringLiteral("out.csv")), QByteArray("x\r\n"));
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::System), QStringList{"out.csv"});
}

}  // namespace
}  // namespace morvik
