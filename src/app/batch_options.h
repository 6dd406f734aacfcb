#pragma once
// The command line of batch mode (morvikgraph --batch ...).

#include <QString>
#include <QStringList>

#include <optional>

namespace morvik {

struct BatchOptions {
  QStringList files;  // positional names, through the start-up name rules
  std::optional<QString> request;
  std::optional<QString> stamp;
  std::optional<QString> staffList;  // "" means the default staff list
  std::optional<bool> utf8;          // --utf8 true, --sjis false
  std::optional<QString> month;      // yyyy/mm
  bool jpg = true;
  bool bmp = false;
  bool csv = false;
  std::optional<QString> outputFolder;
  std::optional<QString> holidays;
  std::optional<int> jobs;  // charts saved at a time
  bool dump = false;
  bool review = false;           // the month review's two tables
  std::optional<int> tolerance;  // minutes, 0..240
  bool html = false;             // the overview page
  bool pdf = false;              // the print PDF
  bool verbose = false;
  bool help = false;
  bool version = false;
};

struct BatchParse {
  std::optional<BatchOptions> options;  // nothing: a usage error
  QString error;
};

// `arguments` are those after the program's name, --batch included or not.
BatchParse ParseBatchOptions(const QStringList& arguments);

QString BatchUsage();

}  // namespace morvik
