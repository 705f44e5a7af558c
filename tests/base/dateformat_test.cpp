#include "app/base/dateformat.h"

#include <gtest/gtest.h>

using namespace kv;

TEST(DateFormat, DefaultIsShortUsFormat)
{
    EXPECT_EQ(formatDate(QDate(1997, 3, 5)), QStringLiteral("3/5/97"));
    EXPECT_EQ(formatDate(QDate()), QString());
    EXPECT_EQ(parseDate(QStringLiteral("3/5/97")), QDate(1997, 3, 5));
    EXPECT_EQ(parseDate(QStringLiteral("  ")), QDate());
}

TEST(DateFormat, ScopedFormatIsRestored)
{
    {
        ScopedDateFormat scoped({QStringLiteral("dd/mm/yyyy"), QLatin1Char('.')});
        EXPECT_EQ(formatDate(QDate(1997, 3, 5)), QStringLiteral("05.03.1997"));
        EXPECT_EQ(parseDate(QStringLiteral("5.3.1997")), QDate(1997, 3, 5));
    }
    EXPECT_EQ(formatDate(QDate(1997, 3, 5)), QStringLiteral("3/5/97"));
}

TEST(DateFormat, RefusesWhatIsNotADate)
{
    for (const char *text : {"2/30/97", "13/1/97", "1/1", "a/b/c", "1-1-97", "1/1/97/1", "1/ /97"})
        EXPECT_FALSE(parseDate(QString::fromLatin1(text)).has_value()) << text;
}

TEST(DateFormat, TwoDigitYearsFallInTheCenturyEndingTwentyYearsAhead)
{
    EXPECT_EQ(expandTwoDigitYear(97, 2026), 1997);
    EXPECT_EQ(expandTwoDigitYear(46, 2026), 2046);
    EXPECT_EQ(expandTwoDigitYear(47, 2026), 1947);
    EXPECT_EQ(expandTwoDigitYear(0, 2026), 2000);
    EXPECT_EQ(expandTwoDigitYear(85, 2085), 2085);
}
