#include "core/text_rules.h"

#include <QStringList>

#include <cmath>

#include "core/failures.h"

namespace morvik {
namespace {

bool IsDigit(QChar c) { return c >= u'0' && c <= u'9'; }

// Length of the decimal number that starts at position `start`, 0 when there is none.
qsizetype NumberLength(QStringView text, qsizetype start) {
  qsizetype i = start;
  if (i < text.size() && (text[i] == u'+' || text[i] == u'-')) ++i;
  const qsizetype digitsStart = i;
  while (i < text.size() && IsDigit(text[i])) ++i;
  bool anyDigit = i > digitsStart;
  if (i < text.size() && text[i] == u'.') {
    qsizetype j = i + 1;
    while (j < text.size() && IsDigit(text[j])) ++j;
    if (j > i + 1) anyDigit = true;
    if (anyDigit) i = j;
  }
  return anyDigit ? i - start : 0;
}

qsizetype SkipBlanks(QStringView text, qsizetype i = 0) {
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  return i;
}

}  // namespace

double LeadingNumber(QStringView text) {
  const qsizetype start = SkipBlanks(text);
  const qsizetype length = NumberLength(text, start);
  if (length == 0) return 0.0;
  return text.mid(start, length).toDouble();
}

qint32 NumericValue(QStringView text) {
  const double rounded = std::nearbyint(LeadingNumber(text));
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
    throw RunFailure(QStringLiteral("the number \"%1\" is outside the 32-bit range")
                         .arg(text.toString()));
  }
  return static_cast<qint32>(rounded);
}

qint32 MinutesOfTime(QStringView time) {
  const double minutes = 60.0 * NumericValue(time.left(2)) + NumericValue(time.mid(3, 2));
  if (!(minutes >= INT32_MIN && minutes <= INT32_MAX)) {
    throw RunFailure(QStringLiteral("the time \"%1\" is out of range").arg(time.toString()));
  }
  return static_cast<qint32>(minutes);
}

std::optional<double> WholeNumber(QStringView text) {
  const QStringView trimmed = text.trimmed();
  if (trimmed.isEmpty() || NumberLength(trimmed, 0) != trimmed.size()) return std::nullopt;
  return trimmed.toDouble();
}

std::optional<QString> NormalisedDate(const QString& date) {
  const QStringList parts = date.split(u'/');
  if (parts.size() < 3) return std::nullopt;
  auto pad = [](const QString& piece) {
    return piece.size() == 1 ? QStringLiteral("0") + piece : piece;
  };
  return parts[0] + u'/' + pad(parts[1]) + u'/' + pad(parts[2]);
}

QString NormalisedTime(const QString& time) {
  return time.size() == 4 ? QStringLiteral("0") + time : time;
}

}  // namespace morvik
