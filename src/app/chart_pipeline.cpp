#include "app/chart_pipeline.h"

#include <algorithm>

#include <QtConcurrent/QtConcurrentRun>

namespace morvik {

ChartPipeline::ChartPipeline(int threads, Frontend& frontend)
    : threads_(threads), frontend_(frontend) {
  pool_.setMaxThreadCount(std::max(1, threads));
}

ChartPipeline::~ChartPipeline() {
  // Files already handed over are always completed; their reports are due only while the
  // run goes on.
  pool_.waitForDone();
}

void ChartPipeline::Submit(ChartSave save) {
  if (threads_ <= 1) {
    FinishChartSave(WriteChartFiles(save), frontend_);
    return;
  }
  // Report what is done already; wait only when every thread is busy.
  while (!pending_.empty() && pending_.front().isFinished()) FinishOldest();
  while (static_cast<int>(pending_.size()) >= threads_) FinishOldest();
  pending_.push_back(
      QtConcurrent::run(&pool_, [save = std::move(save)] { return WriteChartFiles(save); }));
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
