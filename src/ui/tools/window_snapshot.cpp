// morvik_window_snapshot OUTPUT_FOLDER [REQUEST_CSV STAMP_CSV]: draws the main window as
// it opens (window.png), with its status line and progress bars showing
// (window_running.png) and the About window (about.png), for checking the layout. Given
// the two files it also runs them and draws the chart window as the run's last message
// appears (chart.png).
#include <QApplication>
#include <QDir>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/session.h"
#include "ui/about_window.h"
#include "ui/chart_window.h"
#include "ui/window_startup.h"

namespace {

void Save(QWidget& widget, const QString& path) {
  widget.show();
  widget.raise();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const QStringList arguments = QCoreApplication::arguments().mid(1);
  if (arguments.isEmpty()) {
    std::fputs("usage: morvik_window_snapshot OUTPUT_FOLDER [FILE ...]\n", stderr);
    return 2;
  }
  const QDir out(arguments.first());
  QTemporaryDir programFolder;
  QFile holidays(programFolder.filePath(QStringLiteral("holidays.txt")));
  if (!holidays.open(QIODevice::WriteOnly)) return 1;
  holidays.close();

  morvik::Session session;
  session.programFolder = programFolder.path();
  session.outputFolder = programFolder.path();
  session.holidayFilePath = holidays.fileName();
  session.enterProgramFolder = false;
  morvik::ChartWindow* chart = nullptr;
  morvik::WindowServices services;
  services.showMessage = [&](QWidget*, const QString& text) {
    std::fprintf(stderr, "%s\n", qUtf8Printable(text));
    if (chart != nullptr && chart->isVisible()) Save(*chart, out.filePath("chart.png"));
  };
  auto window = morvik::LoadMainWindow(session, arguments.mid(1), services);
  if (!window) return 3;
  Save(*window, out.filePath(QStringLiteral("window.png")));
  chart = &window->chartWindow();

  morvik::Frontend& frontend = window->frontend();
  frontend.SetStatusText(QStringLiteral("申請ファイルを読み込みます"));
  for (auto bar : {morvik::ProgressBar::kStep, morvik::ProgressBar::kStaff}) {
    frontend.SetProgressRange(bar, 0, 10);
    frontend.SetProgressValue(bar, bar == morvik::ProgressBar::kStep ? 7 : 3);
    frontend.SetProgressVisible(bar, true);
  }
  Save(*window, out.filePath(QStringLiteral("window_running.png")));

  morvik::AboutWindow about(window.get());
  Save(about, out.filePath(QStringLiteral("about.png")));
  about.close();
  if (arguments.size() >= 3) window->OnRunClicked();
  return 0;
}
