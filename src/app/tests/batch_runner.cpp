#include "batch_runner.h"

#include <QByteArray>
#include <QDateTime>

#include <cstdio>
#include <memory>

#include "app/batch_mode.h"

namespace morvik::testing {
namespace {

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

}  // namespace

QString ReadBack(std::FILE* file) {
  std::rewind(file);
  QByteArray bytes;
  char buffer[4096];
  for (size_t n; (n = std::fread(buffer, 1, sizeof buffer, file)) > 0;) bytes.append(buffer, n);
  return QString::fromLocal8Bit(bytes);
}

BatchResult RunBatchCapturing(const QStringList& arguments, const QString& programFolder,
                              const QString& startFolder) {
  const File err(std::tmpfile());
  const File out(std::tmpfile());
  BatchEnvironment environment;
  environment.programFolder = programFolder;
  environment.startFolder = startFolder;
  environment.clock = [] { return QDateTime(QDate(2026, 12, 7), QTime(10, 0)); };
  environment.err = err.get();
  environment.out = out.get();
  const int exit = RunBatch(arguments, environment);
  return {exit, ReadBack(err.get())};
}

}  // namespace morvik::testing
