#pragma once
// Runs batch mode as the command line would, with standard error captured.

#include <QString>
#include <QStringList>

#include <cstdio>

#include "testing/test_files.h"

namespace morvik::testing {

struct BatchResult {
  int exit;
  QString err;  // everything printed on standard error
};

// Batch mode with the side files in `programFolder`, relative paths taken from
// `startFolder`, and the clock fixed at 2026/12/07 10:00.
BatchResult RunBatchCapturing(const QStringList& arguments, const QString& programFolder,
                              const QString& startFolder);

// Everything written to `file` so far, read back from its start.
QString ReadBack(std::FILE* file);

// Runs of the managers' sample (requests, UTF-8 stamps, staff list) in batch mode, with
// the shipped holiday file beside the program.
class ManagersSampleRuns {
 public:
  ManagersSampleRuns();

  // One run into the folder `out` of `start`, with `extra` flags.
  BatchResult RunManagers(const QString& out, const QStringList& extra) const;

  // The names of the files in the folder `out` of `start`, sorted.
  QStringList Files(const QString& out) const;

  TempFolder program;
  TempFolder start;
};

}  // namespace morvik::testing
