#include "numbertext.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <limits>
#include <string>

namespace kv {

QByteArray decimalText(double value, int decimals)
{
    if (!std::isfinite(value))
        return QByteArray("0");
    decimals = std::max(decimals, 0);
    char buf[400]; // the fixed form of the largest double has 309 digits
    const auto res = std::to_chars(buf, buf + sizeof buf, std::fabs(value), std::chars_format::fixed);
    const std::string digits(buf, res.ptr);
    std::string whole = digits, fraction;
    if (const auto dot = digits.find('.'); dot != std::string::npos) {
        whole = digits.substr(0, dot);
        fraction = digits.substr(dot + 1);
    }
    const bool roundUp = fraction.size() > size_t(decimals) && fraction[size_t(decimals)] >= '5';
    fraction.resize(size_t(decimals), '0');
    std::string all = whole + fraction;
    if (roundUp) {
        auto i = all.rbegin();
        for (; i != all.rend() && *i == '9'; ++i)
            *i = '0';
        if (i == all.rend())
            all.insert(all.begin(), '1');
        else
            ++*i;
    }
    std::string out = all.substr(0, all.size() - size_t(decimals));
    if (decimals > 0)
        out += '.' + all.substr(all.size() - size_t(decimals));
    const bool zero = out.find_first_not_of("0.") == std::string::npos;
    if (value < 0 && !zero)
        out.insert(out.begin(), '-');
    return QByteArray::fromStdString(out);
}

namespace {

bool isAsciiDigit(QChar c) { return c >= QLatin1Char('0') && c <= QLatin1Char('9'); }

// Advances i over ASCII digits; true when there was at least one.
bool skipDigits(const QString &s, qsizetype &i)
{
    const qsizetype start = i;
    while (i < s.size() && isAsciiDigit(s.at(i)))
        ++i;
    return i > start;
}

bool isSign(QChar c) { return c == QLatin1Char('+') || c == QLatin1Char('-'); }

} // namespace

std::optional<double> readDecimalNumber(const QString &text)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    if (i < s.size() && isSign(s.at(i)))
        ++i;
    if (!skipDigits(s, i))
        return std::nullopt;
    if (i < s.size() && s.at(i) == QLatin1Char('.')) {
        ++i;
        if (!skipDigits(s, i))
            return std::nullopt;
    }
    if (i < s.size() && (s.at(i) == QLatin1Char('e') || s.at(i) == QLatin1Char('E'))) {
        ++i;
        if (i < s.size() && isSign(s.at(i)))
            ++i;
        if (!skipDigits(s, i))
            return std::nullopt;
    }
    if (i != s.size())
        return std::nullopt;

    // from_chars takes no plus sign.
    const QByteArray bytes = s.toLatin1();
    const char *begin = bytes.constData() + (bytes.startsWith('+') ? 1 : 0);
    double value = 0;
    const auto res = std::from_chars(begin, bytes.constData() + bytes.size(), value);
    if (res.ec != std::errc() || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<int> readWholeNumber(const QString &text)
{
    const QString s = text.trimmed();
    qsizetype i = 0;
    if (i < s.size() && isSign(s.at(i)))
        ++i;
    if (!skipDigits(s, i) || i != s.size())
        return std::nullopt;
    bool ok = false;
    const qlonglong value = s.toLongLong(&ok);
    if (!ok || value < std::numeric_limits<int>::min() || value > std::numeric_limits<int>::max())
        return std::nullopt;
    return int(value);
}

} // namespace kv
