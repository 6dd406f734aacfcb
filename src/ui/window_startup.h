#pragma once

#include <QStringList>

#include <memory>

#include "ui/main_window.h"

namespace morvik {

struct Session;

// Creates the main window for `session` and runs start-up with `arguments` (file names,
// one an element). Returns null when start-up ended the program (its message shown);
// the window is not shown yet.
std::unique_ptr<MainWindow> LoadMainWindow(Session& session, const QStringList& arguments,
                                           WindowServices services = {});

// Opens the main window with `arguments`, Qt's own texts in Japanese, and returns the
// process's exit status when the window closes: 0 normally, 3 when the program was ended
// (holiday file, staff list file). Needs the QApplication to exist.
int RunWindow(const QStringList& arguments);

}  // namespace morvik
