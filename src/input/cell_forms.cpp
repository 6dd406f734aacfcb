#include "input/cell_forms.h"

#include <QFileInfo>

#include "core/failures.h"
#include "core/text_rules.h"

namespace morvik {

QString NormalisedDateOrFail(const QString& date, const Where& where) {
  std::optional<QString> normalised = NormalisedDate(date);
  if (!normalised) {
    throw RunFailure(QStringLiteral("%1: the date \"%2\" does not split into three pieces at \"/\"")
                         .arg(where(), date));
  }
  return *std::move(normalised);
}

qint64 FileByteLength(const QString& path) { return QFileInfo(path).size(); }

}  // namespace morvik
