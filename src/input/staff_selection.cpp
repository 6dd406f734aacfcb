#include "input/staff_selection.h"

#include <QSet>

#include <optional>

#include "core/form_state.h"
#include "core/frontend.h"
#include "core/working_tables.h"
#include "input/exchange_sort.h"
#include "input/placeholder_row.h"
#include "input/staff_lookup.h"

namespace morvik {
namespace {

const QString kAdding = QStringLiteral("職員番号指定の申請データを追加します");
const QString kAdded = QStringLiteral("職員番号指定の申請データを追加しました");
const QString kSorting = QStringLiteral("申請ファイルを職員番号でソートします");
const QString kSorted = QStringLiteral("申請ファイルを職員番号でソートしました");

constexpr int kFirstRequestRow = 1;
constexpr int kLastRequestRow = kRequestRows - 1;

// The request rows' staff numbers up to the first empty one, which is where the next
// placeholder goes. Answers the search of AddStaffRequests without rescanning the rows.
class RequestRowIndex {
 public:
  explicit RequestRowIndex(const WorkingTables& tables) : tables_(tables) { Advance(); }

  bool Contains(const QString& staffNumber) const { return present_.contains(staffNumber); }

  // The first row whose staff number is empty, or -1 when every row is taken.
  int FreeRow() const { return free_ <= kLastRequestRow ? free_ : -1; }

  // Call after the free row has been filled.
  void Advance() {
    while (free_ <= kLastRequestRow && !tables_.requestTable[free_][1].isEmpty()) {
      present_.insert(tables_.requestTable[free_][1]);
      ++free_;
    }
  }

 private:
  const WorkingTables& tables_;
  QSet<QString> present_;
  int free_ = kFirstRequestRow;
};

void AddPlaceholderFor(WorkingTables& tables, const FormState& form, RequestRowIndex& rows,
                       std::optional<StampStaffIndex>& stamps, const QString& staffNumber) {
  if (!stamps) stamps.emplace(tables);  // built once, on the first staff member missing
  LookupStampStaff(tables, *stamps, staffNumber);
  const auto& headers = RequestHeaderTexts();
  std::copy(headers.begin(), headers.end(), tables.requestTable[0].begin() + 1);
  if (const int row = rows.FreeRow(); row >= 0) {
    WritePlaceholderRow(tables, row);
    ++tables.requestRowCount;
    rows.Advance();
  }
  if (tables.requestMonthPrefix.isEmpty()) {
    tables.requestMonthPrefix = form.monthText + u'/';
  }
}

}  // namespace

void AddStaffRequests(WorkingTables& tables, const FormState& form, Frontend& frontend) {
  frontend.SetStatusText(kAdding);
  RequestRowIndex rows(tables);
  std::optional<StampStaffIndex> stamps;
  for (int e = 1; e < kStaffListEntries; ++e) {
    const QString& staffNumber = tables.staffList[e];
    if (staffNumber.isEmpty()) break;
    if (!rows.Contains(staffNumber)) AddPlaceholderFor(tables, form, rows, stamps, staffNumber);
  }
  frontend.SetStatusText(kAdded);
}

void SortRequestsByStaff(WorkingTables& tables, Frontend& frontend) {
  frontend.SetStatusText(kSorting);
  frontend.SetProgressRange(ProgressBar::kStep, 0, kLastRequestRow);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);

  std::vector<QString> keys;
  keys.reserve(kLastRequestRow);
  for (int r = kFirstRequestRow; r <= kLastRequestRow; ++r)
    keys.push_back(tables.requestTable[r][1]);
  const std::vector<int> from = ExchangeSortOrder(keys, [&](int pass) {
    frontend.SetProgressValue(ProgressBar::kStep, pass + kFirstRequestRow);
  });

  // Rows 1..5000 take their new places; row 0 and column 0 stay where they are.
  std::vector<RequestRow> moved(from.size());
  for (std::size_t p = 0; p < from.size(); ++p) {
    RequestRow& source = tables.requestTable.at(from[p] + kFirstRequestRow);
    std::move(source.begin() + 1, source.end(), moved[p].begin() + 1);
  }
  for (std::size_t p = 0; p < from.size(); ++p) {
    std::move(moved[p].begin() + 1, moved[p].end(),
              tables.requestTable.at(p + kFirstRequestRow).begin() + 1);
  }

  frontend.SetProgressValue(ProgressBar::kStep, kLastRequestRow);
  frontend.SetStatusText(kSorted);
}

}  // namespace morvik
