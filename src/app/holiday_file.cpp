#include "app/holiday_file.h"

#include <QDir>

#include <array>

#include "core/failures.h"
#include "core/frontend.h"
#include "core/working_tables.h"
#include "input/field_reader.h"
#include "input/input_file.h"

namespace morvik {
namespace {

const QString kHolidayFileName = QStringLiteral("MorvikGraph_祝日_max100.txt");
const QString kCannotOpen = QStringLiteral(
    "エラー：祝日ファイル(MorvikGraph_祝日_max100.txt)が開けませんでした．"
    "「MorvikGraph.exe」のフォルダに「MorvikGraph_祝日_max100.txt」を入れて起動してください．");
const QString kTooManyRecords = QStringLiteral(
    "エラー：「MorvikGraph_祝日_max100.txt」が100行を超えました．100行以内に修正してください.");

}  // namespace

QString DefaultHolidayFilePath(const QString& programFolder) {
  return QDir(programFolder).filePath(kHolidayFileName);
}

void FailHolidayFile(Frontend& frontend) {
  frontend.SetBusy(false);
  frontend.ShowMessage(kCannotOpen);
  throw ProgramEnd(QStringLiteral("the holiday file could not be read"));
}

void LoadHolidayFile(const QString& path, WorkingTables& tables, Frontend& frontend) {
  try {
    FieldReader reader(ReadInputFile(path), path);
    tables.holidayTable.fill(Holiday{});
    int n = 0;
    while (!reader.AtEnd()) {
      ++n;
      if (n >= kHolidayRows) {
        frontend.ShowMessage(kTooManyRecords);
        throw ProgramEnd(QStringLiteral("the holiday file has more than 100 records"));
      }
      std::array<QString, 2> record;
      reader.ReadRecord(record);
      tables.holidayTable[n] = Holiday{record[0], record[1]};
    }
  } catch (const ProgramEnd&) {
    throw;
  } catch (const std::exception&) {
    FailHolidayFile(frontend);
  }
}

}  // namespace morvik
