// Search and replace over a real catalogue, and kestrova-cli replace.
#include "search/replace.h"

#include "app/workspace/workspace.h"
#include "base/dateformat.h"
#include "search/criterionwords.h"
#include "store/catalogue.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <gtest/gtest.h>

namespace {

struct Replace : ::testing::Test {
    kvtest::WorkspaceFixture f;
    kv::Workspace &ws = f.workspace;
    kv::ScopedDateFormat mdy{{QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')}};
    kv::ReplaceCounters n;
    std::vector<kv::ReplaceCounters> shown;

    void SetUp() override
    {
        const QString path = newCatalogue();
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", "Zulu"}, {"Star1", "B"}, {"Category", "drama"}, {"Year", "1995"}},
                       {{"Title", "Alpha"}, {"Star1", "D"}, {"Category", "DRAMA"}, {"PurchDate", "05/01/1990"}},
                       {{"Title", "Mike"}, {"Star1", "A"}, {"Category", "Dramatic"}, {"Year", "1995"}},
                       {{"Title", "Kilo"}, {"Star1", "C"}}});
        t.close();
        t.addIndex(QString::fromLatin1(kv::kSortTagName), QStringLiteral("Upper(Left(Star1,80))"));
        ws.master().setPath(path);
        ws.master().setIndexName(QString::fromLatin1(kv::kSortTagName));
        ASSERT_TRUE(ws.openMaster());
    }
    kv::ReplaceResult run(int field, const char *search, const char *replacement, bool confirm = false)
    {
        kv::ReplaceHooks hooks;
        hooks.endSearch = [this] {
            const bool on = ws.search().isOn();
            ws.search().end();
            return on;
        };
        hooks.restartSearch = [this] { ws.search().restart(); };
        hooks.progress = [this](const kv::ReplaceCounters &c) { shown.push_back(c); };
        return kv::searchAndReplace(ws.master(), ws.check(), QStringLiteral("Upper(Left(Star1,80))"),
                                    {field, QString::fromUtf8(search), QString::fromUtf8(replacement), confirm},
                                    f.prompt, hooks, n);
    }
    QStringList titles() { return column(ws.master(), "Title"); }
};

TEST_F(Replace, WholeValuesInAnyCaseChangeOutsideTheSearchTooAndTheOrderAndSearchComeBack)
{
    ASSERT_TRUE(ws.search().apply(kv::parseCriterionWords({"Title=kilo"}, ws.master()).criteria));
    ASSERT_EQ(run(14, " drama ", "Drama"), kv::ReplaceResult::Done);
    EXPECT_EQ(n.processed, 4);
    EXPECT_EQ(n.found, 2);
    EXPECT_EQ(n.changed, 2);
    EXPECT_EQ(shown.size(), 4u);
    EXPECT_EQ(f.prompt.messages(), QStringList{"Finished: Global Search and Replace Complete."});
    EXPECT_TRUE(ws.search().isOn());
    EXPECT_EQ(titles(), QStringList{"Kilo"});
    ws.search().end();
    EXPECT_EQ(titles(), (QStringList{"Mike", "Zulu", "Kilo", "Alpha"})) << "the sort order again";
    EXPECT_EQ(column(ws.master(), "Category"), (QStringList{"Dramatic", "Drama", "", "Drama"}));
    EXPECT_FALSE(ws.master().exclusive());
}

TEST_F(Replace, EmptyTextNumbersDatesAndConfirmation)
{
    ASSERT_EQ(run(14, "", "None"), kv::ReplaceResult::Done);
    EXPECT_EQ(n.changed, 1);
    ASSERT_EQ(run(11, "1995", "1996"), kv::ReplaceResult::Done);
    EXPECT_EQ(column(ws.master(), "Year"), (QStringList{"1996", "1996", "", ""}));
    ASSERT_EQ(run(35, "05/01/1990", "06/02/1991"), kv::ReplaceResult::Done);
    EXPECT_EQ(column(ws.master(), "PurchDate").last(), "06/02/1991");

    f.prompt.clear();
    f.prompt.answer(kv::Answer::No).answer(kv::Answer::No);
    ASSERT_EQ(run(11, "1996", "2000", true), kv::ReplaceResult::Done);
    EXPECT_EQ(n.found, 2);
    EXPECT_EQ(n.changed, 0);
    EXPECT_EQ(f.prompt.messages().value(0), "Confirm: Item = \"Zulu\".  Change this record?") << "file order";
}

TEST_F(Replace, RefusalsChangeNothing)
{
    const struct {
        int field;
        const char *search, *replacement, *message;
    } cases[] = {
        {0, "a", "b", "Error: No field has been selected."},
        {11, "", "1", "Error: Invalid search value entered.  Please correct."},
        {11, "1995", "19x5", "Error: Invalid replacement value entered.  Please correct."},
        {35, "  /  /", "01/01/1990", "Error: Invalid search date entered.  Please correct."},
        {35, "05/01/1990", "13/45/1990", "Error: Invalid replacement date entered.  Please correct."},
    };
    for (const auto &c : cases) {
        f.prompt.clear();
        EXPECT_EQ(run(c.field, c.search, c.replacement), kv::ReplaceResult::Refused);
        EXPECT_EQ(f.prompt.messages(), QStringList{c.message});
    }
    kv::Table other; // another user has the catalogue open
    other.setPath(ws.master().filePath());
    other.open();
    f.prompt.clear();
    EXPECT_EQ(run(14, "drama", "x"), kv::ReplaceResult::InUse);
    EXPECT_EQ(f.prompt.messages(), QStringList{"Error: " + QString::fromLatin1(kv::kReplaceInUse)});
    EXPECT_TRUE(ws.master().isOpen());
    EXPECT_EQ(column(ws.master(), "Category"), (QStringList{"Dramatic", "drama", "", "DRAMA"}));
}

TEST(CliReplace, PrintsTheCountersAndRefusesBadValues)
{
    const QString db = newCatalogue(QStringLiteral("R.DBF"));
    for (const char *year : {"1995", "1995", "1990"})
        ASSERT_EQ(kvtest::runCli({"add", db, "Title=x", QStringLiteral("Year=%1").arg(year)}).exitCode, 0);
    kvtest::ProcessResult r = kvtest::runCli({"replace", db, "year", "1995", "1996"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "Processed 3  Found 2  Changed 2\n");
    r = kvtest::runCli({"replace", db, "Year", "1995", "abc"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), "Invalid replacement value entered.  Please correct.");
    EXPECT_EQ(kvtest::runCli({"replace", db, "Colour", "a", "b"}).exitCode, 2);
}

} // namespace
