#pragma once
// The placeholder request row: a staff member without request data still gets a month
// sheet. Its dates carry day 32, which no calendar day has.

#include <QString>

#include <array>

namespace morvik {

struct WorkingTables;

// The request CSV's 17 header texts, columns 1..17.
const std::array<QString, 17>& RequestHeaderTexts();

// Writes the placeholder row from the look-up members and stampMonthPrefix into
// columns 1..17 of request row `row`.
void WritePlaceholderRow(WorkingTables& tables, int row);

}  // namespace morvik
