#pragma once
// MainWindow, the main window: the three input files with their browse buttons, the stamp
// file's encoding, the staff-list switch, the target month, the output formats, Run and
// Exit, the two progress bars and the status line, and the two menus.
//
// The window is a view of the session's FormState: a control's change runs the matching
// handler on the model (core/form_state.h), and after every handler the controls are set
// again from the model. Every control's objectName says what it is (runButton,
// useStaffListBox, ...); a control kept as a member has that name with a trailing "_".
// Files dropped anywhere on the window go into the request and stamp boxes by the name
// rules of start-up.

#include <QMainWindow>
#include <QString>

#include <functional>
#include <memory>

#include "ui/qt_frontend.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace morvik {

struct Session;
class ChartWindow;

// What the window asks of the desktop; tests replace these so nothing blocks.
struct WindowServices {
  MessageSink showMessage = ShowMessageBox;
  // An open-file dialog starting in `folder` with Qt `filters`, the first preselected;
  // returns the chosen file, or the empty text when the user cancelled.
  std::function<QString(QWidget* parent, const QString& folder, const QString& filters)> chooseFile;
  // Shows the About window modally, owned by `parent`.
  std::function<void(QWidget* parent)> showAbout;
  // Ends the program with this exit status: 0 from Exit, 3 when a run ended the program.
  std::function<void(int status)> endProgram;
};

// The desktop's services: the modal message box, QFileDialog, the About window, and closing every
// window and leaving the event loop.
WindowServices DesktopServices();
// `services` with every service it leaves empty taken from the desktop.
WindowServices CompleteServices(WindowServices services);

class MainWindow : public QMainWindow {
 public:
  explicit MainWindow(Session& session, WindowServices services = {});
  ~MainWindow() override;

  Frontend& frontend() { return *frontend_; }
  ChartWindow& chartWindow() { return *chartWindow_; }

  // Sets every control from the session's FormState.
  void RefreshFromModel();

  void OnRunClicked();
  void OnExitClicked();
  void OnBrowseRequestClicked();
  void OnBrowseStampClicked();
  void OnBrowseStaffListClicked();
  void OnExitMenuChosen();
  void OnVersionMenuChosen();

 protected:
  void closeEvent(QCloseEvent* event) override;
  void dragEnterEvent(QDragEnterEvent* event) override;
  void dragMoveEvent(QDragMoveEvent* event) override;
  void dropEvent(QDropEvent* event) override;

 private:
  void setupWindow();
  void setupMenus();
  void setupTitleAndGroups(QWidget* client);
  void setupRequestFrame(QWidget* client);
  void setupStampFrame(QWidget* client);
  void setupStaffListFrame(QWidget* client);
  void setupMonthFrame(QWidget* client);
  void setupOutputChecks(QWidget* client);
  void setupRunControls(QWidget* client);
  void setupStatusBar();
  void setupTabOrder();
  void setupEnterKey();
  void bindFields();
  void bindOptions();
  void bindButtons();
  void setupDrops();

  // One or two dropped files go into their boxes as start-up's names do; three or more
  // cannot be told apart and empty both boxes with start-up's message.
  void TakeDroppedFiles(const QStringList& files);

  // Runs `handler` on the model, then shows the model again.
  void Apply(const std::function<void()>& handler);
  QString Browse(const QString& filters);

  Session& session_;
  WindowServices services_;
  std::unique_ptr<ChartWindow> chartWindow_;
  std::unique_ptr<QtFrontend> frontend_;
  bool running_ = false;

  QLineEdit* requestFileField_ = nullptr;
  QLineEdit* stampFileField_ = nullptr;
  QLineEdit* staffListFileField_ = nullptr;
  QLineEdit* monthField_ = nullptr;
  QPushButton* browseRequestButton_ = nullptr;
  QPushButton* browseStampButton_ = nullptr;
  QPushButton* browseStaffListButton_ = nullptr;
  QRadioButton* utf8Option_ = nullptr;
  QRadioButton* sjisOption_ = nullptr;
  QCheckBox* useStaffListBox_ = nullptr;
  QCheckBox* fixMonthBox_ = nullptr;
  QPushButton* previousMonthButton_ = nullptr;
  QPushButton* nextMonthButton_ = nullptr;
  QPushButton* thisMonthButton_ = nullptr;
  QCheckBox* jpgBox_ = nullptr;
  QCheckBox* bmpBox_ = nullptr;
  QCheckBox* workCsvBox_ = nullptr;
  QProgressBar* stepBar_ = nullptr;
  QProgressBar* staffBar_ = nullptr;
  QPushButton* runButton_ = nullptr;
  QPushButton* exitButton_ = nullptr;
  QLabel* statusText_ = nullptr;
  QAction* exitAction_ = nullptr;
  QAction* versionAction_ = nullptr;
  QAction* reviewAction_ = nullptr;        // "集計・乖離一覧を出力(CSV)"
  QAction* overviewPageAction_ = nullptr;  // "一覧ページ(HTML)を出力"
  QAction* printPdfAction_ = nullptr;      // "印刷用PDFを出力"
};

}  // namespace morvik
