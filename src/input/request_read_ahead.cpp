#include "input/request_read_ahead.h"

#include <algorithm>

#include "core/platform/thread_placement.h"
#include "core/working_tables.h"
#include "input/staff_lookup.h"

namespace morvik {

RequestReadAhead::RequestReadAhead(WorkingTables& tables) : tables_(tables) {
  if (tables.requestCsvPath.isEmpty() || tables.stampIsUtf8 != 1) return;
  staffList_.assign(tables.staffList.begin(), tables.staffList.end());
  before_ = {tables.requestRowCount, tables.requestMonthPrefix, tables.multipleMonths,
             tables.staffListed};
  try {
    // The thread leaves this one's core, which goes on reading the stamps.
    result_ = std::async(std::launch::async, [this, core = platform::CurrentCore()] {
      platform::MoveOffCore(core);
      return ReadAhead();
    });
  } catch (const std::exception&) {
    // No thread to be had: Finish reads the requests in the run's order.
  }
}

RequestReadAhead::~RequestReadAhead() {
  if (!result_.valid()) return;
  result_.wait();
  PutBackRequestSide();
}

RequestReadAhead::Result RequestReadAhead::ReadAhead() {
  Result result;
  result.records = ReadRequestRecords(tables_, StaffListIndex(staffList_), calls_);
  // With no request kept, the month's placeholder row comes from the stamps first.
  if (result.records.nextRow > 1) result.order = OrderAfterPlaceholders(tables_, staffList_);
  return result;
}

void RequestReadAhead::PutBackRequestSide() {
  for (RequestRow& row : tables_.requestTable) row.fill(QString());
  tables_.requestRowCount = before_.requestRowCount;
  tables_.requestMonthPrefix = before_.requestMonthPrefix;
  tables_.multipleMonths = before_.multipleMonths;
  tables_.staffListed = before_.staffListed;
}

std::optional<RequestOrder> RequestReadAhead::Finish(Frontend& frontend) {
  if (!result_.valid()) {
    ReadRequestCsv(tables_, frontend);
    return std::nullopt;
  }
  std::optional<Result> result;
  std::exception_ptr failure;
  try {
    result = result_.get();
  } catch (...) {
    failure = std::current_exception();
  }
  if (!std::equal(staffList_.begin(), staffList_.end(), tables_.staffList.begin())) {
    // The stamp reader changed which requests to keep: read them again from where the
    // thread began, so that a failure of this read leaves nothing of the thread's behind.
    PutBackRequestSide();
    ReadRequestCsv(tables_, frontend);
    return std::nullopt;
  }
  calls_.ReplayTo(frontend);
  if (failure) std::rethrow_exception(failure);
  FinishRequestRead(tables_, result->records, frontend);
  return std::move(result->order);
}

}  // namespace morvik
