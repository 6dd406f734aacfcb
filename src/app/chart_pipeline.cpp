#include "app/chart_pipeline.h"

#include <algorithm>

#include <QtConcurrent/QtConcurrentRun>

#include "chart/mcu_cache.h"
#include "core/platform/thread_priority.h"

namespace morvik {
namespace {

// Charts waiting beyond one a thread, so that a thread that finishes finds the next one
// ready rather than waiting for the drawing thread.
constexpr int kChartsQueuedAhead = 2;

// The saving threads run below the thread that draws the charts: that thread feeds them
// all, and when it has to share a core with one of them, every other one soon waits.
void LowerThisThreadsPriority() {
  static thread_local bool lowered = false;
  if (lowered) return;
  lowered = true;
  platform::LowerCurrentThreadPriority();
}

}  // namespace

ChartPipeline::ChartPipeline(int threads, Frontend& frontend)
    : threads_(threads), frontend_(frontend), jpegCache_(MakeRunJpegCache()) {
  pool_.setMaxThreadCount(std::max(1, threads));
}

ChartPipeline::~ChartPipeline() {
  // Files already handed over are always completed; their reports are due only while the
  // run goes on.
  pool_.waitForDone();
}

void ChartPipeline::Submit(ChartSave save) {
  if (threads_ <= 1) {
    Report(WriteChartFiles(save, jpegCache_.get()));
    return;
  }
  // Report what is done already; wait only when every thread is busy and the queue full.
  while (!pending_.empty() && pending_.front().isFinished()) FinishOldest();
  while (static_cast<int>(pending_.size()) >= threads_ + kChartsQueuedAhead) FinishOldest();
  pending_.push_back(QtConcurrent::run(&pool_, [save = std::move(save), cache = jpegCache_.get()] {
    LowerThisThreadsPriority();
    return WriteChartFiles(save, cache);
  }));
}

void ChartPipeline::FinishAll() {
  while (!pending_.empty()) FinishOldest();
}

void ChartPipeline::FinishOldest() {
  const QString failure = pending_.front().result();
  pending_.pop_front();
  Report(failure);
}

void ChartPipeline::Report(const QString& failure) {
  if (!failure.isEmpty()) ++failedCharts_;
  FinishChartSave(failure, frontend_);
}

}  // namespace morvik
