#include "LeadingNumber.h"

#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace lumawrite {
namespace {

bool isIgnored(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\n');
}

int digitValue(QChar c, int base)
{
    const ushort u = c.unicode();
    int v = -1;
    if (u >= '0' && u <= '9')
        v = u - '0';
    else if (u >= 'a' && u <= 'f')
        v = u - 'a' + 10;
    else if (u >= 'A' && u <= 'F')
        v = u - 'A' + 10;
    return v < base ? v : -1;
}

double radixNumber(const QString &s, qsizetype pos, int base)
{
    double value = 0;
    for (; pos < s.size(); ++pos) {
        const int d = digitValue(s[pos], base);
        if (d < 0)
            break;
        value = value * base + d;
    }
    return value;
}

} // namespace

double leadingNumber(const QString &text)
{
    QString s;
    s.reserve(text.size());
    for (QChar c : text) {
        if (!isIgnored(c))
            s.append(c);
    }

    if (s.size() >= 2 && s[0] == QLatin1Char('&')) {
        const QChar kind = s[1].toUpper();
        if (kind == QLatin1Char('H'))
            return radixNumber(s, 2, 16);
        if (kind == QLatin1Char('O'))
            return radixNumber(s, 2, 8);
    }

    // Collect the longest prefix of the form [sign] digits [. digits] [(E|D) [sign] digits].
    std::string number;
    qsizetype i = 0;
    auto digits = [&] {
        const qsizetype from = i;
        while (i < s.size() && s[i] >= QLatin1Char('0') && s[i] <= QLatin1Char('9'))
            number += char(s[i++].unicode());
        return i - from;
    };
    if (i < s.size() && (s[i] == QLatin1Char('+') || s[i] == QLatin1Char('-')))
        number += char(s[i++].unicode());
    qsizetype mantissaDigits = digits();
    if (i < s.size() && s[i] == QLatin1Char('.')) {
        number += '.';
        ++i;
        mantissaDigits += digits();
    }
    if (mantissaDigits == 0)
        return 0;
    if (i < s.size() &&
        (s[i].toUpper() == QLatin1Char('E') || s[i].toUpper() == QLatin1Char('D'))) {
        std::string exponent = "e";
        qsizetype j = i + 1;
        if (j < s.size() && (s[j] == QLatin1Char('+') || s[j] == QLatin1Char('-')))
            exponent += char(s[j++].unicode());
        const qsizetype firstDigit = j;
        while (j < s.size() && s[j] >= QLatin1Char('0') && s[j] <= QLatin1Char('9'))
            exponent += char(s[j++].unicode());
        if (j > firstDigit)
            number += exponent;
    }
    // from_chars ignores the process locale: the decimal point is always '.'.
    const char *first = number.c_str();
    if (*first == '+')
        ++first;
    double value = 0;
    const auto result = std::from_chars(first, number.c_str() + number.size(), value);
    if (result.ec == std::errc::result_out_of_range) {
        if (number.find("e-") != std::string::npos)
            return 0; // too small to tell from zero
        return number[0] == '-' ? -HUGE_VAL : HUGE_VAL;
    }
    return value;
}

std::optional<int> roundToInt(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    const double rounded = std::nearbyint(value); // the default rounding mode: halves to even
    if (rounded < double(std::numeric_limits<int>::min()) ||
        rounded > double(std::numeric_limits<int>::max()))
        return std::nullopt;
    return static_cast<int>(rounded);
}

std::optional<qint16> roundToInt16(double value)
{
    const auto n = roundToInt(value);
    if (!n || *n < -32768 || *n > 32767)
        return std::nullopt;
    return static_cast<qint16>(*n);
}

std::optional<qint16> leadingNumberIn(const QString &text, int low, int high)
{
    const auto n = roundToInt16(leadingNumber(text));
    if (!n || *n < low || *n > high)
        return std::nullopt;
    return n;
}

} // namespace lumawrite
