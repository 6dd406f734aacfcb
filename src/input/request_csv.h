#pragma once

#include <QString>

namespace morvik {

struct WorkingTables;
class Frontend;
class StaffListIndex;

// Reads the request CSV into requestTable: staff and month filters, normal forms,
// requestMonthPrefix, multipleMonths, the 5,000-row limit, the placeholder row.
void ReadRequestCsv(WorkingTables& tables, Frontend& frontend);

// ReadRequestCsv in two parts. The records need nothing of the stamps, so they may be read
// beside the stamp reader: ReadRequestRecords writes only the request side of the tables
// (requestTable, requestRowCount, requestMonthPrefix, multipleMonths, staffListed) and
// reads requestCsvPath, fixedMonth and targetMonthText. FinishRequestRead, after the
// stamps, adds the placeholder row of a month without requests and tells of month
// mismatches.
struct RequestRecords {
  bool fileNamed = false;  // false: no request file was named, nothing was read
  int nextRow = 1;         // the row the next kept record would go to (1: none kept)
  double byteLength = 0;   // the file's length, where the progress bar ends
};
RequestRecords ReadRequestRecords(WorkingTables& tables, const StaffListIndex& listed,
                                  Frontend& frontend);
void FinishRequestRead(WorkingTables& tables, const RequestRecords& records, Frontend& frontend);

// staffListed = 1 when `staffNumber` stands in staffList before its first empty entry.
void IsStaffListed(WorkingTables& tables, const QString& staffNumber);

// lookupStaffNo/Name/Date/Dept from the first stamp row of `staffNumber`, or the
// not-found texts.
void LookupStampStaff(WorkingTables& tables, const QString& staffNumber);

// The placeholder row for staff number "00000" in request row 1.
void AddNoRequestRow(WorkingTables& tables);

}  // namespace morvik
