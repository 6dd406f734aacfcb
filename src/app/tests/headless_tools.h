#pragma once
// Headless Chromium and poppler's tools, as the overview's tests use them. A missing
// program is a test failure that says what to install: CI installs both.

#include <QByteArray>
#include <QString>
#include <QStringList>

namespace morvik::testing {

struct ToolRun {
  bool ran = false;  // the program was found, started and ended in time
  int exit = -1;
  QByteArray out;
  QString error;  // why it did not run, or its standard error
};

// `program` found on PATH, with `arguments`, at most `timeoutMs`.
ToolRun RunTool(const QString& program, const QStringList& arguments, int timeoutMs = 60000);

// Chromium without a sandbox, GPU or network, in a profile folder of its own, given
// `arguments` (a URL last).
ToolRun RunChromium(const QStringList& arguments);

QString FileUrl(const QString& path);

}  // namespace morvik::testing
