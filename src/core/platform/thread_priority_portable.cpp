#include "core/platform/thread_priority.h"

#include <QThread>

namespace morvik::platform {

// Below normal on Windows. On Linux, Qt has no step between normal and idle for an
// ordinary thread, so LowPriority leaves it as it is there.
void LowerCurrentThreadPriority() { QThread::currentThread()->setPriority(QThread::LowPriority); }

}  // namespace morvik::platform
