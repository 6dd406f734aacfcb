#include "headless_tools.h"

#include <QProcess>
#include <QStandardPaths>
#include <QTemporaryDir>
#include <QUrl>

namespace morvik::testing {

ToolRun RunTool(const QString& program, const QStringList& arguments, int timeoutMs) {
  ToolRun run;
  const QString path = QStandardPaths::findExecutable(program);
  if (path.isEmpty()) {
    run.error = program + " not found: scripts/install-deps installs it (chromium, poppler-utils)";
    return run;
  }
  QProcess process;
  process.start(path, arguments);
  if (!process.waitForFinished(timeoutMs)) {
    process.kill();
    process.waitForFinished();
    run.error = program + " did not finish in time";
    return run;
  }
  run.ran = true;
  run.exit = process.exitCode();
  run.out = process.readAllStandardOutput();
  run.error = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

ToolRun RunChromium(const QStringList& arguments) {
  QTemporaryDir profile;
  const QStringList base = {"--headless",
                            "--no-sandbox",
                            "--disable-gpu",
                            "--no-first-run",
                            "--disable-background-networking",
                            "--disable-component-update",
                            "--disable-sync",
                            "--user-data-dir=" + profile.path()};
  return RunTool(QStringLiteral("chromium"), base + arguments, 120000);
}

QString FileUrl(const QString& path) {
  return QUrl::fromLocalFile(path).toString(QUrl::FullyEncoded);
}

}  // namespace morvik::testing
