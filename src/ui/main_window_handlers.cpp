// MainWindow's bindings to the model and the handlers of its buttons and menus.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include "app/run_sequence.h"
#include "app/session.h"
#include "core/failures.h"
#include "core/form_state.h"
#include "ui/about_window.h"
#include "ui/chart_window.h"
#include "ui/main_window.h"
#include "ui/open_file_dialog.h"

namespace morvik {
namespace {

const QString kCsvFilters = QStringLiteral("CSV ファイル (*.csv);;すべてのファイル (*.*)");
const QString kTxtFilters = QStringLiteral("txt ファイル (*.txt);;すべてのファイル (*.*)");
constexpr int kExitFinished = 0;
constexpr int kExitProgramEnded = 3;

void ShowText(QLineEdit* field, const QString& text) {
  if (field->text() != text) field->setText(text);
}

void ShowAbout(QWidget* parent) {
  AboutWindow about(parent);
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

void MainWindow::RefreshFromModel() {
  const FormState& form = session_.form;
  ShowText(requestFileField_, form.requestFile);
  ShowText(stampFileField_, form.stampFile);
  ShowText(staffListFileField_, form.staffListFile);
  ShowText(monthField_, form.monthText);
  // The model keeps exactly one encoding selected; checking it unchecks the other.
  (form.useUtf8Stamps ? utf8Option_ : sjisOption_)->setChecked(true);
  useStaffListBox_->setChecked(form.useStaffList);
  fixMonthBox_->setChecked(form.fixMonth);
  jpgBox_->setChecked(form.saveJpg);
  bmpBox_->setChecked(form.saveBmp);
  workCsvBox_->setChecked(form.writeWorkCsv);
  reviewAction_->setChecked(form.writeReview);
  overviewPageAction_->setChecked(form.writeOverviewPage);
  printPdfAction_->setChecked(form.writePrintPdf);
}

void MainWindow::Apply(const std::function<void()>& handler) {
  handler();
  RefreshFromModel();
}

void MainWindow::bindFields() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  // Each file field reaches its path member at every edit, so Run takes what it shows.
  // Typing a staff list name leaves the switch alone: no other control changes.
  const auto bindFileField = [&](QLineEdit* field,
                                 void (*set)(FormState&, WorkingTables&, const QString&)) {
    connect(field, &QLineEdit::textEdited, this,
            [&form, &tables, set](const QString& text) { set(form, tables, text); });
  };
  bindFileField(requestFileField_, SetRequestFile);
  bindFileField(stampFileField_, SetStampFile);
  bindFileField(staffListFileField_, SetStaffListFile);
  connect(monthField_, &QLineEdit::textEdited, this,
          [&form](const QString& text) { form.monthText = text; });
}

void MainWindow::bindOptions() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  const QString folder = session_.programFolder;
  connect(utf8Option_, &QRadioButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { OnUtf8StampsClicked(form, tables); }); });
  connect(sjisOption_, &QRadioButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { OnSjisStampsClicked(form, tables); }); });
  connect(useStaffListBox_, &QCheckBox::clicked, this, [=, this, &form, &tables](bool ticked) {
    Apply([&] {
      form.useStaffList = ticked;
      OnUseStaffListClicked(form, tables, folder);
    });
  });
  connect(fixMonthBox_, &QCheckBox::clicked, this, [=, this, &form, &tables](bool ticked) {
    Apply([&] {
      form.fixMonth = ticked;
      OnFixMonthClicked(form, tables);
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
  bindCheck(workCsvBox_, &FormState::writeWorkCsv, OnWorkCsvClicked);
  bindCheck(bmpBox_, &FormState::saveBmp, OnBmpClicked);
  bindCheck(jpgBox_, &FormState::saveJpg, OnJpgClicked);
  // The output menu's items are plain switches of the model: no other control follows them.
  const auto bindItem = [&](QAction* item, bool FormState::*member) {
    connect(item, &QAction::toggled, this, [&form, member](bool ticked) { form.*member = ticked; });
  };
  bindItem(reviewAction_, &FormState::writeReview);
  bindItem(overviewPageAction_, &FormState::writeOverviewPage);
  bindItem(printPdfAction_, &FormState::writePrintPdf);
}

void MainWindow::bindButtons() {
  FormState& form = session_.form;
  WorkingTables& tables = *session_.tables;
  connect(previousMonthButton_, &QPushButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { OnPreviousMonthClicked(form, tables); }); });
  connect(nextMonthButton_, &QPushButton::clicked, this,
          [=, this, &form, &tables] { Apply([&] { OnNextMonthClicked(form, tables); }); });
  connect(thisMonthButton_, &QPushButton::clicked, this, [=, this, &form, &tables] {
    Apply([&] { OnThisMonthClicked(form, tables, session_.clock().date()); });
  });
  connect(browseRequestButton_, &QPushButton::clicked, this, [this] { OnBrowseRequestClicked(); });
  connect(browseStampButton_, &QPushButton::clicked, this, [this] { OnBrowseStampClicked(); });
  connect(browseStaffListButton_, &QPushButton::clicked, this,
          [this] { OnBrowseStaffListClicked(); });
  connect(runButton_, &QPushButton::clicked, this, [this] { OnRunClicked(); });
  connect(exitButton_, &QPushButton::clicked, this, [this] { OnExitClicked(); });
  connect(exitAction_, &QAction::triggered, this, [this] { OnExitMenuChosen(); });
  connect(versionAction_, &QAction::triggered, this, [this] { OnVersionMenuChosen(); });
}

QString MainWindow::Browse(const QString& filters) {
  const QString chosen = services_.chooseFile(this, session_.programFolder, filters);
  return chosen.isEmpty() ? QString() : QDir::toNativeSeparators(chosen);
}

// A cancelled dialog leaves the field and its path as they were.
void MainWindow::OnBrowseRequestClicked() {
  const QString chosen = Browse(kCsvFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { FinishRequestBrowse(session_.form, *session_.tables); });
}

void MainWindow::OnBrowseStampClicked() {
  const QString chosen = Browse(kCsvFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { FinishStampBrowse(session_.form, *session_.tables); });
}

void MainWindow::OnBrowseStaffListClicked() {
  const QString chosen = Browse(kTxtFilters);
  if (chosen.isEmpty()) return;
  session_.form.dialogFileName = chosen;
  Apply([&] { FinishStaffListBrowse(session_.form, *session_.tables, session_.programFolder); });
}

void MainWindow::OnRunClicked() {
  if (running_) return;
  running_ = true;
  // The chart window opens on a blank chart, not on the last one of the run before. Only
  // the pixels go: the drawing state and the month's layer stay, so the charts are the same.
  session_.canvas.Clear();
  bool programEnded = false;
  try {
    const RunOutcome outcome = morvik::OnRunClicked(session_, *frontend_);
    if (outcome.kind == RunOutcome::Kind::kFailed) qWarning("%s", qUtf8Printable(outcome.detail));
  } catch (const ProgramEnd&) {
    programEnded = true;  // its message has been shown
    frontend_->SetBusy(false);
  }
  running_ = false;
  RefreshFromModel();  // the run may have ticked jpgBox_
  if (programEnded) services_.endProgram(kExitProgramEnded);
}

void MainWindow::OnExitClicked() { services_.endProgram(kExitFinished); }

void MainWindow::OnExitMenuChosen() { OnExitClicked(); }

void MainWindow::OnVersionMenuChosen() { services_.showAbout(this); }

void MainWindow::closeEvent(QCloseEvent* event) {
  // A run cannot be cut short: the window closes once the run has ended.
  if (running_) {
    event->ignore();
    return;
  }
  chartWindow_->close();
  event->accept();
}

}  // namespace morvik
