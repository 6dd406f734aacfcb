#pragma once
// Everything one MorvikGraph process holds: the working tables, the window-state model,
// the chart canvas, and where the program and its outputs live.

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>

#include "chart/canvas.h"
#include "core/form_state.h"
#include "core/working_tables.h"
#include "input/input_file.h"

namespace morvik {

struct Session {
  Session();

  std::unique_ptr<WorkingTables> tables;
  FormState form;
  Canvas canvas;

  QString programFolder;    // the side files live here
  QString outputFolder;     // work CSVs, charts and check dumps go here
  QString holidayFilePath;  // empty: "MorvikGraph_祝日_max100.txt" in programFolder
  // The window makes the program's folder the working directory at start-up; batch mode
  // keeps the folder it was started in, so relative paths mean what the user typed.
  bool enterProgramFolder = true;
  // The run's clock: the chart header's date and time, and today's month at start-up.
  std::function<QDateTime()> clock = [] { return QDateTime::currentDateTime(); };
  // Charts encoded at a time while the run goes on; 1 saves each chart before going on.
  int chartThreads = DefaultChartThreads();
  // Minutes a stamp may lie outside covered time before the month review reports it.
  int reviewToleranceMinutes = 30;
  // The process ends right after the run (a batch run from the command line): what the
  // run holds is then kept until the process ends rather than freed (core/process_end.h).
  bool processEndsAfterRun = false;
  // The stamp file, read ahead while the session was being made (batch mode, UTF-8
  // stamps); the next run takes it.
  std::unique_ptr<InputFileReadAhead> stampFileReadAhead;

  static int DefaultChartThreads();
};

}  // namespace morvik
