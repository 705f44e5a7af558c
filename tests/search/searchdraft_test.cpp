// The Search window's work: Ok, Find More and Clear Search over the rows and levels.
#include "search/searchdraft.h"

#include "scriptedprompt.h"
#include "store/fieldtable.h"

#include <gtest/gtest.h>

namespace {

using kv::CriteriaList;

struct Draft : ::testing::Test {
    kvtest::ScriptedPrompt prompt;
    kv::SearchDraft draft{prompt};
    int applied = 0;
    bool finds = true;
    CriteriaList seen;

    bool ok()
    {
        return draft.ok([this](const CriteriaList &c) {
            ++applied;
            seen = c;
            return finds;
        });
    }
    void type(int field, const char *text) { draft.rows[std::size_t(field - 1)].text = QString::fromLatin1(text); }
    bool cellsEmpty() const
    {
        return std::all_of(draft.rows.begin(), draft.rows.end(), [](const kv::SearchRow &r) { return r.text.isEmpty(); });
    }
};

TEST_F(Draft, OkWithNothingTypedSaysSoAndAppliesNothing)
{
    EXPECT_FALSE(ok());
    EXPECT_EQ(prompt.messages(), QStringList{"Error: No search criteria entered."});
    EXPECT_EQ(applied, 0);
}

TEST_F(Draft, FindMoreStartsTheNextLevelAndAnEmptyLastLevelKeepsTheEarlierOnes)
{
    type(1, "alien");
    ASSERT_TRUE(draft.findMore());
    EXPECT_TRUE(cellsEmpty());
    EXPECT_EQ(draft.level(), 2);
    EXPECT_EQ(draft.header(), " SEARCH CRITERIA    (Level 2)");
    EXPECT_FALSE(ok());
    EXPECT_EQ(prompt.messages(), QStringList{"Error: No search criteria entered."});
    EXPECT_EQ(applied, 0);
    EXPECT_EQ(draft.criteria().size(), 1u);
    type(14, "drama");
    EXPECT_TRUE(ok());
    EXPECT_EQ(kv::levelCount(seen), 2);
}

TEST_F(Draft, FindMoreIsDisabledAtTheTenthLevel)
{
    for (int level = 1; level < 10; ++level) {
        EXPECT_TRUE(draft.findMoreEnabled()) << level;
        type(1, "x");
        ASSERT_TRUE(draft.findMore());
    }
    EXPECT_EQ(draft.level(), 10);
    EXPECT_FALSE(draft.findMoreEnabled());
    type(1, "x");
    EXPECT_TRUE(ok());
    EXPECT_EQ(kv::levelCount(seen), 10);
}

TEST_F(Draft, AnInvalidRowIsShownAndTheLevelIsNotKept)
{
    type(1, "alien");
    type(12, "= 9o");
    type(14, "drama");
    EXPECT_FALSE(draft.findMore());
    EXPECT_EQ(prompt.messages(), QStringList{"Error: Invalid search criteria entered.  Please correct."});
    EXPECT_EQ(draft.badRow(), 12);
    EXPECT_EQ(draft.level(), 1);
    EXPECT_TRUE(draft.criteria().empty());
    EXPECT_EQ(draft.rows[11].text, "= 9o") << "the cells stay for correcting";
}

TEST_F(Draft, NoMatchClearsTheWindowAndTooManyItemsClearEverything)
{
    finds = false;
    type(1, "zzz");
    type(12, "> 5");
    draft.rows[11].op = kv::RowOperator::Greater;
    ASSERT_TRUE(draft.findMore());
    type(1, "yyy");
    EXPECT_FALSE(ok());
    EXPECT_EQ(applied, 1);
    EXPECT_EQ(prompt.messages(),
              QStringList{"Notice: No valid matches found.  Search Criteria will be cleared."});
    EXPECT_TRUE(cellsEmpty());
    EXPECT_TRUE(draft.criteria().empty());
    EXPECT_EQ(draft.level(), 1);
    EXPECT_EQ(draft.rows[11].op, kv::RowOperator::Greater) << "operators stay";

    prompt.clear();
    for (int level = 1; level <= 3; ++level) {
        for (int n = 1; n <= kv::kFieldCount; ++n)
            if (kv::rowType(n) == kv::RowType::Text)
                type(n, "x");
        if (level < 3) {
            ASSERT_TRUE(draft.findMore());
        }
    }
    EXPECT_FALSE(draft.findMore()); // 34 + 34 + 34 items
    EXPECT_EQ(prompt.messages().value(0).left(60), "Error: More than 75 search items have been entered.  This ex");
    EXPECT_TRUE(cellsEmpty());
    EXPECT_TRUE(draft.criteria().empty());
    EXPECT_EQ(draft.level(), 1);
    EXPECT_TRUE(draft.findMoreEnabled());
}

} // namespace
