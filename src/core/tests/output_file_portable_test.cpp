// How the portable build tells the temporary files of killed runs (core/platform/file_replace.h):
// by the lock each run holds in the system's temporary folder, else by age.
#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QLockFile>
#include <QRandomGenerator>
#include <QSysInfo>

#include <memory>

#include "core/output_file.h"
#include "testing/test_files.h"

namespace morvik {
namespace {

QString RandomRun() {
  return QString::number(QRandomGenerator::global()->generate64(), 16).rightJustified(16, u'0');
}

QString RunLockPath(const QString& run) {
  return QDir(QDir::tempPath()).filePath(QStringLiteral("morvikgraph-run-%1.lock").arg(run));
}

// The lock a killed run leaves, as QLockFile writes it (process id, program, machine), naming
// a process id that no system hands out.
void WriteLockOfGoneProcess(const QString& path) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
  file.write("2147483647\nmorvikgraph\n" + QSysInfo::machineHostName().toUtf8() + "\n");
  file.close();
  qint64 pid = 0;
  ASSERT_TRUE(QLockFile(path).getLockInfo(&pid, nullptr, nullptr));  // read as Qt reads it
  ASSERT_EQ(pid, 2147483647);
}

struct StaleCase {
  const char* name;
  enum class Lock { kNone, kHeld, kGone } lock;
  qint64 ageSeconds;  // of the temporary file
  bool removed;
};

class StaleTemporaryFiles : public ::testing::TestWithParam<StaleCase> {};

TEST_P(StaleTemporaryFiles, FirstWriteRemovesThoseOfRunsThatAreOver) {
  const StaleCase& c = GetParam();
  testing::TempFolder folder;
  const QString run = RandomRun();
  const QString temp = QStringLiteral("a.jpg.morvik-part-%1-3").arg(run);
  const QString lockPath = RunLockPath(run);
  std::unique_ptr<QLockFile> held;
  if (c.lock == StaleCase::Lock::kHeld) {
    held = std::make_unique<QLockFile>(lockPath);
    ASSERT_TRUE(held->tryLock(0));
  } else if (c.lock == StaleCase::Lock::kGone) {
    WriteLockOfGoneProcess(lockPath);
  }
  QFile file(folder.WriteBytes(temp, "x"));
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-c.ageSeconds),
                               QFileDevice::FileModificationTime));
  file.close();
  ASSERT_TRUE(IsTemporaryOutputName(temp));

  WriteCp932Lines(folder.FilePath(QStringLiteral("out.csv")), {QStringLiteral("x")});

  EXPECT_EQ(QFile::exists(folder.FilePath(temp)), !c.removed);
  // A gone run's lock goes with its files; a live run's stays with it.
  EXPECT_EQ(QFile::exists(lockPath), c.lock == StaleCase::Lock::kHeld);
  QFile::remove(lockPath);
}

constexpr qint64 kDay = 24 * 60 * 60;

INSTANTIATE_TEST_SUITE_P(
    All, StaleTemporaryFiles,
    ::testing::Values(StaleCase{"GoneRun", StaleCase::Lock::kGone, 0, true},
                      StaleCase{"LiveRun", StaleCase::Lock::kHeld, 0, false},
                      StaleCase{"LiveRunOldFile", StaleCase::Lock::kHeld, 2 * kDay, false},
                      StaleCase{"NoLockRecent", StaleCase::Lock::kNone, kDay - 60, false},
                      StaleCase{"NoLockDayOld", StaleCase::Lock::kNone, kDay + 60, true}),
    [](const auto& info) { return std::string(info.param.name); });

// Names that are not this build's temporary files are never touched.
TEST(OutputFile, CleaningLeavesOtherNamesAlone) {
  testing::TempFolder folder;
  const QStringList kept = {QStringLiteral("c.jpg.XyZ123"), QStringLiteral("d.morvik-part-x"),
                            QStringLiteral("e.jpg.morvik-tmp-2147483647-1"),
                            QStringLiteral("f.jpg.morvik-part-0123456789abcdeg-1"),
                            QStringLiteral("g.csv")};
  for (const QString& name : kept) {
    QFile file(folder.WriteBytes(name, "x"));
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addSecs(-2 * kDay),
                                 QFileDevice::FileModificationTime));
    EXPECT_FALSE(IsTemporaryOutputName(name)) << name.toStdString();
  }
  WriteCp932Lines(folder.FilePath(QStringLiteral("out.csv")), {QStringLiteral("x")});
  QStringList expected = kept + QStringList{QStringLiteral("out.csv")};
  expected.sort();
  EXPECT_EQ(QDir(folder.path()).entryList(QDir::Files | QDir::Hidden, QDir::Name), expected);
}

void MakeDaysOld(const QString& path, int days) {
  QFile file(path);
  ASSERT_TRUE(file.open(QIODevice::ReadWrite));
  ASSERT_TRUE(file.setFileTime(QDateTime::currentDateTimeUtc().addDays(-days),
                               QFileDevice::FileModificationTime));
}

// A killed run that left no temporary file leaves its lock; the lock goes once a day old,
// and a live run's lock never does.
TEST(OutputFile, CleaningRemovesDayOldLocksOfGoneRuns) {
  const QString oldGone = RunLockPath(RandomRun());
  const QString recentGone = RunLockPath(RandomRun());
  const QString oldLive = RunLockPath(RandomRun());
  WriteLockOfGoneProcess(oldGone);
  MakeDaysOld(oldGone, 2);
  WriteLockOfGoneProcess(recentGone);
  QLockFile live(oldLive);
  ASSERT_TRUE(live.tryLock(0));
  MakeDaysOld(oldLive, 2);
  testing::TempFolder folder;
  WriteCp932Lines(folder.FilePath(QStringLiteral("out.csv")), {QStringLiteral("x")});
  EXPECT_FALSE(QFile::exists(oldGone));
  EXPECT_TRUE(QFile::exists(recentGone));  // its files elsewhere still need it
  EXPECT_TRUE(QFile::exists(oldLive));
  QFile::remove(recentGone);
}

// From its first write on, the process holds its run's lock, so that no other run takes
// its temporary files for a killed run's.
TEST(OutputFile, AWritingProcessHoldsItsRunsLock) {
  testing::TempFolder folder;
  WriteCp932Lines(folder.FilePath(QStringLiteral("out.csv")), {QStringLiteral("x")});
  int held = 0;
  const QDir temp(QDir::tempPath());
  for (const QString& name : temp.entryList({QStringLiteral("morvikgraph-run-*.lock")})) {
    QLockFile lock(temp.filePath(name));
    qint64 pid = 0;
    if (!lock.getLockInfo(&pid, nullptr, nullptr) || pid != QCoreApplication::applicationPid()) {
      continue;
    }
    lock.setStaleLockTime(0);
    EXPECT_FALSE(lock.tryLock(0)) << name.toStdString();
    ++held;
  }
  EXPECT_EQ(held, 1);
}

}  // namespace
}  // namespace morvik
