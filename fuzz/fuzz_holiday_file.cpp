// The holiday file: loads, or ends the program with its message.
#include "app/holiday_file.h"
#include "core/failures.h"
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "testing/recording_frontend.h"

#include <memory>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvik::fuzz::EnsureApplication();
  static auto tables = std::make_unique<morvik::WorkingTables>();
  const QString path = morvik::fuzz::WriteScratchFile(QStringLiteral("holidays.txt"), data, size);
  morvik::testing::RecordingFrontend frontend;
  try {
    morvik::LoadHolidayFile(path, *tables, frontend);
  } catch (const morvik::ProgramEnd&) {
    if (frontend.messages.size() != 1) std::abort();
  }
  return 0;
}
