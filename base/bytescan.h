#pragma once
// Scans of stored field bytes eight at a time: a field is mostly blanks, and a loop per
// byte costs a branch for every one of them.
#include <bit>
#include <cstdint>
#include <cstring>

namespace kv {

// The length of the bytes without their trailing blanks (spaces or NULs), found eight
// bytes at a time: a field is mostly blanks, and a loop per byte costs a mispredicted
// branch for every record.
inline int trimmedLength(const char *p, int width)
{
    constexpr std::uint64_t kSpaces = 0x2020202020202020ULL, kLow = 0x7F7F7F7F7F7F7F7FULL;
    // The top bit of each byte that is not zero.
    const auto nonZero = [](std::uint64_t x) { return (((x & kLow) + kLow) | x) & ~kLow; };
    int end = width;
    for (; end >= 8; end -= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + end - 8, 8);
        const std::uint64_t text = nonZero(word ^ kSpaces) & nonZero(word);
        if (text) {
            const int last = std::endian::native == std::endian::little ? (63 - std::countl_zero(text)) / 8
                                                                        : 7 - std::countr_zero(text) / 8;
            return end - 8 + last + 1;
        }
    }
    while (end > 0 && (p[end - 1] == ' ' || p[end - 1] == '\0'))
        --end;
    return end;
}

// Whether every byte is below 0x80.
inline bool asciiBytes(const char *p, std::size_t size)
{
    std::size_t k = 0;
    std::uint64_t high = 0;
    for (; k + 8 <= size; k += 8) {
        std::uint64_t word;
        std::memcpy(&word, p + k, 8);
        high |= word;
    }
    for (; k < size; ++k)
        high |= static_cast<unsigned char>(p[k]);
    return (high & 0x8080808080808080ULL) == 0;
}

} // namespace kv
