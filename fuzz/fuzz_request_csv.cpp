// The request CSV reader over arbitrary bytes, with and without the month filter.
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "input/request_csv.h"
#include "testing/recording_frontend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  morvik::WorkingTables& tables = morvik::fuzz::SharedTables();
  morvik::fuzz::ListSampleStaff(tables);
  tables.fixedMonth = data[0] & 1;
  tables.targetMonthText = QStringLiteral("2026/11");
  tables.stampMonthPrefix = QStringLiteral("2026/11/");
  tables.requestMonthPrefix.clear();
  tables.requestRowCount = 0;
  tables.requestCsvPath =
      morvik::fuzz::WriteScratchFile(QStringLiteral("申請.csv"), data + 1, size - 1);
  morvik::testing::RecordingFrontend frontend;
  morvik::fuzz::AcceptFailurePath([&] { morvik::ReadRequestCsv(tables, frontend); });
  return 0;
}
