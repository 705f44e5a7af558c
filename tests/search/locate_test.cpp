// Locate: titles, matching and Locate Next over a real catalogue.
#include "search/criterionwords.h"
#include "search/locate.h"

#include "scriptedprompt.h"
#include "store/storetest.h"

#include <gtest/gtest.h>

namespace {

struct Locate : ::testing::Test {
    kv::Table table;
    kv::LocateOptions options;
    kvtest::ScriptedPrompt prompt;

    void SetUp() override
    {
        table.setPath(newCatalogue());
        table.open();
        addRecords(table, {{{"Title", "Alien"}, {"Year", "1979"}, {"ListPrice", "19.5"}},
                           {{"Title", "Heat"}, {"Year", "1995"}},
                           {{"Title", "Aliens"}, {"Year", "1986"}, {"ListPrice", "19.50"}},
                           {{"Title", "The Alienist"}, {"Year", "1995"}}});
        table.fieldDisplay(0).title = QStringLiteral("Movie ~Title");
        table.fieldDisplay(1).visible = false;
        table.fieldDisplay(1).title = QStringLiteral("Star 1");
    }
    QString current() { return table.fieldText(QStringLiteral("Title")); }
    bool find(const char *field, const char *value, kv::LocateMatch match, bool fromStart, bool caseSensitive = false)
    {
        options.fieldName = QString::fromLatin1(field);
        options.searchValue = QString::fromLatin1(value);
        options.match = match;
        options.caseSensitive = caseSensitive;
        return kv::locateRecord(table, options, fromStart);
    }
};

TEST_F(Locate, TitlesAreTheViewersForShownFieldsAndMapBack)
{
    const QStringList titles = kv::locateTitles(table, options);
    EXPECT_EQ(titles.size(), 40);
    EXPECT_TRUE(titles.contains("Movie Title"));
    EXPECT_TRUE(titles.contains("STAR1")) << "a hidden field shows its name";
    EXPECT_TRUE(std::is_sorted(titles.begin(), titles.end(),
                               [](const QString &a, const QString &b) { return a.compare(b, Qt::CaseInsensitive) < 0; }));
    EXPECT_EQ(kv::locateFieldOf(table, QStringLiteral("Movie Title")), "TITLE");
    EXPECT_EQ(kv::locateFieldOf(table, QStringLiteral("Nothing")), "");
    options.sortFields = false;
    EXPECT_EQ(kv::locateTitles(table, options).first(), "Movie Title");
}

TEST_F(Locate, EachMatchTypeFindsItsRecords)
{
    using M = kv::LocateMatch;
    const struct {
        const char *field;
        const char *value;
        M match;
        bool caseSensitive;
        QStringList found; // First, then Next until it fails
    } cases[] = {
        {"Title", "alien", M::PartialAtStart, false, {"Alien", "Aliens"}},
        {"Title", "alien", M::PartialAtStart, true, {}},
        {"Title", "ALIEN", M::Exact, false, {"Alien"}},
        {"Title", "lien", M::PartialAnywhere, false, {"Alien", "Aliens", "The Alienist"}},
        {"Title", "", M::PartialAnywhere, false, {}},
        {"Title", "", M::Exact, false, {}},
        {"Year", "1995", M::Exact, false, {"Heat", "The Alienist"}},
        {"ListPrice", "19.500", M::Exact, false, {"Alien", "Aliens"}},
        {"ListPrice", "19.5", M::PartialAtStart, false, {"Alien", "Aliens"}},
        {"ListPrice", "0", M::Exact, false, {"Heat", "The Alienist"}},
    };
    for (const auto &c : cases) {
        QStringList found;
        for (bool ok = find(c.field, c.value, c.match, true, c.caseSensitive); ok;
             ok = kv::locateRecord(table, options, false))
            found << current();
        EXPECT_EQ(found, c.found) << c.field << " " << c.value;
    }
}

TEST_F(Locate, NextStaysOnTheLastMatchAndASearchResultIsNeverLeft)
{
    ASSERT_TRUE(find("Title", "The", kv::LocateMatch::PartialAtStart, true));
    EXPECT_EQ(current(), "The Alienist");
    EXPECT_FALSE(kv::findNext(table, options, prompt, [] { return false; }));
    EXPECT_EQ(prompt.messages(), QStringList{"Notice: No more matches found"});
    EXPECT_EQ(current(), "The Alienist");

    table.setFilterFunction(kv::parseCriterionWords({"Year=1995"}, table).filter);
    table.setFiltered(true);
    EXPECT_FALSE(find("Title", "alien", kv::LocateMatch::PartialAtStart, true));
    EXPECT_TRUE(find("Title", "alien", kv::LocateMatch::PartialAnywhere, true));
    EXPECT_EQ(current(), "The Alienist");
}

TEST_F(Locate, NextWithNothingRememberedOpensTheDialogAndAClosedTableIsRefused)
{
    int executed = 0;
    EXPECT_TRUE(kv::findNext(table, options, prompt, [&] { return ++executed > 0; }));
    EXPECT_EQ(executed, 1);
    EXPECT_TRUE(prompt.messages().isEmpty());
    table.close();
    options.searchValue = QStringLiteral("x");
    EXPECT_FALSE(kv::findNext(table, options, prompt, [&] { return ++executed > 0; }));
    EXPECT_EQ(executed, 1);
    EXPECT_EQ(prompt.messages(), QStringList{"Warning: DataSource does not refer to an active table!"});
}

} // namespace
