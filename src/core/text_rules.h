#pragma once
// Small rules on cell texts that readers, the month sheet and the chart share.

#include <QString>
#include <QStringView>
#include <QtGlobal>

#include <optional>

namespace morvik {

// The number a text begins with: leading blanks are skipped and the longest leading
// decimal number (optional sign, digits, optional fraction) is taken. No number gives 0.
double LeadingNumber(QStringView text);

// LeadingNumber rounded to the nearest integer, halves to even. A value outside the
// 32-bit range throws RunFailure.
qint32 NumericValue(QStringView text);

// Minutes of a time text hh:mm: 60 × the value of characters 1–2 plus the value of
// characters 4–5. A time without leading digits counts 0.
qint32 MinutesOfTime(QStringView time);

// The whole text as a decimal number, or nothing when it is not one (blanks around it
// are allowed).
std::optional<double> WholeNumber(QStringView text);

// Date normal form: split at "/", a one-character month or day gets a leading "0",
// pieces after the third are dropped: 2022/4/1 becomes 2022/04/01. Nothing when the
// text does not split into at least three pieces.
std::optional<QString> NormalisedDate(const QString& date);

// Time normal form: a text of exactly four characters gets a leading "0".
QString NormalisedTime(const QString& time);

}  // namespace morvik
