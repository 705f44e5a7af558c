// The quick filter on the master table: its result shown beside a query search, which
// keeps its own mode; a newer text replaces an older one still running.
#include "app/workspace/quickfilter.h"
#include "search/criterionwords.h"
#include "store/storetest.h"
#include "workspacefixture.h"

#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

struct QuickFilterTest : ::testing::Test {
    kvtest::WorkspaceFixture f;
    kv::Workspace &ws = f.workspace;
    std::unique_ptr<kv::QuickFilter> filter;

    void SetUp() override
    {
        ws.master().setPath(newCatalogue());
        ASSERT_TRUE(ws.openMaster());
        addRecords(ws.master(), {{{"Title", "Casablanca"}, {"Star1", "Humphrey Bogart"}, {"Year", "1942"}},
                                 {{"Title", "The Big Sleep"}, {"Star1", "Humphrey Bogart"}, {"Year", "1946"}},
                                 {{"Title", "Amélie"}, {"Star1", "Audrey Tautou"}, {"Year", "2001"}},
                                 {{"Title", "Sabrina"}, {"Star1", "Audrey Hepburn"}, {"Year", "1954"}}});
        filter = std::make_unique<kv::QuickFilter>(ws);
    }

    // Types the text and waits for its result.
    int type(const QString &text)
    {
        QSignalSpy applied(filter.get(), &kv::QuickFilter::applied);
        filter->setText(text);
        EXPECT_TRUE(applied.count() > 0 || applied.wait(5000)) << text.toStdString();
        return ws.recordCount();
    }
};

TEST_F(QuickFilterTest, NarrowsTheGridAndCombinesWithAQuerySearch)
{
    QSignalSpy mode(&ws, &kv::Workspace::searchChanged);
    EXPECT_EQ(type("bogart"), 2);
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Casablanca", "The Big Sleep"}));
    EXPECT_FALSE(ws.search().isOn());

    // A search while filtered shows what both let through; the filter stays when it ends.
    ASSERT_TRUE(ws.search().apply(kv::parseCriterionWords({"Year>1945"}, ws.master()).criteria));
    EXPECT_TRUE(ws.search().isOn());
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"The Big Sleep"}));
    EXPECT_EQ(type("AUDREY"), 2); // typed while the search is on
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Amélie", "Sabrina"}));
    ws.search().end();
    EXPECT_FALSE(ws.search().isOn());
    EXPECT_EQ(type("audrey amelie"), 1);
    EXPECT_EQ(type(""), 4);
    EXPECT_FALSE(ws.search().narrowed());
    EXPECT_EQ(mode.count(), 2); // on and off by the search alone
}

TEST_F(QuickFilterTest, ANewerTextWinsAndChangedRecordsAreReadAgain)
{
    QSignalSpy applied(filter.get(), &kv::QuickFilter::applied);
    filter->setText("sabrina");
    filter->setText("bogart"); // at once, before the first is done
    ASSERT_TRUE(applied.wait(5000));
    QTest::qWait(50);
    EXPECT_EQ(applied.count(), 1);
    EXPECT_EQ(ws.recordCount(), 2);

    // A record changed after the text was read is found by the next key.
    ws.master().first();
    ws.master().edit();
    ws.master().setFieldText(QStringLiteral("Star1"), QStringLiteral("Ingrid Bergman"));
    ws.master().post();
    EXPECT_EQ(type("bogart "), 1);
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"The Big Sleep"}));
    EXPECT_EQ(type("bergman"), 1);
    EXPECT_EQ(column(ws.master(), "Title"), (QStringList{"Casablanca"}));
}

TEST_F(QuickFilterTest, AnotherCatalogueStartsUnfiltered)
{
    EXPECT_EQ(type("bogart"), 2);
    Q_EMIT ws.catalogueOpened();
    EXPECT_TRUE(filter->text().isEmpty());
    EXPECT_FALSE(ws.search().narrowed());
    EXPECT_EQ(ws.recordCount(), 4);
}

} // namespace
