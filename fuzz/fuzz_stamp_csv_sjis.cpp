// The Shift-JIS stamp reader (the delimited field reader, 15 fields a record).
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "input/stamp_csv.h"
#include "testing/recording_frontend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvik::WorkingTables& tables = morvik::fuzz::SharedTables();
  tables.stampIsUtf8 = 0;
  tables.stampCsvPath = morvik::fuzz::WriteScratchFile(QStringLiteral("打刻.csv"), data, size);
  morvik::testing::RecordingFrontend frontend;
  morvik::fuzz::AcceptFailurePath([&] { morvik::ReadStampCsvSjis(tables, frontend); });
  return 0;
}
