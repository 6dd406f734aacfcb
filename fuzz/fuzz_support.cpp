#include "fuzz_support.h"

#include <QDir>
#include <QFile>
#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <memory>
#include <stdexcept>

#include "core/failures.h"
#include "core/working_tables.h"

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

WorkingTables& SharedTables() {
  static WorkingTables* tables = new WorkingTables();
  return *tables;
}

void AcceptFailurePath(const std::function<void()>& step) {
  try {
    step();
  } catch (const RunFailure&) {
  } catch (const ProgramEnd&) {
  } catch (const std::out_of_range&) {
  }
}

void ListSampleStaff(WorkingTables& tables) {
  static const char* const kNumbers[] = {"00123", "03099", "04237", "05577", "10001", ""};
  tables.staffList.fill(QString());
  tables.staffList[0] = QStringLiteral("heading");
  int i = 1;
  for (const char* number : kNumbers) tables.staffList.at(i++) = QString::fromLatin1(number);
}

}  // namespace morvik::fuzz
