#pragma once
// The order of the request rows after the program's exchange sort on staff numbers.
//
// The sort: for each position i, compare the row at i with every later row up to the
// next empty staff number, and exchange the two whenever the one at i is strictly
// greater (plain code-unit comparison). It is not stable, and later steps fill a day's
// slots in row order, so its exact result matters. Its exchanges are a million on a
// managers' month; this finds the same result rank by rank, from where each rank's rows
// stand among the lower ones (see exchange_sort.cpp).

#include <QString>

#include <span>
#include <vector>

namespace morvik {

// `keys[p]` is the staff number at position p; an empty one ends the comparisons of
// every position before it and never moves. Returns `from`, with from[p] the old
// position of the row that ends at p.
std::vector<int> ExchangeSortOrder(std::span<const QString> keys);

}  // namespace morvik
