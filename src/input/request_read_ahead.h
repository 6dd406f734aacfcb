#pragma once
// RequestReadAhead: the request CSV read, and the order of its rows worked out, on a thread
// of its own while the stamps are read.
//
// A managers' month spends tens of milliseconds on each side before the first chart, and
// the two sides meet only in the staff list: it says which requests to keep, and the
// Shift-JIS stamp reader rewrites its head. So the requests are read ahead only when the
// stamps come as UTF-8, and used only when the staff list is still as it was when the
// thread started; otherwise they are read again, in the run's order. The front-end calls
// of the thread reach the real front end where a run without it makes them, and so does
// its failure: the run shows and writes exactly what it does without the thread.

#include <QString>

#include <future>
#include <optional>
#include <vector>

#include "core/deferred_frontend.h"
#include "input/request_csv.h"
#include "input/staff_selection.h"

namespace morvik {

struct WorkingTables;

class RequestReadAhead {
 public:
  // Starts the thread when a request file is named and the stamps are read as UTF-8. Until
  // Finish, the caller changes neither the request side of `tables` (see
  // ReadRequestRecords) nor what the reader reads there; the stamp readers do neither.
  explicit RequestReadAhead(WorkingTables& tables);
  // Without Finish (the stamp reader failed), waits for the thread, empties the request
  // rows and puts the counts and the month back: a failed run's month and check dumps show
  // nothing of requests the run never read. (Emptied rather than restored: only batch
  // mode writes check dumps, and its one run a session starts with them empty; the
  // window's next run reads the requests again before it uses them.)
  ~RequestReadAhead();
  RequestReadAhead(const RequestReadAhead&) = delete;
  RequestReadAhead& operator=(const RequestReadAhead&) = delete;

  // Once the stamps are read: what ReadRequestCsv does at this point of the run. Returns
  // the rows' order after AddStaffRequests when the thread worked it out.
  std::optional<RequestOrder> Finish(Frontend& frontend);

 private:
  struct Result {
    RequestRecords records;
    std::optional<RequestOrder> order;
  };
  // The request side's values as the thread found them.
  struct RequestSide {
    qint16 requestRowCount = 0;
    QString requestMonthPrefix;
    qint16 multipleMonths = 0;
    qint16 staffListed = 0;
  };

  Result ReadAhead();
  void PutBackRequestSide();

  WorkingTables& tables_;
  std::vector<QString> staffList_;  // as the thread read it
  RequestSide before_;
  DeferredFrontend calls_;  // the thread's front-end calls
  std::future<Result> result_;
};

}  // namespace morvik
