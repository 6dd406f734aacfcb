#pragma once
// Form1, the main window: the three input files with their browse buttons, the stamp
// file's encoding, the staff-list switch, the target month, the output formats, Run and
// Exit, the two progress bars and the status line, and the two menus.
//
// The window is a view of the session's FormState: a control's change runs the matching
// handler on the model (core/form_state.h), and after every handler the controls are set
// again from the model. Every control's objectName is its name (Cmd_Ok, Check_sitei, ...).
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
class Form2;

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

// The desktop's services: the modal message box, QFileDialog, frmAbout, and closing every
// window and leaving the event loop.
WindowServices DesktopServices();
// `services` with every service it leaves empty taken from the desktop.
WindowServices CompleteServices(WindowServices services);

class Form1 : public QMainWindow {
 public:
  explicit Form1(Session& session, WindowServices services = {});
  ~Form1() override;

  Frontend& frontend() { return *frontend_; }
  Form2& chartWindow() { return *form2_; }

  // Sets every control from the session's FormState.
  void RefreshFromModel();

  void Cmd_Ok_Click();
  void Cmd_No_Click();
  void Cmd_Open_Click();
  void Cmd_Open2_Click();
  void Cmd_Open1_Click();
  void mnuEnd_Click();
  void mnuVer_Click();

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
  std::unique_ptr<Form2> form2_;
  std::unique_ptr<QtFrontend> frontend_;
  bool running_ = false;

  QLineEdit* Input_File = nullptr;
  QLineEdit* Input_File2 = nullptr;
  QLineEdit* Input_File1 = nullptr;
  QLineEdit* Text_nengetu = nullptr;
  QPushButton* Cmd_Open = nullptr;
  QPushButton* Cmd_Open2 = nullptr;
  QPushButton* Cmd_Open1 = nullptr;
  QRadioButton* Option1 = nullptr;
  QRadioButton* Option2 = nullptr;
  QCheckBox* Check_sitei = nullptr;
  QCheckBox* Check_nengetu = nullptr;
  QPushButton* Command_mae = nullptr;
  QPushButton* Command_ato = nullptr;
  QPushButton* Command_now = nullptr;
  QCheckBox* Check_jpg = nullptr;
  QCheckBox* Check_bmp = nullptr;
  QCheckBox* Check1 = nullptr;
  QProgressBar* ProgressBar1 = nullptr;
  QProgressBar* ProgressBar2 = nullptr;
  QPushButton* Cmd_Ok = nullptr;
  QPushButton* Cmd_No = nullptr;
  QLabel* statusText_ = nullptr;
  QAction* mnuEnd = nullptr;
  QAction* mnuVer = nullptr;
};

}  // namespace morvik
