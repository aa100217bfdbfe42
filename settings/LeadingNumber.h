#pragma once

#include <QString>
#include <QtGlobal>

#include <optional>

namespace lumawrite {

// The lenient reading of a number typed into a text box: blanks, tabs and line feeds are
// ignored wherever they stand; the number runs from the start up to the first character that
// cannot continue it (sign, digits, a decimal point with digits, an exponent, or "&H" / "&O"
// for hexadecimal and octal); no number at all reads as 0.
double leadingNumber(const QString &text);

// The nearest whole number, a half going to the even neighbour, when it fits an int.
std::optional<int> roundToInt(double value);

// The same, when it fits 16 bits.
std::optional<qint16> roundToInt16(double value);

// leadingNumber, rounded, and accepted only within [low, high].
std::optional<qint16> leadingNumberIn(const QString &text, int low, int high);

} // namespace lumawrite
