#include "app/batch_mode.h"

#include <QDir>
#include <QThread>

#include "app/batch_options.h"
#include "app/console_frontend.h"
#include "app/run_sequence.h"
#include "app/session.h"
#include "app/startup.h"
#include "core/failures.h"
#include "core/process_end.h"
#include "input/check_dumps.h"

namespace morvik {
namespace {

const QString kVersion = QStringLiteral("MorvikGraph 1.1.1");

void Print(std::FILE* stream, const QString& text) {
  std::fputs(text.toLocal8Bit().constData(), stream);
  std::fflush(stream);
}

QString Absolute(const QString& startFolder, const QString& path) {
  if (path.isEmpty()) return path;
  return QDir::cleanPath(QDir(startFolder).absoluteFilePath(path));
}

// The flags act as the user's clicks would, in the order a user would make them.
void ApplyOptions(const BatchOptions& options, const QString& startFolder, Session& session) {
  WorkingTables& tables = *session.tables;
  FormState& form = session.form;
  if (options.request) {
    form.dialogFileName = Absolute(startFolder, *options.request);
    FinishRequestBrowse(form, tables);
  }
  if (options.stamp) {
    form.dialogFileName = Absolute(startFolder, *options.stamp);
    FinishStampBrowse(form, tables);
  }
  if (options.staffList) {
    if (options.staffList->isEmpty()) {
      SetUseStaffList(form, tables, session.programFolder, true);
    } else {
      form.dialogFileName = Absolute(startFolder, *options.staffList);
      FinishStaffListBrowse(form, tables, session.programFolder);
    }
  }
  if (options.utf8) {
    *options.utf8 ? OnUtf8StampsClicked(form, tables) : OnSjisStampsClicked(form, tables);
  }
  if (options.month) {
    form.monthText = *options.month;
    tables.targetDate =
        QDate::fromString(*options.month + QStringLiteral("/01"), QStringLiteral("yyyy/MM/dd"));
    SetFixMonth(form, tables, true);
  }
  form.saveJpg = options.jpg;
  OnJpgClicked(form, tables);
  form.saveBmp = options.bmp;
  OnBmpClicked(form, tables);
  form.writeWorkCsv = options.csv;
  OnWorkCsvClicked(form, tables);
  form.writeReview = options.review;
  form.writeOverviewPage = options.html;
  form.writePrintPdf = options.pdf;
  if (options.tolerance) session.reviewToleranceMinutes = *options.tolerance;
}

void WriteDumps(const Session& session, ConsoleFrontend& frontend) {
  try {
    InFileData_chk(*session.tables, session.outputFolder);
    InFileData1_chk(*session.tables, session.outputFolder);
    InFileData2_chk(*session.tables, session.outputFolder);
  } catch (const std::exception& error) {
    frontend.PrintLine(QStringLiteral("check dumps not written: %1").arg(FailureDetail(error)));
  }
}

int Run(const BatchOptions& options, const BatchEnvironment& environment, Session& session) {
  ConsoleFrontend frontend(environment.err, options.verbose, environment.errIsTerminal);
  session.programFolder = environment.programFolder;
  session.outputFolder = options.outputFolder
                             ? Absolute(environment.startFolder, *options.outputFolder)
                             : environment.programFolder;
  session.holidayFilePath =
      options.holidays ? Absolute(environment.startFolder, *options.holidays) : QString();
  session.enterProgramFolder = false;
  session.clock = environment.clock;
  if (options.jobs) session.chartThreads = *options.jobs;
  if (!QDir().mkpath(session.outputFolder)) {
    frontend.PrintLine(
        QStringLiteral("cannot create the output folder %1").arg(session.outputFolder));
    return kExitRefused;
  }
  QStringList files;
  for (const QString& file : options.files) files << Absolute(environment.startFolder, file);
  try {
    PrepareSession(session, frontend, files);
    ApplyOptions(options, environment.startFolder, session);
    const RunOutcome outcome = OnRunClicked(session, frontend);
    if (options.dump && outcome.kind != RunOutcome::Kind::kRefused) WriteDumps(session, frontend);
    switch (outcome.kind) {
      case RunOutcome::Kind::kFinished:
        return outcome.outputsNotSaved == 0 ? kExitFinished : kExitOutputsLost;
      case RunOutcome::Kind::kRefused:
        return kExitRefused;
      case RunOutcome::Kind::kFailed:
        frontend.PrintLine(QStringLiteral("what failed: %1").arg(outcome.detail));
        return kExitRunFailed;
    }
  } catch (const ProgramEnd&) {
    return kExitProgramEnd;
  }
  return kExitRunFailed;
}

// Making the session's tables takes tens of milliseconds, and so does reading a managers'
// stamp file: with a core to spare, the file is read meanwhile.
std::unique_ptr<InputFileReadAhead> StartStampReadAhead(const BatchOptions& options,
                                                        const QString& startFolder) {
  if (!options.stamp || options.stamp->isEmpty() || !options.utf8.value_or(false) ||
      QThread::idealThreadCount() < 2) {
    return nullptr;
  }
  return std::make_unique<InputFileReadAhead>(Absolute(startFolder, *options.stamp));
}

int Run(const BatchOptions& options, const BatchEnvironment& environment) {
  std::unique_ptr<InputFileReadAhead> stampFile =
      StartStampReadAhead(options, environment.startFolder);
  auto session = std::make_shared<Session>();
  session->stampFileReadAhead = std::move(stampFile);
  session->processEndsAfterRun = environment.processEndsAfterRun;
  const int exitCode = Run(options, environment, *session);
  if (environment.processEndsAfterRun) KeepUntilProcessEnd(std::move(session));
  return exitCode;
}

}  // namespace

std::function<QDateTime()> BatchClock() {
  bool ok = false;
  const qint64 epoch = qEnvironmentVariable("SOURCE_DATE_EPOCH").toLongLong(&ok);
  if (ok) {
    const QDateTime fixed = QDateTime::fromSecsSinceEpoch(epoch);
    return [fixed] { return fixed; };
  }
  return [] { return QDateTime::currentDateTime(); };
}

int RunBatch(const QStringList& arguments, const BatchEnvironment& environment) {
  const BatchParse parse = ParseBatchOptions(arguments);
  if (!parse.options) {
    Print(environment.err, parse.error + QStringLiteral("\n") + BatchUsage());
    return kExitRefused;
  }
  if (parse.options->help) {
    Print(environment.out, BatchUsage());
    return kExitFinished;
  }
  if (parse.options->version) {
    Print(environment.out, kVersion + QStringLiteral("\n"));
    return kExitFinished;
  }
  return Run(*parse.options, environment);
}

}  // namespace morvik
