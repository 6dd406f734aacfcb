#include "input/input_file.h"

#include <QFile>
#include <QFileInfo>

#include <exception>

#include "core/failures.h"
#include "core/platform/prefaulted_memory.h"
#include "core/platform/thread_placement.h"
#include "core/text_codec.h"

namespace morvik {
namespace {

// The file's bytes, to its end. A managers' stamp file is some 6 MB: its buffer asks for
// 2 MB pages before it is written, which spares some 1,500 first touches of 4 KB pages
// (some 3 ms on the development machine, while the run waits for the file).
QByteArray ReadAllBytes(QFile& file) {
  const qint64 expected = file.size();
  if (expected <= 0) return file.readAll();  // not a plain file, or an empty one
  QByteArray bytes(expected, Qt::Uninitialized);
  platform::OfferLargePages(bytes.data(), static_cast<std::size_t>(expected));
  qint64 read = 0;
  while (read < expected) {
    const qint64 got = file.read(bytes.data() + read, expected - read);
    if (got <= 0) break;  // the end came sooner, or an error the caller reports
    read += got;
  }
  bytes.truncate(read);
  if (read == expected) bytes += file.readAll();  // what was added meanwhile
  return bytes;
}

}  // namespace

QString ReadInputFile(const QString& path) {
  QFile file(path);
  if (!file.open(QIODevice::ReadOnly)) {
    throw RunFailure(QStringLiteral("%1: cannot be opened (%2)").arg(path, file.errorString()));
  }
  const QByteArray bytes = ReadAllBytes(file);
  if (file.error() != QFileDevice::NoError) {
    throw RunFailure(QStringLiteral("%1: cannot be read (%2)").arg(path, file.errorString()));
  }
  return DecodeInputFile(bytes);
}

InputFileReadAhead::InputFileReadAhead(QString path, When when) : path_(std::move(path)) {
  try {
    // The thread leaves this one's core, which goes on making the run's tables.
    const int core = when == When::kOnAThread ? platform::CurrentCore() : -1;
    read_ = std::async(when == When::kNow ? std::launch::deferred : std::launch::async,
                       [path = path_, core] {
                         platform::MoveOffCore(core);
                         return ReadAhead(path);
                       });
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
