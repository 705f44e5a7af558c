#include "base/numbertext.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>

using namespace kv;

TEST(NumberText, RoundsDecimallyWithTiesAwayFromZero)
{
    struct Case {
        double value;
        int decimals;
        const char *text;
    };
    const Case cases[] = {
        {2.675, 2, "2.68"},    // 2.67499999... as a double, but typed as 2.675
        {1.005, 2, "1.01"},    {-2.675, 2, "-2.68"},  {0.125, 2, "0.13"},
        {2.5, 0, "3"},         {-2.5, 0, "-3"},       {0.5, 0, "1"},
        {9.995, 2, "10.00"},   {999.5, 0, "1000"},    {-999.96, 1, "-1000.0"},
        {1.1, 4, "1.1000"},    {1.8125, 4, "1.8125"}, {0.6562, 4, "0.6562"},
        {0, 4, "0.0000"},      {0, 0, "0"},           {1234567.891, 2, "1234567.89"},
        {1e20, 0, "100000000000000000000"},           {0.1 + 0.2, 2, "0.30"},
        {12.3, -1, "12"},      // no negative decimals
    };
    for (const Case &c : cases)
        EXPECT_EQ(decimalText(c.value, c.decimals), QByteArray(c.text)) << c.value << " " << c.decimals;
}

TEST(NumberText, MinusOnlyWhenTheRoundedValueIsNotZero)
{
    EXPECT_EQ(decimalText(-0.004, 2), QByteArray("0.00"));
    EXPECT_EQ(decimalText(-0.005, 2), QByteArray("-0.01"));
    EXPECT_EQ(decimalText(-0.0, 0), QByteArray("0"));
    EXPECT_EQ(decimalText(-1e-9, 4), QByteArray("0.0000"));
    EXPECT_EQ(decimalText(std::nan(""), 2), QByteArray("0"));
    EXPECT_EQ(decimalText(-std::numeric_limits<double>::infinity(), 2), QByteArray("0"));
}

TEST(NumberText, ReadsDecimalNumbers)
{
    struct Case {
        const char *text;
        double value;
    };
    const Case cases[] = {
        {"12", 12},        {"-12.50", -12.5}, {"+3", 3},         {"1e3", 1000},  {"1.5E-2", 0.015},
        {"2e+2", 200},     {" 7 ", 7},        {"007.10", 7.1},   {"-0", 0},      {"19.99", 19.99},
    };
    for (const Case &c : cases) {
        const std::optional<double> got = readDecimalNumber(QString::fromLatin1(c.text));
        ASSERT_TRUE(got.has_value()) << c.text;
        EXPECT_DOUBLE_EQ(*got, c.value) << c.text;
    }
}

TEST(NumberText, RefusesAnythingElseAsADecimalNumber)
{
    for (const char *text : {"", "  ", "1,000", "$5", "5$", ".5", "5.", "1e", "1e+", "e5", "--1", "+-1", "1.2.3",
                             "1 2", "0x10", "inf", "nan", "1e999", "12a", "- 1", "1.5e2.5"}) {
        EXPECT_FALSE(readDecimalNumber(QString::fromLatin1(text)).has_value()) << text;
    }
    EXPECT_FALSE(readDecimalNumber(QString::fromUtf8("١٢")).has_value()) << "digits of another script";
    EXPECT_FALSE(readDecimalNumber(QString::fromUtf8("12€")).has_value());
}

TEST(NumberText, ReadsWholeNumbersWithinTheRangeOfInt)
{
    EXPECT_EQ(readWholeNumber(QStringLiteral("42")), 42);
    EXPECT_EQ(readWholeNumber(QStringLiteral("-7")), -7);
    EXPECT_EQ(readWholeNumber(QStringLiteral("+0")), 0);
    EXPECT_EQ(readWholeNumber(QStringLiteral(" 1997 ")), 1997);
    EXPECT_EQ(readWholeNumber(QStringLiteral("2147483647")), 2147483647);
    EXPECT_EQ(readWholeNumber(QStringLiteral("-2147483648")), std::numeric_limits<int>::min());
    for (const char *text : {"", "1.0", "1e3", "12a", "2147483648", "-2147483649", "99999999999999999999", "- 3",
                             "0x1F", "1 000"}) {
        EXPECT_FALSE(readWholeNumber(QString::fromLatin1(text)).has_value()) << text;
    }
}
