#include "input/check_dumps.h"

#include <QDir>
#include <QStringList>

#include <span>

#include "core/output_file.h"
#include "core/working_tables.h"

namespace morvik {
namespace {

const QString kRequestDumpName = QStringLiteral("データ確認用_申請.csv");
const QString kStaffListDumpName = QStringLiteral("データ確認用_職員番号指定.csv");
const QString kStampDumpName = QStringLiteral("データ確認用_打刻.csv");

// One line per row of the table's full size, columns 1..n (column 0 is never data).
template <typename Table>
void DumpRows(const Table& table, const QString& path) {
  QStringList lines;
  lines.reserve(static_cast<qsizetype>(table.size()));
  for (const auto& row : table) {
    lines.append(QuotedCsvLine(std::span<const QString>(row).subspan(1)));
  }
  WriteCp932Lines(path, lines);
}

}  // namespace

void InFileData_chk(const WorkingTables& tables, const QString& folder) {
  DumpRows(tables.requestTable, QDir(folder).filePath(kRequestDumpName));
}

void InFileData1_chk(const WorkingTables& tables, const QString& folder) {
  QStringList lines;
  lines.reserve(kStaffListEntries);
  for (const QString& entry : tables.staffList) {
    lines.append(QuotedCsvLine(std::span<const QString>(&entry, 1)));
  }
  WriteCp932Lines(QDir(folder).filePath(kStaffListDumpName), lines);
}

void InFileData2_chk(const WorkingTables& tables, const QString& folder) {
  DumpRows(tables.stampTable, QDir(folder).filePath(kStampDumpName));
}

}  // namespace morvik
