#include "input/placeholder_row.h"

#include "core/working_tables.h"
#include "input/request_csv.h"

namespace morvik {
namespace {

const QString kApproved = QStringLiteral("承認");
const QString kHourlyLeave = QStringLiteral("休暇申請(時間単位年休)");
const QString kNoRequestTime = QStringLiteral("19:30");
const QString kNoRequestContent = QStringLiteral("時間外　申請データなし");
const QString kNoDayOfMonth = QStringLiteral("32");
const QString kZero = QStringLiteral("0");
const QString kNoRequestStaffNo = QStringLiteral("00000");

}  // namespace

const std::array<QString, 17>& RequestHeaderTexts() {
  static const std::array<QString, 17> kHeaders = {QStringLiteral("申請者社員番号"),
                                                   QStringLiteral("承認状態"),
                                                   QStringLiteral("申請番号"),
                                                   QStringLiteral("申請種別"),
                                                   QStringLiteral("申請日"),
                                                   QStringLiteral("申請所属"),
                                                   QStringLiteral("申請者名"),
                                                   QStringLiteral("開始日"),
                                                   QStringLiteral("開始時間"),
                                                   QStringLiteral("終了日"),
                                                   QStringLiteral("終了時間"),
                                                   QStringLiteral("内容"),
                                                   QStringLiteral("承認者（承認状態）"),
                                                   QStringLiteral("時間外申請時間"),
                                                   QStringLiteral("時間外休憩時間"),
                                                   QStringLiteral("時間外振替日"),
                                                   QStringLiteral("時間外振替時間")};
  return kHeaders;
}

void WritePlaceholderRow(WorkingTables& tables, int row) {
  const QString date = tables.stampMonthPrefix + kNoDayOfMonth;
  tables.requestTable.at(row) =
      RequestRow{tables.requestTable.at(row)[0],  // column 0 is not part of the row's data
                 tables.lookupStaffNo,
                 kApproved,
                 QString(),
                 kHourlyLeave,
                 QString(),
                 tables.lookupDept,
                 tables.lookupStaffName,
                 date,
                 kNoRequestTime,
                 date,
                 kNoRequestTime,
                 kNoRequestContent,
                 QString(),
                 QString(),
                 kZero,
                 kZero,
                 QString()};
}

void AddNoRequestRow(WorkingTables& tables) {
  tables.lookupKey = kNoRequestStaffNo;
  LookupStampStaff(tables, tables.lookupKey);
  WritePlaceholderRow(tables, 1);
  ++tables.requestRowCount;
}

}  // namespace morvik
