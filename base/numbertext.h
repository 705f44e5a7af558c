#pragma once
// Numbers as text: the decimal rounding used wherever a number is written, and the
// one reader of numbers that a user types (prices, search criteria, play time, year).
#include <QByteArray>
#include <QString>
#include <optional>

namespace kv {

// The value with exactly `decimals` digits after the point (none and no point when 0),
// rounded decimally with ties away from zero (2.675 -> "2.68"), "-" only when the
// result is not zero, no blanks. The shortest text that reads back as the same double
// is what was typed or stored, so that text is what gets rounded. Not a finite
// number gives "0".
QByteArray decimalText(double value, int decimals);

// A decimal number: an optional sign, digits, optionally a full stop followed by
// digits, optionally an exponent ("e" or "E", an optional sign, digits), and nothing
// else. Blanks around it are ignored; ".5", "5." and "1,000" are no numbers.
std::optional<double> readDecimalNumber(const QString &text);

// A whole number: an optional sign and digits, nothing else (blanks around it are
// ignored), within the range of int.
std::optional<int> readWholeNumber(const QString &text);

} // namespace kv
