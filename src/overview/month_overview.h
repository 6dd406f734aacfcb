#pragma once
// The overview page and the print PDF of a run: what each finished staff member hands
// over (the saved chart's name, the chart as vectors), and the two files written at the
// end of the run from that and the month review.

#include <QDateTime>
#include <QString>

#include <functional>
#include <memory>
#include <vector>

#include "chart/canvas.h"
#include "chart/vector_chart.h"

#include "review/month_review.h"

namespace morvik::overview {

class MonthOverview {
 public:
  // `keepCharts`: the print PDF is wanted, so each chart is kept as vectors.
  explicit MonthOverview(bool keepCharts);
  ~MonthOverview();

  // Hands over one finished staff member, before the review gets its record, so that the
  // review's staff members pair with these entries by place. `imageFile` is the saved
  // chart relative to the output folder; empty when none was saved. `drawChart` draws the
  // staff member's chart on the canvas it is given (called only when charts are kept).
  void Add(QString imageFile, const std::function<void(Canvas&)>& drawChart);

  // Write yyyymm_一覧.html into `folder` for the review's staff members (a page without
  // rows when there are none). Throw RunFailure naming the file that could not be written.
  void WritePage(const QString& folder, const QString& runMonth, const review::MonthReview& review,
                 const QDateTime& now) const;

  // Writes yyyymm_勤務表.pdf the same way: the summary, then the charts kept.
  void WritePdf(const QString& folder, const QString& runMonth, const review::MonthReview& review,
                const QDateTime& now) const;

 private:
  std::vector<QString> imageFiles_;
  std::unique_ptr<Canvas> vectorCanvas_;  // null: no charts kept
  std::vector<VectorChart> charts_;
};

QString OverviewPageFileName(const QString& runMonth);
QString PrintPdfFileName(const QString& runMonth);

}  // namespace morvik::overview
