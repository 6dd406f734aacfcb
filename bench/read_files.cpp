// The readers alone on a month's files: staff list, stamp CSV (UTF-8), request CSV, the
// staff selection and the sort, as a managers' run does them.
// Usage: morvik_read_files REQUESTS STAMPS STAFF_LIST [ROUNDS]
#include <QCoreApplication>
#include <QElapsedTimer>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <vector>

#include "core/form_state.h"
#include "core/frontend.h"
#include "core/working_tables.h"
#include "input/request_csv.h"
#include "input/staff_list.h"
#include "input/staff_selection.h"
#include "input/stamp_csv.h"

namespace {

class QuietFrontend : public morvik::Frontend {
 public:
  void SetStatusText(const QString&) override {}
  void SetProgressRange(morvik::ProgressBar, double, double) override {}
  void SetProgressValue(morvik::ProgressBar, double) override {}
  void SetProgressVisible(morvik::ProgressBar, bool) override {}
  void ShowMessage(const QString&) override {}
  void SetBusy(bool) override {}
  void ShowChartWindow() override {}
  void RefreshChartWindow() override {}
  void CloseChartWindow() override {}
  void BringMainWindowToFront() override {}
};

}  // namespace

int main(int argc, char** argv) {
  QCoreApplication app(argc, argv);
  if (argc < 4) {
    std::fputs("usage: morvik_read_files REQUESTS STAMPS STAFF_LIST [ROUNDS]\n", stderr);
    return 2;
  }
  const int rounds = argc > 4 ? std::max(1, std::atoi(argv[4])) : 5;
  auto tables = std::make_unique<morvik::WorkingTables>();
  morvik::FormState form;
  QuietFrontend frontend;
  tables->requestCsvPath = QString::fromLocal8Bit(argv[1]);
  tables->stampCsvPath = QString::fromLocal8Bit(argv[2]);
  form.staffListFile = QString::fromLocal8Bit(argv[3]);
  std::vector<double> milliseconds;
  for (int round = 0; round < rounds; ++round) {
    tables->useStaffList = 1;
    tables->stampIsUtf8 = 1;
    QElapsedTimer timer;
    timer.start();
    morvik::LoadStaffList(*tables, form, frontend);
    morvik::ReadStampCsvUtf8(*tables, form, frontend);
    morvik::ReadRequestCsv(*tables, frontend);
    morvik::AddStaffRequests(*tables, form, frontend);
    morvik::SortRequestsByStaff(*tables, frontend);
    milliseconds.push_back(timer.nsecsElapsed() / 1e6);
  }
  std::sort(milliseconds.begin(), milliseconds.end());
  std::printf("%.1f\n", milliseconds[milliseconds.size() / 2]);
  return 0;
}
