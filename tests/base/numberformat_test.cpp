#include "base/numberformat.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

// A German-style setting: decimal comma, full stop between thousands, 3 currency digits
// so that the currency digits visibly come from the regional values.
RegionalValues commaRegion()
{
    RegionalValues r;
    r.decimalMark = QLatin1Char(',');
    r.thousands = QLatin1Char('.');
    r.currencyDigits = 3;
    return r;
}

const NumberFormats kUs{kUsFormat, kUsFormat};
const NumberFormats kRegional{kRegionalFormat, kRegionalFormat};

struct StyleCase {
    double value;
    NumberStyle style;
    int width;
    int decimals;
    const char *text;
};

void expectStyles(const NumberFormats &formats, const RegionalValues &region, std::initializer_list<StyleCase> cases)
{
    ScopedNumberFormats scoped(formats, region);
    for (const StyleCase &c : cases) {
        EXPECT_EQ(formatNumber(c.value, c.style, c.width, c.decimals), QString::fromUtf8(c.text))
            << c.value << " style " << int(c.style) << " width " << c.width;
    }
}

} // namespace

TEST(NumberFormat, UsStyles)
{
    using S = NumberStyle;
    expectStyles(kUs, commaRegion(),
                 {
                     {1234.5, S::Currency, 0, 0, "1,234.50"},
                     {-1234.5, S::Currency, 0, 0, "-1,234.50"},
                     {1234.5, S::Currency, 12, 0, "    1,234.50"},
                     {2.675, S::Currency, 0, 0, "2.68"},
                     {0, S::Currency, 6, 0, "  0.00"},
                     {-0.001, S::Currency, 0, 0, "0.00"},
                     {123456, S::Currency, 0, 0, "123,456.00"},
                     {-123456, S::Currency, 0, 0, "-123,456.00"},
                     {1234567.891, S::Currency, 4, 0, "1,234,567.89"}, // longer than the width: not cut
                     {125, S::Numeric, 5, 0, "  125"},
                     {1234, S::Numeric, 0, 0, "1,234"},
                     {-123, S::Numeric, 0, 0, "-123"},
                     {-123456, S::Numeric, 0, 0, "-123,456"},
                     {-1234567, S::Numeric, 0, 0, "-1,234,567"},
                     {1234.567, S::Numeric, 0, 2, "1,234.57"},
                     {1997, S::Plain, 6, 0, "  1997"},
                     {123456.5, S::Plain, 0, 1, "123456.5"},
                     {-1234, S::Plain, 0, 0, "-1234"},
                 });
}

TEST(NumberFormat, RegionalStyles)
{
    using S = NumberStyle;
    expectStyles(kRegional, commaRegion(),
                 {
                     {1234.5, S::Currency, 0, 0, "1.234,500"},
                     {-1234567.25, S::Currency, 14, 0, "-1.234.567,250"},
                     {-123456, S::Currency, 0, 0, "-123.456,000"},
                     {1234.5, S::Numeric, 0, 1, "1.234,5"},
                     {-999, S::Numeric, 0, 0, "-999"},
                     {1234.5, S::Plain, 8, 1, "  1234,5"},
                 });
    RegionalValues noDecimals;
    noDecimals.currencyDigits = 0; // a currency without minor unit
    expectStyles(kRegional, noDecimals, {{1234.5, S::Currency, 0, 0, "1,235"}, {-0.4, S::Currency, 0, 0, "0"}});
}

TEST(NumberFormat, NumericAndCurrencySettingsAreIndependent)
{
    using S = NumberStyle;
    expectStyles({kUsFormat, kRegionalFormat}, commaRegion(),
                 {{1234.5, S::Numeric, 0, 1, "1,234.5"}, {1234.5, S::Currency, 0, 0, "1.234,500"}});
    expectStyles({kRegionalFormat, kUsFormat}, commaRegion(),
                 {{1234.5, S::Numeric, 0, 1, "1.234,5"}, {1234.5, S::Currency, 0, 0, "1,234.50"}});
    // A choice that is neither setting writes as U.S.
    expectStyles({7, 0}, commaRegion(), {{1234.5, S::Numeric, 0, 1, "1,234.5"}, {1234.5, S::Currency, 0, 0, "1,234.50"}});
}

TEST(NumberFormat, ScopedFormatsAreRestored)
{
    const NumberFormats before = currentNumberFormats();
    const RegionalValues regionBefore = regionalValues();
    {
        ScopedNumberFormats scoped(kRegional, commaRegion());
        EXPECT_EQ(currentNumberFormats(), kRegional);
        EXPECT_EQ(regionalValues(), commaRegion());
    }
    EXPECT_EQ(currentNumberFormats(), before);
    EXPECT_EQ(regionalValues(), regionBefore);
}

TEST(NumberFormat, RegionalValuesFromTheLocale)
{
    const RegionalValues us = RegionalValues::fromLocale(QLocale(QLocale::English, QLocale::UnitedStates));
    EXPECT_EQ(us.decimalMark, QLatin1Char('.'));
    EXPECT_EQ(us.thousands, QLatin1Char(','));
    EXPECT_EQ(us.currencySymbol, QStringLiteral("$"));
    EXPECT_EQ(us.country, QStringLiteral("United States"));
    EXPECT_EQ(us.currencyDigits, 2);
    EXPECT_EQ(us.currencyPosition, 0);

    const RegionalValues de = RegionalValues::fromLocale(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(de.decimalMark, QLatin1Char(','));
    EXPECT_EQ(de.thousands, QLatin1Char('.'));
    EXPECT_EQ(de.currencySymbol, QString::fromUtf8("€"));
    EXPECT_EQ(de.currencyPosition, 3); // "1,00 €"

    const RegionalValues ja = RegionalValues::fromLocale(QLocale(QLocale::Japanese, QLocale::Japan));
    EXPECT_EQ(ja.currencyDigits, 0);

    // France groups with a narrow no-break space, which code page 1252 cannot hold.
    const RegionalValues fr = RegionalValues::fromLocale(QLocale(QLocale::French, QLocale::France));
    EXPECT_EQ(fr.thousands, QLatin1Char(' '));
    EXPECT_EQ(fr.decimalMark, QLatin1Char(','));
}

TEST(NumberFormat, TypedPricesInTheUsSetting)
{
    ScopedNumberFormats scoped(kUs, commaRegion());
    EXPECT_EQ(normalisePrice(QStringLiteral("1,234,567.5")), QStringLiteral("1234567.5"));
    EXPECT_EQ(readPrice(QStringLiteral(" 1,234.50 ")), 1234.5);
    EXPECT_EQ(readPrice(QStringLiteral("-12")), -12.0);
    EXPECT_EQ(readPrice(QStringLiteral("1e2")), 100.0);
    EXPECT_FALSE(readPrice(QStringLiteral("$12.00")).has_value());
    EXPECT_FALSE(readPrice(QStringLiteral("12,50 €")).has_value());
    EXPECT_FALSE(readPrice(QStringLiteral("twelve")).has_value());
}

TEST(NumberFormat, TypedPricesInTheRegionalSetting)
{
    ScopedNumberFormats scoped(kRegional, commaRegion());
    EXPECT_EQ(normalisePrice(QStringLiteral("1.234,50")), QStringLiteral("1234.50"));
    EXPECT_EQ(readPrice(QStringLiteral("1.234,50")), 1234.5);
    EXPECT_EQ(readPrice(QStringLiteral("12,5")), 12.5);
    // The thousands character goes first, so a full stop typed as decimal point vanishes.
    EXPECT_EQ(readPrice(QStringLiteral("12.5")), 125.0);
    // Only the first decimal mark becomes a full stop.
    EXPECT_FALSE(readPrice(QStringLiteral("1,2,3")).has_value());
}

TEST(NumberFormat, PriceBoxRewritesATypedPriceInTheCurrencyStyle)
{
    ScopedNumberFormats scoped(kUs, commaRegion());
    const std::optional<double> typed = readPrice(QStringLiteral("1234.5"));
    ASSERT_TRUE(typed.has_value());
    const QString shown = formatNumber(*typed, NumberStyle::Currency, 0);
    EXPECT_EQ(shown, QStringLiteral("1,234.50"));
    EXPECT_EQ(readPrice(shown), 1234.5); // and reads back
}
