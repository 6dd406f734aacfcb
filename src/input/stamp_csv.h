#pragma once

namespace morvik {

struct WorkingTables;
struct FormState;
class Frontend;

// Reads the stamp CSV as one UTF-8 text; hands a file of one staff member over to
// ReadStampCsvSjis, switching the encoding option to Shift-JIS (hence the FormState).
void ReadStampCsvUtf8(WorkingTables& tables, FormState& form, Frontend& frontend);

// Reads the stamp CSV with the delimited field reader, 15 fields a record, and puts the
// first data line's staff member into staffList entry 1.
void ReadStampCsvSjis(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
