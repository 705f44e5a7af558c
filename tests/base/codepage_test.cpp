#include "base/codepage.h"
#include "base/codepagebytes.h"

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

TEST(Codepage, BytesGoToUtf8AsTheirDecodedTextDoes)
{
    QByteArray every(256, Qt::Uninitialized);
    for (int b = 0; b < 256; ++b)
        every[b] = char(b);
    for (kv::Codepage cp : {kv::Codepage::Cp1252, kv::Codepage::Cp437, kv::Codepage::Cp850}) {
        QByteArray out("kept ");
        kv::appendAsUtf8(out, every.constData(), every.size(), cp);
        EXPECT_EQ(out, "kept " + kv::decode(every, cp).toUtf8()) << int(cp);
    }
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

TEST(Codepage, FindsTheFirstCharacterThatTheCodePageCannotHold)
{
    struct Case {
        const char *text;
        Codepage cp;
        qsizetype at;
        const char *name;
    };
    const Case cases[] = {
        {"Müller Cœur €", Codepage::Cp1252, -1, ""},
        {"Łódź", Codepage::Cp1252, 0, "\"Ł\" (U+0141)"},
        {"Kino Кино", Codepage::Cp1252, 5, "\"К\" (U+041A)"},
        {"ab日本", Codepage::Cp1252, 2, "\"日\" (U+65E5)"},
        {"x😀", Codepage::Cp1252, 1, "\"😀\" (U+1F600)"},
        {"Müller", Codepage::Cp850, -1, ""},
        {"5 €", Codepage::Cp850, 2, "\"€\" (U+20AC)"},
    };
    for (const Case &c : cases) {
        const QString text = QString::fromUtf8(c.text);
        EXPECT_EQ(firstUnencodable(text, c.cp), c.at) << c.text;
        EXPECT_EQ(characterName(text, c.at), QString::fromUtf8(c.name)) << c.text;
        // What the check finds is exactly what encoding would lose.
        EXPECT_EQ(decode(encode(text, c.cp), c.cp) == text, c.at < 0) << c.text;
    }
}

TEST(Codepage, TellsUtf8FromOtherBytesAcrossChunks)
{
    struct Case {
        QByteArray bytes;
        bool valid;
        bool nonAscii;
    };
    const Case cases[] = {
        {"plain ASCII, longer than eight bytes", true, false},
        {"M\xC3\xBCller C\xC5\x93ur \xE6\x97\xA5\xF0\x9F\x98\x80", true, true},
        {"M\xFCller", false, true},              // 1252
        {"caf\xC3", false, true},                // cut inside a character
        {"\xC0\xAF", false, true},               // overlong
        {"\xED\xA0\x80", false, true},           // a surrogate
        {"\xF4\x90\x80\x80", false, true},       // beyond U+10FFFF
        {"\x81\x82", false, true},               // continuation bytes alone
    };
    for (const Case &c : cases) {
        // In one piece and byte by byte: a character split between chunks still reads.
        Utf8Check whole, split;
        whole.add(c.bytes.constData(), c.bytes.size());
        for (char b : c.bytes)
            split.add(&b, 1);
        EXPECT_EQ(whole.valid(), c.valid) << c.bytes.constData();
        EXPECT_EQ(split.valid(), c.valid) << c.bytes.constData();
        EXPECT_EQ(whole.nonAscii(), c.nonAscii) << c.bytes.constData();
    }
}
