#include "edit/listorder.h"

#include "base/codepage.h"
#include "store/index/collation.h"

#include <algorithm>
#include <numeric>
#include <vector>

namespace kv {

namespace {

// Entries are kept in code page 1252; a character it cannot hold weighs as "?", so two
// texts that differ only there are told apart by their characters.
int compareKeysThen(const QByteArray &ka, const QByteArray &kb, const QString &a, const QString &b)
{
    if (const int c = compareKeys(ka, kb))
        return c;
    return a.compare(b);
}

} // namespace

int compareAlphabetically(const QString &a, const QString &b)
{
    return compareKeysThen(encode(a), encode(b), a, b);
}

void sortAlphabetically(QStringList &entries)
{
    // Each entry is encoded once: a long list sorts in a few milliseconds.
    std::vector<QByteArray> keys;
    keys.reserve(size_t(entries.size()));
    for (const QString &e : entries)
        keys.push_back(encode(e));
    std::vector<qsizetype> order(size_t(entries.size()));
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](qsizetype x, qsizetype y) {
        return compareKeysThen(keys[size_t(x)], keys[size_t(y)], entries.at(x), entries.at(y)) < 0;
    });
    QStringList sorted;
    sorted.reserve(entries.size());
    for (qsizetype i : order)
        sorted << entries.at(i);
    entries = std::move(sorted);
}

qsizetype alphabeticalPlace(const QStringList &sorted, const QString &entry)
{
    const QByteArray key = encode(entry);
    const auto at = std::upper_bound(sorted.begin(), sorted.end(), entry, [&](const QString &e, const QString &s) {
        return compareKeysThen(key, encode(s), e, s) < 0;
    });
    return at - sorted.begin();
}

} // namespace kv
