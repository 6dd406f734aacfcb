#include "ui/window_main.h"

#include <QApplication>

#include "app/session.h"
#include "app/startup.h"
#include "core/failures.h"

namespace morvik {
namespace {

constexpr int kExitProgramEnded = 3;

}  // namespace

std::unique_ptr<Form1> LoadMainWindow(Session& session, const QStringList& arguments,
                                      WindowServices services) {
  auto window = std::make_unique<Form1>(session, std::move(services));
  try {
    Form_Load(session, window->frontend(), arguments);
  } catch (const ProgramEnd&) {
    return nullptr;
  }
  window->RefreshFromModel();
  return window;
}

int RunWindow(const QStringList& arguments) {
  Session session;
  session.programFolder = QCoreApplication::applicationDirPath();
  session.outputFolder = session.programFolder;
  session.enterProgramFolder = true;
  std::unique_ptr<Form1> window = LoadMainWindow(session, arguments, DesktopServices());
  if (!window) return kExitProgramEnded;
  window->show();
  return QApplication::exec();
}

}  // namespace morvik
