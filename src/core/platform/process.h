#pragma once
// What the program asks the system about the process it runs in. The system's own calls in
// both builds: process_posix.cpp, process_windows.cpp.

#include <QString>

namespace morvik::platform {

// True when standard error goes to a terminal (the console on Windows).
bool StandardErrorIsTerminal();

// The running user as a file name part: the user id on POSIX, the user name on Windows.
QString UserNameForFiles();

}  // namespace morvik::platform
