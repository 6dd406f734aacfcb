#include "input/request_read_ahead.h"

#include <gtest/gtest.h>

#include "core/failures.h"
#include "input/placeholder_row.h"
#include "input/request_csv.h"
#include "input/staff_selection.h"
#include "input/stamp_csv.h"
#include "input/tests/input_fixture.h"

namespace morvik::testing {
namespace {

// The request side of a run and everything it showed, read with the requests read ahead
// or in the run's order.
struct Reading {
  std::unique_ptr<WorkingTables> tables = std::make_unique<WorkingTables>();
  RecordingFrontend frontend;
  QString failure;
};

struct Files {
  QStringList staff;     // the staff list's numbers
  QStringList stamps;    // lines after the header
  QStringList requests;  // lines after the header
};

QString RequestHeader() {
  const auto& headers = RequestHeaderTexts();
  return QStringList(headers.begin(), headers.end()).join(u',');
}

Reading Read(const Files& files, const TempFolder& folder, bool ahead) {
  Reading reading;
  WorkingTables& tables = *reading.tables;
  FormState form;
  tables.stampCsvPath = folder.WriteUtf8(QStringLiteral("stamps.csv"),
                                         CrLfLines(QStringList{StampHeader()} + files.stamps));
  tables.requestCsvPath = folder.WriteCp932(
      QStringLiteral("requests.csv"), CrLfLines(QStringList{RequestHeader()} + files.requests));
  tables.stampIsUtf8 = 1;
  tables.staffList[0] = QStringLiteral("heading");
  for (int i = 0; i < files.staff.size(); ++i) tables.staffList[i + 1] = files.staff[i];
  Frontend& frontend = reading.frontend;
  try {
    if (ahead) {
      RequestReadAhead requests(tables);
      ReadStampCsvUtf8(tables, form, frontend);
      const std::optional<RequestOrder> order = requests.Finish(frontend);
      AddStaffRequests(tables, form, frontend);
      SortRequestsByStaff(tables, frontend, order ? &*order : nullptr);
    } else {
      ReadStampCsvUtf8(tables, form, frontend);
      ReadRequestCsv(tables, frontend);
      AddStaffRequests(tables, form, frontend);
      SortRequestsByStaff(tables, frontend);
    }
  } catch (const std::exception& error) {
    reading.failure = FailureDetail(error);
  }
  return reading;
}

void ExpectSameReading(const Reading& ahead, const Reading& inOrder) {
  const WorkingTables& a = *ahead.tables;
  const WorkingTables& b = *inOrder.tables;
  EXPECT_EQ(ahead.failure, inOrder.failure);
  EXPECT_TRUE(a.requestTable == b.requestTable);
  EXPECT_TRUE(a.staffList == b.staffList);
  EXPECT_EQ(a.requestRowCount, b.requestRowCount);
  EXPECT_EQ(a.requestMonthPrefix, b.requestMonthPrefix) << ahead.failure.toStdString();
  EXPECT_EQ(a.multipleMonths, b.multipleMonths);
  EXPECT_EQ(a.staffListed, b.staffListed);
  EXPECT_EQ(ahead.frontend.statusHistory, inOrder.frontend.statusHistory);
  EXPECT_EQ(ahead.frontend.messages, inOrder.frontend.messages);
  EXPECT_EQ(ahead.frontend.progressValueWrites, inOrder.frontend.progressValueWrites);
  EXPECT_EQ(ahead.frontend.bar(ProgressBar::kStep).value,
            inOrder.frontend.bar(ProgressBar::kStep).value);
}

const QString kDay = QStringLiteral("2022/04/05");

struct Case {
  const char* name;
  Files files;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class RequestReadAheadTest : public ::testing::TestWithParam<Case> {};

TEST_P(RequestReadAheadTest, ShowsAndReadsWhatTheRunInOrderDoes) {
  TempFolder folder;
  const Reading ahead = Read(GetParam().files, folder, true);
  const Reading inOrder = Read(GetParam().files, folder, false);
  ExpectSameReading(ahead, inOrder);
}

INSTANTIATE_TEST_SUITE_P(
    Months, RequestReadAheadTest,
    ::testing::Values(
        // Listed staff with and without requests, unlisted requests, two months.
        Case{"Managers",
             {{"300", "100", "200", "400"},
              {StampLine("100", kDay, "08:30"), StampLine("200", kDay, "08:31"),
               StampLine("400", kDay, "08:32")},
              {RequestLine("300", kDay), RequestLine("100", kDay), RequestLine("999", kDay),
               RequestLine("300", "2022/05/01"), RequestLine("100", kDay)}}},
        // One staff member's stamps: read again as Shift-JIS, which rewrites the staff
        // list, so the requests read ahead are not the run's.
        Case{"PersonalExport",
             {{"300", "100"},
              {StampLine("100", kDay, "08:30"), StampLine("100", kDay, "17:30")},
              {RequestLine("100", kDay), RequestLine("300", kDay)}}},
        // Read again for the rewritten staff list, and failing: the month of the
        // requests read ahead (March) must not stay behind.
        Case{"PersonalExportBadRequest",
             {{"300"},
              {StampLine("100", kDay, "08:30"), StampLine("100", kDay, "17:30")},
              {RequestLine("300", "2022/03/05"), RequestLine("100", "bad")}}},
        // No request kept: the month's placeholder row comes from the stamps.
        Case{"NoRequestKept",
             {{"100"},
              {StampLine("100", kDay, "08:30"), StampLine("200", kDay, "08:31")},
              {RequestLine("999", kDay)}}},
        // The request reader fails: its messages first, then the failure.
        Case{"BadRequestDate",
             {{"100"},
              {StampLine("100", kDay, "08:30"), StampLine("200", kDay, "08:31")},
              {RequestLine("100", kDay), RequestLine("100", "bad")}}},
        // The stamp reader fails: nothing of the requests is shown or kept.
        Case{"BadStampDate",
             {{"100"},
              {StampLine("100", kDay, "08:30"), StampLine("200", "bad", "08:31")},
              {RequestLine("100", kDay)}}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(RequestReadAheadFailure, StampFailureLeavesNoRequestRows) {
  TempFolder folder;
  const Reading ahead = Read({{"100"},
                              {StampLine("100", kDay, "08:30"), StampLine("2", "bad", "1")},
                              {RequestLine("100", kDay)}},
                             folder, true);
  EXPECT_TRUE(ahead.failure.contains(QStringLiteral("stamps.csv"))) << ahead.failure.toStdString();
  EXPECT_TRUE(ahead.tables->requestTable[1][1].isEmpty());
  EXPECT_TRUE(ahead.frontend.statusHistory.filter(QStringLiteral("申請")).isEmpty());
}

}  // namespace
}  // namespace morvik::testing
