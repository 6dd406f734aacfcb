#include "input/exchange_sort.h"

#include <algorithm>
#include <numeric>

namespace morvik {
namespace {

// Rank 0 for the empty text, then 1, 2, ... in code-unit order; equal texts share a rank.
std::vector<int> Ranks(std::span<const QString> keys) {
  std::vector<QString> distinct;
  distinct.reserve(keys.size());
  for (const QString& key : keys) {
    if (!key.isEmpty()) distinct.push_back(key);
  }
  std::sort(distinct.begin(), distinct.end());
  distinct.erase(std::unique(distinct.begin(), distinct.end()), distinct.end());
  std::vector<int> ranks(keys.size(), 0);
  for (std::size_t p = 0; p < keys.size(); ++p) {
    if (keys[p].isEmpty()) continue;
    const auto it = std::lower_bound(distinct.begin(), distinct.end(), keys[p]);
    ranks[p] = static_cast<int>(it - distinct.begin()) + 1;
  }
  return ranks;
}

// For each position, the smallest rank from there to the next empty key. Exchanges only
// ever put a greater rank at a later position, so these stay lower bounds all along.
std::vector<int> SuffixMinima(const std::vector<int>& rank) {
  std::vector<int> minimum(rank.size());
  for (std::size_t p = rank.size(); p-- > 0;) {
    const bool segmentEnds = p + 1 == rank.size() || rank[p + 1] == 0;
    minimum[p] = segmentEnds ? rank[p] : std::min(rank[p], minimum[p + 1]);
  }
  return minimum;
}

}  // namespace

std::vector<int> ExchangeSortOrder(std::span<const QString> keys,
                                   const std::function<void(int)>& afterPass) {
  std::vector<int> rank = Ranks(keys);
  const std::vector<int> atLeast = SuffixMinima(rank);
  std::vector<int> from(keys.size());
  std::iota(from.begin(), from.end(), 0);
  const int size = static_cast<int>(keys.size());
  int end = 0;  // one past the last position that the pass at i compares with
  for (int i = 0; i + 1 < size; ++i) {
    if (end <= i) {
      end = i + 1;
      while (end < size && rank[end] != 0) ++end;
    }
    // An empty key at i is greater than nothing: its pass makes no exchange. Otherwise
    // the row at i is exchanged with every later row that is smaller than its current one.
    if (rank[i] != 0) {
      int current = rank[i];
      int currentFrom = from[i];
      // Exchanges are rare on most data: scan for the next smaller row without storing,
      // and stop as soon as nothing smaller can follow.
      for (int q = i + 1; q < end && atLeast[q] < current; ++q) {
        while (q < end && rank[q] >= current) ++q;
        if (q >= end) break;
        std::swap(current, rank[q]);
        std::swap(currentFrom, from[q]);
      }
      rank[i] = current;
      from[i] = currentFrom;
    }
    if (afterPass) afterPass(i);
  }
  return from;
}

}  // namespace morvik
