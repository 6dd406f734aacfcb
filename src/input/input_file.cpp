#include "input/input_file.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

#include "core/failures.h"
#include "core/text_codec.h"

namespace morvik {
namespace {

// What tells a file that changed after it was read ahead from one that did not.
struct FileStamp {
  qint64 size = -1;
  QDateTime changed;
};

FileStamp StampOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {info.size(), info.lastModified()};
}

}  // namespace

QString ReadInputFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw RunFailure(QStringLiteral("%1: cannot be opened (%2)").arg(path, file.errorString()));
  }
  const QByteArray bytes = file.readAll();
  if (file.error() != QFileDevice::NoError) {
    throw RunFailure(QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString()));
  }
  return DecodeInputFile(bytes);
}

InputFileReadAhead::InputFileReadAhead(QString path, When when) : path_(std::move(path)) {
  try {
    read_ = std::async(when == When::kNow ? std::launch::deferred : std::launch::async,
                       &InputFileReadAhead::ReadAhead, path_);
    if (when == When::kNow) read_.wait();
  } catch (const std::exception&) {
    // No thread to be had: Take reads the file.
  }
}

InputFileReadAhead::~InputFileReadAhead() {
  if (read_.valid()) read_.wait();
}

InputFileReadAhead::Read InputFileReadAhead::ReadAhead(const QString& path) {
  Read result;
  const FileStamp before = StampOf(path);
  result.size = before.size;
  result.changed = before.changed;
  try {
    result.text = ReadInputFile(path);
    result.read = before.size >= 0;
  } catch (...) {
    // Take reads the file again and reports the failure in the run's order.
  }
  return result;
}

QString InputFileReadAhead::Take(const QString& path) {
  if (!read_.valid() || path != path_) return ReadInputFile(path);
  Read ahead = read_.get();
  const FileStamp now = StampOf(path);
  if (!ahead.read || now.size != ahead.size || now.changed != ahead.changed) {
    return ReadInputFile(path);
  }
  return std::move(ahead.text);
}

}  // namespace morvik
