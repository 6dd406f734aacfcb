#pragma once
// The summary table at the front of the print PDF: a line per staff member with the
// chart's page, the totals and the review's counts.

#include <QRectF>

#include <functional>
#include <span>

#include "overview/overview_rows.h"

class QPainter;

namespace morvik::overview {

// Lines of the table that fit in `area` (in points), heading line included.
int SummaryLinesPerPage(const QRectF& area);

// Draws rows [first, first + count) of `rows` as one page of the table into `area`;
// `chartPage` gives the page number of a row's chart.
void DrawSummaryPage(QPainter& painter, const QRectF& area, std::span<const OverviewRow> rows,
                     const std::function<int(const OverviewRow&)>& chartPage);

}  // namespace morvik::overview
