#include "input/input_file.h"

#include <QFile>

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

}  // namespace morvik
