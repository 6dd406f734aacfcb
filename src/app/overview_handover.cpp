#include "app/overview_handover.h"

#include <QDir>

#include "app/run_sequence.h"
#include "app/session.h"
#include "chart/chart_drawing.h"
#include "chart/chart_saving.h"
#include "core/failures.h"
#include "core/frontend.h"
#include "overview/month_overview.h"
#include "review/month_review.h"

namespace morvik {
namespace {

const QString kPageNotSaved =
    QStringLiteral("エラー：一覧ページ(HTML)の保存でエラーが発生しました．");
const QString kPdfNotSaved = QStringLiteral("エラー：印刷用PDFの保存でエラーが発生しました．");

// The chart drawn a second time reports nothing: the user has seen its progress once.
class QuietFrontend : public Frontend {
 public:
  void SetStatusText(const QString&) override {}
  void SetProgressRange(ProgressBar, double, double) override {}
  void SetProgressValue(ProgressBar, double) override {}
  void SetProgressVisible(ProgressBar, bool) override {}
  void ShowMessage(const QString&) override {}
  void SetBusy(bool) override {}
  void ShowChartWindow() override {}
  void RefreshChartWindow() override {}
  void CloseChartWindow() override {}
  void BringMainWindowToFront() override {}
};

// The saved chart as the overview page links it: the JPG, else the BMP, relative to the
// output folder; empty when neither is saved.
QString PageImageFile(const ChartSave& save, const QString& outputFolder) {
  if (save.namesFailed) return QString();
  const QString& path = save.jpgPath.isEmpty() ? save.bmpPath : save.jpgPath;
  return path.isEmpty() ? QString() : QDir(outputFolder).relativeFilePath(path);
}

}  // namespace

void HandOverChart(const WorkingTables& tables, const StampIndex& stamps, const ChartSave& save,
                   const QString& outputFolder, const QDateTime& now,
                   overview::MonthOverview& overview) {
  overview.Add(PageImageFile(save, outputFolder), [&](Canvas& vectors) {
    QuietFrontend quiet;
    DrawChart(tables, stamps, vectors, quiet, now);
  });
}

void WriteOverview(const Session& session, const review::MonthReview& review,
                   const overview::MonthOverview& overview, const QString& runMonth,
                   Frontend& frontend, RunOutcome& outcome) {
  const QDateTime now = session.clock();
  if (session.form.writeOverviewPage) {
    try {
      overview.WritePage(session.outputFolder, runMonth, review, now);
    } catch (const std::exception& error) {
      ReportOutputNotSaved(frontend, outcome, kPageNotSaved, error);
    }
  }
  if (session.form.writePrintPdf) {
    try {
      overview.WritePdf(session.outputFolder, runMonth, review, now);
    } catch (const std::exception& error) {
      ReportOutputNotSaved(frontend, outcome, kPdfNotSaved, error);
    }
  }
}

}  // namespace morvik
