#include "exchange/exportbytes.h"

#include <QDate>
#include <QStringList>

namespace kv {

namespace {
bool digit(char c) { return c >= '0' && c <= '9'; }
bool blankOrNul(char c) { return c == ' ' || c == '\0'; }
int number(const char *p, int size)
{
    int n = 0;
    for (int k = 0; k < size; ++k)
        n = n * 10 + (p[k] - '0');
    return n;
}
} // namespace

DateBytes dateBytesOf(const DateFormat &format)
{
    DateBytes layout;
    const QStringList parts = format.pattern.split(QLatin1Char('/'));
    if (parts.size() != 3 || format.separator.unicode() >= 0x80)
        return layout;
    for (int i = 0; i < 3; ++i) {
        const QChar kind = parts[i].isEmpty() ? QChar() : parts[i].at(0).toLower();
        layout.order[size_t(i)] = kind == QLatin1Char('d') ? 'd' : kind == QLatin1Char('m') ? 'm' : 'y';
    }
    layout.separator = char(format.separator.unicode());
    layout.usable = true;
    return layout;
}

DateBytes fieldDateBytesOf(const DateFormat &format)
{
    DateBytes layout = dateBytesOf(format);
    const QStringList parts = format.pattern.split(QLatin1Char('/'));
    for (int i = 0; i < 3 && layout.usable; ++i) {
        const QChar kind = parts[i].isEmpty() ? QChar() : parts[i].at(0).toLower();
        if (kind != QLatin1Char('d') && kind != QLatin1Char('m') && kind != QLatin1Char('y'))
            layout.usable = false;
        else if (kind == QLatin1Char('y'))
            layout.fullYear = parts[i].size() >= 4;
        else
            layout.padded[size_t(i)] = parts[i].size() >= 2;
    }
    return layout;
}

bool appendStoredDate(QByteArray &out, const char *p, int width, const DateBytes &layout)
{
    if (!layout.usable || width < 8)
        return false;
    for (int k = 0; k < 8; ++k)
        if (!digit(p[k]))
            return false;
    for (int k = 8; k < width; ++k)
        if (!blankOrNul(p[k]))
            return false;
    if (!QDate::isValid(number(p, 4), number(p + 4, 2), number(p + 6, 2)))
        return false;
    for (int i = 0; i < 3; ++i) {
        if (i > 0)
            out += layout.separator;
        const char kind = layout.order[size_t(i)];
        if (kind == 'y') {
            out.append(layout.fullYear ? p : p + 2, layout.fullYear ? 4 : 2);
            continue;
        }
        const char *two = p + (kind == 'm' ? 4 : 6);
        if (!layout.padded[size_t(i)] && two[0] == '0')
            out.append(two + 1, 1);
        else
            out.append(two, 2);
    }
    return true;
}

bool appendStoredDecimal(QByteArray &out, const char *p, int width, int decimals, char decimalMark)
{
    int b = 0, e = width;
    while (b < e && blankOrNul(p[b]))
        ++b;
    while (e > b && blankOrNul(p[e - 1]))
        --e;
    if (b == e || p[b] == '*')
        return true; // shown empty
    // [-]digits.decimals, no leading zero but a lone one, few enough digits to come back
    // from a double exactly.
    int k = b + (p[b] == '-' ? 1 : 0);
    const int whole = k;
    while (k < e && digit(p[k]))
        ++k;
    const int wholeDigits = k - whole;
    if (decimals <= 0 || wholeDigits == 0 || (wholeDigits > 1 && p[whole] == '0') || k >= e || p[k] != '.')
        return false;
    const int point = k++;
    while (k < e && digit(p[k]))
        ++k;
    if (k != e || e - point - 1 != decimals || wholeDigits + decimals > 15)
        return false;
    int end = e;
    while (end > point + 1 && p[end - 1] == '0')
        --end;
    if (end == point + 1)
        end = point;
    if (end - b == 2 && p[b] == '-' && p[b + 1] == '0') {
        out += '0';
        return true;
    }
    const qsizetype start = out.size();
    out.append(p + b, end - b);
    if (end > point && decimalMark != '.')
        out[start + (point - b)] = decimalMark;
    return true;
}

} // namespace kv
