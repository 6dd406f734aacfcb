#include "app/overview_handover.h"

#include <QDir>

#include "app/run_sequence.h"
#include "app/session.h"
#include "chart/chart_saving.h"
#include "core/failures.h"
#include "core/frontend.h"
#include "overview/month_overview.h"
#include "review/month_review.h"

namespace morvik {
namespace {

const QString kPageNotSaved =
    QStringLiteral("エラー：一覧ページ(HTML)の保存でエラーが発生しました．");

}  // namespace

QString PageImageFile(const ChartSave& save, const QString& outputFolder) {
  if (save.namesFailed) return QString();
  const QString& path = save.jpgPath.isEmpty() ? save.bmpPath : save.jpgPath;
  return path.isEmpty() ? QString() : QDir(outputFolder).relativeFilePath(path);
}

void WriteOverview(const Session& session, const review::MonthReview& review,
                   const overview::MonthOverview& overview, const QString& runMonth,
                   Frontend& frontend, RunOutcome& outcome) {
  if (!session.form.writeOverviewPage) return;
  try {
    overview.WritePage(session.outputFolder, runMonth, review, session.clock());
  } catch (const std::exception& error) {
    frontend.ShowMessage(kPageNotSaved);
    outcome.unsavedOutputs << FailureDetail(error);
  }
}

}  // namespace morvik
