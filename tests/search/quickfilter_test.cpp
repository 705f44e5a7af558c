// The quick filter's matching: every typed word somewhere in the shown text fields, letter
// case and accents aside, never across two fields.
#include "search/quickfilter.h"
#include "store/storetest.h"

#include <gtest/gtest.h>

namespace {

struct QuickFilterMatchTest : ::testing::Test {
    kv::Table t;
    kv::QuickFilterText text;
    std::atomic<bool> cancel{false};

    void SetUp() override
    {
        t.setPath(newCatalogue());
        t.open();
        addRecords(t, {{{"Title", "Amélie"}, {"Star1", "Audrey Tautou"}, {"Category", "Comedy"}},    // 1
                       {{"Title", "Casablanca"}, {"Star1", "Humphrey Bogart"}, {"Category", "Drama"}}, // 2
                       {{"Title", "The Big Sleep"}, {"Star1", "Lauren Bacall"}, {"Star2", "Humphrey Bogart"}},
                       {{"Title", "Ghost"}, {"Star1", "Bogart"}},                                        // 4: deleted
                       {{"Title", "Heat"}, {"Descriptio", "Bogart is not shown here"}, {"Year", "1995"}}});
        t.last();
        t.prior();
        t.deleteRecord();
        for (int i = 0; i < t.fieldCount(); ++i) // the grid shows Title, Star1, Star2 and Category
            t.fieldDisplay(i).visible = QStringList{"TITLE", "STAR1", "STAR2", "CATEGORY", "YEAR"}.contains(
                t.fieldName(i).toUpper());
        text.codepage = t.codepage();
        text.fields = kv::shownTextFields(t);
        kv::appendQuickFilterText(t, 1, 3, text); // in two goes, as the program reads it
        kv::appendQuickFilterText(t, 4, t.physicalCount(), text);
    }

    std::vector<std::uint32_t> recnos(const QString &typed, const std::vector<std::uint32_t> *within = nullptr)
    {
        std::vector<std::uint32_t> out;
        for (std::uint32_t i : kv::matchQuickFilter(text, kv::quickFilterWords(typed, text.codepage), within, cancel))
            out.push_back(text.recnos[i]);
        return out;
    }
};

TEST_F(QuickFilterMatchTest, EveryWordInAnyShownTextFieldCaseAndAccentsAside)
{
    using R = std::vector<std::uint32_t>;
    EXPECT_EQ(text.fields.size(), 4u); // Year is shown but is no text field
    EXPECT_EQ(text.size(), 4u);        // the deleted record is not read
    const std::pair<const char *, R> cases[] = {
        {"bogart", {2, 3}},            // in Star1 or Star2; not the hidden description, not the deleted one
        {"BOGART sleep", {3}},         // every word, in different fields
        {"  sleep   bogart ", {3}},    // blanks around and between
        {"amelie", {1}},               // accents aside, both ways
        {"AMÉLIE", {1}},
        {"émile", {}},
        {"tautou comedy", {1}},
        {"asab", {2}},                 // a part of a word is enough
        {"bacallhumphrey", {}},        // never across two fields
        {"1995", {}},                  // numbers are not text fields
        {"Łódź", {}},                  // not in the code page: nothing holds it
        {"", {1, 2, 3, 5}},
    };
    for (const auto &[typed, expected] : cases)
        EXPECT_EQ(recnos(QString::fromUtf8(typed)), expected) << typed;
}

TEST_F(QuickFilterMatchTest, ALongerTextNarrowsTheEarlierResult)
{
    EXPECT_TRUE(kv::narrowsQuickFilter("bog", "bogart"));
    EXPECT_TRUE(kv::narrowsQuickFilter("bogart", "bogart sleep"));
    EXPECT_TRUE(kv::narrowsQuickFilter("Amélie", "amelie tautou"));
    EXPECT_FALSE(kv::narrowsQuickFilter("bogart", "bogus"));
    EXPECT_FALSE(kv::narrowsQuickFilter("bogart sleep", "sleep"));

    const std::vector<std::uint32_t> earlier =
        kv::matchQuickFilter(text, kv::quickFilterWords("bog", text.codepage), nullptr, cancel);
    EXPECT_EQ(recnos("bogart sleep", &earlier), (std::vector<std::uint32_t>{3}));
}

TEST_F(QuickFilterMatchTest, ACancelledRunStopsEarly)
{
    cancel = true;
    EXPECT_TRUE(recnos("bogart").empty());
}

} // namespace
