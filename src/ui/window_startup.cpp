#include "ui/window_startup.h"

#include <QApplication>

#include "app/session.h"
#include "app/startup.h"
#include "core/failures.h"
#include "ui/qt_translations.h"

namespace morvik {
namespace {

constexpr int kExitProgramEnded = 3;

}  // namespace

std::unique_ptr<MainWindow> LoadMainWindow(Session& session, const QStringList& arguments,
                                           WindowServices services) {
  auto window = std::make_unique<MainWindow>(session, std::move(services));
  try {
    PrepareSession(session, window->frontend(), arguments);
  } catch (const ProgramEnd&) {
    return nullptr;
  }
  window->RefreshFromModel();
  return window;
}

int RunWindow(const QStringList& arguments) {
  InstallQtJapanese(*QCoreApplication::instance());
  Session session;
  session.programFolder = QCoreApplication::applicationDirPath();
  session.outputFolder = session.programFolder;
  session.enterProgramFolder = true;
  std::unique_ptr<MainWindow> window = LoadMainWindow(session, arguments, DesktopServices());
  if (!window) return kExitProgramEnded;
  window->show();
  return QApplication::exec();
}

}  // namespace morvik
