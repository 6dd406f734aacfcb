#include "input/stamp_csv.h"

#include <algorithm>
#include <span>
#include <vector>

#include "core/failures.h"
#include "core/form_state.h"
#include "core/frontend.h"
#include "core/text_rules.h"
#include "core/working_tables.h"
#include "input/cell_forms.h"
#include "input/field_reader.h"
#include "input/input_file.h"

namespace morvik {
namespace {

const QString kUtf8Reading = QStringLiteral("打刻CSV (UTF-8)を取り込みます");
const QString kUtf8Reading1 = QStringLiteral("打刻CSV (UTF-8)を取り込んでいます1");
const QString kUtf8Reading2 = QStringLiteral("打刻CSV (UTF-8)を取り込んでいます2");
const QString kUtf8Read = QStringLiteral("打刻CSV (UTF-8)を取り込みました");
const QString kSjisReading = QStringLiteral("打刻CSV (S-JIS)を読み込みます");
const QString kSjisRead = QStringLiteral("打刻CSV (S-JIS)を読み込みました");
const QString kReadError = QStringLiteral("打刻CSVの読み込みエラー");
const QString kTooManyRows = QStringLiteral(
    "エラー：打刻CSVファイルが50,000行を超えています．"
    "50,000行までのデータで処理します．");
const QString kHeaderStaffNo = QStringLiteral("社員番号");
const QString kStaffListHeading =
    QStringLiteral("グラフを作成したい職員番号を2行目以降に追加してください｡");

constexpr int kFields = kStampColumns - 1;
constexpr int kMaxStampRow = kStampRows - 1;
constexpr double kUtf8ProgressMax = 50000;
constexpr double kUtf8ProgressStart = 5000;
constexpr double kRecordBytesEstimate = 200;   // a stamp line's usual length in bytes
constexpr qsizetype kLineCharsEstimate = 100;  // and in characters, to size the list of lines

void ClearStampTable(WorkingTables& tables) {
  for (StampRow& row : tables.stampTable) {
    for (QString& cell : row) cell.clear();  // nearly all cells are empty already: a test each
  }
  tables.stampRowCount = 0;
  tables.stampStaffCount = 0;
}

// Both readers stop after storing the last row the table holds.
bool ReachedLimit(int nextRow, Frontend& frontend) {
  if (nextRow <= kMaxStampRow) return false;
  frontend.ShowMessage(kTooManyRows);
  frontend.SetStatusText(kReadError);
  return true;
}

void SetMonthPrefix(WorkingTables& tables) {
  tables.stampMonthPrefix = tables.stampTable[2][9].left(8);
}

// Every character of the file passes here: nearly all lie above both line ends, and are
// told so by one comparison.
bool IsLineEnd(QChar c) { return c <= u'\r' && (c == u'\n' || c == u'\r'); }

// The lines of a text with its quotes removed: "\r\n", "\r" and "\n" each end a line, and
// a text that ends with a line end gives an empty last line. The lines are views of
// `text`, which must outlive them.
std::vector<QStringView> SplitUtf8Lines(const QString& text) {
  std::vector<QStringView> lines;
  lines.reserve(text.size() / kLineCharsEstimate + 1);
  const QStringView all(text);
  qsizetype start = 0;
  for (qsizetype i = 0; i < all.size(); ++i) {
    if (!IsLineEnd(all[i])) continue;
    lines.push_back(all.mid(start, i - start));
    if (all[i] == u'\r' && i + 1 < all.size() && all[i + 1] == u'\n') ++i;
    start = i + 1;
  }
  lines.push_back(all.mid(start));
  return lines;
}

using Fields = std::vector<QStringView>;

// The fields of `line` between its commas, into `fields` (which keeps its room from line
// to line). An empty line has no fields at all.
void SplitUtf8Fields(QStringView line, Fields& fields) {
  fields.clear();
  if (line.isEmpty()) return;
  // Fields are short: a plain loop costs less than a search call for each.
  qsizetype start = 0;
  for (qsizetype i = 0; i < line.size(); ++i) {
    if (line[i] != u',') continue;
    fields.push_back(line.sliced(start, i - start));
    start = i + 1;
  }
  fields.push_back(line.sliced(start));
}

QString LineWhere(const WorkingTables& tables, qsizetype line) {
  return QStringLiteral("%1: line %2").arg(tables.stampCsvPath).arg(line + 1);
}

// With the month filter on, lines of other months are skipped; the last line is always
// taken. Returns the index of the line to store; `fields` holds its fields.
qsizetype SkipOtherMonths(const WorkingTables& tables, const std::vector<QStringView>& lines,
                          qsizetype i, Fields& fields) {
  const qsizetype last = static_cast<qsizetype>(lines.size()) - 1;
  while (i < last) {
    if (fields.size() < 9) {
      throw RunFailure(QStringLiteral("%1: the month filter needs field 9, the line has %2 fields")
                           .arg(LineWhere(tables, i))
                           .arg(fields.size()));
    }
    if (fields[8].left(7) == tables.targetMonthText) break;
    SplitUtf8Fields(lines[++i], fields);
  }
  return i;
}

// The rows stored just before the one being filled, when there are any.
struct RowsAbove {
  const StampRow* first = nullptr;
  const StampRow* second = nullptr;
};

// An export repeats the staff member's name, department and the like on every line, and
// the kind of stamp every other line: a field equal to the cell of one of the two rows
// above shares that cell's text instead of taking a copy of its own.
QString CellText(QStringView field, const RowsAbove& above, qsizetype column) {
  for (const StampRow* row : {above.first, above.second}) {
    if (row != nullptr && (*row)[column] == field) return (*row)[column];
  }
  return field.toString();
}

// Stores the non-empty fields; a 16th field means a comma inside field 14 split it, so
// fields 14 and 15 are joined again. Nothing may stand beyond that.
void StoreUtf8Fields(StampRow& row, const RowsAbove& above, const Fields& fields,
                     const Where& where) {
  for (qsizetype n = 1; n <= static_cast<qsizetype>(fields.size()); ++n) {
    const QStringView field = fields[n - 1];
    if (field.isEmpty()) continue;
    if (n > kFields) {
      throw RunFailure(QStringLiteral("%1: field %2 (\"%3\") lies beyond the 15 stamp columns")
                           .arg(where())
                           .arg(n)
                           .arg(field.toString()));
    }
    row[n] = CellText(field, above, n);
    if (n == kFields && static_cast<qsizetype>(fields.size()) > kFields) {
      row[14] = row[14] + u',' + row[15];
      row[15].clear();
    }
  }
}

void CountStaffChange(WorkingTables& tables, const QString& staffNumber, QString& previous) {
  if (staffNumber != previous && staffNumber != kHeaderStaffNo) {
    previous = staffNumber;
    ++tables.stampStaffCount;
  }
}

void ReadUtf8Lines(WorkingTables& tables, Frontend& frontend,
                   const std::vector<QStringView>& lines) {
  QString previousStaffNo;
  Fields fields;
  int k = 0;
  for (qsizetype i = 0; i < static_cast<qsizetype>(lines.size()); ++i) {
    SplitUtf8Fields(lines[i], fields);
    if (tables.fixedMonth == 1 && i > 0) i = SkipOtherMonths(tables, lines, i, fields);
    StampRow& row = tables.stampTable.at(k);
    const RowsAbove above{k > 0 ? &tables.stampTable[k - 1] : nullptr,
                          k > 1 ? &tables.stampTable[k - 2] : nullptr};
    const Where where = [&tables, i] { return LineWhere(tables, i); };
    StoreUtf8Fields(row, above, fields, where);
    if (k > 0 && !row[9].isEmpty()) {
      row[9] = NormalisedDateOrFail(row[9], where);
      row[10] = NormalisedTime(row[10]);
    }
    ++tables.stampRowCount;
    ++k;
    CountStaffChange(tables, row[1], previousStaffNo);
    if (ReachedLimit(k, frontend)) break;
    frontend.SetProgressValue(ProgressBar::kStep, tables.stampRowCount);
  }
}

}  // namespace

void ReadStampCsvUtf8(WorkingTables& tables, FormState& form, Frontend& frontend,
                      InputFileReadAhead* readAhead) {
  frontend.SetStatusText(kUtf8Reading);
  ClearStampTable(tables);
  frontend.SetProgressRange(ProgressBar::kStep, 0, kUtf8ProgressMax);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);
  frontend.SetProgressValue(ProgressBar::kStep, kUtf8ProgressStart);
  frontend.SetStatusText(kUtf8Reading1);
  QString text = readAhead != nullptr ? readAhead->Take(tables.stampCsvPath)
                                      : ReadInputFile(tables.stampCsvPath);
  frontend.SetStatusText(kUtf8Reading2);

  text.remove(u'"');
  ReadUtf8Lines(tables, frontend, SplitUtf8Lines(text));
  frontend.SetProgressValue(ProgressBar::kStep, kUtf8ProgressMax);
  SetMonthPrefix(tables);
  frontend.SetStatusText(kUtf8Read);

  // Two changes of staff number mean one staff member (the second is the empty row after
  // the final line end): that is a personal export, read as such.
  if (tables.stampStaffCount == 2) {
    OnSjisStampsClicked(form, tables);
    ReadStampCsvSjis(tables, frontend);
  }
}

void ReadStampCsvSjis(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kSjisReading);
  FieldReader reader(ReadInputFile(tables.stampCsvPath), tables.stampCsvPath);
  const auto byteLength = static_cast<double>(FileByteLength(tables.stampCsvPath));
  frontend.SetProgressRange(ProgressBar::kStep, 0, byteLength);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);
  ClearStampTable(tables);

  double progress = 0;
  int r = 0;
  while (!reader.AtEnd()) {
    StampRow& row = tables.stampTable.at(r);
    reader.ReadRecord(std::span<QString>(row).subspan(1, kFields));
    tables.staffList[0] = kStaffListHeading;
    tables.staffList[1] = tables.stampTable[1][1];
    if (r > 0 && !row[9].isEmpty()) {
      row[9] = NormalisedDateOrFail(row[9], [&] {
        return QStringLiteral("%1: record %2").arg(tables.stampCsvPath).arg(reader.recordCount());
      });
    }
    if (r > 0) row[10] = NormalisedTime(row[10]);
    ++tables.stampRowCount;
    ++r;
    if (ReachedLimit(r, frontend)) break;
    progress = std::min(progress + kRecordBytesEstimate, byteLength);
    frontend.SetProgressValue(ProgressBar::kStep, progress);
  }
  SetMonthPrefix(tables);
  frontend.SetProgressValue(ProgressBar::kStep, byteLength);
  frontend.SetStatusText(kSjisRead);
}

}  // namespace morvik
