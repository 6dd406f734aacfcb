#pragma once

#include <QString>

namespace morvik {

struct WorkingTables;
class Frontend;

// Reads the request CSV into requestTable: staff and month filters, normal forms,
// requestMonthPrefix, multipleMonths, the 5,000-row limit, the placeholder row.
void ReadRequestCsv(WorkingTables& tables, Frontend& frontend);

// staffListed = 1 when `staffNumber` stands in staffList before its first empty entry.
void IsStaffListed(WorkingTables& tables, const QString& staffNumber);

// lookupStaffNo/Name/Date/Dept from the first stamp row of `staffNumber`, or the
// not-found texts.
void LookupStampStaff(WorkingTables& tables, const QString& staffNumber);

// The placeholder row for staff number "00000" in request row 1.
void AddNoRequestRow(WorkingTables& tables);

}  // namespace morvik
