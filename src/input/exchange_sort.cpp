#include "input/exchange_sort.h"

#include <QHash>

#include <algorithm>
#include <bit>
#include <numeric>

#if defined(__SSE2__) || defined(_M_X64)
#include <emmintrin.h>
#endif

namespace morvik {
namespace {

// Ranks are read past the last position: the search below takes four at a time and
// needs no bounds, as it always stops at a 0.
constexpr std::size_t kPadding = 4;

// Rank 0 for the empty text, then 1, 2, ... in code-unit order; equal texts share a rank.
// The ranks are followed by kPadding 0s. Thousands of rows hold a few hundred staff
// numbers: only the distinct ones are sorted, and each row looks its rank up.
std::vector<int> Ranks(std::span<const QString> keys) {
  QHash<QStringView, int> rankOf;
  for (const QString& key : keys) {
    if (!key.isEmpty()) rankOf.insert(key, 0);
  }
  std::vector<QStringView> distinct(rankOf.keyBegin(), rankOf.keyEnd());
  std::sort(distinct.begin(), distinct.end());
  for (std::size_t r = 0; r < distinct.size(); ++r) rankOf[distinct[r]] = static_cast<int>(r) + 1;
  std::vector<int> ranks(keys.size() + kPadding, 0);
  for (std::size_t p = 0; p < keys.size(); ++p) {
    if (!keys[p].isEmpty()) ranks[p] = rankOf.value(keys[p]);
  }
  return ranks;
}

// The first position from `q` on whose rank is below `current`, a row's rank and so at
// least 1: the empty key that ends the segment, or a padding 0, when nothing before it
// is. On random data a pass walks most of its segment, a smaller row every ten or so: the
// walk is the sort's cost, and where the processor can it compares four ranks at once.
int NextSmaller(const std::vector<int>& rank, int q, int current) {
#if defined(__SSE2__) || defined(_M_X64)
  const __m128i limit = _mm_set1_epi32(current);
  for (;; q += 4) {
    const __m128i four = _mm_loadu_si128(reinterpret_cast<const __m128i*>(rank.data() + q));
    const int below = _mm_movemask_ps(_mm_castsi128_ps(_mm_cmplt_epi32(four, limit)));
    if (below != 0) return q + std::countr_zero(static_cast<unsigned>(below));
  }
#else
  while (rank[q] >= current) ++q;
  return q;
#endif
}

// For each position, the smallest rank from there to the next empty key. Exchanges only
// ever put a greater rank at a later position, so these stay lower bounds all along.
std::vector<int> SuffixMinima(std::span<const int> rank) {
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
  const std::vector<int> atLeast = SuffixMinima(std::span(rank).first(keys.size()));
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
      // Search for the next smaller row without storing, and stop as soon as nothing
      // smaller can follow.
      for (int q = i + 1; q < end && atLeast[q] < current; ++q) {
        q = NextSmaller(rank, q, current);
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
