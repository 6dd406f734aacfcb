// The UTF-8 stamp reader (which hands personal exports to the Shift-JIS reader).
#include "core/form_state.h"
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "input/stamp_csv.h"
#include "testing/recording_frontend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  morvik::WorkingTables& tables = morvik::fuzz::SharedTables();
  tables.fixedMonth = data[0] & 1;
  tables.targetMonthText = QStringLiteral("2026/11");
  tables.stampIsUtf8 = 1;
  tables.stampCsvPath =
      morvik::fuzz::WriteScratchFile(QStringLiteral("打刻.csv"), data + 1, size - 1);
  morvik::FormState form;
  form.useUtf8Stamps = true;
  form.useSjisStamps = false;
  morvik::testing::RecordingFrontend frontend;
  morvik::fuzz::AcceptFailurePath([&] { morvik::ReadStampCsvUtf8(tables, form, frontend); });
  return 0;
}
