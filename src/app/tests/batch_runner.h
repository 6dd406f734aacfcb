#pragma once
// Runs batch mode as the command line would, with standard error captured.

#include <QString>
#include <QStringList>

#include <cstdio>

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

}  // namespace morvik::testing
