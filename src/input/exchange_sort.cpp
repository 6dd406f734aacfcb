#include "input/exchange_sort.h"

#include <QHash>

#include <algorithm>
#include <numeric>

namespace morvik {
namespace {

// Rank 0 for the empty text, then 1, 2, ... in code-unit order; equal texts share a rank.
// Thousands of rows hold a few hundred staff numbers: only the distinct ones are sorted,
// and each row looks its rank up.
std::vector<int> Ranks(std::span<const QString> keys) {
  QHash<QStringView, int> rankOf;
  for (const QString& key : keys) {
    if (!key.isEmpty()) rankOf.insert(key, 0);
  }
  std::vector<QStringView> distinct(rankOf.keyBegin(), rankOf.keyEnd());
  std::sort(distinct.begin(), distinct.end());
  for (std::size_t r = 0; r < distinct.size(); ++r) rankOf[distinct[r]] = static_cast<int>(r) + 1;
  std::vector<int> ranks(keys.size(), 0);
  for (std::size_t p = 0; p < keys.size(); ++p) {
    if (!keys[p].isEmpty()) ranks[p] = rankOf.value(keys[p]);
  }
  return ranks;
}

// The rows of rank r and below, in their first order, are moved among themselves
// exactly as the sort would sort them alone: a pass that starts at a greater row carries
// greater ranks until it meets the first of them, and from there on exchanges only among
// them. In that smaller sort a row of rank r, the greatest, moves only in its own pass:
// to the place of the first lower row after it, while the lower rows change places only
// among themselves. So one walk over the rank-r rows and the lower ones finds where the
// rank-r rows end. A rank-r row whose pass comes is sent to the next lower place ahead
// that no rank-r row has been sent to; it waits in a queue for that place, is sent on
// again when the walk reaches it, and stays for good once no such place lies ahead.
// Ranks are added in order, each walk over the rows of the ranks below it.
class RankByRank {
 public:
  explicit RankByRank(std::vector<int>& from) : from_(from) {}

  // Appends to `from` the positions of the next rank's rows (`same`: ascending, at least
  // one) in their final order, and adds them to the lower rows for the next rank.
  void Add(std::span<const int> same) {
    merged_.clear();
    queue_.clear();
    head_ = 0;
    // Lower rows before the rank's first row see an empty queue: they keep their places.
    const auto untouched = std::lower_bound(lower_.begin(), lower_.end(), same.front());
    merged_.insert(merged_.end(), lower_.begin(), untouched);
    std::size_t lowerAhead = static_cast<std::size_t>(lower_.end() - untouched);
    auto next = untouched;
    for (const int position : same) {
      for (; next != lower_.end() && *next < position; ++next) PassLowerRow(*next, lowerAhead);
      merged_.push_back(position);
      JumpOrStay(position, lowerAhead);
    }
    for (; next != lower_.end(); ++next) PassLowerRow(*next, lowerAhead);
    lower_.swap(merged_);
  }

 private:
  void PassLowerRow(int position, std::size_t& lowerAhead) {
    merged_.push_back(position);
    --lowerAhead;
    if (head_ < queue_.size()) JumpOrStay(queue_[head_++], lowerAhead);
  }

  // A row of the rank at the pass's place: on to the next free lower place, or there for
  // good.
  void JumpOrStay(int row, std::size_t lowerAhead) {
    if (lowerAhead > queue_.size() - head_) {
      queue_.push_back(row);
    } else {
      from_.push_back(row);
    }
  }

  std::vector<int>& from_;
  std::vector<int> lower_;   // positions of the rows of lower ranks, ascending
  std::vector<int> merged_;  // lower_ and the rank's rows, for the next rank
  std::vector<int> queue_;   // rows of the rank waiting for a lower place; from head_ on
  std::size_t head_ = 0;
};

// The final order of the rows [begin, end) between two empty keys.
void OrderSegment(std::span<const int> rank, int begin, int end, std::vector<int>& from) {
  std::vector<int> byRank(static_cast<std::size_t>(end - begin));
  std::iota(byRank.begin(), byRank.end(), begin);
  std::stable_sort(byRank.begin(), byRank.end(), [&](int a, int b) { return rank[a] < rank[b]; });
  RankByRank ranks(from);
  for (auto first = byRank.begin(); first != byRank.end();) {
    const auto last =
        std::find_if(first, byRank.end(), [&](int p) { return rank[p] != rank[*first]; });
    ranks.Add(std::span<const int>(first, last));
    first = last;
  }
}

}  // namespace

std::vector<int> ExchangeSortOrder(std::span<const QString> keys,
                                   const std::function<void(int)>& afterPass) {
  const std::vector<int> rank = Ranks(keys);
  const int size = static_cast<int>(keys.size());
  std::vector<int> from;
  from.reserve(keys.size());
  for (int begin = 0; begin < size;) {
    int end = begin;
    while (end < size && rank[end] != 0) ++end;
    if (end > begin) OrderSegment(rank, begin, end, from);
    if (end < size) from.push_back(end);  // an empty key keeps its place
    begin = end + 1;
  }
  if (afterPass) {
    for (int p = 0; p + 1 < size; ++p) afterPass(p);
  }
  return from;
}

}  // namespace morvik
