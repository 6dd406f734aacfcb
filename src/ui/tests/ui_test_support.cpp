#include "ui/tests/ui_test_support.h"

#include <QFile>

#include "ui/window_main.h"

namespace morvik::testing {

WindowServices RecordingServices(ServiceLog& log) {
  WindowServices services;
  services.showMessage = [&log](QWidget*, const QString& text) { log.messages << text; };
  services.chooseFile = [&log](QWidget*, const QString& folder, const QString& filters) {
    log.browses.emplace_back(folder, filters);
    return log.answers.isEmpty() ? QString() : log.answers.takeFirst();
  };
  services.showAbout = [&log](QWidget*) { ++log.aboutShown; };
  services.endProgram = [&log](int status) { log.endStatuses.push_back(status); };
  return services;
}

WindowFixture::WindowFixture(const QStringList& arguments, QDateTime today, bool holidayFile) {
  session.programFolder = folder_.path();
  session.outputFolder = folder_.path();
  session.enterProgramFolder = false;
  session.clock = [today] { return today; };
  if (holidayFile) {
    QFile file(folder_.filePath(QStringLiteral("MorvikGraph_祝日_max100.txt")));
    file.open(QIODevice::WriteOnly);
  }
  window = LoadMainWindow(session, arguments, RecordingServices(log));
}

}  // namespace morvik::testing
