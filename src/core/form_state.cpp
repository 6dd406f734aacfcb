#include "core/form_state.h"

#include <QDir>

#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kDefaultStaffListName = QStringLiteral("MorvikGraph_職員番号指定.txt");

QString MonthText(QDate date) { return date.toString(QStringLiteral("yyyy/MM")); }

void ShowMonth(FormState& form, WorkingTables& tables) {
  form.Text_nengetu = MonthText(tables.targetDate);
  tables.targetMonthText = form.Text_nengetu;
  SetCheck_nengetu(form, tables, true);
  tables.fixedMonth = 1;
}

}  // namespace

QString DefaultStaffListPath(const QString& programFolder) {
  return QDir(programFolder).filePath(kDefaultStaffListName);
}

void Check_sitei_Click(FormState& form, WorkingTables& tables, const QString& programFolder) {
  if (form.Check_sitei) {
    tables.useStaffList = 1;
    if (form.Input_File1.isEmpty()) {
      SetInput_File1(form, tables, DefaultStaffListPath(programFolder));
    }
    tables.staffListPath = form.Input_File1;
    Option1_Click(form, tables);
  } else {
    tables.useStaffList = 0;
    SetInput_File1(form, tables, QString());
    tables.staffListPath.clear();
    Option2_Click(form, tables);
    tables.staffList.fill(QString());
  }
}

void SetCheck_sitei(FormState& form, WorkingTables& tables, const QString& programFolder,
                    bool ticked) {
  if (form.Check_sitei == ticked) return;
  form.Check_sitei = ticked;
  Check_sitei_Click(form, tables, programFolder);
}

void Option1_Click(FormState& form, WorkingTables& tables) {
  form.Option1 = true;
  tables.stampIsUtf8 = 1;
  form.Option2 = false;
}

void Option2_Click(FormState& form, WorkingTables& tables) {
  form.Option2 = true;
  tables.stampIsUtf8 = 0;
  form.Option1 = false;
}

void Check_nengetu_Click(FormState& form, WorkingTables& tables) {
  if (!form.Check_nengetu) {
    tables.fixedMonth = 0;  // the month text stays; the month follows the files again
    return;
  }
  tables.fixedMonth = 1;
  if (form.Text_nengetu.isEmpty()) form.Text_nengetu = MonthText(tables.targetDate);
  tables.targetMonthText = form.Text_nengetu;
}

void SetCheck_nengetu(FormState& form, WorkingTables& tables, bool ticked) {
  if (form.Check_nengetu == ticked) return;
  form.Check_nengetu = ticked;
  Check_nengetu_Click(form, tables);
}

void Command_mae_Click(FormState& form, WorkingTables& tables) {
  // QDate::addMonths turns a day that the new month lacks into its last day.
  tables.targetDate = tables.targetDate.addMonths(-1);
  ShowMonth(form, tables);
}

void Command_ato_Click(FormState& form, WorkingTables& tables) {
  tables.targetDate = tables.targetDate.addMonths(1);
  ShowMonth(form, tables);
}

void Command_now_Click(FormState& form, WorkingTables& tables, QDate today) {
  tables.targetDate = today;
  ShowMonth(form, tables);
}

void Check1_Click(const FormState& form, WorkingTables& tables) {
  tables.writeWorkCsv = form.Check1 ? 1 : 0;
}

void Check_bmp_Click(const FormState& form, WorkingTables& tables) {
  tables.saveBmp = form.Check_bmp ? 1 : 0;
}

void Check_jpg_Click(const FormState& form, WorkingTables& tables) {
  tables.saveJpg = form.Check_jpg ? 1 : 0;
}

void Input_File_Change(const FormState& form, WorkingTables& tables) {
  tables.requestCsvPath = form.Input_File;
}

void Input_File2_Change(const FormState& form, WorkingTables& tables) {
  tables.stampCsvPath = form.Input_File2;
}

void Input_File1_Change(const FormState& form, WorkingTables& tables) {
  tables.staffListPath = form.Input_File1;
}

void SetInput_File(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.Input_File == text) return;
  form.Input_File = text;
  Input_File_Change(form, tables);
}

void SetInput_File2(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.Input_File2 == text) return;
  form.Input_File2 = text;
  Input_File2_Change(form, tables);
}

void SetInput_File1(FormState& form, WorkingTables& tables, const QString& text) {
  if (form.Input_File1 == text) return;
  form.Input_File1 = text;
  Input_File1_Change(form, tables);
}

void Cmd_Open_Finish(FormState& form, WorkingTables& tables) {
  SetInput_File(form, tables, form.dialogFileName);
  tables.requestCsvPath = form.Input_File;
}

void Cmd_Open2_Finish(FormState& form, WorkingTables& tables) {
  SetInput_File2(form, tables, form.dialogFileName);
  tables.stampCsvPath = form.Input_File2;
}

void Cmd_Open1_Finish(FormState& form, WorkingTables& tables, const QString& programFolder) {
  SetInput_File1(form, tables, form.dialogFileName);
  tables.staffListPath = form.Input_File1;
  SetCheck_sitei(form, tables, programFolder, true);
  tables.useStaffList = 1;
  Option1_Click(form, tables);
}

}  // namespace morvik
