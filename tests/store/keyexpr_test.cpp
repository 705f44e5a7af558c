#include "base/dberror.h"
#include "base/numbertext.h"
#include "store/index/keyexpr.h"

#include "base/codepage.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {
// A record of Title C(10), Year N(11,0), Price N(20,4), Bought D(8).
struct Fixture {
    std::vector<FieldLayout> fields{{"TITLE", 'C', 10, 0, 1}, {"YEAR", 'N', 11, 0, 11},
                                    {"PRICE", 'N', 20, 4, 22}, {"BOUGHT", 'D', 8, 0, 42}};
    QByteArray record(const QByteArray &title, const QByteArray &year, const QByteArray &price,
                      const QByteArray &date) const
    {
        return " " + title.leftJustified(10, ' ') + year.rightJustified(11, ' ') + price.rightJustified(20, ' ') +
               date.leftJustified(8, ' ');
    }
    QByteArray key(const char *expression, const QByteArray &record) const
    {
        return KeyExpression::parse(QString::fromLatin1(expression), fields, upperTable(Codepage::Cp1252))
            .evaluate(record.constData());
    }
};
} // namespace

TEST(KeyExpression, EvaluatesAsDbaseDoes)
{
    Fixture f;
    const QByteArray amelie = f.record(encode(QString::fromUtf8("amélie")), "2001", "19.9900", "20020501");
    const QByteArray blank = f.record("", "", "", "");
    const QByteArray negative = f.record("x", "-7", "-1234.5670", "");
    struct Case {
        const char *expression;
        const QByteArray &record;
        QByteArray expected;
    } cases[] = {
        {"Upper(Left(Title,4))", amelie, encode(QString::fromUtf8("AMÉL"))},
        {"upper(left(title,40))", amelie, encode(QString::fromUtf8("AMÉLIE    "))}, // LEFT longer than the field
        {"STR(Year,12,0)", amelie, "        2001"},
        {"STR(Year,12,0)", blank, "           0"},
        {"STR(Year,12,0)", negative, "          -7"},
        {"STR(Price,12,2)", amelie, "       19.99"},
        {"STR(Price,12,2)", negative, "    -1234.57"},
        {"STR(Price,3,0)", negative, "***"},
        {"DTOS(Bought)", amelie, "20020501"},
        {"DTOS(Bought)", blank, "        "},
        {"UPPER(LEFT(Title,3))+STR(Year,12,0)+DTOS(Bought)", amelie,
         encode(QString::fromUtf8("AMÉ")) + "        2001" + "20020501"},
        {"Title", amelie, encode(QString::fromUtf8("amélie    "))},
    };
    for (const Case &c : cases)
        EXPECT_EQ(f.key(c.expression, c.record), c.expected) << c.expression;
}

TEST(KeyExpression, RefusesWhatItCannotEvaluate)
{
    Fixture f;
    for (const char *bad : {"", "Upper(", "Upper(Title", "Lower(Title)", "Nothing", "Title+Year", "STR(Title,12)",
                            "DTOS(Year)", "Left(Title,0)", "Year", "Title + ", "SUBSTR(Title,1,2)",
                            "Upper(Left(Title,4)) extra"}) {
        EXPECT_THROW(KeyExpression::parse(QString::fromLatin1(bad), f.fields, upperTable(Codepage::Cp1252)), DbError)
            << bad;
    }
}

TEST(KeyExpression, StrRoundsDecimallyAndShowsOverflow)
{
    struct Case {
        double value;
        int len, dec;
        const char *expected;
    } cases[] = {
        {10.765, 5, 2, "10.77"}, {10.765, 5, 1, " 10.8"}, {10.765, 4, 2, "10.8"}, {2.675, 6, 2, "  2.68"},
        {0.5, 3, 0, "  1"},      {-0.5, 3, 0, " -1"},     {1951, 12, 0, "        1951"}, {0, 12, 0, "           0"},
        {123456, 5, 0, "*****"}, {-1234, 4, 0, "****"},   {99.999, 5, 2, "100.0"},
    };
    for (const Case &c : cases)
        EXPECT_EQ(dbaseStr(c.value, c.len, c.dec), QByteArray(c.expected)) << c.value << " " << c.len << " " << c.dec;
    EXPECT_EQ(decimalText(-0.00001, 4), QByteArray("0.0000"));
    EXPECT_EQ(decimalText(1.005, 2), QByteArray("1.01"));
}
