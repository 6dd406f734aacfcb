#include "input/staff_list.h"

#include <QFileInfo>

#include <span>

#include "core/failures.h"
#include "core/form_state.h"
#include "core/frontend.h"
#include "core/working_tables.h"
#include "input/field_reader.h"
#include "input/input_file.h"

namespace morvik {
namespace {

// Both messages name the default file, whatever file was read: users know it by that name.
const QString kFileMissing =
    QStringLiteral(":ファイルが存在しません．「MorvikGraph_職員番号指定.txt」を作成してください．");
const QString kTooManyEntries = QStringLiteral(
    "エラー：「MorvikGraph_職員番号指定.txt」が5000行を超えました．5000行以内に修正してください.");

[[noreturn]] void EndProgram(Frontend& frontend, const QString& message, const QString& reason) {
  frontend.SetBusy(false);
  frontend.ShowMessage(message);
  throw ProgramEnd(reason);
}

}  // namespace

void LoadStaffList(WorkingTables& tables, const FormState& form, Frontend& frontend) {
  if (tables.useStaffList != 1) return;  // staffList keeps what it holds
  tables.staffListPath = form.staffListFile;
  const QString& path = tables.staffListPath;
  if (!QFileInfo::exists(path)) {
    EndProgram(frontend, path + kFileMissing,
               QStringLiteral("%1: the staff list file does not exist").arg(path));
  }
  tables.staffList.fill(QString());
  FieldReader reader(ReadInputFile(path), path);
  int b = 0;
  while (!reader.AtEnd()) {
    if (b >= kStaffListEntries) {
      EndProgram(frontend, kTooManyEntries,
                 QStringLiteral("%1: the staff list holds more than %2 entries")
                     .arg(path)
                     .arg(kStaffListEntries));
    }
    reader.ReadRecord(std::span<QString>(&tables.staffList.at(b), 1));
    ++b;
  }
}

}  // namespace morvik
