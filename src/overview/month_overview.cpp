#include "overview/month_overview.h"

#include <QDir>

#include "core/output_file.h"
#include "overview/overview_page.h"
#include "overview/overview_rows.h"
#include "overview/print_pdf.h"

namespace morvik::overview {
namespace {

// yyyy/mm of a yyyymm run month.
QString MonthText(const QString& runMonth) { return runMonth.left(4) + u'/' + runMonth.mid(4, 2); }

}  // namespace

QString OverviewPageFileName(const QString& runMonth) {
  return runMonth + QStringLiteral("_一覧.html");
}

QString PrintPdfFileName(const QString& runMonth) {
  return runMonth + QStringLiteral("_勤務表.pdf");
}

MonthOverview::MonthOverview(bool keepCharts)
    : vectorCanvas_(keepCharts ? std::make_unique<Canvas>(Canvas::Surface::kVectors) : nullptr) {}

MonthOverview::~MonthOverview() = default;

void MonthOverview::Add(QString imageFile, const std::function<void(Canvas&)>& drawChart) {
  if (vectorCanvas_) {
    drawChart(*vectorCanvas_);
    charts_.push_back(vectorCanvas_->TakeVectors());
  }
  imageFiles_.push_back(std::move(imageFile));
}

void MonthOverview::WritePage(const QString& folder, const QString& runMonth,
                              const review::MonthReview& review, const QDateTime& now) const {
  std::vector<OverviewRow> rows = OverviewRows(review.staff(), imageFiles_);
  SortForAttention(rows);
  WriteFileAtomically(QDir(folder).filePath(OverviewPageFileName(runMonth)),
                      OverviewPage(MonthText(runMonth), now, rows));
}

void MonthOverview::WritePdf(const QString& folder, const QString& runMonth,
                             const review::MonthReview& review, const QDateTime& now) const {
  std::vector<OverviewRow> rows = OverviewRows(review.staff(), imageFiles_);
  SortForAttention(rows);
  // A chart whose staff member the review did not get (a failure in between) is left out.
  const std::span<const VectorChart> charts(charts_.data(), std::min(charts_.size(), rows.size()));
  WriteFileAtomically(QDir(folder).filePath(PrintPdfFileName(runMonth)),
                      PrintPdf(MonthText(runMonth), now, rows, charts));
}

}  // namespace morvik::overview
