#pragma once
// Records sorted by a key expression, in the order an index keeps them: by key in the
// key order (collation.h), equal keys by record number.
#include "store/index/keyexpr.h"

#include <cstdint>
#include <functional>
#include <vector>

namespace kv {

// record(r) gives the bytes of record r, 1 ... count. Returns the record numbers in
// order and, when sortedKeys is given, their keys laid out one after another in that order.
std::vector<std::uint32_t> sortByKey(std::uint32_t count, const std::function<const char *(std::uint32_t)> &record,
                                     const KeyExpression &expression, std::vector<char> *sortedKeys = nullptr);

} // namespace kv
