// Atomic replacement through POSIX calls: the build's default on Linux.
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QRegularExpression>

#include <atomic>
#include <cerrno>
#include <cstring>

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include "core/output_file.h"
#include "core/platform/file_replace.h"

namespace morvik {
namespace {

// "<target>.morvik-tmp-<pid>-<n>": no output pattern (*.csv, *.jpg, *.bmp) matches it.
const QString kTempMarker = QStringLiteral(".morvik-tmp-");
const QRegularExpression kTempName(QStringLiteral(R"(\.morvik-tmp-(\d+)-\d+$)"));

QString TemporaryPath(const QString& path) {
  static std::atomic<quint64> counter{0};
  return path + kTempMarker + QString::number(::getpid()) + u'-' + QString::number(++counter);
}

[[noreturn]] void Fail(const QString& path, int error) {
  platform::ThrowCannotBeWritten(path, QString::fromLocal8Bit(std::strerror(error)));
}

bool ProcessRuns(qint64 pid) {
  if (pid <= 0 || pid != static_cast<pid_t>(pid)) return false;
  return ::kill(static_cast<pid_t>(pid), 0) == 0 || errno == EPERM;
}

bool WriteAll(int fd, const QByteArray& bytes) {
  qsizetype done = 0;
  while (done < bytes.size()) {
    const ssize_t n =
        ::write(fd, bytes.constData() + done, static_cast<size_t>(bytes.size() - done));
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += n;
  }
  return true;
}

// The new file keeps the permissions of the file it replaces. Tells whether anything
// stands at `target` (or might: a failing look counts as something there).
bool KeepMode(int fd, const QByteArray& target) {
  struct stat old;
  if (::stat(target.constData(), &old) != 0) return errno != ENOENT;
  if (S_ISREG(old.st_mode)) (void)::fchmod(fd, old.st_mode & 07777);
  return true;
}

// Opens an unnamed file in `folder` (nothing to leave behind if the process dies while
// writing); -1 where the system or file system has none.
int OpenUnnamed(const QByteArray& folder) {
#ifdef O_TMPFILE
  return ::open(folder.constData(), O_TMPFILE | O_WRONLY | O_CLOEXEC, 0666);
#else
  (void)folder;
  errno = EOPNOTSUPP;
  return -1;
#endif
}

// Gives the unnamed file behind `fd` the name `name`, which nothing may hold yet.
bool NameUnnamed(int fd, const QByteArray& name) {
  const QByteArray proc = "/proc/self/fd/" + QByteArray::number(fd);
  return ::linkat(AT_FDCWD, proc.constData(), AT_FDCWD, name.constData(), AT_SYMLINK_FOLLOW) == 0;
}

// Where nothing stands at the target (a run into a new folder), the complete unnamed file
// takes the target's name itself: one step instead of a temporary name and a rename, for
// each of a run's thousands of files. Returns false, having changed nothing, when that
// cannot be done (something took the name meanwhile, say); closes `fd` otherwise.
bool NameUnnamedAsTarget(int fd, const QString& path, const QByteArray& target) {
  if (!NameUnnamed(fd, target)) return false;
  if (::close(fd) != 0) {
    const int error = errno;
    ::unlink(target.constData());  // nothing stood there before
    Fail(path, error);
  }
  return true;
}

void WriteThroughTemporary(const QString& path, const QByteArray& bytes, bool tryUnnamed) {
  const QByteArray target = QFile::encodeName(path);
  const QString tempPath = TemporaryPath(path);
  const QByteArray temp = QFile::encodeName(tempPath);
  const int fd = tryUnnamed ? OpenUnnamed(QFile::encodeName(QFileInfo(path).absolutePath())) : -1;
  const bool unnamed = fd >= 0;
  const int file =
      unnamed ? fd : ::open(temp.constData(), O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
  if (file < 0) Fail(path, errno);
  const bool targetTaken = KeepMode(file, target);
  // No sync to disk before the file takes its name: naming it only once it is complete
  // keeps an interrupted or failed run from leaving a half-written file, and a sync per
  // file would cost a manager's run of thousands of charts more than drawing them.
  bool ok = WriteAll(file, bytes);
  int error = errno;
  if (ok && unnamed && !targetTaken && NameUnnamedAsTarget(file, path, target)) return;
  if (ok && unnamed && !NameUnnamed(file, temp)) {
    ::close(file);
    return WriteThroughTemporary(path, bytes, false);  // no /proc: write a named file instead
  }
  if (::close(file) != 0 && ok) {
    ok = false;
    error = errno;
  }
  if (ok && ::rename(temp.constData(), target.constData()) != 0) {
    ok = false;
    error = errno;
  }
  if (!ok) {
    if (!unnamed || QFileInfo::exists(tempPath)) ::unlink(temp.constData());
    Fail(path, error);
  }
}

}  // namespace

void platform::ReplaceFile(const QString& path, const QByteArray& bytes) {
  WriteThroughTemporary(path, bytes, true);
}

bool IsTemporaryOutputName(const QString& name) { return kTempName.match(name).hasMatch(); }

void RemoveStaleTemporaryFiles(const QString& folder) {
  const QStringList names =
      QDir(folder).entryList({QStringLiteral("*") + kTempMarker + QStringLiteral("*")},
                             QDir::Files | QDir::Hidden | QDir::System);
  for (const QString& name : names) {
    const QRegularExpressionMatch match = kTempName.match(name);
    if (match.hasMatch() && !ProcessRuns(match.captured(1).toLongLong())) {
      QFile::remove(QDir(folder).filePath(name));
    }
  }
}

}  // namespace morvik
