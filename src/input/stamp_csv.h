#pragma once

namespace morvik {

struct WorkingTables;
struct FormState;
class Frontend;
class InputFileReadAhead;

// Reads the stamp CSV as one UTF-8 text (taken from `readAhead` when there is one); hands a
// file of one staff member over to ReadStampCsvSjis, switching the encoding option to
// Shift-JIS (hence the FormState).
void ReadStampCsvUtf8(WorkingTables& tables, FormState& form, Frontend& frontend,
                      InputFileReadAhead* readAhead = nullptr);

// Reads the stamp CSV with the delimited field reader, 15 fields a record, and puts the
// first data line's staff member into staffList entry 1.
void ReadStampCsvSjis(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
