#pragma once

#include <QString>

namespace morvik {

struct WorkingTables;

// The three check CSVs of the loaded tables, written into `folder`.
void InFileData_chk(const WorkingTables& tables, const QString& folder);   // requests
void InFileData1_chk(const WorkingTables& tables, const QString& folder);  // staff list
void InFileData2_chk(const WorkingTables& tables, const QString& folder);  // stamps

}  // namespace morvik
