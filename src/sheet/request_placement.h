#pragma once

namespace morvik {

struct WorkingTables;
class Frontend;

// Places currentRequest (elements 1..17 of one request row) into the month grid.
// Rows of a type that is neither work nor leave change nothing.
void PlaceRequestRow(WorkingTables& tables, Frontend& frontend);

}  // namespace morvik
