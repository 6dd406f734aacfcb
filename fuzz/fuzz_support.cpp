#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>

namespace morvik::fuzz {

void EnsureApplication() {
  static int argc = 1;
  static char name[] = "fuzz";
  static char* argv[] = {name, nullptr};
  static QGuiApplication* app = [] {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    return new QGuiApplication(argc, argv);
  }();
  (void)app;
}

QString ScratchFolder() {
  static QTemporaryDir* folder = new QTemporaryDir();
  return folder->path();
}

QString WriteScratchFile(const QString& name, const uint8_t* data, size_t size) {
  const QString path = QDir(ScratchFolder()).filePath(name);
  QFile file(path);
  if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate)) std::abort();
  file.write(reinterpret_cast<const char*>(data), static_cast<qint64>(size));
  return path;
}

}  // namespace morvik::fuzz
