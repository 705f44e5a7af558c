#include "printrange.h"

#include <algorithm>

namespace kv {

int pageNumberOf(const QString &text)
{
    const QString t = text.trimmed();
    qsizetype i = 0;
    bool negative = false;
    if (i < t.size() && (t[i] == QLatin1Char('+') || t[i] == QLatin1Char('-')))
        negative = t[i++] == QLatin1Char('-');
    long long value = 0;
    for (; i < t.size() && t[i].isDigit() && value < 1000000; ++i)
        value = value * 10 + t[i].digitValue();
    return int(negative ? -value : value);
}

int pageBoxLength(int pageCount)
{
    return std::max(3, int(QString::number(std::max(pageCount, 0)).size()));
}

RangeProblem checkPageRange(int start, int end, int pageCount)
{
    if (start < 1 || start > pageCount)
        return RangeProblem::Start;
    if (end < start || end > pageCount)
        return RangeProblem::End;
    return RangeProblem::None;
}

} // namespace kv
