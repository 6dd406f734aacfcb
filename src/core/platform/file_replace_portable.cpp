// Atomic replacement on Qt and the C++ library only: the Windows build, and Linux with
// MORVIK_PORTABLE. QFile cannot rename over an existing file and QSaveFile names its
// temporary files itself, so the file is written with QFile under a name of ours and
// renamed over the target by std::filesystem (MoveFileEx on Windows, rename on POSIX).
#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLockFile>
#include <QMap>
#include <QRandomGenerator>
#include <QRegularExpression>

#include <atomic>
#include <filesystem>
#include <memory>
#include <string>
#include <system_error>
#include <type_traits>

#include "core/output_file.h"
#include "core/platform/file_replace.h"

namespace morvik {
namespace {

// "<target>.morvik-part-<run>-<n>": no output pattern (*.csv, *.jpg, *.bmp) matches it, nor
// does the POSIX build's naming, so neither build removes the other's files.
const QString kTempMarker = QStringLiteral(".morvik-part-");
const QRegularExpression kTempName(QStringLiteral(R"(\.morvik-part-([0-9a-f]{16})-\d+$)"));

// A temporary file that no lock vouches for is removed only when older than this.
constexpr qint64 kUnclaimedSeconds = 24 * 60 * 60;

// Random rather than the process id: an id is soon reused, and a run's lock outlives a
// killed run until the next run removes it.
const QString& ThisRun() {
  static const QString run =
      QString::number(QRandomGenerator::system()->generate64(), 16).rightJustified(16, u'0');
  return run;
}

QString RunLockPath(const QString& run) {
  return QDir(QDir::tempPath()).filePath(QStringLiteral("morvikgraph-run-%1.lock").arg(run));
}

// Taken before this process names its first temporary file and held until it exits. Without
// it (no temporary folder), this run's files are treated as another machine's.
void HoldThisRunsLock() {
  static const std::unique_ptr<QLockFile> lock = [] {
    auto file = std::make_unique<QLockFile>(RunLockPath(ThisRun()));
    (void)file->tryLock(0);
    return file;
  }();
}

QString TemporaryPath(const QString& path) {
  static std::atomic<quint64> counter{0};
  return path + kTempMarker + ThisRun() + u'-' + QString::number(++counter);
}

std::filesystem::path NativePath(const QString& path) {
  if constexpr (std::is_same_v<std::filesystem::path::value_type, wchar_t>) {
    return std::filesystem::path(path.toStdWString());
  } else {
    return std::filesystem::path(QFile::encodeName(path).toStdString());
  }
}

// The system's text for a failed rename; empty when it succeeded.
QString RenameOver(const QString& from, const QString& to) {
  std::error_code error;
  std::filesystem::rename(NativePath(from), NativePath(to), error);
  return error ? QString::fromLocal8Bit(error.message().c_str()) : QString();
}

// The new file keeps the permissions of the file it replaces (on Windows: read-only or not).
void KeepPermissions(const QString& target, QFile& temp) {
  const QFileInfo old(target);
  if (old.isFile()) (void)temp.setPermissions(old.permissions());
}

bool IsUnclaimedLongEnough(const QString& path) {
  const QDateTime modified = QFileInfo(path).fileTime(QFileDevice::FileModificationTime);
  return modified.isValid() && modified.secsTo(QDateTime::currentDateTimeUtc()) > kUnclaimedSeconds;
}

// A killed run that left no temporary file would leave its lock for good. Those a day old
// go: by then that run's files, if any, count as unclaimed anyway.
void RemoveOldLocksOfGoneRuns() {
  const QDir temp(QDir::tempPath());
  const QStringList names =
      temp.entryList({QStringLiteral("morvikgraph-run-*.lock")}, QDir::Files | QDir::Hidden);
  for (const QString& name : names) {
    if (!IsUnclaimedLongEnough(temp.filePath(name))) continue;
    QLockFile lock(temp.filePath(name));
    lock.setStaleLockTime(0);
    (void)lock.tryLock(0);  // taken only from a gone process; unlocking removes the file
  }
}

// Removes `names` (temporary files of `run` in `folder`) if that run is over.
void RemoveIfRunIsOver(const QDir& folder, const QString& run, const QStringList& names) {
  const QString lockPath = RunLockPath(run);
  if (!QFileInfo::exists(lockPath)) {
    // Another user's or machine's run, or one that could not take its lock.
    for (const QString& name : names) {
      if (IsUnclaimedLongEnough(folder.filePath(name))) QFile::remove(folder.filePath(name));
    }
    return;
  }
  QLockFile lock(lockPath);
  lock.setStaleLockTime(0);      // a live run's lock is never stale however long it runs
  if (!lock.tryLock(0)) return;  // the run goes on
  for (const QString& name : names) QFile::remove(folder.filePath(name));
  // Unlocking removes the lock file: files of that run in other folders now count as
  // unclaimed and go once a day old.
}

// Qt gives no reason for a write that stops part way (a full disk): it reports only the
// bytes written. Writing on from there makes the system say why.
QString WriteAll(QFile& file, const QByteArray& bytes) {
  qint64 written = 0;
  while (written < bytes.size()) {
    const qint64 count = file.write(bytes.constData() + written, bytes.size() - written);
    if (count <= 0) return file.errorString();
    written += count;
  }
  return QString();
}

}  // namespace

void platform::ReplaceFile(const QString& path, const QByteArray& bytes) {
  HoldThisRunsLock();
  QFile temp(TemporaryPath(path));
  if (!temp.open(QIODevice::WriteOnly | QIODevice::NewOnly | QIODevice::Unbuffered)) {
    ThrowCannotBeWritten(path, temp.errorString());
  }
  KeepPermissions(path, temp);
  // No sync to disk before the rename, as in the POSIX build: the rename alone keeps a
  // failed or killed run from leaving a half-written file.
  QString error = WriteAll(temp, bytes);
  temp.close();  // clears the error of a failed write: hence taken above
  if (error.isEmpty() && temp.error() != QFileDevice::NoError) error = temp.errorString();
  if (error.isEmpty()) error = RenameOver(temp.fileName(), path);
  if (!error.isEmpty()) {
    temp.remove();
    ThrowCannotBeWritten(path, error);
  }
}

bool IsTemporaryOutputName(const QString& name) { return kTempName.match(name).hasMatch(); }

void RemoveStaleTemporaryFiles(const QString& folder) {
  const QDir dir(folder);
  QMap<QString, QStringList> byRun;
  const QStringList names = dir.entryList({QStringLiteral("*") + kTempMarker + QStringLiteral("*")},
                                          QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    const QRegularExpressionMatch match = kTempName.match(name);
    if (match.hasMatch() && match.captured(1) != ThisRun()) byRun[match.captured(1)] << name;
  }
  for (auto run = byRun.cbegin(); run != byRun.cend(); ++run) {
    RemoveIfRunIsOver(dir, run.key(), run.value());
  }
  RemoveOldLocksOfGoneRuns();
}

}  // namespace morvik
