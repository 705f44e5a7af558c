#include "store/index/keysort.h"

#include "store/index/collation.h"

#include <algorithm>
#include <cstring>

namespace kv {

std::vector<std::uint32_t> sortByKey(std::uint32_t count, const std::function<const char *(std::uint32_t)> &record,
                                     const KeyExpression &expression, std::vector<char> *sortedKeys)
{
    const std::size_t len = std::size_t(expression.keyLength());
    std::vector<char> keys(std::size_t(count) * len);
    constexpr std::uint32_t kAhead = 4; // records fetched ahead of the one evaluated
    for (std::uint32_t r = 1; r <= count; ++r) {
        if (r + kAhead <= count)
            expression.prefetch(record(r + kAhead));
        expression.evaluate(record(r), keys.data() + std::size_t(r - 1) * len);
    }
    // Sort on the weights of the first eight key bytes as one number, the whole keys
    // only on ties: keys without lower-case or accented letters then by their bytes
    // after the eight, which their equal prefixes make equal.
    struct Item {
        std::uint64_t prefix;
        std::uint32_t recno;
        bool plain;
    };
    std::vector<Item> items(count);
    const char *base = keys.data();
    for (std::uint32_t r = 1; r <= count; ++r) {
        const char *key = base + std::size_t(r - 1) * len;
        items[r - 1] = {primaryPrefix(key, len), r, ordersAsBytes(key, len)};
    }
    const std::size_t rest = len > 8 ? len - 8 : 0;
    std::sort(items.begin(), items.end(), [&](const Item &a, const Item &b) {
        if (a.prefix != b.prefix)
            return a.prefix < b.prefix;
        const char *ka = base + std::size_t(a.recno - 1) * len, *kb = base + std::size_t(b.recno - 1) * len;
        if (const int c = a.plain && b.plain ? std::memcmp(ka + 8, kb + 8, rest) : compareKeys(ka, kb, len))
            return c < 0;
        return a.recno < b.recno;
    });
    std::vector<std::uint32_t> order(count);
    for (std::uint32_t i = 0; i < count; ++i)
        order[i] = items[i].recno;
    if (sortedKeys) {
        sortedKeys->resize(keys.size());
        for (std::uint32_t i = 0; i < count; ++i)
            std::memcpy(sortedKeys->data() + std::size_t(i) * len, base + std::size_t(order[i] - 1) * len, len);
    }
    return order;
}

} // namespace kv
