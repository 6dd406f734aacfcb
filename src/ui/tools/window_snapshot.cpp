// morvik_window_snapshot OUTPUT_FOLDER [REQUEST_CSV STAMP_CSV]: draws the main window as
// it opens (window.png), with its status line and progress bars showing
// (window_running.png), the About window (about.png), and, with Qt's texts in Japanese as
// the program shows them, the request box's open-file dialog (open_dialog.png) and its
// right-click menu (context_menu.png), for checking the layout. Given the two files it also
// runs them and draws the chart window as the run's last message appears (chart.png).
// Under Xvfb (xvfb-run) the dialog and the menu are taken from the screen.
#include <QApplication>
#include <QContextMenuEvent>
#include <QDir>
#include <QEventLoop>
#include <QLineEdit>
#include <QPushButton>
#include <QScreen>
#include <QTemporaryDir>
#include <QTimer>

#include <cstdio>

#include "app/session.h"
#include "ui/about_window.h"
#include "ui/chart_window.h"
#include "ui/qt_translations.h"
#include "ui/window_startup.h"

namespace {

void Save(QWidget& widget, const QString& path) {
  widget.show();
  widget.raise();
  for (int i = 0; i < 10; ++i) QCoreApplication::processEvents();
  if (!widget.grab().save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

// The screen where there is one, so that a popup is seen over the window; else the widget.
void SaveScreen(QWidget& widget, const QString& path) {
  QPixmap shot = widget.screen()->grabWindow(0);
  if (shot.isNull()) shot = widget.grab();
  if (!shot.save(path)) std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
}

constexpr int kSettleMs = 800;  // the dialog reads its folder in the background

// Once the dialog or menu that the next step opens has settled, saves it and closes it.
void SaveWhenOpen(const QString& path) {
  QTimer::singleShot(kSettleMs, [path] {
    QWidget* open = QApplication::activePopupWidget();
    if (open == nullptr) open = QApplication::activeModalWidget();
    if (open == nullptr) {
      std::fprintf(stderr, "nothing open for %s\n", qPrintable(path));
      return;
    }
    SaveScreen(*open, path);
    open->close();
  });
}

void SaveQtTexts(QWidget& window, const QDir& out) {
  SaveWhenOpen(out.filePath(QStringLiteral("open_dialog.png")));
  window.findChild<QPushButton*>(QStringLiteral("browseRequestButton"))->click();
  auto* field = window.findChild<QLineEdit*>(QStringLiteral("requestFileField"));
  field->setText(QStringLiteral("2026_11_申請.csv"));  // shown only: the model keeps its name
  field->selectAll();
  const QPoint at(40, field->height() / 2);
  SaveWhenOpen(out.filePath(QStringLiteral("context_menu.png")));
  QContextMenuEvent menu(QContextMenuEvent::Mouse, at, field->mapToGlobal(at));
  QApplication::sendEvent(field, &menu);
  // The menu pops up without a loop of its own.
  QEventLoop settle;
  QTimer::singleShot(2 * kSettleMs, &settle, &QEventLoop::quit);
  settle.exec();
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  morvik::InstallQtJapanese(app);
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
  // Something for the open-file dialog to list, which starts in the program's folder.
  QFile request(programFolder.filePath(QStringLiteral("2026_11_申請.csv")));
  if (!request.open(QIODevice::WriteOnly)) return 1;
  request.close();

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
  SaveQtTexts(*window, out);
  if (arguments.size() >= 3) window->OnRunClicked();
  return 0;
}
