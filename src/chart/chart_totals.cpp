#include "chart/chart_totals.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace morvik::chart {
namespace {

const QString kRegularCaption = QStringLiteral("拘束時間：");
const QString kNetCaption = QStringLiteral("実勤務　：");
const QString kOvertimeCaption = QStringLiteral("時間外　：");

// Adds one to the last digit of a string of decimal digits, carrying to the left.
QString Incremented(QString digits) {
  for (qsizetype i = digits.size() - 1; i >= 0; --i) {
    if (digits[i] != u'9') {
      digits[i] = QChar(digits[i].unicode() + 1);
      return digits;
    }
    digits[i] = u'0';
  }
  return QStringLiteral("1") + digits;
}

}  // namespace

QString OneDecimal(double value) {
  if (!std::isfinite(value)) return QString::number(value);
  // 15 significant digits, d.dddddddddddddde±x: the decimal value the rounding works on.
  char buffer[64];
  std::snprintf(buffer, sizeof buffer, "%.14e", std::fabs(value));
  const QString text = QString::fromLatin1(buffer);
  const qsizetype e = text.indexOf(u'e');
  const QString mantissa = text.left(1) + text.mid(2, e - 2);
  const int exponent = std::atoi(buffer + e + 1);

  // Digits of |value| with the decimal point after `integerDigits` of them.
  int integerDigits = exponent + 1;
  QString digits = mantissa;
  if (integerDigits < 1) {
    digits = QString(1 - integerDigits, u'0') + digits;
    integerDigits = 1;
  }
  if (digits.size() < integerDigits + 2) {
    digits += QString(integerDigits + 2 - digits.size(), u'0');
  }
  QString kept = digits.left(integerDigits + 1);
  if (digits[integerDigits + 1] >= u'5') kept = Incremented(kept);

  QString integerPart = kept.chopped(1);
  while (integerPart.size() > 1 && integerPart.startsWith(u'0')) integerPart.remove(0, 1);
  const QString result = integerPart + u'.' + kept.back();
  const bool isZero = QString(result).remove(u'0') == QStringLiteral(".");
  return value < 0 && !isZero ? QStringLiteral("-") + result : result;
}

QString GeneralNumber(double value) {
  if (value == std::trunc(value) && std::fabs(value) < 1e15) {
    return QString::number(static_cast<qint64>(value));
  }
  return QString::number(value, 'g', 15);
}

std::array<QString, 3> TotalsLines(qint32 regularMinutes, qint32 netRegularMinutes,
                                   qint32 overtimeMinutes) {
  const double regularHours = regularMinutes / 60.0;
  const double netHours = netRegularMinutes / 60.0;
  return {
      kRegularCaption + OneDecimal(regularHours) + QStringLiteral(" hr (8hr×") +
          GeneralNumber(regularHours / 8) + QStringLiteral("日)"),
      kNetCaption + OneDecimal(netHours) + QStringLiteral(" hr (休 ") +
          OneDecimal(regularHours - netHours) + QStringLiteral(" hr)"),
      kOvertimeCaption + OneDecimal(overtimeMinutes / 60.0) + QStringLiteral(" hr"),
  };
}

}  // namespace morvik::chart
