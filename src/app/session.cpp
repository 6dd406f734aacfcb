#include "app/session.h"

#include <QThread>

#include <algorithm>

namespace morvik {

Session::Session() : tables(std::make_unique<WorkingTables>()) {}

int Session::DefaultChartThreads() { return std::clamp(QThread::idealThreadCount(), 1, 4); }

}  // namespace morvik
