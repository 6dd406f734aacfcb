// morvikgraph: the main window by default, one run without a window with --batch.
#include <QApplication>
#include <QDir>
#include <QFile>
#include <QGuiApplication>

#include "app/batch_mode.h"
#include "core/process_end.h"
#include "core/platform/process.h"
#include "ui/window_startup.h"

namespace {

// --help and --version print and exit, with or without --batch.
bool OpensWindow(const QStringList& arguments) {
  for (const char* flag : {"--batch", "--help", "-h", "--version"}) {
    if (arguments.contains(QLatin1String(flag))) return false;
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  QStringList arguments;
  for (int i = 1; i < argc; ++i) arguments << QString::fromLocal8Bit(argv[i]);
  if (OpensWindow(arguments)) {
    QApplication app(argc, argv);
    return morvik::RunWindow(arguments);
  }
  // Batch mode draws charts without a display, and needs no session runtime folder.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
  if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR")) {
    const QString runtime = QDir::temp().filePath(
        QStringLiteral("morvikgraph-%1").arg(morvik::platform::UserNameForFiles()));
    QDir().mkpath(runtime);
    QFile::setPermissions(runtime, QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                       QFileDevice::ExeOwner);
    qputenv("XDG_RUNTIME_DIR", runtime.toLocal8Bit());
  }
  QGuiApplication app(argc, argv);
  morvik::BatchEnvironment environment;
  environment.programFolder = QCoreApplication::applicationDirPath();
  environment.startFolder = QDir::currentPath();
  environment.clock = morvik::BatchClock();
  environment.errIsTerminal = morvik::platform::StandardErrorIsTerminal();
  environment.processEndsAfterRun = morvik::CanEndProcessNow();
  const int exitCode = morvik::RunBatch(arguments, environment);
  // What the run held goes back to the system whole.
  if (environment.processEndsAfterRun) morvik::EndProcessNow(exitCode);
  return exitCode;
}
