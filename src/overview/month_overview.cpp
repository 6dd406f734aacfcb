#include "overview/month_overview.h"

#include <QDir>

#include "core/output_file.h"
#include "overview/overview_page.h"
#include "overview/overview_rows.h"

namespace morvik::overview {
namespace {

// yyyy/mm of a yyyymm run month.
QString MonthText(const QString& runMonth) { return runMonth.left(4) + u'/' + runMonth.mid(4, 2); }

}  // namespace

QString OverviewPageFileName(const QString& runMonth) {
  return runMonth + QStringLiteral("_一覧.html");
}

void MonthOverview::Add(QString imageFile) { imageFiles_.push_back(std::move(imageFile)); }

void MonthOverview::WritePage(const QString& folder, const QString& runMonth,
                              const review::MonthReview& review, const QDateTime& now) const {
  std::vector<OverviewRow> rows = OverviewRows(review.staff(), imageFiles_);
  SortForAttention(rows);
  WriteFileAtomically(QDir(folder).filePath(OverviewPageFileName(runMonth)),
                      OverviewPage(MonthText(runMonth), now, rows));
}

}  // namespace morvik::overview
