#include "testing/test_files.h"

#include <QFile>

#include <stdexcept>

#include "core/text_codec.h"

namespace morvik::testing {

TempFolder::TempFolder() {
  if (!dir_.isValid()) throw std::runtime_error("cannot create a temporary folder");
}

QString TempFolder::FilePath(const QString& name) const { return dir_.filePath(name); }

QString TempFolder::WriteBytes(const QString& name, const QByteArray& bytes) const {
  const QString path = FilePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size()) {
    throw std::runtime_error("cannot write test file");
  }
  return path;
}

QString TempFolder::WriteCp932(const QString& name, const QString& text) const {
  return WriteBytes(name, EncodeCp932(text));
}

QString TempFolder::WriteUtf8(const QString& name, const QString& text, bool withBom) const {
  QByteArray bytes = withBom ? QByteArray("\xEF\xBB\xBF") : QByteArray();
  return WriteBytes(name, bytes + text.toUtf8());
}

QByteArray TempFolder::ReadBytes(const QString& name) const {
  QFile file(FilePath(name));
  if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read test file");
  return file.readAll();
}

QString CrLfLines(const QStringList& lines) {
  QString text;
  for (const QString& line : lines) text += line + QStringLiteral("\r\n");
  return text;
}

}  // namespace morvik::testing
