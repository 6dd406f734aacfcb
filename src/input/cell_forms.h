#pragma once
// Helpers the readers share: the date normal form with a failure that says where, and
// the byte length that the progress estimates run against.

#include <QString>
#include <QtGlobal>

#include <functional>

namespace morvik {

// The date in normal form (2022/4/1 becomes 2022/04/01). A date that does not split into
// three pieces at "/" throws RunFailure; `where` names the file and record for it (asked
// only then: most dates are fine, and naming the place costs more than the date).
using Where = std::function<QString()>;
QString NormalisedDateOrFail(const QString& date, const Where& where);

// The file's length in bytes, 0 when it cannot be told.
qint64 FileByteLength(const QString& path);

}  // namespace morvik
