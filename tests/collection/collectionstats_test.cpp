// The figures of a catalogue against a small one counted by hand.
#include "collection/collectionstats.h"
#include "collectionfixture.h"

#include <QJsonArray>
#include <QJsonDocument>
#include <gtest/gtest.h>

namespace {

using kvtest::Video;

// Four videos and a deleted fifth that no figure may count.
const std::vector<Video> kVideos = {
    {"Casablanca", "Drama", "VHS", "Family", "PG", "Excellent", "1942", "102", "19.99", "10.00", "Yes", "Rick", 40, "12"},
    {"The Big Sleep", "drama", "DVD", "", "", "Good", "1946", "114", "9.50", "", "yes", "Ilsa", 5, ""},
    {"Heat", "Thriller", "DVD", "Adult", "R", "Good", "1995", "170", "", "12.25", "No", "", -1, ""},
    {"Alien", "Science Fiction", "VHS", "", "R", "", "", "117", "", "", "Yes", "Rick", -1, ""},
    {"Ghost", "Drama", "VHS", "", "PG", "Poor", "1990", "127", "5.00", "5.00", "Yes", "Sam", 90, "", true},
};

struct CollectionStatsTest : ::testing::Test {
    kv::Table t;
    void SetUp() override
    {
        t.setPath(newCatalogue());
        t.open();
        kvtest::addVideos(t, kVideos);
    }
};

using Figures = std::vector<std::tuple<QString, qint64, double>>;
Figures figures(const std::vector<kv::Share> &shares)
{
    Figures out;
    for (const kv::Share &s : shares)
        out.emplace_back(s.value, s.count, s.share);
    return out;
}

TEST_F(CollectionStatsTest, CountsSharesTotalsAndLoansOfTheWholeCatalogue)
{
    const kv::CollectionStats s = kv::collectStats(t, kv::StatsScope::Catalogue, QDate::currentDate(), 30);
    EXPECT_EQ(s.records, 4);
    // Case aside, the first spelling named; ties by name; the blank last.
    EXPECT_EQ(figures(s.byCategory), (Figures{{"Drama", 2, 0.5}, {"Science Fiction", 1, 0.25}, {"Thriller", 1, 0.25}}));
    EXPECT_EQ(figures(s.byFormat), (Figures{{"DVD", 2, 0.5}, {"VHS", 2, 0.5}}));
    EXPECT_EQ(figures(s.byContent), (Figures{{"Adult", 1, 0.25}, {"Family", 1, 0.25}, {"(blank)", 2, 0.5}}));
    EXPECT_EQ(figures(s.byRating), (Figures{{"R", 2, 0.5}, {"PG", 1, 0.25}, {"(blank)", 1, 0.25}}));
    EXPECT_EQ(figures(s.byDecade), (Figures{{"1940s", 2, 0.5}, {"1990s", 1, 0.25}, {"(blank)", 1, 0.25}}));
    EXPECT_EQ(figures(s.byPersonalRating), (Figures{{"Good", 2, 0.5}, {"Excellent", 1, 0.25}, {"(blank)", 1, 0.25}}));
    EXPECT_EQ(s.runTimeMinutes, 102 + 114 + 170 + 117);
    EXPECT_DOUBLE_EQ(s.listValue, 19.99 + 9.50);
    EXPECT_DOUBLE_EQ(s.purchaseValue, 10.00 + 12.25);

    // The longest out first; a loan without a date has no days and is never overdue.
    ASSERT_EQ(s.loans.size(), 3u);
    EXPECT_EQ(s.loans[0].title, "Casablanca");
    EXPECT_EQ(s.loans[0].person, "Rick");
    EXPECT_EQ(s.loans[0].since, QDate::currentDate().addDays(-40));
    EXPECT_EQ(s.loans[0].days, 40);
    EXPECT_TRUE(s.loans[0].overdue);
    EXPECT_EQ(s.loans[1].title, "The Big Sleep");
    EXPECT_EQ(s.loans[1].days, 5);
    EXPECT_FALSE(s.loans[1].overdue);
    EXPECT_EQ(s.loans[2].title, "Alien");
    EXPECT_EQ(s.loans[2].days, -1);
    EXPECT_FALSE(s.loans[2].overdue);
    EXPECT_EQ(s.overdue, 1);
    EXPECT_EQ(figures(s.byBorrower), (Figures{{"Rick", 2, 2.0 / 3.0}, {"Ilsa", 1, 1.0 / 3.0}}));

    // The days the user sets decide what is overdue.
    EXPECT_EQ(kv::collectStats(t, kv::StatsScope::Catalogue, QDate::currentDate(), 4).overdue, 2);
    EXPECT_EQ(kv::collectStats(t, kv::StatsScope::Catalogue, QDate::currentDate(), 40).overdue, 0);
}

TEST_F(CollectionStatsTest, ASearchResultCountsOnlyTheRecordsShown)
{
    t.setFilterFunction([](const kv::RecordRef &r) { return r.text(QStringLiteral("Format")) == "DVD"; });
    t.setFiltered(true);
    const kv::CollectionStats shown = kv::collectStats(t, kv::StatsScope::Visible, QDate::currentDate(), 30);
    EXPECT_EQ(shown.records, 2);
    EXPECT_EQ(shown.runTimeMinutes, 114 + 170);
    EXPECT_EQ(figures(shown.byCategory), (Figures{{"drama", 1, 0.5}, {"Thriller", 1, 0.5}}));
    ASSERT_EQ(shown.loans.size(), 1u);
    EXPECT_EQ(shown.loans[0].person, "Ilsa");
    EXPECT_EQ(kv::collectStats(t, kv::StatsScope::Catalogue, QDate::currentDate(), 30).records, 4);
}

TEST_F(CollectionStatsTest, TextAndJsonCarryTheSameFigures)
{
    const kv::CollectionStats s = kv::collectStats(t, kv::StatsScope::Catalogue, QDate::currentDate(), 30);
    const QString text = kv::statsText(s);
    EXPECT_TRUE(text.startsWith("Videos\t4\n"));
    EXPECT_TRUE(text.contains("Total running time\t503 minutes (8 h 23 min)\n"));
    EXPECT_TRUE(text.contains("Category\n  Drama\t2\t50.0%\n  Science Fiction\t1\t25.0%\n"));
    EXPECT_TRUE(text.contains("Checked out\t3 (overdue after 30 days: 1)\n"));
    const QJsonObject json = QJsonDocument::fromJson(QJsonDocument(kv::statsJson(s)).toJson()).object();
    EXPECT_EQ(json["videos"].toInt(), 4);
    EXPECT_DOUBLE_EQ(json["listValue"].toDouble(), 29.49);
    EXPECT_EQ(json["decade"].toArray()[0].toObject()["value"].toString(), "1940s");
    EXPECT_EQ(json["checkedOut"].toArray()[0].toObject()["days"].toInt(), 40);
}

TEST_F(CollectionStatsTest, TheCommandLineWritesTheFiguresAndRefusesWhatIsNoCatalogue)
{
    const QString path = t.filePath();
    t.close();
    const kvtest::ProcessResult json = kvtest::runCli({"stats", path, "--json", "--overdue", "4"});
    ASSERT_EQ(json.exitCode, 0) << json.err.toStdString();
    const QJsonObject o = QJsonDocument::fromJson(json.out).object();
    EXPECT_EQ(o["videos"].toInt(), 4);
    EXPECT_EQ(o["runTimeMinutes"].toInt(), 503);
    EXPECT_EQ(o["overdue"].toInt(), 2);
    EXPECT_EQ(o["category"].toArray()[0].toObject()["count"].toInt(), 2);

    const kvtest::ProcessResult text = kvtest::runCli({"stats", path});
    ASSERT_EQ(text.exitCode, 0);
    EXPECT_TRUE(text.out.startsWith("Videos\t4\n"));

    EXPECT_EQ(kvtest::runCli({"stats", path, "--overdue", "soon"}).exitCode, 2);
    kv::Table other;
    other.setPath(kvtest::tempPath("OTHER.DBF"));
    other.addFieldDef(QStringLiteral("NAME"), kv::FieldKind::Text, 20);
    other.createTable();
    const kvtest::ProcessResult refused = kvtest::runCli({"stats", kvtest::tempPath("OTHER.DBF")});
    EXPECT_EQ(refused.exitCode, 1);
    EXPECT_TRUE(refused.err.contains("was not created with Kestrova Videos 97"));
}

} // namespace
