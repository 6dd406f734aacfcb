#pragma once

namespace morvik {

struct WorkingTables;
struct FormState;
class Frontend;

// Reads the staff list file named by staffListFile into staffList when useStaffList is 1.
// A missing file or more than 5,001 entries shows its message and throws ProgramEnd.
void LoadStaffList(WorkingTables& tables, const FormState& form, Frontend& frontend);

}  // namespace morvik
