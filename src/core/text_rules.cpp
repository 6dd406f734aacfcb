#include "core/text_rules.h"

#include <array>
#include <cmath>
#include <optional>

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

// Whole numbers of up to 15 digits, nearly every number the program reads (times,
// dates, minutes), are exact in a double: they are summed directly, which costs a tenth
// of the general conversion.
std::optional<double> ShortWholeNumber(QStringView number) {
  const bool negative = number.front() == u'-';
  const QStringView digits = number.front() == u'+' || negative ? number.mid(1) : number;
  if (digits.isEmpty() || digits.size() > 15) return std::nullopt;
  qint64 value = 0;
  for (const QChar c : digits) {
    if (!IsDigit(c)) return std::nullopt;
    value = value * 10 + (c.unicode() - u'0');
  }
  return negative ? -static_cast<double>(value) : static_cast<double>(value);
}

// Where the first three "/" of a date stand, -1 for those missing. A date is a few
// characters: a plain loop costs less than three search calls.
std::array<qsizetype, 3> SlashPositions(QStringView date) {
  std::array<qsizetype, 3> slashes = {-1, -1, -1};
  std::size_t found = 0;
  for (qsizetype i = 0; i < date.size() && found < slashes.size(); ++i) {
    if (date[i] == u'/') slashes[found++] = i;
  }
  return slashes;
}

// A one-character piece of a date gets a leading "0".
void AppendPadded(QString& text, QStringView piece) {
  if (piece.size() == 1) text.append(u'0');
  text.append(piece);
}

}  // namespace

double LeadingNumber(QStringView text) {
  const qsizetype start = SkipBlanks(text);
  const qsizetype length = NumberLength(text, start);
  if (length == 0) return 0.0;
  const QStringView number = text.mid(start, length);
  if (const auto whole = ShortWholeNumber(number)) return *whole;
  return number.toDouble();
}

qint32 NumericValue(QStringView text) {
  const double rounded = std::nearbyint(LeadingNumber(text));
  if (!(rounded >= INT32_MIN && rounded <= INT32_MAX)) {
    throw RunFailure(
        QStringLiteral("the number \"%1\" is outside the 32-bit range").arg(text.toString()));
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
  const auto [first, second, third] = SlashPositions(date);  // pieces from the third are dropped
  if (second < 0) return std::nullopt;
  const QStringView month = QStringView(date).mid(first + 1, second - first - 1);
  const QStringView day = QStringView(date).mid(second + 1, third < 0 ? -1 : third - second - 1);
  if (month.size() != 1 && day.size() != 1 && third < 0) return date;  // already in form
  // Every stamp line's date passes here: the new form is built in one allocation.
  QString normal;
  normal.reserve(first + month.size() + day.size() + 4);
  normal.append(QStringView(date).first(first)).append(u'/');
  AppendPadded(normal, month);
  normal.append(u'/');
  AppendPadded(normal, day);
  return normal;
}

QString NormalisedTime(const QString& time) {
  return time.size() == 4 ? QStringLiteral("0") + time : time;
}

}  // namespace morvik
