// Placeholders until the input readers land: each procedure leaves the tables as they are.
#include "input/check_dumps.h"
#include "input/request_csv.h"
#include "input/staff_list.h"
#include "input/staff_selection.h"
#include "input/stamp_csv.h"

namespace morvik {

void LoadStaffList(WorkingTables&, const FormState&, Frontend&) {}
void ReadStampCsvUtf8(WorkingTables&, FormState&, Frontend&) {}
void ReadStampCsvSjis(WorkingTables&, Frontend&) {}
void ReadRequestCsv(WorkingTables&, Frontend&) {}
void IsStaffListed(WorkingTables&, const QString&) {}
void LookupStampStaff(WorkingTables&, const QString&) {}
void AddNoRequestRow(WorkingTables&) {}
void AddStaffRequests(WorkingTables&, const FormState&, Frontend&) {}
void SortRequestsByStaff(WorkingTables&, Frontend&) {}
void InFileData_chk(const WorkingTables&, const QString&) {}
void InFileData1_chk(const WorkingTables&, const QString&) {}
void InFileData2_chk(const WorkingTables&, const QString&) {}

}  // namespace morvik
