// The program's search state: applying criteria to the master table, ending the search
// and turning it on again.
#include "app/workspace/workspace.h"
#include "search/criterionwords.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

namespace {

struct SearchStateTest : ::testing::Test {
    kvtest::WorkspaceFixture f;
    kv::Workspace &ws = f.workspace;

    void SetUp() override
    {
        ws.master().setPath(newCatalogue());
        ASSERT_TRUE(ws.openMaster());
        addRecords(ws.master(), {{{"Title", "Alien"}, {"Year", "1979"}},
                                 {{"Title", "Heat"}, {"Year", "1995"}},
                                 {{"Title", "Aliens"}, {"Year", "1986"}}});
    }
    kv::CriteriaList criteria(const QStringList &words)
    {
        return kv::parseCriterionWords(words, ws.master()).criteria;
    }
};

TEST_F(SearchStateTest, ApplyShowsTheMatchesFromTheFirstAndNothingFoundEndsTheSearch)
{
    std::vector<bool> signalled;
    QObject::connect(&ws, &kv::Workspace::searchChanged, [&](bool on) { signalled.push_back(on); });
    ws.master().last();
    ASSERT_TRUE(ws.search().apply(criteria({"Title=alien"})));
    EXPECT_TRUE(ws.search().isOn());
    EXPECT_EQ(ws.recordCount(), 2);
    EXPECT_EQ(ws.master().fieldText(QStringLiteral("Title")), "Alien");

    EXPECT_FALSE(ws.search().apply(criteria({"Title=zebra"})));
    EXPECT_FALSE(ws.search().isOn());
    EXPECT_FALSE(ws.search().hasCriteria());
    EXPECT_EQ(ws.recordCount(), 3);
    EXPECT_EQ(signalled, (std::vector<bool>{true, false}));
}

TEST_F(SearchStateTest, EndAndRestartKeepTheCriteriaAcrossAReopenedTable)
{
    ASSERT_TRUE(ws.search().apply(criteria({"Year>1980"})));
    ws.search().end();
    EXPECT_EQ(ws.recordCount(), 3);
    ws.master().close();
    ws.search().restart(); // while closed, as Update Database does
    ASSERT_TRUE(ws.openMaster());
    EXPECT_TRUE(ws.search().isOn());
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Heat", "Aliens"}));
    ws.search().clear();
    ws.search().restart();
    EXPECT_FALSE(ws.search().isOn());
    EXPECT_EQ(ws.recordCount(), 3);
}

} // namespace
