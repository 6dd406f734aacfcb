#include "app/chart_pipeline.h"

#include <chrono>

namespace morvik {

ChartPipeline::ChartPipeline(int threads, Frontend& frontend)
    : threads_(threads), frontend_(frontend) {}

ChartPipeline::~ChartPipeline() {
  // Files already handed over are always completed; their reports are due only while the
  // run goes on.
  for (auto& result : pending_) result.wait();
}

void ChartPipeline::Submit(ChartSave save) {
  if (threads_ <= 1) {
    FinishChartSave(WriteChartFiles(save), frontend_);
    return;
  }
  // Report what is done already; wait only when every thread is busy.
  while (!pending_.empty() &&
         pending_.front().wait_for(std::chrono::seconds(0)) == std::future_status::ready) {
    FinishOldest();
  }
  while (static_cast<int>(pending_.size()) >= threads_) FinishOldest();
  pending_.push_back(std::async(std::launch::async,
                                [save = std::move(save)] { return WriteChartFiles(save); }));
}

void ChartPipeline::FinishAll() {
  while (!pending_.empty()) FinishOldest();
}

void ChartPipeline::FinishOldest() {
  const bool written = pending_.front().get();
  pending_.pop_front();
  FinishChartSave(written, frontend_);
}

}  // namespace morvik
