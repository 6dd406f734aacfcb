#pragma once
// The overview page (yyyymm_一覧.html): every charted staff member of the run on one page,
// the ones that need attention first, each with the chart a click away.
//
// One self-contained UTF-8 file: inline style and a small inline script, nothing loaded
// from elsewhere but the charts beside it, so it opens from a share or a stick. Every text
// from the exports is escaped, every image link percent-encoded; the script reads the
// table only and never turns text into markup.

#include <QByteArray>
#include <QDateTime>
#include <QString>

#include <span>

#include "overview/overview_rows.h"

namespace morvik::overview {

// `rows` in the order the page shows them first; `month` is yyyy/mm, `now` the run's clock.
QByteArray OverviewPage(const QString& month, const QDateTime& now,
                        std::span<const OverviewRow> rows);

}  // namespace morvik::overview
