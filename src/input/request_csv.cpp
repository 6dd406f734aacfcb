#include "input/request_csv.h"

#include <algorithm>
#include <span>

#include "core/frontend.h"
#include "core/text_rules.h"
#include "core/working_tables.h"
#include "input/cell_forms.h"
#include "input/field_reader.h"
#include "input/input_file.h"
#include "input/staff_lookup.h"

namespace morvik {
namespace {

const QString kReading = QStringLiteral("申請CSVを読み込みます");
const QString kRead = QStringLiteral("申請CSVを読み込みました");
const QString kReadError = QStringLiteral("申請CSVの読み込みエラー");
const QString kTooManyRows = QStringLiteral(
    "エラー：メモリーがオーパーフローしました．申請ファイルは最大5,000行です．"
    "5,000行以内に修正してください．5,000行までのデータで処理します．");
const QString kMonthMismatch = QStringLiteral(
    "エラー：申請CSVファイルと打刻CSVファイルの年月が違っている可能性があります．"
    "申請CSVファイルと打刻CSVファイルの年月を確認してください．");
const QString kSeveralMonths = QStringLiteral(
    "エラー：申請ファイルの年月に複数年月が含まれていました．"
    "1か月分の正しいデータに修正してやり直してください．");

constexpr int kFields = kRequestColumns - 1;
constexpr int kMaxRequestRow = kRequestRows - 1;
constexpr double kRowBytesEstimate = 150;  // a request line's usual length in bytes

void ClearRow(RequestRow& row) { row.fill(QString()); }

// A record worth keeping: of the target month (as written) when the month is fixed, and
// of a listed staff member.
bool KeepsRecord(WorkingTables& tables, const StaffListIndex& listed, const RequestRow& row) {
  if (tables.fixedMonth == 1 && row[8].left(7) != tables.targetMonthText) return false;
  tables.staffListed = listed.Contains(row[1]) ? 1 : 0;  // as IsStaffListed, without the scan
  return tables.staffListed == 1;
}

// Normal forms of a kept row, then the month bookkeeping.
void CompleteKeptRow(WorkingTables& tables, int r, const Where& where) {
  RequestRow& row = tables.requestTable.at(r);
  if (!row[8].isEmpty()) {  // the end date only goes with a start date
    row[8] = NormalisedDateOrFail(row[8], [&] { return where() + QStringLiteral(", start date"); });
    row[10] = NormalisedDateOrFail(row[10], [&] { return where() + QStringLiteral(", end date"); });
  }
  if (r == 1) tables.requestMonthPrefix = row[8].left(8);
  if (!row[8].contains(tables.requestMonthPrefix)) tables.multipleMonths = 1;
  row[9] = NormalisedTime(row[9]);
  row[11] = NormalisedTime(row[11]);
}

// Reads the records into the table; returns r, the row the next record would go to.
int ReadRecords(WorkingTables& tables, const StaffListIndex& listed, Frontend& frontend,
                FieldReader& reader, double byteLength) {
  double progress = 0;
  int r = 0;
  while (!reader.AtEnd()) {
    RequestRow& row = tables.requestTable.at(r);
    reader.ReadRecord(std::span<QString>(row).subspan(1, kFields));
    if (r == 0) {  // the header: never filtered, changed or counted
      r = 1;
      continue;
    }
    if (!KeepsRecord(tables, listed, row)) {
      ClearRow(row);  // the next record goes into the same row
      continue;
    }
    CompleteKeptRow(tables, r, [&] {
      return QStringLiteral("%1: record %2").arg(tables.requestCsvPath).arg(reader.recordCount());
    });
    ++r;
    ++tables.requestRowCount;
    if (r > kMaxRequestRow) {
      frontend.ShowMessage(kTooManyRows);
      frontend.SetStatusText(kReadError);
      break;
    }
    progress = std::min(progress + kRowBytesEstimate, byteLength);
    frontend.SetProgressValue(ProgressBar::kStep, progress);
  }
  return r;
}

}  // namespace

RequestRecords ReadRequestRecords(WorkingTables& tables, const StaffListIndex& listed,
                                  Frontend& frontend) {
  frontend.SetStatusText(kReading);
  for (RequestRow& row : tables.requestTable) ClearRow(row);
  tables.requestRowCount = 1;
  if (tables.requestCsvPath.isEmpty()) return {};

  FieldReader reader(ReadInputFile(tables.requestCsvPath), tables.requestCsvPath);
  const auto byteLength = static_cast<double>(FileByteLength(tables.requestCsvPath));
  frontend.SetProgressRange(ProgressBar::kStep, 0, byteLength);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);
  tables.multipleMonths = 0;
  return {true, ReadRecords(tables, listed, frontend, reader, byteLength), byteLength};
}

void FinishRequestRead(WorkingTables& tables, const RequestRecords& records, Frontend& frontend) {
  if (!records.fileNamed) return;
  if (tables.requestTable[1][1].isEmpty() && records.nextRow == 1) {
    tables.requestMonthPrefix = tables.stampMonthPrefix;
    AddNoRequestRow(tables);
  }
  frontend.SetProgressValue(ProgressBar::kStep, records.byteLength);
  if (tables.stampMonthPrefix != tables.requestMonthPrefix) frontend.ShowMessage(kMonthMismatch);
  if (tables.multipleMonths == 1) frontend.ShowMessage(kSeveralMonths);
  frontend.SetStatusText(kRead);
}

void ReadRequestCsv(WorkingTables& tables, Frontend& frontend) {
  FinishRequestRead(tables, ReadRequestRecords(tables, StaffListIndex(tables), frontend), frontend);
}

}  // namespace morvik
