#include "app/run_sequence.h"

#include <memory>
#include <optional>

#include "app/chart_pipeline.h"
#include "app/overview_handover.h"
#include "app/session.h"
#include "chart/chart_drawing.h"
#include "chart/chart_saving.h"
#include "chart/stamp_index.h"
#include "core/failures.h"
#include "core/frontend.h"
#include "input/request_read_ahead.h"
#include "input/staff_list.h"
#include "input/staff_selection.h"
#include "input/stamp_csv.h"
#include "overview/month_overview.h"
#include "review/month_review.h"
#include "sheet/regular_work.h"
#include "sheet/request_placement.h"
#include "sheet/staff_month.h"

namespace morvik {
namespace {

const QString kHeaderStaffNo = QStringLiteral("申請者社員番号");
const QString kFinished = QStringLiteral("処理を終了しました．");
const QString kError1 = QStringLiteral(
    "エラー：何らかのエラーが発生しました．ファイルを開いている場合は閉じてからもう一度実行して"
    "ください．(Error1)");
const QString kNoImageFormat =
    QStringLiteral("注意：出力ファイル形式が選択されていませんのでJPG形式に変更します．");
const QString kNoStampFile = QStringLiteral("エラー：「打刻ファイル名を正しく指定してください．");
const QString kNoStaffListFile =
    QStringLiteral("エラー：「職員番号指定ファイル名」を正しく指定してください．");
const QString kNoStaffListOrRequestFile = QStringLiteral(
    "エラー：「職員番号指定ファイル名」または「申請ファイル名」を正しく指定してください．");
const QString kNoRequestFile =
    QStringLiteral("エラー：「申請ファイル名」を正しく指定してください．");

// The five input checks in their order; the first that fails shows its message.
bool PassesInputChecks(Session& session, Frontend& frontend) {
  WorkingTables& tables = *session.tables;
  FormState& form = session.form;
  if (tables.saveJpg == 0 && tables.saveBmp == 0) {
    frontend.ShowMessage(kNoImageFormat);
    tables.saveJpg = 1;
    form.saveJpg = true;
    return false;
  }
  const QString* message = nullptr;
  if (tables.stampCsvPath.isEmpty()) {
    message = &kNoStampFile;
  } else if (form.useStaffList && tables.staffListPath.isEmpty()) {
    message = &kNoStaffListFile;
  } else if (tables.staffListPath.isEmpty() && tables.requestCsvPath.isEmpty()) {
    message = &kNoStaffListOrRequestFile;
  } else if (!form.useStaffList && tables.requestCsvPath.isEmpty()) {
    message = &kNoRequestFile;
  }
  if (message != nullptr) frontend.ShowMessage(*message);
  return message == nullptr;
}

void ReadInputs(Session& session, Frontend& frontend) {
  WorkingTables& tables = *session.tables;
  ClearAllData(tables, frontend);
  LoadStaffList(tables, session.form, frontend);
  RequestReadAhead requests(tables);
  const std::unique_ptr<InputFileReadAhead> stampFile = std::move(session.stampFileReadAhead);
  if (tables.stampIsUtf8 == 1) {
    ReadStampCsvUtf8(tables, session.form, frontend, stampFile.get());
  } else {
    ReadStampCsvSjis(tables, frontend);
  }
  const std::optional<RequestOrder> order = requests.Finish(frontend);
  AddStaffRequests(tables, session.form, frontend);
  SortRequestsByStaff(tables, frontend, order ? &*order : nullptr);
}

void FinishStaffMember(Session& session, Frontend& frontend, const RunOutputs& outputs,
                       std::span<const RequestRow> groupRows) {
  const WorkingTables& tables = *session.tables;
  SaveStaffMonth(*session.tables, session.outputFolder, frontend, [&] {
    const QDateTime now = session.clock();
    DrawChart(tables, outputs.stamps, session.canvas, frontend, now);
    ChartSave save = PrepareChartSave(tables, session.outputFolder, session.canvas);
    if (outputs.overview != nullptr) {
      HandOverChart(tables, outputs.stamps, save, session.outputFolder, now, *outputs.overview);
    }
    outputs.pipeline.Submit(std::move(save));
  });
  // The one hand-over to the month review: the finished month as a record of its own.
  if (outputs.review != nullptr) {
    outputs.review->Add(
        review::TakeStaffMonthRecord(tables, groupRows, outputs.stamps.RowsOf(tables.staffNo)));
  }
}

void StartMonth(WorkingTables& tables, Frontend& frontend) {
  SetRegularWork(tables, frontend);
  tables.netRegularMinutes = tables.regularMinutes;
}

std::span<const RequestRow> GroupRows(const WorkingTables& tables, int first, int end) {
  return std::span<const RequestRow>(tables.requestTable).subspan(first, end - first);
}

// A new group begins when the staff number changes; the header text never starts one.
bool BeginsNewGroup(const QString& staffNumber, const QString& groupStaffNo) {
  return staffNumber != kHeaderStaffNo && groupStaffNo != kHeaderStaffNo &&
         staffNumber != groupStaffNo;
}

}  // namespace

void RunStaffLoop(Session& session, Frontend& frontend) {
  ChartPipeline pipeline(1, frontend);
  const StampIndex stamps(*session.tables);
  RunStaffLoop(session, frontend, {pipeline, stamps, nullptr, nullptr});
}

std::span<const RequestRow> RunStaffLoop(Session& session, Frontend& frontend,
                                         const RunOutputs& outputs) {
  WorkingTables& tables = *session.tables;
  int groupFirst = 0;
  int r = 0;
  for (; r < kRequestRows; ++r) {
    const RequestRow& row = tables.requestTable[r];
    if (row[1].isEmpty()) break;
    std::copy(row.begin() + 1, row.end(), tables.currentRequest.begin() + 1);
    frontend.SetProgressValue(ProgressBar::kStaff, r);
    const QString& staffNumber = tables.currentRequest[1];
    if (BeginsNewGroup(staffNumber, tables.groupStaffNo)) {
      FinishStaffMember(session, frontend, outputs, GroupRows(tables, groupFirst, r));
      groupFirst = r;
      ClearMonthData(tables, frontend);
      StartMonth(tables, frontend);
      tables.groupStaffNo = staffNumber;
      tables.overtimeMinutes = 0;
    } else {
      tables.groupStaffNo = staffNumber;
    }
    PlaceRequestRow(tables, frontend);
  }
  return GroupRows(tables, groupFirst, r);
}

namespace {

void HideDisplays(Frontend& frontend) {
  frontend.SetStatusText(QString());
  frontend.SetProgressVisible(ProgressBar::kStep, false);
  frontend.SetProgressVisible(ProgressBar::kStaff, false);
}

const QString kReviewNotSaved =
    QStringLiteral("エラー：集計・乖離一覧の保存でエラーが発生しました．");

// The month of the run's tables when no staff member was charted (yyyy/mm...).
QString FallbackMonth(const Session& session) {
  const WorkingTables& tables = *session.tables;
  return !tables.requestMonthPrefix.isEmpty() ? tables.requestMonthPrefix
         : !tables.stampMonthPrefix.isEmpty() ? tables.stampMonthPrefix
                                              : session.clock().toString(QStringLiteral("yyyy/MM"));
}

// The review's tables, the overview page and the PDF hold every staff member finished so
// far, also after a failure.
void WriteReview(const Session& session, const review::MonthReview* review,
                 const overview::MonthOverview* overview, Frontend& frontend, RunOutcome& outcome) {
  if (review == nullptr) return;
  const QString fallbackMonth = FallbackMonth(session);
  if (session.form.writeReview) {
    try {
      review->WriteTables(session.outputFolder, fallbackMonth);
    } catch (const std::exception& error) {
      ReportOutputNotSaved(frontend, outcome, kReviewNotSaved, error);
    }
  }
  if (overview != nullptr) {
    WriteOverview(session, *review, *overview, review->RunMonth(fallbackMonth), frontend, outcome);
  }
}

// The review runs whenever one of its outputs or the overview's is asked for.
struct RunExtras {
  review::MonthReview* review = nullptr;
  overview::MonthOverview* overview = nullptr;
};

void Run(Session& session, Frontend& frontend, ChartPipeline& pipeline, const RunExtras& extras,
         RunOutcome& outcome) {
  WorkingTables& tables = *session.tables;
  frontend.SetBusy(true);
  tables.multipleMonths = 0;
  frontend.ShowChartWindow();
  frontend.BringMainWindowToFront();
  ReadInputs(session, frontend);
  const StampIndex stamps(tables);  // the stamp table stays as read for the whole run
  StartMonth(tables, frontend);
  frontend.SetProgressRange(ProgressBar::kStaff, 0, tables.requestRowCount);
  frontend.SetProgressValue(ProgressBar::kStaff, 0);
  frontend.SetProgressVisible(ProgressBar::kStaff, true);
  const RunOutputs outputs{pipeline, stamps, extras.review, extras.overview};
  const std::span<const RequestRow> lastGroup = RunStaffLoop(session, frontend, outputs);
  FinishStaffMember(session, frontend, outputs, lastGroup);
  pipeline.FinishAll();
  WriteReview(session, extras.review, extras.overview, frontend, outcome);
  frontend.SetBusy(false);
  frontend.SetProgressValue(ProgressBar::kStaff, tables.requestRowCount);
  HideDisplays(frontend);
  frontend.ShowMessage(kFinished);
  frontend.CloseChartWindow();
}

}  // namespace

void ReportOutputNotSaved(Frontend& frontend, RunOutcome& outcome, const QString& message,
                          const std::exception& error) {
  frontend.ShowMessage(message);
  frontend.ReportNotSaved(FailureDetail(error));
  ++outcome.outputsNotSaved;
}

RunOutcome OnRunClicked(Session& session, Frontend& frontend) {
  if (!PassesInputChecks(session, frontend)) return {RunOutcome::Kind::kRefused, {}, 0};
  ChartPipeline pipeline(session.chartThreads, frontend, session.processEndsAfterRun);
  OrderedFrontend ordered(frontend, pipeline);
  const FormState& form = session.form;
  const bool overviewWanted = form.writeOverviewPage || form.writePrintPdf;
  std::optional<review::MonthReview> review;
  if (form.writeReview || overviewWanted) review.emplace(session.reviewToleranceMinutes);
  std::optional<overview::MonthOverview> overview;
  if (overviewWanted) overview.emplace(form.writePrintPdf);
  const RunExtras extras{review ? &*review : nullptr, overview ? &*overview : nullptr};
  RunOutcome outcome;
  try {
    Run(session, ordered, pipeline, extras, outcome);
    outcome.outputsNotSaved += pipeline.failedCharts();
    return outcome;
  } catch (const ProgramEnd&) {
    throw;
  } catch (const std::exception& error) {
    // The chart window stays open; outputs of earlier staff members stay on disk, and
    // charts handed over before the failure are completed and reported first.
    ordered.SetBusy(false);
    HideDisplays(ordered);
    WriteReview(session, extras.review, extras.overview, ordered, outcome);
    ordered.ShowMessage(kError1);
    outcome.outputsNotSaved += pipeline.failedCharts();
    outcome.kind = RunOutcome::Kind::kFailed;
    outcome.detail = FailureDetail(error);
    return outcome;
  }
}

}  // namespace morvik
