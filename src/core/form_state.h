#pragma once
// The main window's state as a plain model, and the small handlers behind its controls.
//
// The Qt window binds its controls to FormState and calls these handlers; batch mode
// applies the same handlers for its flags; the tests call them directly. A handler only
// changes the model and the option members of WorkingTables, keeping related controls
// consistent. Setters named Set<Control> change a control "in code": when the value
// really changes they run the control's click handler, as the window's controls do.

#include <QDate>
#include <QString>

namespace morvik {

struct WorkingTables;

struct FormState {
  QString Input_File;          // request CSV
  QString Input_File2;         // stamp CSV
  QString Input_File1;         // staff list file
  bool Option1 = false;        // "UTF-8 (管理者用)"
  bool Option2 = true;         // "S-JIS (個人用)"
  bool Check_sitei = false;    // "職員番号指定ファイルを使用する"
  bool Check_nengetu = false;  // "年月を指定する(yyyy/mm)"
  QString Text_nengetu = QStringLiteral("yyyy/mm");
  bool Check_jpg = true;
  bool Check_bmp = false;
  bool Check1 = false;     // work CSV
  bool writeReview = false;  // "集計・乖離一覧を出力(CSV)" in the output menu
  bool writeOverviewPage = false;  // "一覧ページ(HTML)を出力" in the output menu
  bool writePrintPdf = false;      // "印刷用PDFを出力" in the output menu
  QString dialogFileName;  // the one open-file dialog's FileName, shared by all browses
};

// The program's folder, a separator and the default staff list's name.
QString DefaultStaffListPath(const QString& programFolder);

void Check_sitei_Click(FormState& form, WorkingTables& tables, const QString& programFolder);
void SetCheck_sitei(FormState& form, WorkingTables& tables, const QString& programFolder,
                    bool ticked);

void Option1_Click(FormState& form, WorkingTables& tables);
void Option2_Click(FormState& form, WorkingTables& tables);

void Check_nengetu_Click(FormState& form, WorkingTables& tables);
void SetCheck_nengetu(FormState& form, WorkingTables& tables, bool ticked);
void Command_mae_Click(FormState& form, WorkingTables& tables);
void Command_ato_Click(FormState& form, WorkingTables& tables);
void Command_now_Click(FormState& form, WorkingTables& tables, QDate today);

void Check1_Click(const FormState& form, WorkingTables& tables);
void Check_bmp_Click(const FormState& form, WorkingTables& tables);
void Check_jpg_Click(const FormState& form, WorkingTables& tables);

// The three file fields: each change of a field's text is copied into its path member
// at once, so Run always sees the name that the field shows. Typing a staff list name
// leaves the staff-list switch as it is; ticking it later takes the typed name.
void Input_File_Change(const FormState& form, WorkingTables& tables);
void Input_File2_Change(const FormState& form, WorkingTables& tables);
void Input_File1_Change(const FormState& form, WorkingTables& tables);
void SetInput_File(FormState& form, WorkingTables& tables, const QString& text);
void SetInput_File2(FormState& form, WorkingTables& tables, const QString& text);
void SetInput_File1(FormState& form, WorkingTables& tables, const QString& text);

// The last step of a browse: the dialog's file name goes into the field and its path
// member. Cmd_Open1 then also switches the staff list on (and with it UTF-8 stamps).
void Cmd_Open_Finish(FormState& form, WorkingTables& tables);
void Cmd_Open2_Finish(FormState& form, WorkingTables& tables);
void Cmd_Open1_Finish(FormState& form, WorkingTables& tables, const QString& programFolder);

}  // namespace morvik
