#include "app/startup.h"

#include <QDir>

#include "app/holiday_file.h"
#include "app/session.h"
#include "core/failures.h"
#include "core/frontend.h"

namespace morvik {

const QString kTooManyFileNames = QStringLiteral(
    "入力ファイル名にスペースが含まれています.参照からファイルを再設定してください．");

namespace {

bool Contains(const QString& name, const QString& part) {
  return name.contains(part, Qt::CaseSensitive);
}

void TakeFileNames(Session& session, Frontend& frontend, const QStringList& arguments) {
  WorkingTables& tables = *session.tables;
  FormState& form = session.form;
  // Each argument is one file name, so a folder like "My Data" arrives whole. Three or
  // more names cannot be told apart: both boxes are emptied, as for a name cut at spaces.
  if (arguments.size() >= 3) {
    tables.requestCsvPath.clear();
    tables.stampCsvPath.clear();
    form.requestFile.clear();
    SetStampFile(form, tables, QString());
    frontend.ShowMessage(kTooManyFileNames);
    return;
  }
  if (arguments.size() >= 1) {
    tables.requestCsvPath = arguments[0];
    form.requestFile = arguments[0];
  }
  if (arguments.size() >= 2) {
    tables.stampCsvPath = arguments[1];
    SetStampFile(form, tables, arguments[1]);
  }
}

}  // namespace

bool CorrectFileNameOrder(QString& requestName, QString& stampName) {
  const QString kRequest = QStringLiteral("申請");
  const QString kStamp = QStringLiteral("打刻");
  const QString kHistory = QStringLiteral("history-");
  bool moved = false;
  if (Contains(stampName, kRequest) && Contains(requestName, kStamp)) {
    std::swap(requestName, stampName);
    moved = true;
  }
  if (Contains(requestName, kHistory) && Contains(stampName, kRequest)) {
    std::swap(requestName, stampName);
    moved = true;
  }
  if (Contains(requestName, kStamp) && stampName.isEmpty()) {
    stampName = std::exchange(requestName, QString());
    moved = true;
  }
  if (Contains(requestName, kHistory) && stampName.isEmpty()) {
    stampName = std::exchange(requestName, QString());
    moved = true;
  }
  return moved;
}

void Main(Session& session, Frontend& frontend, const QStringList& arguments) {
  WorkingTables& tables = *session.tables;
  FormState& form = session.form;
  if (session.enterProgramFolder && !QDir::setCurrent(session.programFolder)) {
    FailHolidayFile(frontend);
  }
  TakeFileNames(session, frontend, arguments);
  if (CorrectFileNameOrder(tables.requestCsvPath, tables.stampCsvPath)) {
    form.requestFile = tables.requestCsvPath;
    SetStampFile(form, tables, tables.stampCsvPath);
  }
  tables.staffListPath.clear();
  form.staffListFile.clear();
  const QString holidayPath = session.holidayFilePath.isEmpty()
                                  ? DefaultHolidayFilePath(session.programFolder)
                                  : session.holidayFilePath;
  LoadHolidayFile(holidayPath, tables, frontend);
}

void PrepareSession(Session& session, Frontend& frontend, const QStringList& arguments) {
  WorkingTables& tables = *session.tables;
  frontend.SetProgressVisible(ProgressBar::kStep, false);
  frontend.SetProgressVisible(ProgressBar::kStaff, false);
  tables.stampIsUtf8 = 0;
  tables.writeWorkCsv = 0;
  tables.saveJpg = 1;
  tables.saveBmp = 0;
  tables.useStaffList = 0;
  tables.fixedMonth = 0;
  tables.targetDate = session.clock().date();
  session.form.monthText = tables.targetDate.toString(QStringLiteral("yyyy/MM"));
  tables.targetMonthText = session.form.monthText;
  tables.requestMonthPrefix.clear();
  tables.stampMonthPrefix.clear();
  tables.multipleMonths = 0;
  Main(session, frontend, arguments);
  // The chart window is the front end's own; it is created hidden with the main window.
}

}  // namespace morvik
