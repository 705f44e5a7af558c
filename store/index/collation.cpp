#include "store/index/collation.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstring>

namespace kv {

namespace {

// Accents in the order they tell otherwise equal letters apart.
enum Accent : std::uint8_t {
    NoAccent, Acute, Grave, Circumflex, Caron, Ring, Diaeresis, Tilde, Cedilla, Stroke, Ligature, Sharp
};

// Thorn sorts as a letter of its own after Z.
constexpr char kThorn = 'Z' + 1;

struct Letter {
    unsigned char byte;
    char base;
    Accent accent;
};

// The letters of code page 1252 beyond ASCII, upper case and lower case.
constexpr Letter kLetters[] = {
    {0x8A, 'S', Caron},      {0x8C, 'O', Ligature},   {0x8E, 'Z', Caron},      {0x9A, 'S', Caron},
    {0x9C, 'O', Ligature},   {0x9E, 'Z', Caron},      {0x9F, 'Y', Diaeresis},  {0xC0, 'A', Grave},
    {0xC1, 'A', Acute},      {0xC2, 'A', Circumflex}, {0xC3, 'A', Tilde},      {0xC4, 'A', Diaeresis},
    {0xC5, 'A', Ring},       {0xC6, 'A', Ligature},   {0xC7, 'C', Cedilla},    {0xC8, 'E', Grave},
    {0xC9, 'E', Acute},      {0xCA, 'E', Circumflex}, {0xCB, 'E', Diaeresis},  {0xCC, 'I', Grave},
    {0xCD, 'I', Acute},      {0xCE, 'I', Circumflex}, {0xCF, 'I', Diaeresis},  {0xD0, 'D', Stroke},
    {0xD1, 'N', Tilde},      {0xD2, 'O', Grave},      {0xD3, 'O', Acute},      {0xD4, 'O', Circumflex},
    {0xD5, 'O', Tilde},      {0xD6, 'O', Diaeresis},  {0xD8, 'O', Stroke},     {0xD9, 'U', Grave},
    {0xDA, 'U', Acute},      {0xDB, 'U', Circumflex}, {0xDC, 'U', Diaeresis},  {0xDD, 'Y', Acute},
    {0xDE, kThorn, NoAccent}, {0xDF, 'S', Sharp},     {0xE0, 'A', Grave},      {0xE1, 'A', Acute},
    {0xE2, 'A', Circumflex}, {0xE3, 'A', Tilde},      {0xE4, 'A', Diaeresis},  {0xE5, 'A', Ring},
    {0xE6, 'A', Ligature},   {0xE7, 'C', Cedilla},    {0xE8, 'E', Grave},      {0xE9, 'E', Acute},
    {0xEA, 'E', Circumflex}, {0xEB, 'E', Diaeresis},  {0xEC, 'I', Grave},      {0xED, 'I', Acute},
    {0xEE, 'I', Circumflex}, {0xEF, 'I', Diaeresis},  {0xF0, 'D', Stroke},     {0xF1, 'N', Tilde},
    {0xF2, 'O', Grave},      {0xF3, 'O', Acute},      {0xF4, 'O', Circumflex}, {0xF5, 'O', Tilde},
    {0xF6, 'O', Diaeresis},  {0xF8, 'O', Stroke},     {0xF9, 'U', Grave},      {0xFA, 'U', Acute},
    {0xFB, 'U', Circumflex}, {0xFC, 'U', Diaeresis},  {0xFD, 'Y', Acute},      {0xFE, kThorn, NoAccent},
    {0xFF, 'Y', Diaeresis},
};

struct Weights {
    std::array<std::uint8_t, 256> primary{};
    std::array<std::uint8_t, 256> secondary{};
};

// Every byte gets its weight in code page order, except that all letters take the
// weight of their base letter, and the base letters take their places at 'A'.
constexpr Weights makeWeights()
{
    std::array<char, 256> base{};
    Weights w;
    for (int c = 'A'; c <= 'Z'; ++c) {
        base[std::size_t(c)] = char(c);
        base[std::size_t(c - 'A' + 'a')] = char(c);
    }
    for (const Letter &l : kLetters) {
        base[l.byte] = l.base;
        w.secondary[l.byte] = l.accent;
    }
    std::array<std::uint8_t, kThorn - 'A' + 1> letterWeight{};
    std::uint8_t next = 1;
    for (int b = 0; b < 256; ++b) {
        if (b == 'A') {
            for (auto &weight : letterWeight)
                weight = next++;
        }
        w.primary[std::size_t(b)] = base[std::size_t(b)] ? letterWeight[std::size_t(base[std::size_t(b)] - 'A')] : next++;
    }
    return w;
}

constexpr Weights kWeights = makeWeights();
static_assert(kWeights.primary[' '] < kWeights.primary['-'] && kWeights.primary['-'] < kWeights.primary['0']);
static_assert(kWeights.primary['9'] < kWeights.primary['A'] && kWeights.primary[0xC9] == kWeights.primary['E']);
static_assert(kWeights.primary['Z'] < kWeights.primary[0xDE] && kWeights.primary[0xDE] < kWeights.primary['[']);

// The keys agree before position `from`; key(k) gives byte k of either key.
template <typename KeyA, typename KeyB>
int compareFrom(KeyA a, KeyB b, std::size_t from, std::size_t length)
{
    for (std::size_t k = from; k < length; ++k) {
        const int pa = kWeights.primary[a(k)], pb = kWeights.primary[b(k)];
        if (pa != pb)
            return pa - pb;
    }
    for (std::size_t k = from; k < length; ++k) {
        const int sa = kWeights.secondary[a(k)], sb = kWeights.secondary[b(k)];
        if (sa != sb)
            return sa - sb;
    }
    return int(a(from)) - int(b(from));
}

// Where two keys first differ (length when nowhere): equal runs of 32 bytes are passed
// over whole, the rest eight bytes at a time.
std::size_t firstDifference(const unsigned char *x, const unsigned char *y, std::size_t length)
{
    std::size_t i = 0;
    while (i + 32 <= length && std::memcmp(x + i, y + i, 32) == 0)
        i += 32;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t a, b;
        std::memcpy(&a, x + i, 8);
        std::memcpy(&b, y + i, 8);
        if (a != b) {
            const std::uint64_t diff = a ^ b;
            if constexpr (std::endian::native == std::endian::little)
                return i + std::size_t(std::countr_zero(diff)) / 8;
            else
                return i + std::size_t(std::countl_zero(diff)) / 8;
        }
    }
    while (i < length && x[i] == y[i])
        ++i;
    return i;
}

} // namespace

int compareKeys(const char *a, const char *b, std::size_t length)
{
    const auto *x = reinterpret_cast<const unsigned char *>(a);
    const auto *y = reinterpret_cast<const unsigned char *>(b);
    const std::size_t i = firstDifference(x, y, length);
    if (i == length)
        return 0;
    // Mostly the first differing letters decide at once.
    const int pa = kWeights.primary[x[i]], pb = kWeights.primary[y[i]];
    if (pa != pb)
        return pa - pb;
    return compareFrom([x](std::size_t k) { return x[k]; }, [y](std::size_t k) { return y[k]; }, i, length);
}

int compareKeys(QByteArrayView a, QByteArrayView b)
{
    const std::size_t length = std::size_t(std::max(a.size(), b.size()));
    const auto padded = [](QByteArrayView v) {
        return [v](std::size_t k) { return k < std::size_t(v.size()) ? std::uint8_t(v[qsizetype(k)]) : std::uint8_t(' '); };
    };
    const auto x = padded(a), y = padded(b);
    std::size_t i = 0;
    while (i < length && x(i) == y(i))
        ++i;
    return i == length ? 0 : compareFrom(x, y, i, length);
}

std::uint64_t primaryPrefix(const char *key, std::size_t length)
{
    const auto *k = reinterpret_cast<const unsigned char *>(key);
    std::uint64_t prefix = 0;
    for (std::size_t i = 0; i < 8; ++i)
        prefix = (prefix << 8) | (i < length ? kWeights.primary[k[i]] : 0);
    return prefix;
}

} // namespace kv

namespace kv {

bool ordersAsBytes(const char *key, std::size_t length)
{
    // A byte below 0x80 is 0x61 ('a') or above when adding 0x1F sets its top bit.
    constexpr std::uint64_t kTop = 0x8080808080808080ULL, kToA = 0x1F1F1F1F1F1F1F1FULL;
    std::size_t i = 0;
    for (; i + 8 <= length; i += 8) {
        std::uint64_t word;
        std::memcpy(&word, key + i, 8);
        if ((word | ((word & ~kTop) + kToA)) & kTop)
            return false;
    }
    for (; i < length; ++i)
        if (std::uint8_t(key[i]) >= 'a')
            return false;
    return true;
}

} // namespace kv
