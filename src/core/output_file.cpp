#include "core/output_file.h"

#include <QFileInfo>
#include <QMutex>
#include <QSet>

#include <system_error>

#include "core/failures.h"
#include "core/platform/file_replace.h"
#include "core/text_codec.h"

namespace morvik {
namespace {

// Stale files are removed once per folder and process: a run writes thousands of files
// into one folder, and only a run killed earlier leaves such files behind.
void CleanFolderOnce(const QString& folder) {
  static QMutex mutex;
  static QSet<QString> cleaned;
  {
    QMutexLocker lock(&mutex);
    if (cleaned.contains(folder)) return;
    cleaned.insert(folder);
  }
  RemoveStaleTemporaryFiles(folder);
}

// Writes `field` in quotes at `out`, a quote inside it doubled; returns the position after it.
QChar* WriteQuoted(const QString& field, QChar* out) {
  *out++ = u'"';
  for (const QChar c : field) {
    if (c == u'"') *out++ = c;
    *out++ = c;
  }
  *out++ = u'"';
  return out;
}

}  // namespace

namespace platform {

void ThrowCannotBeWritten(const QString& path, const QString& reason) {
  throw RunFailure(QStringLiteral("%1: cannot be written (%2)").arg(path, reason));
}

}  // namespace platform

// A run writes thousands of work CSVs of some thirty lines of sixty-five fields each: a
// line is written in one pass into room for every character doubled, then cut to length.
QString QuotedCsvLine(std::span<const QString> fields) {
  if (fields.empty()) return QString();
  qsizetype room = static_cast<qsizetype>(fields.size()) - 1;  // the commas
  for (const QString& field : fields) room += 2 * field.size() + 2;
  QString line(room, Qt::Uninitialized);
  QChar* const begin = line.data();
  QChar* out = begin;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) *out++ = u',';
    out = WriteQuoted(fields[i], out);
  }
  line.truncate(out - begin);
  return line;
}

QByteArray Cp932Lines(const QStringList& lines) {
  qsizetype length = 0;
  for (const QString& line : lines) length += line.size() + 2;
  QString text;
  text.reserve(length);
  for (const QString& line : lines) {
    text += line;
    text += u"\r\n";
  }
  return EncodeCp932(text);
}

void WriteCp932Lines(const QString& path, const QStringList& lines) {
  WriteFileAtomically(path, Cp932Lines(lines));
}

void WriteFileAtomically(const QString& path, const QByteArray& bytes) {
  // The system's file names end at a NUL: the text after it would be lost from the name.
  if (path.contains(QChar(0))) {
    const std::string reason = std::make_error_code(std::errc::invalid_argument).message();
    platform::ThrowCannotBeWritten(path, QString::fromLocal8Bit(reason.c_str()));
  }
  CleanFolderOnce(QFileInfo(path).absolutePath());
  platform::ReplaceFile(path, bytes);
}

}  // namespace morvik
