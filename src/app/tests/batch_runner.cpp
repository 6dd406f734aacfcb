#include "batch_runner.h"

#include <QByteArray>
#include <QDateTime>
#include <QDir>
#include <QFile>

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

ManagersSampleRuns::ManagersSampleRuns() {
  QFile::copy(QStringLiteral(MORVIK_SOURCE_DIR "/data/MorvikGraph_祝日_max100.txt"),
              program.FilePath(QStringLiteral("MorvikGraph_祝日_max100.txt")));
}

BatchResult ManagersSampleRuns::RunManagers(const QString& out, const QStringList& extra) const {
  const QString samples = QStringLiteral(MORVIK_SOURCE_DIR "/data/samples/managers/");
  return RunBatchCapturing(QStringList{"--batch", "--out", start.FilePath(out), "--request",
                                       samples + "2026_11_申請_全職員.csv", "--stamp",
                                       samples + "2026_11_打刻_全職員.csv", "--staff-list",
                                       samples + "MorvikGraph_職員番号指定.txt"} +
                               extra,
                           program.path(), start.path());
}

QStringList ManagersSampleRuns::Files(const QString& out) const {
  QStringList names = QDir(start.FilePath(out)).entryList(QDir::Files);
  names.sort();
  return names;
}

}  // namespace morvik::testing
