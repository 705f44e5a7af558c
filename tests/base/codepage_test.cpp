#include "base/codepage.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(Codepage, RoundTripsEveryByteOf1252)
{
    QByteArray all(256, '\0');
    for (int i = 0; i < 256; ++i)
        all[i] = char(i);
    EXPECT_EQ(encode(decode(all, Codepage::Cp1252), Codepage::Cp1252), all);
    EXPECT_EQ(encode(decode(all, Codepage::Cp437), Codepage::Cp437), all);
    EXPECT_EQ(encode(decode(all, Codepage::Cp850), Codepage::Cp850), all);
}

TEST(Codepage, DecodesEachTableByItsOwnBytes)
{
    // "é" is 0xE9 in 1252 and 0x82 in 437 and 850; the euro sign only exists in 1252.
    EXPECT_EQ(decode(QByteArray("\xE9\x80"), Codepage::Cp1252), QString::fromUtf8("é€"));
    EXPECT_EQ(decode(QByteArray("\x82"), Codepage::Cp437), QString::fromUtf8("é"));
    EXPECT_EQ(decode(QByteArray("\x82\xD5"), Codepage::Cp850), QString::fromUtf8("éı"));
    EXPECT_EQ(encode(QString::fromUtf8("€ ☃"), Codepage::Cp437), QByteArray("? ?"));
}

TEST(Codepage, LanguageDriverBytes)
{
    EXPECT_EQ(codepageForLdid(0x03), Codepage::Cp1252);
    EXPECT_EQ(codepageForLdid(0x57), Codepage::Cp1252);
    EXPECT_EQ(codepageForLdid(0x00), Codepage::Cp1252);
    EXPECT_EQ(codepageForLdid(0x01), Codepage::Cp437);
    EXPECT_EQ(codepageForLdid(0x1B), Codepage::Cp437);
    EXPECT_EQ(codepageForLdid(0x02), Codepage::Cp850);
    EXPECT_EQ(codepageForLdid(0x37), Codepage::Cp850);
}

TEST(Codepage, UpperCasesAccentedLettersOf1252)
{
    const std::uint8_t *up = upperTable(Codepage::Cp1252);
    const QByteArray lower = encode(QString::fromUtf8("abzéàüøšœÿ1-ß"));
    QByteArray upper = lower;
    for (char &c : upper)
        c = char(up[std::uint8_t(c)]);
    EXPECT_EQ(decode(upper), QString::fromUtf8("ABZÉÀÜØŠŒŸ1-ß"));
    EXPECT_EQ(upperTable(Codepage::Cp437)[0x82], 0x90); // é -> É in 437
}
