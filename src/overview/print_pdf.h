#pragma once
// The print PDF (yyyymm_勤務表.pdf): A4 landscape; first the summary table, page after
// page as it needs, then one page per staff member in run order with the month chart
// fitted to the page. The charts are the canvas's own drawing as vectors, their texts
// real text in the chart's face, embedded, so the file prints and reads the same
// anywhere and can be searched. Every page says what it is in a line above its content.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <span>

#include "chart/vector_chart.h"
#include "overview/overview_rows.h"

namespace morvik::overview {

// `rows` in the summary's order; `charts` in run order, chart k belonging to the row whose
// runIndex is k. `month` is yyyy/mm, `now` the run's clock (also the file's creation date,
// so that a run with a fixed clock writes the same bytes).
QByteArray PrintPdf(const QString& month, const QDateTime& now, std::span<const OverviewRow> rows,
                    std::span<const VectorChart> charts);

}  // namespace morvik::overview
