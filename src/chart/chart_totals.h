#pragma once
// The three month-total lines of the chart header and the number forms they use.

#include <QString>
#include <QtGlobal>

#include <array>

namespace morvik::chart {

// `value` with exactly one decimal and at least one integer digit ("0.0"). The value is
// first taken to 15 significant digits, then its decimal form is rounded with halves away
// from zero, so 9 minutes (0.15 hours) shows "0.2". A result of zero carries no sign.
QString OneDecimal(double value);

// `value` in general form: an integral value without a decimal point ("20"), otherwise
// its shortest form of up to 15 significant digits ("20.5", "0.0208333333333333").
QString GeneralNumber(double value);

// Lines for regular, net regular and overtime minutes, top to bottom.
std::array<QString, 3> TotalsLines(qint32 regularMinutes, qint32 netRegularMinutes,
                                   qint32 overtimeMinutes);

}  // namespace morvik::chart
