#include "input/staff_selection.h"

#include <QSet>

#include <optional>
#include <span>
#include <vector>

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
  explicit RequestRowIndex(std::span<const QString> keys) : keys_(keys) { Advance(); }

  bool Contains(const QString& staffNumber) const { return present_.contains(staffNumber); }

  // The first row whose staff number is empty, or -1 when every row is taken.
  int FreeRow() const { return free_ <= kLastRequestRow ? free_ : -1; }

  // Call after the free row has been filled.
  void Advance() {
    while (free_ <= kLastRequestRow && !keys_[free_].isEmpty()) {
      present_.insert(keys_[free_]);
      ++free_;
    }
  }

 private:
  std::span<const QString> keys_;
  QSet<QString> present_;
  int free_ = kFirstRequestRow;
};

// A listed staff member without a request row, and the row that takes their placeholder
// (-1: the table is full, and the row is not written).
struct Placeholder {
  QString staffNumber;
  int row = -1;
};

// The placeholders of AddStaffRequests, in the list's order; each placeholder's staff
// number is written into `keys` (the staff numbers of request rows 0..5000) as the row
// will hold it.
std::vector<Placeholder> PlacePlaceholders(std::span<QString> keys,
                                           std::span<const QString> staffList) {
  std::vector<Placeholder> placeholders;
  RequestRowIndex rows(keys);
  for (std::size_t e = 1; e < staffList.size(); ++e) {
    const QString& staffNumber = staffList[e];
    if (staffNumber.isEmpty()) break;
    if (rows.Contains(staffNumber)) continue;
    placeholders.push_back({staffNumber, rows.FreeRow()});
    if (placeholders.back().row >= 0) {
      keys[placeholders.back().row] = staffNumber;
      rows.Advance();
    }
  }
  return placeholders;
}

std::vector<QString> RequestKeys(const WorkingTables& tables, int firstRow) {
  std::vector<QString> keys;
  keys.reserve(kRequestRows - firstRow);
  for (int r = firstRow; r <= kLastRequestRow; ++r) keys.push_back(tables.requestTable[r][1]);
  return keys;
}

void AddPlaceholderFor(WorkingTables& tables, const FormState& form,
                       std::optional<StampStaffIndex>& stamps, const Placeholder& placeholder) {
  if (!stamps) stamps.emplace(tables);  // built once, on the first staff member missing
  LookupStampStaff(tables, *stamps, placeholder.staffNumber);
  const auto& headers = RequestHeaderTexts();
  std::copy(headers.begin(), headers.end(), tables.requestTable[0].begin() + 1);
  if (placeholder.row >= 0) {
    WritePlaceholderRow(tables, placeholder.row);  // its staff number is the one looked up
    ++tables.requestRowCount;
  }
  if (tables.requestMonthPrefix.isEmpty()) {
    tables.requestMonthPrefix = form.monthText + u'/';
  }
}

}  // namespace

void AddStaffRequests(WorkingTables& tables, const FormState& form, Frontend& frontend) {
  frontend.SetStatusText(kAdding);
  std::vector<QString> keys = RequestKeys(tables, 0);
  std::optional<StampStaffIndex> stamps;
  for (const Placeholder& placeholder : PlacePlaceholders(keys, tables.staffList)) {
    AddPlaceholderFor(tables, form, stamps, placeholder);
  }
  frontend.SetStatusText(kAdded);
}

RequestOrder OrderAfterPlaceholders(const WorkingTables& tables,
                                    std::span<const QString> staffList) {
  std::vector<QString> keys = RequestKeys(tables, 0);
  PlacePlaceholders(keys, staffList);
  keys.erase(keys.begin());  // row 0, the header, keeps its place
  RequestOrder order;
  order.from = ExchangeSortOrder(keys);
  order.keys = std::move(keys);
  return order;
}

void SortRequestsByStaff(WorkingTables& tables, Frontend& frontend, const RequestOrder* worked) {
  frontend.SetStatusText(kSorting);
  frontend.SetProgressRange(ProgressBar::kStep, 0, kLastRequestRow);
  frontend.SetProgressValue(ProgressBar::kStep, 0);
  frontend.SetProgressVisible(ProgressBar::kStep, true);

  const std::vector<QString> keys = RequestKeys(tables, kFirstRequestRow);
  const std::vector<int> from =
      worked != nullptr && worked->keys == keys ? worked->from : ExchangeSortOrder(keys);
  // The bar steps once for each pass of the sort, all but the last row's.
  for (int pass = 0; pass + 1 < static_cast<int>(keys.size()); ++pass) {
    frontend.SetProgressValue(ProgressBar::kStep, pass + kFirstRequestRow);
  }

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
