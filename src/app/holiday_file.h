#pragma once

#include <QString>

namespace morvik {

struct WorkingTables;
class Frontend;

QString DefaultHolidayFilePath(const QString& programFolder);

// Reads the holiday file into holidayTable rows 1..100, two fields a record. A file
// that cannot be read or ends inside a record shows the holiday-file message, more
// than 100 records the 100-line message; both then throw ProgramEnd.
void LoadHolidayFile(const QString& path, WorkingTables& tables, Frontend& frontend);

// Shows the holiday-file message and throws ProgramEnd.
[[noreturn]] void FailHolidayFile(Frontend& frontend);

}  // namespace morvik
