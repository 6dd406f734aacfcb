#pragma once
// One run without a window: the flags go through the same start-up and handlers as the
// window, messages go to standard error, and the exit status tells how the run ended.

#include <QDateTime>
#include <QString>
#include <QStringList>

#include <cstdio>
#include <functional>

namespace morvik {

enum BatchExit {
  kExitFinished = 0,
  kExitRunFailed = 1,   // the "(Error1)" failure path
  kExitRefused = 2,     // usage error, or an input check refused to run
  kExitProgramEnd = 3,  // holiday file or staff list file ended the program
  kExitOutputsLost = 4,  // the run finished, but an output could not be written
};

struct BatchEnvironment {
  QString programFolder;  // side files; default output folder
  QString startFolder;    // relative paths given on the command line start here
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
  std::FILE* out = stdout;
  std::FILE* err = stderr;
  bool errIsTerminal = false;
  // The process ends when the run returns: the session is kept until then rather than
  // freed (core/process_end.h). Tests run many sessions in one process and leave it off.
  bool processEndsAfterRun = false;
};

// `arguments` are those after the program's name.
int RunBatch(const QStringList& arguments, const BatchEnvironment& environment);

// The run's clock: SOURCE_DATE_EPOCH (seconds since 1970, shown in local time) when it
// is set, else the current time.
std::function<QDateTime()> BatchClock();

}  // namespace morvik
