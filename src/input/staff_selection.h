#pragma once

namespace morvik {

struct WorkingTables;
struct FormState;
class Frontend;

// A placeholder request row for every listed staff member without a request row.
void AddStaffRequests(WorkingTables& tables, const FormState& form, Frontend& frontend);

// Orders the request rows by staff number, exactly as the program's exchange sort does.
void SortRequestsByStaff(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
