#include "input/input_file.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

#include "core/failures.h"
#include "core/text_codec.h"

namespace morvik {

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

InputFileReadAhead::FileStamp InputFileReadAhead::StampOf(const QString& path) {
  const QFileInfo info(path);
  if (!info.exists()) return {};
  return {info.size(), info.lastModified()};
}

InputFileReadAhead::Read InputFileReadAhead::ReadAhead(const QString& path) {
  Read result;
  result.before = StampOf(path);
  try {
    result.text = ReadInputFile(path);
    result.read = result.before.size >= 0;
  } catch (...) {
    // Take reads the file again and reports the failure in the run's order.
  }
  return result;
}

QString InputFileReadAhead::Take(const QString& path) {
  if (!read_.valid() || path != path_) return ReadInputFile(path);
  Read ahead = read_.get();
  if (!ahead.read || StampOf(path) != ahead.before) return ReadInputFile(path);
  return std::move(ahead.text);
}

}  // namespace morvik
