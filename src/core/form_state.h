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
  QString requestFile;         // request CSV
  QString stampFile;           // stamp CSV
  QString staffListFile;       // staff list file
  bool useUtf8Stamps = false;  // "UTF-8 (管理者用)"
  bool useSjisStamps = true;   // "S-JIS (個人用)"
  bool useStaffList = false;   // "職員番号指定ファイルを使用する"
  bool fixMonth = false;       // "年月を指定する(yyyy/mm)"
  QString monthText = QStringLiteral("yyyy/mm");
  bool saveJpg = true;
  bool saveBmp = false;
  bool writeWorkCsv = false;  // work CSV
  bool writeReview = false;   // "集計・乖離一覧を出力(CSV)" in the output menu
  bool writeOverviewPage = false;  // "一覧ページ(HTML)を出力" in the output menu
  bool writePrintPdf = false;      // "印刷用PDFを出力" in the output menu
  QString dialogFileName;  // the one open-file dialog's FileName, shared by all browses
};

// The program's folder, a separator and the default staff list's name.
QString DefaultStaffListPath(const QString& programFolder);

void OnUseStaffListClicked(FormState& form, WorkingTables& tables, const QString& programFolder);
void SetUseStaffList(FormState& form, WorkingTables& tables, const QString& programFolder,
                     bool ticked);

void OnUtf8StampsClicked(FormState& form, WorkingTables& tables);
void OnSjisStampsClicked(FormState& form, WorkingTables& tables);

void OnFixMonthClicked(FormState& form, WorkingTables& tables);
void SetFixMonth(FormState& form, WorkingTables& tables, bool ticked);
void OnPreviousMonthClicked(FormState& form, WorkingTables& tables);
void OnNextMonthClicked(FormState& form, WorkingTables& tables);
void OnThisMonthClicked(FormState& form, WorkingTables& tables, QDate today);

void OnWorkCsvClicked(const FormState& form, WorkingTables& tables);
void OnBmpClicked(const FormState& form, WorkingTables& tables);
void OnJpgClicked(const FormState& form, WorkingTables& tables);

// The three file fields: each change of a field's text is copied into its path member
// at once, so Run always sees the name that the field shows. Typing a staff list name
// leaves the staff-list switch as it is; ticking it later takes the typed name.
void OnRequestFileChanged(const FormState& form, WorkingTables& tables);
void OnStampFileChanged(const FormState& form, WorkingTables& tables);
void OnStaffListFileChanged(const FormState& form, WorkingTables& tables);
void SetRequestFile(FormState& form, WorkingTables& tables, const QString& text);
void SetStampFile(FormState& form, WorkingTables& tables, const QString& text);
void SetStaffListFile(FormState& form, WorkingTables& tables, const QString& text);

// The last step of a browse: the dialog's file name goes into the field and its path
// member. Choosing a staff list then also switches the staff list on (and with it UTF-8 stamps).
void FinishRequestBrowse(FormState& form, WorkingTables& tables);
void FinishStampBrowse(FormState& form, WorkingTables& tables);
void FinishStaffListBrowse(FormState& form, WorkingTables& tables, const QString& programFolder);

}  // namespace morvik
