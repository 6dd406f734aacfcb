// The staff list file: loads, or ends the program with its message.
#include <cstdlib>

#include "core/failures.h"
#include "core/form_state.h"
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "input/staff_list.h"
#include "testing/recording_frontend.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  morvik::WorkingTables& tables = morvik::fuzz::SharedTables();
  tables.useStaffList = 1;
  morvik::FormState form;
  form.staffListFile =
      morvik::fuzz::WriteScratchFile(QStringLiteral("職員番号指定.txt"), data, size);
  morvik::testing::RecordingFrontend frontend;
  try {
    morvik::LoadStaffList(tables, form, frontend);
  } catch (const morvik::ProgramEnd&) {
    if (frontend.messages.size() != 1) std::abort();  // the end always shows its message
  } catch (const morvik::RunFailure&) {
  }
  return 0;
}
