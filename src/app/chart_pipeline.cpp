#include "app/chart_pipeline.h"

#include <algorithm>

#include <QtConcurrent/QtConcurrentRun>

#include "chart/mcu_cache.h"
#include "core/platform/thread_priority.h"
#include "core/process_end.h"

namespace morvik {
namespace {

// Charts waiting beyond one a worker, so that a worker that finishes finds the next one
// ready rather than waiting for the drawing thread.
constexpr int kChartsQueuedAhead = 2;

// The workers run below the thread that draws the charts: that thread feeds them all, and
// when it has to share a core with one of them, every other one soon waits.
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
  pool_.setMaxThreadCount(std::max(1, threads - 1));
}

ChartPipeline::~ChartPipeline() {
  // Files already handed over are always completed; their reports are due only while the
  // run goes on.
  pool_.waitForDone();
  if (processEndsAfterRun_) jpegCaches_.KeepUntilProcessEnd();
}

// When the workers have enough to do, the calling thread saves the chart itself rather
// than wait for them. So each core runs one thread: with as many workers as cores beside
// the drawing thread, two threads shared a core, and the drawing thread waited on a full
// queue much of the time (a run on two cores took some 8% longer).
void ChartPipeline::Submit(ChartSave save) {
  if (threads_ <= 1) {
    Report(SaveHere(save));
    return;
  }
  while (!pending_.empty() && pending_.front().Finished()) FinishOldest();
  if (ChartsOnWorkers() >= pool_.maxThreadCount() + kChartsQueuedAhead) {
    pending_.push_back({{}, true, SaveHere(save)});
    return;
  }
  QFuture<QString> onWorker = QtConcurrent::run(&pool_, [this, save = std::move(save)] {
    LowerThisThreadsPriority();
    return SaveHere(save);
  });
  pending_.push_back({std::move(onWorker), false, QString()});
}

QString ChartPipeline::SaveHere(const ChartSave& save) {
  jpeg::McuCache* cache = jpegCaches_.Take();
  QString failure = WriteChartFiles(save, cache);
  jpegCaches_.Give(cache);
  return failure;
}

int ChartPipeline::ChartsOnWorkers() const {
  return static_cast<int>(std::count_if(pending_.begin(), pending_.end(),
                                        [](const Pending& p) { return !p.Finished(); }));
}

void ChartPipeline::FinishAll() {
  while (!pending_.empty()) FinishOldest();
}

void ChartPipeline::FinishOldest() {
  const QString failure = pending_.front().Failure();
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
  static thread_local const jpeg::McuCache* takenLast = nullptr;
  std::lock_guard lock(mutex_);
  // None free only if more charts were saved at a time than caches made: Qt's writer
  // then writes the chart, the same bytes.
  if (off_ || free_.empty()) return nullptr;
  auto chosen = std::find(free_.begin(), free_.end(), takenLast);
  if (chosen == free_.end()) chosen = free_.end() - 1;
  jpeg::McuCache* cache = *chosen;
  free_.erase(chosen);
  takenLast = cache;
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
