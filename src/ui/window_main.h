#pragma once

#include <QStringList>

namespace morvik {

// Opens the main window with `arguments` (file names) and returns the process's exit
// status when the window closes. Needs the QApplication to exist.
int RunWindow(const QStringList& arguments);

}  // namespace morvik
