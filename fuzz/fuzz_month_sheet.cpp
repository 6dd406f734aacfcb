// Arbitrary request rows for one staff member through the month sheet and the chart:
// PlaceRequestRow over a regular month, the clean-up SaveStaffMonth does (lunch break,
// order) and DrawChart. The first byte picks the month and whether the rows get the
// normal forms the request reader gives them; the rest is read as 17-field records.
// Whatever the placement made of them, the month review then judges the month, with
// each row's start date and time as a stamp too; the review must never fail.
#include <QDateTime>

#include <array>
#include <span>
#include <vector>

#include "chart/canvas.h"
#include "chart/chart_drawing.h"
#include "chart/stamp_index.h"
#include "core/failures.h"
#include "core/text_codec.h"
#include "core/text_rules.h"
#include "core/working_tables.h"
#include "fuzz_support.h"
#include "input/cell_forms.h"
#include "input/field_reader.h"
#include "review/month_findings.h"
#include "review/review_rows.h"
#include "review/staff_month_record.h"
#include "sheet/day_cleanup.h"
#include "sheet/regular_work.h"
#include "sheet/request_placement.h"
#include "testing/recording_frontend.h"

namespace {

using morvik::RequestRow;
using morvik::WorkingTables;

constexpr int kFields = morvik::kRequestColumns - 1;
constexpr size_t kMaxRows = 200;  // more rows only repeat what the grid already overflows

const std::array<QString, 4> kMonths = {QStringLiteral("2026/11/"), QStringLiteral("2026/02/"),
                                        QStringLiteral("2024/02/"), QStringLiteral("2026/12/")};

// A few stamps of the staff member the sample rows are for, inside and outside the month.
void SetStamps(WorkingTables& tables) {
  static const char* const kStamps[][3] = {{"00123", "2026/11/02", "08:19"},
                                           {"00123", "2026/11/02", "18:58"},
                                           {"00123", "2026/12/01", "07:59"},
                                           {"00123", "2024/02/29", "23:59"},
                                           {"00123", "2026/02/28", "00:00"}};
  for (auto& row : tables.stampTable) row.fill(QString());
  int r = 1;
  for (const auto& stamp : kStamps) {
    tables.stampTable.at(r)[1] = QString::fromLatin1(stamp[0]);
    tables.stampTable.at(r)[9] = QString::fromLatin1(stamp[1]);
    tables.stampTable.at(r)[10] = QString::fromLatin1(stamp[2]);
    ++r;
  }
  tables.stampRowCount = r;
}

// The records of the text; a record cut short ends the list.
std::vector<RequestRow> ReadRows(const QByteArray& bytes) {
  morvik::FieldReader reader(morvik::DecodeInputFile(bytes), QStringLiteral("fuzz"));
  std::vector<RequestRow> rows;
  try {
    while (!reader.AtEnd() && rows.size() < kMaxRows) {
      RequestRow row;
      reader.ReadRecord(std::span<QString>(row).subspan(1, kFields));
      rows.push_back(row);
    }
  } catch (const morvik::RunFailure&) {
  }
  return rows;
}

void Normalise(RequestRow& row) {
  if (!row[8].isEmpty()) {
    row[8] = morvik::NormalisedDateOrFail(row[8], [] { return QStringLiteral("start"); });
    row[10] = morvik::NormalisedDateOrFail(row[10], [] { return QStringLiteral("end"); });
  }
  row[9] = morvik::NormalisedTime(row[9]);
  row[11] = morvik::NormalisedTime(row[11]);
}

void ReviewMonth(const WorkingTables& tables, const std::vector<RequestRow>& rows,
                 int tolerance) {
  const std::vector<int> stampRows = {1, 2, 3, 4, 5};
  morvik::review::StaffMonthRecord record =
      morvik::review::TakeStaffMonthRecord(tables, rows, stampRows);
  for (const RequestRow& row : rows) record.stamps.push_back({row[8], row[9]});
  const auto findings = morvik::review::FindDisagreements(record, tolerance);
  morvik::review::FindingLines(record, findings);
  morvik::review::SummaryLine(record, findings);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  if (size == 0) return 0;
  morvik::fuzz::EnsureApplication();
  static morvik::Canvas* canvas = new morvik::Canvas();
  WorkingTables& tables = morvik::fuzz::SharedTables();
  static const bool stamped = (SetStamps(tables), true);
  (void)stamped;
  const bool normalise = (data[0] & 4) != 0;
  const std::vector<RequestRow> rows = ReadRows(
      QByteArray(reinterpret_cast<const char*>(data + 1), static_cast<qsizetype>(size - 1)));

  morvik::testing::RecordingFrontend frontend;
  morvik::ClearAllData(tables, frontend);
  tables.requestMonthPrefix = kMonths[data[0] & 3];
  morvik::fuzz::AcceptFailurePath([&] {
    morvik::SetRegularWork(tables, frontend);
    tables.netRegularMinutes = tables.regularMinutes;
    for (RequestRow row : rows) {
      if (normalise) Normalise(row);
      tables.currentRequest = row;
      morvik::PlaceRequestRow(tables, frontend);
    }
    morvik::ApplyLunchBreak(tables);
    morvik::SortWorkTimes(tables, frontend);
    morvik::DrawChart(tables, morvik::StampIndex(tables), *canvas, frontend,
                      QDateTime(QDate(2026, 12, 7), QTime(10, 0)));
  });
  ReviewMonth(tables, rows, data[0] >> 3);
  return 0;
}
