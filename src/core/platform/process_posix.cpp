#include "core/platform/process.h"

#include <cstdio>

#include <unistd.h>

namespace morvik::platform {

bool StandardErrorIsTerminal() { return isatty(fileno(stderr)) != 0; }

QString UserNameForFiles() { return QString::number(getuid()); }

}  // namespace morvik::platform
