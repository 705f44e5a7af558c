#include "base/dateformat.h"

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

TEST(DateFormat, TheTwelveChoicesWithAndWithoutLeadingZeros)
{
    struct Case {
        const char *caption;
        const char *unpadded; // 5 March 1997
        const char *padded;
    };
    const Case cases[kDateChoiceCount] = {
        {"mm/dd/yy", "3/5/97", "03/05/97"},       {"mm-dd-yy", "3-5-97", "03-05-97"},
        {"mm.dd.yy", "3.5.97", "03.05.97"},       {"dd/mm/yy", "5/3/97", "05/03/97"},
        {"dd-mm-yy", "5-3-97", "05-03-97"},       {"dd.mm.yy", "5.3.97", "05.03.97"},
        {"mm/dd/yyyy", "3/5/1997", "03/05/1997"}, {"mm-dd-yyyy", "3-5-1997", "03-05-1997"},
        {"mm.dd.yyyy", "3.5.1997", "03.05.1997"}, {"dd/mm/yyyy", "5/3/1997", "05/03/1997"},
        {"dd-mm-yyyy", "5-3-1997", "05-03-1997"}, {"dd.mm.yyyy", "5.3.1997", "05.03.1997"},
    };
    const QDate march5(1997, 3, 5);
    for (int choice = 1; choice <= kDateChoiceCount; ++choice) {
        const Case &c = cases[choice - 1];
        ASSERT_NE(dateChoice(choice), nullptr);
        EXPECT_STREQ(dateChoice(choice)->caption, c.caption);
        ScopedDateFormat keep(currentDateFormat());
        ASSERT_TRUE(setCurrentDateFormat(choice, false));
        EXPECT_EQ(formatDate(march5), QString::fromLatin1(c.unpadded)) << choice;
        ASSERT_TRUE(setCurrentDateFormat(choice, true));
        EXPECT_EQ(formatDate(march5), QString::fromLatin1(c.padded)) << choice;
    }
}

TEST(DateFormat, EveryChoiceRoundTrips)
{
    // Dates inside the two-digit-year window, so that the yy formats read them back too.
    const QDate dates[] = {QDate(1997, 3, 5), QDate(2012, 11, 30), QDate(2000, 1, 1), QDate(1960, 12, 9)};
    for (int choice = 1; choice <= kDateChoiceCount; ++choice) {
        for (bool zeros : {false, true}) {
            const DateFormat format = *dateFormatOf(choice, zeros);
            for (const QDate &date : dates) {
                const QString text = formatDate(date, format);
                EXPECT_EQ(parseDate(text, format), date) << choice << " " << zeros << " " << text.toStdString();
            }
        }
    }
    // A four-digit year format keeps any year.
    const DateFormat long12 = *dateFormatOf(12, true);
    EXPECT_EQ(parseDate(formatDate(QDate(1899, 12, 31), long12), long12), QDate(1899, 12, 31));
}

TEST(DateFormat, ReadsOnlyTheCurrentSeparatorAndOrder)
{
    ScopedDateFormat dmy(*dateFormatOf(12, true));
    EXPECT_EQ(parseDate(QStringLiteral("5.3.97")), QDate(1997, 3, 5));
    EXPECT_EQ(parseDate(QStringLiteral("31.12.1999")), QDate(1999, 12, 31));
    EXPECT_FALSE(parseDate(QStringLiteral("05/03/1997")).has_value());
    EXPECT_FALSE(parseDate(QStringLiteral("12.31.1999")).has_value());
}

TEST(DateFormat, ChoicesOutsideTheTableSetNothing)
{
    ScopedDateFormat scoped(*dateFormatOf(6, false));
    for (int choice : {0, 13, -1}) {
        EXPECT_EQ(dateChoice(choice), nullptr);
        EXPECT_FALSE(dateFormatOf(choice, true).has_value());
        EXPECT_FALSE(setCurrentDateFormat(choice, true));
        EXPECT_EQ(currentDateFormat(), *dateFormatOf(6, false));
    }
}

TEST(DateFormat, DayCountStartsOn30December1899)
{
    EXPECT_EQ(dayCount(QDate(1899, 12, 30)), 0);
    EXPECT_EQ(dayCount(QDate(1899, 12, 31)), 1);
    EXPECT_EQ(dayCount(QDate(1900, 1, 1)), 2);
    EXPECT_EQ(dayCount(QDate(1899, 12, 29)), -1);
    EXPECT_EQ(dayCount(QDate(1997, 3, 5)), 35494);
    EXPECT_EQ(dayCount(QDate(2026, 1, 1)), 46023);
    EXPECT_EQ(dayCount(QDate()), 0);
    for (qint64 days : {qint64(-700000), qint64(-1), qint64(0), qint64(35494), qint64(2958465)})
        EXPECT_EQ(dayCount(dateOfDayCount(days)), days);
}
