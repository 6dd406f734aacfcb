#include "app/chart_pipeline.h"

#include <algorithm>

#include <QtConcurrent/QtConcurrentRun>

#include "chart/mcu_cache.h"

#ifdef __linux__
#include <sys/resource.h>
#include <unistd.h>
#endif

namespace morvik {
namespace {

// Charts waiting beyond one a thread, so that a thread that finishes finds the next one
// ready rather than waiting for the drawing thread.
constexpr int kChartsQueuedAhead = 2;

// The saving threads run below the thread that draws the charts: that thread feeds them
// all, and when it has to share a core with one of them, every other one soon waits.
void LowerThisThreadsPriority() {
#ifdef __linux__
  static thread_local bool lowered = false;
  if (lowered) return;
  lowered = true;
  constexpr int kNiceness = 10;
  setpriority(PRIO_PROCESS, static_cast<id_t>(gettid()), kNiceness);  // a hint: failure is fine
#endif
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
    FinishChartSave(WriteChartFiles(save, jpegCache_.get()), frontend_);
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
  const bool written = pending_.front().result();
  pending_.pop_front();
  FinishChartSave(written, frontend_);
}

}  // namespace morvik
