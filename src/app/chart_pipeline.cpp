#include "app/chart_pipeline.h"

#include <algorithm>

#include <QtConcurrent/QtConcurrentRun>

#include "chart/mcu_cache.h"
#include "core/platform/thread_priority.h"
#include "core/process_end.h"

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

ChartPipeline::ChartPipeline(int threads, Frontend& frontend, bool processEndsAfterRun)
    : threads_(threads),
      frontend_(frontend),
      processEndsAfterRun_(processEndsAfterRun),
      jpegCaches_(std::max(1, threads)) {
  pool_.setMaxThreadCount(std::max(1, threads));
}

ChartPipeline::~ChartPipeline() {
  // Files already handed over are always completed; their reports are due only while the
  // run goes on.
  pool_.waitForDone();
  if (processEndsAfterRun_) jpegCaches_.KeepUntilProcessEnd();
}

void ChartPipeline::Submit(ChartSave save) {
  if (threads_ <= 1) {
    jpeg::McuCache* cache = jpegCaches_.Take();
    Report(WriteChartFiles(save, cache));
    jpegCaches_.Give(cache);
    return;
  }
  // Report what is done already; wait only when every thread is busy and the queue full.
  while (!pending_.empty() && pending_.front().isFinished()) FinishOldest();
  while (static_cast<int>(pending_.size()) >= threads_ + kChartsQueuedAhead) FinishOldest();
  pending_.push_back(QtConcurrent::run(&pool_, [this, save = std::move(save)] {
    LowerThisThreadsPriority();
    jpeg::McuCache* cache = jpegCaches_.Take();
    QString failure = WriteChartFiles(save, cache);
    jpegCaches_.Give(cache);
    return failure;
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

ChartPipeline::JpegCaches::JpegCaches(int count) {
  for (int i = 0; i < count; ++i) {
    std::unique_ptr<jpeg::McuCache> cache = MakeRunJpegCache();
    if (cache == nullptr) {
      off_ = true;
      return;
    }
    free_.push_back(cache.get());
    caches_.push_back(std::move(cache));
  }
  for (const auto& cache : caches_) {
    std::vector<jpeg::McuCache*> others;
    for (const auto& other : caches_) {
      if (other != cache) others.push_back(other.get());
    }
    cache->ShareWith(std::move(others));
  }
}

jpeg::McuCache* ChartPipeline::JpegCaches::Take() {
  std::lock_guard lock(mutex_);
  // None free only if more charts were saved at a time than caches made: Qt's writer
  // then writes the chart, the same bytes.
  if (off_ || free_.empty()) return nullptr;
  jpeg::McuCache* cache = free_.back();
  free_.pop_back();
  return cache;
}

void ChartPipeline::JpegCaches::Give(jpeg::McuCache* cache) {
  if (cache == nullptr) return;
  std::lock_guard lock(mutex_);
  free_.push_back(cache);
}

void ChartPipeline::JpegCaches::KeepUntilProcessEnd() {
  std::lock_guard lock(mutex_);
  for (std::unique_ptr<jpeg::McuCache>& cache : caches_) {
    morvik::KeepUntilProcessEnd(std::shared_ptr<const jpeg::McuCache>(std::move(cache)));
  }
  caches_.clear();
  free_.clear();
}

void ChartPipeline::Report(const QString& failure) {
  if (!failure.isEmpty()) ++failedCharts_;
  FinishChartSave(failure, frontend_);
}

}  // namespace morvik
