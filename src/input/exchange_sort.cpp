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

// Why rank by rank. Read left to right, skipping greater rows, the rows of rank r and
// below go through exactly the states of the sort run on them alone: a pass that starts
// at a greater row carries greater rows until it meets the first row of rank r or below,
// brings that row to the pass's place and then does that row's pass of the smaller sort;
// the row's old place now holds a greater row, so no pass of the smaller sort is skipped
// or repeated. In the smaller sort, a row of rank r (the greatest there) at place p moves
// only in the pass at p: to the first place after p that holds a lower row, which takes
// p. It may so move again, when the walk reaches its new place; nothing else changes
// which places hold rank-r rows.
//
// So one walk over the rank-r rows and the lower ones, in position order, finds where
// the rank-r rows end ("places" below are places in that walk). The lower places taken
// ahead of the walk are always the next few lower places, in the order they were taken:
// a queue holds the rank-r rows standing on them, nearest first. A rank-r row whose pass
// comes moves on while a free lower place lies ahead, and otherwise stays for good. A
// segment ends sorted by rank, so each rank's rows, in their final order, follow those of
// the lower ranks in `from`.
class RankByRank {
 public:
  explicit RankByRank(std::vector<int>& from) : from_(from) {}

  // Appends to `from` the final order of the next rank's rows (`same`: positions,
  // ascending, at least one), and counts them among the lower rows for the next rank.
  void Add(std::span<const int> same) {
    queue_.clear();
    head_ = 0;
    // Before the rank's first row the queue is empty: nothing moves there, and lower_
    // keeps those rows as they are. The rest are walked and merged back behind them.
    const auto untouched = std::lower_bound(lower_.begin(), lower_.end(), same.front());
    ahead_.assign(untouched, lower_.end());
    lower_.erase(untouched, lower_.end());
    std::size_t lowerAhead = ahead_.size();
    auto next = ahead_.cbegin();
    for (const int position : same) {
      for (; next != ahead_.cend() && *next < position; ++next) PassLowerRow(*next, lowerAhead);
      lower_.push_back(position);
      MoveOnOrStay(position, lowerAhead);
    }
    for (; next != ahead_.cend(); ++next) PassLowerRow(*next, lowerAhead);
  }

 private:
  void PassLowerRow(int position, std::size_t& lowerAhead) {
    lower_.push_back(position);
    --lowerAhead;  // now the lower places after the walk's
    if (head_ < queue_.size()) MoveOnOrStay(queue_[head_++], lowerAhead);
  }

  // The rank-r row at the walk's place, when its pass comes: a free lower place lies
  // ahead when the lower places after the walk outnumber the rows waiting on them.
  void MoveOnOrStay(int row, std::size_t lowerAhead) {
    if (lowerAhead > queue_.size() - head_) {
      queue_.push_back(row);
    } else {
      from_.push_back(row);
    }
  }

  std::vector<int>& from_;
  std::vector<int> lower_;  // positions of the rows of the ranks added, ascending
  std::vector<int> ahead_;  // the part of lower_ that the walk of a rank passes
  std::vector<int> queue_;  // rank-r rows on the next lower places ahead, from head_ on
  std::size_t head_ = 0;
};

// Appends to `from` the final order of the rows [begin, end) between two empty keys.
void OrderSegment(std::span<const int> rank, int begin, int end, std::vector<int>& from) {
  std::vector<int> byRank(static_cast<std::size_t>(end - begin));
  std::iota(byRank.begin(), byRank.end(), begin);
  // Stable: each rank's positions must stay ascending.
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

std::vector<int> ExchangeSortOrder(std::span<const QString> keys) {
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
  return from;
}

}  // namespace morvik
