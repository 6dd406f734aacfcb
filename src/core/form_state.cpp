#include "core/form_state.h"

#include <QDir>

#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kDefaultStaffListName = QStringLiteral("MorvikGraph_職員番号指定.txt");

QString MonthText(QDate date) { return date.toString(QStringLiteral("yyyy/MM")); }

void ShowMonth(FormState& form, WorkingTables& tables) {
  form.monthText = MonthText(tables.targetDate);
  tables.targetMonthText = form.monthText;
  SetFixMonth(form, tables, true);
  tables.fixedMonth = 1;
}

}  // namespace

QString DefaultStaffListPath(const QString& programFolder) {
  return QDir(programFolder).filePath(kDefaultStaffListName);
}

void OnUseStaffListClicked(FormState& form, WorkingTables& tables, const QString& programFolder) {
  if (form.useStaffList) {
    tables.useStaffList = 1;
    if (form.staffListFile.isEmpty()) {
      SetStaffListFile(form, tables, DefaultStaffListPath(programFolder));
    }
    tables.staffListPath = form.staffListFile;
    OnUtf8StampsClicked(form, tables);
  } else {
    tables.useStaffList = 0;
    SetStaffListFile(form, tables, QString());
    tables.staffListPath.clear();
    OnSjisStampsClicked(form, tables);
    tables.staffList.fill(QString());
  }
}

void SetUseStaffList(FormState& form, WorkingTables& tables, const QString& programFolder,
                     bool ticked) {
  if (form.useStaffList == ticked) return;
  form.useStaffList = ticked;
  OnUseStaffListClicked(form, tables, programFolder);
}

void OnUtf8StampsClicked(FormState& form, WorkingTables& tables) {
  form.useUtf8Stamps = true;
  tables.stampIsUtf8 = 1;
  form.useSjisStamps = false;
}

void OnSjisStampsClicked(FormState& form, WorkingTables& tables) {
  form.useSjisStamps = true;
  tables.stampIsUtf8 = 0;
  form.useUtf8Stamps = false;
}

void OnFixMonthClicked(FormState& form, WorkingTables& tables) {
  if (!form.fixMonth) {
    tables.fixedMonth = 0;  // the month text stays; the month follows the files again
    return;
  }
  tables.fixedMonth = 1;
  if (form.monthText.isEmpty()) form.monthText = MonthText(tables.targetDate);
  tables.targetMonthText = form.monthText;
}

void SetFixMonth(FormState& form, WorkingTables& tables, bool ticked) {
  if (form.fixMonth == ticked) return;
  form.fixMonth = ticked;
  OnFixMonthClicked(form, tables);
}

void OnPreviousMonthClicked(FormState& form, WorkingTables& tables) {
  // QDate::addMonths turns a day that the new month lacks into its last day.
  tables.targetDate = tables.targetDate.addMonths(-1);
  ShowMonth(form, tables);
}

void OnNextMonthClicked(FormState& form, WorkingTables& tables) {
  tables.targetDate = tables.targetDate.addMonths(1);
  ShowMonth(form, tables);
}

void OnThisMonthClicked(FormState& form, WorkingTables& tables, QDate today) {
  tables.targetDate = today;
  ShowMonth(form, tables);
}

void OnWorkCsvClicked(const FormState& form, WorkingTables& tables) {
  tables.writeWorkCsv = form.writeWorkCsv ? 1 : 0;
}

void OnBmpClicked(const FormState& form, WorkingTables& tables) {
  tables.saveBmp = form.saveBmp ? 1 : 0;
}

void OnJpgClicked(const FormState& form, WorkingTables& tables) {
  tables.saveJpg = form.saveJpg ? 1 : 0;
}

void OnRequestFileChanged(const FormState& form, WorkingTables& tables) {
  tables.requestCsvPath = form.requestFile;
}

void OnStampFileChanged(const FormState& form, WorkingTables& tables) {
  tables.stampCsvPath = form.stampFile;
}

void OnStaffListFileChanged(const FormState& form, WorkingTables& tables) {
  tables.staffListPath = form.staffListFile;
}

void SetRequestFile(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.requestFile == text) return;
  form.requestFile = text;
  OnRequestFileChanged(form, tables);
}

void SetStampFile(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.stampFile == text) return;
  form.stampFile = text;
  OnStampFileChanged(form, tables);
}

void SetStaffListFile(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.staffListFile == text) return;
  form.staffListFile = text;
  OnStaffListFileChanged(form, tables);
}

void FinishRequestBrowse(FormState& form, WorkingTables& tables) {
  SetRequestFile(form, tables, form.dialogFileName);
  tables.requestCsvPath = form.requestFile;
}

void FinishStampBrowse(FormState& form, WorkingTables& tables) {
  SetStampFile(form, tables, form.dialogFileName);
  tables.stampCsvPath = form.stampFile;
}

void FinishStaffListBrowse(FormState& form, WorkingTables& tables, const QString& programFolder) {
  SetStaffListFile(form, tables, form.dialogFileName);
  tables.staffListPath = form.staffListFile;
  SetUseStaffList(form, tables, programFolder, true);
  tables.useStaffList = 1;
  OnUtf8StampsClicked(form, tables);
}

}  // namespace morvik
