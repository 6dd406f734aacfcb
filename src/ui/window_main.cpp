#include "ui/window_main.h"

#include <cstdio>

namespace morvik {

// Placeholder until the main window lands.
int RunWindow(const QStringList&) {
  std::fputs("The main window is not built yet; use morvikgraph --batch (see --help).\n", stderr);
  return 2;
}

}  // namespace morvik
