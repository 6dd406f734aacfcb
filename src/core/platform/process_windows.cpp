#include "core/platform/process.h"

#include <cstdio>

#include <io.h>

namespace morvik::platform {

// _isatty is also true for the NUL device: a progress bar drawn there is simply lost.
bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

QString UserNameForFiles() { return qEnvironmentVariable("USERNAME"); }

}  // namespace morvik::platform
