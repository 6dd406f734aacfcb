#include "ui/tests/ui_test_support.h"

#include <QFile>
#include <QTest>

#include "ui/window_startup.h"

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

void TypeText(QWidget* widget, const QString& text) {
  for (QChar c : text) {
    if (c.unicode() < 0x80) {
      QTest::keyClick(widget, c.toLatin1());
    } else {
      QTest::sendKeyEvent(QTest::Click, widget, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
  }
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
