#include "sheet/staff_month.h"

#include <QDir>
#include <QStringList>

#include <vector>

#include "core/failures.h"
#include "core/frontend.h"
#include "core/output_file.h"
#include "core/working_tables.h"
#include "sheet/day_cleanup.h"
#include "sheet/month_days.h"

namespace morvik {
namespace {

const QString kSavingCsv = QStringLiteral("完成したCSVを保存します");
const QString kCsvSaved = QStringLiteral("完成したCSVを保存しました");
const QString kCsvSuffix = QStringLiteral(".csv");

const QString kStaffNoHeader = QStringLiteral("申請者社員番号");
const QString kStaffNameHeader = QStringLiteral("申請者名");
const QString kDayLabelHeader = QStringLiteral("開始日(曜日)");
const QString kPeriodStartHeader = QStringLiteral("開始");             // 開始1 .. 開始10
const QString kPeriodEndHeader = QStringLiteral("終了");               // 終了1 .. 終了10
const QString kRequestLabelHeader = QStringLiteral("申請種別+内容");   // 1申請種別+内容 ..
const QString kRequestStartHeader = QStringLiteral("申請の開始時間");  // 1申請の開始時間 ..
const QString kRequestEndHeader = QStringLiteral("申請の終了時間");    // 1申請の終了時間 ..
const QString kRequestStateHeader = QStringLiteral("申請承認");        // 1申請承認 ..
const QString kDateHeader = QStringLiteral("開始日");
const QString kLastColumnHeader = QStringLiteral("終了日");

// A part of an output file name taken from staff data: characters that a file name
// cannot hold, or that would lead into another folder, become "_".
QString SafeNamePart(const QString& part) {
  if (part == u"." || part == u"..") return QStringLiteral("_");
  static const QString kForbidden = QStringLiteral("\\/:*?\"<>|");
  QString safe = part;
  for (QChar& c : safe) {
    if (c.unicode() < 0x20 || c.unicode() == 0x7F || kForbidden.contains(c)) c = u'_';
  }
  return safe;
}

QString WorkCsvName(const WorkingTables& t) {
  const QString& prefix = t.requestMonthPrefix;
  return prefix.left(4) + prefix.mid(5, 2) + u'_' + SafeNamePart(t.staffDept) + u'_' +
         SafeNamePart(t.staffNo) + u'_' + SafeNamePart(t.staffName) + kCsvSuffix;
}

QString HeaderLine() {
  std::vector<QString> fields = {kStaffNoHeader, kStaffNameHeader, kDayLabelHeader};
  for (int n = kFirstSlot; n <= kLastSlot; ++n) {
    fields.push_back(kPeriodStartHeader + QString::number(n));
    fields.push_back(kPeriodEndHeader + QString::number(n));
  }
  for (int n = kFirstSlot; n <= kLastSlot; ++n) {
    const QString number = QString::number(n);
    for (const QString& header :
         {kRequestLabelHeader, kRequestStartHeader, kRequestEndHeader, kRequestStateHeader}) {
      fields.push_back(number + header);
    }
  }
  fields.push_back(kDateHeader);
  fields.push_back(kLastColumnHeader);
  return QuotedCsvLine(fields);
}

// The last column carries the start date of the last request placed on the day.
QString DayLine(const WorkingTables& t, int d, const QString& dateText) {
  std::vector<QString> fields = {t.staffNo, t.staffName, t.dayLabel.at(d)};
  for (int s = kFirstSlot; s <= kLastSlot; ++s) {
    fields.push_back(t.workStart.at(d).at(s));
    fields.push_back(t.workEnd.at(d).at(s));
  }
  for (int s = kFirstSlot; s <= kLastSlot; ++s) {
    fields.push_back(t.requestLabel.at(d).at(s));
    fields.push_back(t.requestStart.at(d).at(s));
    fields.push_back(t.requestEnd.at(d).at(s));
    fields.push_back(t.requestState.at(d).at(s));
  }
  fields.push_back(dateText);
  fields.push_back(t.dayStartDate.at(d));
  return QuotedCsvLine(fields);
}

void WriteWorkCsv(WorkingTables& t, const QString& outputFolder, const MonthDays& month,
                  Frontend& frontend) {
  // Every work CSV starts with the same header line, mostly Japanese: it is encoded once.
  static const QByteArray kHeaderBytes = Cp932Lines({HeaderLine()});
  const QString path = QDir(outputFolder).filePath(t.workCsvPath);
  frontend.SetStatusText(kSavingCsv);
  QStringList lines;
  lines.reserve(month.dateTexts.size());
  for (int d = 1; d <= month.dateTexts.size(); ++d) {
    lines.append(DayLine(t, d, month.dateTexts[d - 1]));
  }
  WriteFileAtomically(path, kHeaderBytes + Cp932Lines(lines));
  frontend.SetStatusText(kCsvSaved);
}

}  // namespace

void SaveStaffMonth(WorkingTables& tables, const QString& outputFolder, Frontend& frontend,
                    const std::function<void()>& drawAndSaveChart) {
  ApplyLunchBreak(tables);
  SortWorkTimes(tables, frontend);
  tables.workCsvPath = WorkCsvName(tables);
  // The month must make a calendar whether or not the CSV is written.
  const MonthDays& month = DaysOfMonth(tables.requestMonthPrefix);
  if (tables.writeWorkCsv == 1) WriteWorkCsv(tables, outputFolder, month, frontend);
  drawAndSaveChart();
}

}  // namespace morvik
