// The record test over a real catalogue, with criteria given as the command line gives them.
#include "search/criterionwords.h"
#include "search/recordtest.h"

#include "base/dateformat.h"
#include "store/storetest.h"

#include <gtest/gtest.h>

namespace {

class RecordTestFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        table.setPath(newCatalogue());
        table.open();
        const QString longText = QString(110, QLatin1Char('a')) + QStringLiteral("zzz");
        addRecords(table, {
            {{"Title", "Alien"}, {"Star1", "Sigourney Weaver"}, {"Year", "1979"}, {"KeyWords", "space horror"}},
            {{"Title", "Aliens"}, {"Star4", "sigourney WEAVER"}, {"Year", "1986"}, {"KeyWords", "Marines"},
             {"PurchDate", "05/01/1990"}, {"ListPrice", "19.95"}},
            {{"Title", "Heat"}, {"Star1", "Al Pacino"}, {"Year", "1995"}, {"KeyWords", "heist"},
             {"PurchDate", "12/31/1949"}},
            {{"Title", "Twister"}, {"Year", "1990"}, {"Category", "Action"}, {"PurchDate", "01/01/1950"}},
            {{"Title", "Casino"}, {"Year", "1991"}, {"Star6", "Sharon Stone"}, {"Category", "Crime"},
             {"Descriptio", longText}},
            {{"Title", "Braveheart"}, {"Year", "1994"}, {"Category", "Épopée"}, {"ListPrice", "24.5"},
             {"PurchDate", "07/04/1996"}},
        });
        table.append(); // nothing filled in: every number and date reads as zero
        table.setFieldText(QStringLiteral("Title"), QStringLiteral("Blank"));
        table.post();
    }

    QStringList pass(const QStringList &words)
    {
        const kv::CriterionParse parse = kv::parseCriterionWords(words, table);
        EXPECT_TRUE(parse.error.isEmpty()) << words.join(' ').toStdString() << ": " << parse.error.toStdString();
        if (!parse.filter)
            return {QStringLiteral("(refused)")};
        table.setFilterFunction(parse.filter);
        table.setFiltered(true);
        QStringList titles = column(table, "Title");
        table.setFiltered(false);
        return titles;
    }

    kv::ScopedDateFormat mdy{{QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')}};
    kv::Table table;
};

TEST_F(RecordTestFixture, TheRecordsThatPassEachCriterion)
{
    const struct {
        QStringList words;
        QStringList titles;
    } cases[] = {
        // A star typed in any star row is found in any star field, in any case, as any part.
        {{"Star3=weaver"}, {"Alien", "Aliens"}},
        {{"star1=ON STO"}, {"Casino"}},
        // Key words: either word, a part of a longer word is enough.
        {{"KeyWords=heis marine"}, {"Aliens", "Heat"}},
        {{"KeyWords=heis  zebra"}, {"Heat"}},
        {{"Title=alien"}, {"Alien", "Aliens"}},
        {{"Category=épo"}, {"Braveheart"}},
        {{"Category=Œ"}, {}},
        // Both bounds of a range are left out.
        {{"Year>1990<1995"}, {"Casino", "Braveheart"}},
        {{"Year=1995"}, {"Heat"}},
        {{"Year<1980"}, {"Alien", "Blank"}},
        {{"ListPrice>19.949"}, {"Aliens", "Braveheart"}},
        {{"ListPrice=0"}, {"Alien", "Heat", "Twister", "Casino", "Blank"}},
        // An empty purchase date reads as zero, so it is before any date.
        {{"PurchDate<01/01/1950"}, {"Alien", "Heat", "Casino", "Blank"}},
        {{"PurchDate>12/31/1949<07/04/1996"}, {"Aliens", "Twister"}},
        // Inside a level every item holds; across levels any level does.
        {{"Title=alien", "Year>1980"}, {"Aliens"}},
        {{"Title=alien", "Year>1980", "--or", "Category=crime"}, {"Aliens", "Casino"}},
        {{"Title=heat", "--or", "Title=twist", "--or", "Year=1979"}, {"Alien", "Heat", "Twister"}},
        // A criterion longer than 110 characters is matched by its first 110.
        {{"Descriptio=" + QString(110, QLatin1Char('a')) + "xyz"}, {"Casino"}},
        {{"Title=nothing like it"}, {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(pass(c.words), c.titles) << c.words.join(' ').toStdString();
}

TEST_F(RecordTestFixture, RefusedCriteriaGiveTheProgramsMessageAndNoFilter)
{
    const struct {
        QStringList words;
        const char *message;
        bool usage;
    } cases[] = {
        {{"Year>1990<"}, "Invalid search criteria entered.  Please correct.", false},
        {{"Year=nineteen"}, "Invalid search criteria entered.  Please correct.", false},
        {{"PurchDate=13/45/1997"}, "Invalid search criteria entered.  Please correct.", false},
        {{"Title=alien", "--or"}, "No search criteria entered.", false},
        {{"--or", "Title=alien"}, "No search criteria entered.", false},
        {{"Title="}, "No search criteria entered.", false},
        {{"Nofield=1"}, nullptr, true},
        {{"Title>a"}, nullptr, true},
        {{"Year>1", "YEAR<5"}, nullptr, true},
    };
    for (const auto &c : cases) {
        const kv::CriterionParse parse = kv::parseCriterionWords(c.words, table);
        EXPECT_FALSE(parse.filter) << c.words.join(' ').toStdString();
        EXPECT_EQ(parse.usage, c.usage) << c.words.join(' ').toStdString();
        if (c.message)
            EXPECT_EQ(parse.error, QString::fromLatin1(c.message)) << c.words.join(' ').toStdString();
        else
            EXPECT_FALSE(parse.error.isEmpty());
    }
}

TEST_F(RecordTestFixture, TenLevelsAreTheMost)
{
    QStringList words{QStringLiteral("Title=a")};
    for (int level = 2; level <= kv::kMaxSearchLevels; ++level)
        words << QStringLiteral("--or") << QStringLiteral("Year=%1").arg(level);
    const kv::CriterionParse ten = kv::parseCriterionWords(words, table);
    EXPECT_TRUE(ten.error.isEmpty());
    EXPECT_EQ(kv::levelCount(ten.criteria), 10);
    const kv::CriterionParse eleven = kv::parseCriterionWords(words << "--or" << "Year=1", table);
    EXPECT_TRUE(eleven.usage);
    EXPECT_FALSE(eleven.filter);
}

TEST_F(RecordTestFixture, AnEmptyListAcceptsNoRecord)
{
    const kv::RecordTest test({}, table);
    table.first();
    EXPECT_FALSE(test.BuildFilter(table.recordData(table.recNo())));
}

} // namespace
