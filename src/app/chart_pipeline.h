#pragma once
// Saving charts while the run goes on.
//
// Encoding a chart as JPG or BMP costs more than everything else a run does for a staff
// member, so the run hands each drawn chart to a worker thread and goes on with the next
// staff member. The results are reported to the front end strictly in the order the
// charts were submitted, and before any other message of the run (OrderedFrontend), so
// the user sees exactly what a run that saves each chart at once would show; the files
// written are the same bytes.

#include <QFuture>
#include <QThreadPool>

#include <deque>
#include <memory>
#include <mutex>
#include <vector>

#include "chart/chart_saving.h"
#include "core/frontend.h"

namespace morvik {

class ChartPipeline {
 public:
  // `threads` charts are encoded at a time: `threads` - 1 on worker threads of lower
  // priority than the caller's, with two more waiting their turn, and one on the calling
  // thread when the workers have enough to do; 1 or less saves each chart at once, on the
  // calling thread. Results are reported to `frontend`. With `processEndsAfterRun`, the
  // JPG caches are kept until the process ends rather than freed (core/process_end.h).
  ChartPipeline(int threads, Frontend& frontend, bool processEndsAfterRun = false);
  ~ChartPipeline();
  ChartPipeline(const ChartPipeline&) = delete;
  ChartPipeline& operator=(const ChartPipeline&) = delete;

  void Submit(ChartSave save);

  // Waits for every chart submitted and reports the results still due, in order.
  void FinishAll();

  // Charts reported so far that could not be saved.
  int failedCharts() const { return failedCharts_; }

 private:
  // A chart handed over and not yet reported: saving on a worker, or saved here.
  struct Pending {
    QFuture<QString> onWorker;  // unless savedHere
    bool savedHere = false;
    QString failure;  // when savedHere
    bool Finished() const { return savedHere || onWorker.isFinished(); }
    QString Failure() { return savedHere ? failure : onWorker.result(); }
  };

  QString SaveHere(const ChartSave& save);
  int ChartsOnWorkers() const;
  void FinishOldest();
  void Report(const QString& failure);

  // The run's JPG caches, one for each chart saved at a time: a chart takes one that no
  // other chart holds and gives it back when it is saved. One cache shared by the threads
  // measured a little slower on two cores: both threads then take thousands of counted
  // references to the same few entries (white, the grid) and wait for each other's lock.
  // The caches ask each other for an MCU before it is transformed, so that each distinct
  // MCU is still transformed once.
  class JpegCaches {
   public:
    explicit JpegCaches(int count);
    // The cache this thread took last, if it is free, so that a thread keeps finding its
    // own entries in its own core's memory caches. Null: Qt's writer (the cached one is
    // off, or none is free).
    jpeg::McuCache* Take();
    void Give(jpeg::McuCache* cache);
    void KeepUntilProcessEnd();

   private:
    std::mutex mutex_;
    bool off_ = false;
    std::vector<std::unique_ptr<jpeg::McuCache>> caches_;
    std::vector<jpeg::McuCache*> free_;
  };

  int threads_;
  Frontend& frontend_;
  bool processEndsAfterRun_;
  JpegCaches jpegCaches_;
  QThreadPool pool_;  // threads stay between charts: starting one per chart costs
  std::deque<Pending> pending_;
  int failedCharts_ = 0;
};

// The run's front end while charts are being saved: everything goes straight to the
// window or console, but a message first lets every earlier chart report its result.
class OrderedFrontend : public Frontend {
 public:
  OrderedFrontend(Frontend& target, ChartPipeline& pipeline)
      : target_(target), pipeline_(pipeline) {}

  void SetStatusText(const QString& text) override { target_.SetStatusText(text); }
  void SetProgressRange(ProgressBar bar, double min, double max) override {
    target_.SetProgressRange(bar, min, max);
  }
  void SetProgressValue(ProgressBar bar, double value) override {
    target_.SetProgressValue(bar, value);
  }
  void SetProgressVisible(ProgressBar bar, bool visible) override {
    target_.SetProgressVisible(bar, visible);
  }
  void ShowMessage(const QString& text) override {
    pipeline_.FinishAll();
    target_.ShowMessage(text);
  }
  void SetBusy(bool busy) override { target_.SetBusy(busy); }
  void ShowChartWindow() override { target_.ShowChartWindow(); }
  void RefreshChartWindow() override { target_.RefreshChartWindow(); }
  void CloseChartWindow() override {
    pipeline_.FinishAll();
    target_.CloseChartWindow();
  }
  void BringMainWindowToFront() override { target_.BringMainWindowToFront(); }
  void ReportNotSaved(const QString& detail) override { target_.ReportNotSaved(detail); }

 private:
  Frontend& target_;
  ChartPipeline& pipeline_;
};

}  // namespace morvik
