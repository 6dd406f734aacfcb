// Form1's bindings to the model and the handlers of its buttons and menus.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QFileDialog>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/run_sequence.h"
#include "app/session.h"
#include "core/failures.h"
#include "core/form_state.h"
#include "ui/form1.h"
#include "ui/form2.h"
#include "ui/frm_about.h"

namespace morvik {
namespace {

const QString kCsvFilters = QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*.*)");
const QString kTxtFilters = QStringLiteral("txt ファイル (*.txt);;すべてのファイル (*.*)");
const QString kOpenDialogTitle = QStringLiteral("ファイルを開く");
constexpr int kExitFinished = 0;
constexpr int kExitProgramEnded = 3;

void ShowText(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}

QString ChooseFileToOpen(QWidget* parent, const QString& folder, const QString& filters) {
  QString firstFilter = filters.section(QStringLiteral(";;"), 0, 0);
  // Qt's own dialog: the same look everywhere, and it never moves the working directory.
  return QFileDialog::getOpenFileName(parent, kOpenDialogTitle, folder, filters, &firstFilter,
                                      QFileDialog::DontUseNativeDialog);
}

void ShowAbout(QWidget* parent) {
  FrmAbout about(parent);
  about.exec();
}

void EndApplication(int status) {
  QApplication::closeAllWindows();
  QCoreApplication::exit(status);
}

}  // namespace

WindowServices DesktopServices() { return CompleteServices({}); }

WindowServices CompleteServices(WindowServices services) {
  if (!services.showMessage) services.showMessage = ShowMessageBox;
  if (!services.chooseFile) services.chooseFile = ChooseFileToOpen;
  if (!services.showAbout) services.showAbout = ShowAbout;
  if (!services.endProgram) services.endProgram = EndApplication;
  return services;
}

void Form1::RefreshFromModel() {
  const FormState& form = session_.form;
  ShowText(Input_File, form.Input_File);
  ShowText(Input_File2, form.Input_File2);
  ShowText(Input_File1, form.Input_File1);
  ShowText(Text_nengetu, form.Text_nengetu);
  // The model keeps exactly one encoding selected; checking it unchecks the other.
  (form.Option1 ? Option1 : Option2)->setChecked(true);
  Check_sitei->setChecked(form.Check_sitei);
  Check_nengetu->setChecked(form.Check_nengetu);
  Check_jpg->setChecked(form.Check_jpg);
  Check_bmp->setChecked(form.Check_bmp);
  Check1->setChecked(form.Check1);
}

void Form1::Apply(const std::function<void()>& handler) {
  handler();
  RefreshFromModel();
}

void Form1::bindFields() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  // Each file field reaches its path member at every edit, so Run takes what it shows.
  // Typing a staff list name leaves the switch alone: no other control changes.
  const auto bindFileField = [&](QLineEdit* field,
                                 void (*set)(FormState&, WorkingTables&, const QString&)) {
    connect(field, &QLineEdit::textEdited, this,
            [&form, &tables, set](const QString& text) { set(form, tables, text); });
  };
  bindFileField(Input_File, SetInput_File);
  bindFileField(Input_File2, SetInput_File2);
  bindFileField(Input_File1, SetInput_File1);
  connect(Text_nengetu, &QLineEdit::textEdited, this,
          [&form](const QString& text) { form.Text_nengetu = text; });
}

void Form1::bindOptions() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  const QString folder = session_.programFolder;
  connect(Option1, &QRadioButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { Option1_Click(form, tables); }); });
  connect(Option2, &QRadioButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { Option2_Click(form, tables); }); });
  connect(Check_sitei, &QCheckBox::clicked, this, [=, this, &form, &tables](bool ticked) {
    Apply([&] {
      form.Check_sitei = ticked;
      Check_sitei_Click(form, tables, folder);
    });
  });
  connect(Check_nengetu, &QCheckBox::clicked, this, [=, this, &form, &tables](bool ticked) {
    Apply([&] {
      form.Check_nengetu = ticked;
      Check_nengetu_Click(form, tables);
    });
  });
  const auto bindCheck = [&](QCheckBox* box, bool FormState::*member,
                             void (*handler)(const FormState&, WorkingTables&)) {
    connect(box, &QCheckBox::clicked, this, [=, this, &form, &tables](bool ticked) {
      Apply([&] {
        form.*member = ticked;
        handler(form, tables);
      });
    });
  };
  bindCheck(Check1, &FormState::Check1, Check1_Click);
  bindCheck(Check_bmp, &FormState::Check_bmp, Check_bmp_Click);
  bindCheck(Check_jpg, &FormState::Check_jpg, Check_jpg_Click);
}

void Form1::bindButtons() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  connect(Command_mae, &QPushButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { Command_mae_Click(form, tables); }); });
  connect(Command_ato, &QPushButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { Command_ato_Click(form, tables); }); });
  connect(Command_now, &QPushButton::clicked, this, [=, this, &form, &tables] {
    Apply([&] { Command_now_Click(form, tables, session_.clock().date()); });
  });
  connect(Cmd_Open, &QPushButton::clicked, this, [this] { Cmd_Open_Click(); });
  connect(Cmd_Open2, &QPushButton::clicked, this, [this] { Cmd_Open2_Click(); });
  connect(Cmd_Open1, &QPushButton::clicked, this, [this] { Cmd_Open1_Click(); });
  connect(Cmd_Ok, &QPushButton::clicked, this, [this] { Cmd_Ok_Click(); });
  connect(Cmd_No, &QPushButton::clicked, this, [this] { Cmd_No_Click(); });
  connect(mnuEnd, &QAction::triggered, this, [this] { mnuEnd_Click(); });
  connect(mnuVer, &QAction::triggered, this, [this] { mnuVer_Click(); });
}

QString Form1::Browse(const QString& filters) {
  const QString chosen = services_.chooseFile(this, session_.programFolder, filters);
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

// A cancelled dialog leaves the field and its path as they were.
void Form1::Cmd_Open_Click() {
  const QString chosen = Browse(kCsvFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { Cmd_Open_Finish(session_.form, *session_.tables); });
}

void Form1::Cmd_Open2_Click() {
  const QString chosen = Browse(kCsvFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { Cmd_Open2_Finish(session_.form, *session_.tables); });
}

void Form1::Cmd_Open1_Click() {
  const QString chosen = Browse(kTxtFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { Cmd_Open1_Finish(session_.form, *session_.tables, session_.programFolder); });
}

void Form1::Cmd_Ok_Click() {
  if (running_) return;
  running_ = true;
  bool programEnded = false;
  try {
    const RunOutcome outcome = morvik::Cmd_Ok_Click(session_, *frontend_);
    if (outcome.kind == RunOutcome::Kind::kFailed) qWarning("%s", qUtf8Printable(outcome.detail));
  } catch (const ProgramEnd&) {
    programEnded = true;  // its message has been shown
    frontend_->SetBusy(false);
  }
  running_ = false;
  RefreshFromModel();  // the run may have ticked Check_jpg
  if (programEnded) services_.endProgram(kExitProgramEnded);
}

void Form1::Cmd_No_Click() { services_.endProgram(kExitFinished); }

void Form1::mnuEnd_Click() { Cmd_No_Click(); }

void Form1::mnuVer_Click() { services_.showAbout(this); }

void Form1::closeEvent(QCloseEvent* event) {
  // A run cannot be cut short: the window closes once the run has ended.
  if (running_) {
    event->ignore();
    return;
  }
  form2_->close();
  event->accept();
}

}  // namespace morvik
