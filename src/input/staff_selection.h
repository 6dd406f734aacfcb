#pragma once

#include <QString>

#include <span>
#include <vector>

namespace morvik {

struct WorkingTables;
struct FormState;
class Frontend;

// A placeholder request row for every listed staff member without a request row.
void AddStaffRequests(WorkingTables& tables, const FormState& form, Frontend& frontend);

// The exchange sort's order of the request rows, worked out before the rows are final
// (input/request_read_ahead.h).
struct RequestOrder {
  std::vector<QString> keys;  // the staff numbers of rows 1..5000 that it orders
  std::vector<int> from;      // as ExchangeSortOrder
};

// The order that SortRequestsByStaff will find once AddStaffRequests has added the
// placeholders of `staffList` to the request rows as they are now. Reads only the rows'
// staff numbers, and needs nothing of the stamps.
RequestOrder OrderAfterPlaceholders(const WorkingTables& tables,
                                    std::span<const QString> staffList);

// Orders the request rows by staff number, exactly as the program's exchange sort does.
// `worked`, when given and made for the rows' present staff numbers, saves the sort.
void SortRequestsByStaff(WorkingTables& tables, Frontend& frontend,
                         const RequestOrder* worked = nullptr);

}  // namespace morvik
