#pragma once
// Test data written to a temporary folder that lives as long as the object.

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>

namespace morvik::testing {

class TempFolder {
 public:
  TempFolder();
  QString path() const { return dir_.path(); }
  QString FilePath(const QString& name) const;

  // Writes raw bytes and returns the file's path.
  QString WriteBytes(const QString& name, const QByteArray& bytes) const;
  // Writes `text` encoded as CP932 (as the exports are) and returns the file's path.
  QString WriteCp932(const QString& name, const QString& text) const;
  // Writes `text` as UTF-8, with a byte-order mark when asked.
  QString WriteUtf8(const QString& name, const QString& text, bool withBom = false) const;

  QByteArray ReadBytes(const QString& name) const;

 private:
  QTemporaryDir dir_;
};

// `lines` joined with CR LF after each line.
QString CrLfLines(const QStringList& lines);

}  // namespace morvik::testing
