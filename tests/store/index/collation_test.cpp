#include "store/index/collation.h"

#include "store/index/keyexpr.h"

#include "base/codepage.h"

#include <QStringList>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <random>
#include <string>

using namespace kv;

namespace {

int sign(int v) { return (v > 0) - (v < 0); }

// Texts as the keys of Upper(text) hold them: code page 1252, upper-cased, blank-padded.
std::string upperKey(const QString &text, int length = 12)
{
    QByteArray bytes = encode(text).leftJustified(length, ' ', true);
    const std::uint8_t *upper = upperTable(Codepage::Cp1252);
    for (char &c : bytes)
        c = char(upper[std::uint8_t(c)]);
    return bytes.toStdString();
}

int compare(const std::string &a, const std::string &b) { return compareKeys(a.data(), b.data(), a.size()); }

std::string randomKey(std::mt19937 &rng, const std::string &alphabet, std::size_t length)
{
    std::string key(length, ' ');
    for (char &c : key)
        c = alphabet[rng() % alphabet.size()];
    return key;
}

} // namespace

TEST(Collation, AccentedLettersSortWithTheirBaseLetter)
{
    const QStringList sorted = {QString::fromUtf8("ábc"), QStringLiteral("Abd"), QString::fromUtf8("Édith"),
                                QString::fromUtf8("Émile"), QStringLiteral("Eve"), QString::fromUtf8("Zoë")};
    for (const QString &key : {QStringLiteral("upper"), QStringLiteral("as written")}) {
        SCOPED_TRACE(key.toStdString());
        std::vector<std::string> keys;
        for (const QString &text : sorted)
            keys.push_back(key == QLatin1String("upper") ? upperKey(text) : encode(text).leftJustified(12).toStdString());
        std::vector<std::string> shuffled = keys;
        std::reverse(shuffled.begin(), shuffled.end());
        std::sort(shuffled.begin(), shuffled.end(), [](const auto &a, const auto &b) { return compare(a, b) < 0; });
        EXPECT_EQ(shuffled, keys);
    }
}

TEST(Collation, AccentsAndCaseTellOtherwiseEqualKeysApart)
{
    const struct {
        const char *a; // UTF-8, compared as code page 1252 bytes
        const char *b;
        int expected;
    } cases[] = {
        {"CAFE", "CAFÉ", -1},     // no accent first
        {"CAFÉ", "CAFF", -1},     // the letters decide before the accent
        {"ÉMILE", "EMMAS", -1},   // even where the accent comes first
        {"CAFÉ", "CAFÈ", -1},     // acute before grave
        {"ABC", "abc", -1},       // the bytes decide last
        {"Émile", "émile", -1},
        {"ÆBLE", "AFTE", -1},     // ligatures with their first letter
        {"STRASE", "STRAßE", -1}, // ß with S, after it
        {"ZZZZ", "ÞORN", -1},     // thorn after Z
        {"Þ", "[", -1},           // and before what follows Z in the code page
        {"ÿ", "z", -1},
        {"Ÿ", "ÿ", -1},
        {"ÉMILE", "ÉMILE", 0},
    };
    for (const auto &c : cases) {
        const std::string a = encode(QString::fromUtf8(c.a)).toStdString();
        const std::string b = encode(QString::fromUtf8(c.b)).toStdString();
        ASSERT_EQ(a.size(), b.size()) << c.a;
        EXPECT_EQ(sign(compare(a, b)), c.expected) << c.a << " " << c.b;
        EXPECT_EQ(sign(compare(b, a)), -c.expected) << c.b << " " << c.a;
    }
}

// STR() and DTOS() keys, and keys of upper-case ASCII letters, order as their bytes do:
// blanks before minus signs before digits, shorter numbers (more leading blanks) first.
TEST(Collation, NumbersDatesAndAsciiKeepTheirByteOrder)
{
    std::mt19937 rng(3);
    const std::string numbers = " -0123456789.*";
    const std::string ascii = " !\"#$%&'()*+,-./0123456789:;<=>?@ABCDEFGHIJKLMNOPQRSTUVWXYZ[\\]^_`{|}~";
    for (const std::string &alphabet : {numbers, ascii}) {
        for (int i = 0; i < 20000; ++i) {
            const std::size_t length = 1 + rng() % 12;
            const std::string a = randomKey(rng, alphabet, length), b = randomKey(rng, alphabet, length);
            ASSERT_EQ(sign(compare(a, b)), sign(std::memcmp(a.data(), b.data(), length))) << a << " | " << b;
        }
    }
    const std::vector<std::string> years = {dbaseStr(0, 12, 0).toStdString(), dbaseStr(5, 12, 0).toStdString(),
                                            dbaseStr(42, 12, 0).toStdString(), dbaseStr(1951, 12, 0).toStdString(),
                                            dbaseStr(12000, 12, 0).toStdString()};
    EXPECT_TRUE(std::is_sorted(years.begin(), years.end(), [](const auto &a, const auto &b) { return compare(a, b) < 0; }));
    EXPECT_LT(compare("        ", "19970305"), 0); // a blank date first
    EXPECT_LT(compare("19970305", "20010101"), 0);
    EXPECT_LT(compare("EVE 1951", "EVE11951"), 0);  // a blank before a digit
}

TEST(Collation, KeysOfAnyLengthArePaddedWithBlanks)
{
    EXPECT_EQ(compareKeys(QByteArrayView("ABC"), QByteArrayView("ABC   ")), 0);
    EXPECT_LT(compareKeys(QByteArrayView("AB"), QByteArrayView("ABC")), 0);
    EXPECT_LT(compareKeys(QByteArrayView("\xC9VE"), QByteArrayView("EVEN")), 0); // ÉVE before EVEN
    EXPECT_GT(compareKeys(QByteArrayView("\xC9VE"), QByteArrayView("EVE")), 0);
    EXPECT_EQ(compareKeys(QByteArrayView(""), QByteArrayView("")), 0);
}

// The order is total and the sorting prefix agrees with it, over keys that mix every
// kind of byte.
TEST(Collation, PrefixesAgreeWithTheWholeOrder)
{
    std::mt19937 rng(11);
    std::string alphabet;
    for (int c = 0x20; c < 0x100; c += 1 + int(rng() % 3))
        alphabet.push_back(char(c));
    alphabet += "AaEe\xC9\xE9\xC8";
    for (int i = 0; i < 20000; ++i) {
        const std::size_t length = 1 + rng() % 16;
        const std::string a = randomKey(rng, alphabet, length), b = randomKey(rng, alphabet, length);
        const int c = sign(compare(a, b));
        ASSERT_EQ(c, -sign(compare(b, a)));
        ASSERT_EQ(c == 0, a == b);
        const std::uint64_t pa = primaryPrefix(a.data(), length), pb = primaryPrefix(b.data(), length);
        if (pa != pb) {
            ASSERT_EQ(c, pa < pb ? -1 : 1) << a << " | " << b;
        }
    }
}
