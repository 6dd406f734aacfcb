#include "core/output_file.h"

#include <QSaveFile>

#include "core/failures.h"
#include "core/text_codec.h"

namespace morvik {

QString QuotedCsvLine(std::span<const QString> fields) {
  QString line;
  for (std::size_t i = 0; i < fields.size(); ++i) {
    if (i > 0) line += u',';
    line += u'"';
    line += QString(fields[i]).replace(u'"', QStringLiteral("\"\""));
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
  QSaveFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit()) {
    throw RunFailure(QStringLiteral("%1: cannot be written (%2)").arg(path, file.errorString()));
  }
}

}  // namespace morvik
