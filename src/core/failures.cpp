#include "core/failures.h"

namespace morvik {

RunFailure::RunFailure(const QString& detail)
    : std::runtime_error(detail.toStdString()), detail_(detail) {}

ProgramEnd::ProgramEnd(const QString& reason) : std::runtime_error(reason.toStdString()) {}

QString FailureDetail(const std::exception& error) {
  if (const auto* failure = dynamic_cast<const RunFailure*>(&error)) {
    return failure->detail();
  }
  if (dynamic_cast<const std::out_of_range*>(&error) != nullptr) {
    return QStringLiteral("an index outside a table's range (%1)").arg(QString::fromUtf8(error.what()));
  }
  return QString::fromUtf8(error.what());
}

}  // namespace morvik
