#pragma once
// Comparing a text field as its record stores it, without decoding it: the bytes up to
// the blanks that pad them, upper-cased through the code page's table. The searches
// visit every record, and decoding each field into a string would cost them most of
// their time.
#include <QByteArray>
#include <cstdint>
#include <cstring>

namespace kv::rawtext {

// The length of a field's bytes without the blanks (or NULs) that pad it.
inline int textEnd(const char *p, int width)
{
    static constexpr char kBlanks[8] = {' ', ' ', ' ', ' ', ' ', ' ', ' ', ' '};
    int end = width;
    while (end >= 8 && std::memcmp(p + end - 8, kBlanks, 8) == 0)
        end -= 8;
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    return end;
}

// Whether the n bytes at p, mapped through up, equal needle's first n bytes.
inline bool sameAt(const char *p, const QByteArray &needle, int n, const std::uint8_t *up)
{
    const auto *q = reinterpret_cast<const std::uint8_t *>(p);
    const auto *w = reinterpret_cast<const std::uint8_t *>(needle.constData());
    for (int k = 0; k < n; ++k)
        if (up[q[k]] != w[k])
            return false;
    return true;
}

// needle (already mapped through up) against the length bytes at p.
inline bool equals(const char *p, int length, const QByteArray &needle, const std::uint8_t *up)
{
    return length == needle.size() && sameAt(p, needle, length, up);
}

inline bool startsWith(const char *p, int length, const QByteArray &needle, const std::uint8_t *up)
{
    return !needle.isEmpty() && length >= needle.size() && sameAt(p, needle, int(needle.size()), up);
}

inline bool contains(const char *p, int length, const QByteArray &needle, const std::uint8_t *up)
{
    const int n = int(needle.size());
    if (n == 0)
        return false;
    const auto *q = reinterpret_cast<const std::uint8_t *>(p);
    const auto first = std::uint8_t(needle[0]);
    for (int i = 0; i + n <= length; ++i)
        if (up[q[i]] == first && sameAt(p + i, needle, n, up))
            return true;
    return false;
}

// The identity table, for comparisons in which case counts.
inline const std::uint8_t *identity()
{
    static const auto table = [] {
        struct T {
            std::uint8_t v[256];
        } t{};
        for (int i = 0; i < 256; ++i)
            t.v[i] = std::uint8_t(i);
        return t;
    }();
    return table.v;
}

} // namespace kv::rawtext
