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

}  // namespace

namespace platform {

void ThrowCannotBeWritten(const QString& path, const QString& reason) {
  throw RunFailure(QStringLiteral("%1: cannot be written (%2)").arg(path, reason));
}

}  // namespace platform

QString QuotedCsvLine(std::span<const QString> fields) {
  qsizetype length = 0;
  for (const QString& field : fields) length += field.size() + 3;
  QString line;
  line.reserve(length);
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += u',';
    line += u'"';
    if (fields[i].contains(u'"')) {
      line += QString(fields[i]).replace(u'"', QStringLiteral("\"\""));
    } else {
      line += fields[i];
    }
    line += u'"';
  }
  return line;
}

void WriteCp932Lines(const QString& path, const QStringList& lines) {
  QString text;
  for (const QString& line : lines) {
    text += line;
    text += QStringLiteral("\r\n");
  }
  WriteFileAtomically(path, EncodeCp932(text));
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
