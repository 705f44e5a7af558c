// Report runs on a page stream: grouping, totals, pending groups across pages, titles.
#include "runfixture.h"

using namespace kv;
using kvtest::RunFixture;
using kvtest::Video;

namespace {
QStringList allLines(const PageStream &s)
{
    QStringList lines;
    for (int i = 0; i < s.pageCount(); ++i)
        lines << s.pageLines(i);
    return lines;
}

std::vector<Video> dramas(int n, const QString &category = QStringLiteral("Drama"), int from = 0)
{
    std::vector<Video> v;
    for (int i = 0; i < n; ++i)
        v.push_back({QStringLiteral("M%1").arg(from + i, 4, 10, QLatin1Char('0')), QStringLiteral("Film %1").arg(from + i),
                     category, "PG", "1990", "1", "2"});
    return v;
}
} // namespace

TEST(ReportRun, TotalsWithoutGroupingGiveTotalsAndGrandTotalsAlike)
{
    RunFixture f;
    const PageStream s = f.view(f.setup(RunFixture::builtIn(1), OutputMode::View));
    ASSERT_EQ(s.pageCount(), 1);
    const QStringList lines = s.pageLines(0);
    const QString totals = "Quantity: 6 List Price: 1,084.75 Purchase Price: 62.44";
    EXPECT_EQ(lines.mid(lines.size() - 5),
              QStringList({"TOTALS", totals, "GRAND TOTALS", totals, "Page 1 12/10/26"}));
    EXPECT_EQ(lines.first(), "Media # Title Year");
    EXPECT_EQ(lines[1], "A-001 Casablanca 1942");
}

TEST(ReportRun, AReportWithoutBodyLinesIsASummaryOfItsGroups)
{
    RunFixture f;
    const PageStream s = f.view(f.setup(RunFixture::builtIn(6), OutputMode::View));
    EXPECT_EQ(allLines(s), QStringList({
                               "Drama",
                               "TOTALS",
                               "Quantity: 3 List Price: 44.90 Purchase Price: 42.49",
                               "Comedy",
                               "TOTALS",
                               "Quantity: 2 List Price: 1,029.90 Purchase Price: 10.00",
                               "Thriller",
                               "TOTALS",
                               "Quantity: 1 List Price: 9.95 Purchase Price: 9.95",
                               "GRAND TOTALS",
                               "Quantity: 6 List Price: 1,084.75 Purchase Price: 62.44",
                               "Page 1 12/10/26",
                           }));
}

TEST(ReportRun, GroupFieldsComeFromTheFirstTwoSetSortLevels)
{
    struct Case {
        bool level1, level2;
        std::array<int, 4> sort;
        std::array<int, 2> expected;
    };
    const Case cases[] = {
        {false, true, {14, 13, 0, 0}, {0, 0}},
        {true, false, {14, 13, 0, 0}, {14, 0}},
        {true, true, {14, 13, 1, 0}, {14, 13}}, // level 3 opens no group
        {true, true, {0, 14, 0, 0}, {14, 0}},   // one level set: no level 2 group
        {true, true, {0, 0, 14, 13}, {14, 13}},
    };
    for (const Case &c : cases) {
        TReportDefRec def = RunFixture::builtIn(2);
        def.groupLevel1 = c.level1;
        def.groupLevel2 = c.level2;
        EXPECT_EQ(groupFields(def, c.sort), c.expected) << c.level1 << c.level2 << c.sort[0] << c.sort[1];
    }
}

TEST(ReportRun, LevelTwoGroupsBreakOnEitherLevel)
{
    RunFixture f;
    TReportDefRec def = RunFixture::builtIn(6);
    def.groupLevel2 = true;
    def.useTotals = false;
    const PageStream s = f.view(f.setup(def, OutputMode::View));
    EXPECT_EQ(allLines(s), QStringList({"Drama, PG", "Drama, R", "Comedy, PG", "Thriller, PG-13", "Page 1 12/10/26"}));
}

TEST(ReportRun, TotalsThatDoNotFitMoveToAPageOfTheirOwn)
{
    // Letter paper: the body band holds 64 lines of 8 points, the column headers take one.
    struct Case {
        int records;
        int pages;
    };
    for (const Case c : {Case{58, 1}, Case{59, 2}}) {
        RunFixture f(dramas(c.records));
        const PageStream s = f.view(f.setup(RunFixture::builtIn(1), OutputMode::View));
        ASSERT_EQ(s.pageCount(), c.pages) << c.records;
        const QStringList last = s.pageLines(c.pages - 1);
        EXPECT_TRUE(last.contains("GRAND TOTALS")) << c.records;
        if (c.pages == 2) {
            // Column headers, the four lines of the totals that hold text, the footer.
            EXPECT_EQ(last.size(), 1 + 4 + 1) << last.join('|').toStdString();
        }
    }
}

TEST(ReportRun, AGroupChangeAtThePageEndCarriesSubtotalAndHeaderOver)
{
    // 59 records leave two lines under the column headers and the first group's header.
    std::vector<Video> v = dramas(59);
    const std::vector<Video> comedies = dramas(3, "Comedy", 100);
    v.insert(v.end(), comedies.begin(), comedies.end());
    RunFixture f(v);
    const PageStream s = f.view(f.setup(RunFixture::builtIn(2), OutputMode::View));
    ASSERT_EQ(s.pageCount(), 2);
    const QStringList first = s.pageLines(0), second = s.pageLines(1);
    EXPECT_EQ(first[1], "Drama");
    EXPECT_EQ(first[first.size() - 2], "Film 58 PG");
    EXPECT_EQ(second.mid(0, 5), QStringList({"Title Rating Personal Rating", "TOTALS",
                                              "Quantity: 59 List Price: 59.00 Purchase Price: 118.00", "Comedy",
                                              "Film 100 PG"}));
    EXPECT_EQ(allLines(s).filter(QRegularExpression("^Film \\d+ PG$")).size(), 62);
}

TEST(ReportRun, ALongTitleIsCentredAndNotCut)
{
    RunFixture f;
    TReportDefRec def = RunFixture::builtIn(1);
    def.titles[0] = QString(80, QLatin1Char('W'));
    def.titleFont.size = 14;
    const PageStream s = f.view(f.setup(def, OutputMode::View));
    const PageText &title = s.page(0).texts.front();
    EXPECT_EQ(title.text, def.titles[0]);
    EXPECT_LT(title.baseline.x(), 0); // wider than the page, centred all the same
}

TEST(ReportRun, MultiLineRecordsLabelRightFieldsLeftWithoutBoxes)
{
    RunFixture f;
    const PageStream s = f.view(f.setup(RunFixture::builtIn(3), OutputMode::View));
    const QStringList lines = s.pageLines(0);
    EXPECT_EQ(lines[0], "Drama");
    // Four digits do not fit the year's cell (4 of 120 characters) in Arial 8: condensed.
    EXPECT_EQ(lines[1], "Media Number: A-001 Title: Casablanca Year: 1942");
    const auto &texts = s.page(0).texts;
    const auto year = std::find_if(texts.begin(), texts.end(), [](const PageText &t) { return t.text == "1942"; });
    ASSERT_NE(year, texts.end());
    EXPECT_LT(year->scale, 1);
    EXPECT_GE(year->scale, 0.75);
    EXPECT_EQ(lines[2], "Stars:");
    // Only the group headers' boxes (four lines each) and the headings' bottom lines.
    EXPECT_EQ(s.page(0).lines.size(), 3u * 4u + 4u);
}

TEST(ReportRun, BoxesFollowTheLineFlagsOfAOneLineLayout)
{
    struct Case {
        bool vertical, horizontal;
        size_t linesPerCell;
    };
    for (const Case c : {Case{true, true, 4}, Case{true, false, 2}, Case{false, true, 2}, Case{false, false, 0}}) {
        RunFixture f(dramas(1));
        TReportDefRec def = RunFixture::builtIn(1);
        def.verticalLines = c.vertical;
        def.horizontalLines = c.horizontal;
        def.useTotals = false;
        const PageStream s = f.view(f.setup(def, OutputMode::View));
        // Three cells on the column header line and three on the record's.
        EXPECT_EQ(s.page(0).lines.size(), 6 * c.linesPerCell) << c.vertical << c.horizontal;
    }
}

TEST(ReportRun, TextFileThatCannotBeWrittenEndsTheRunWithItsError)
{
    RunFixture f(dramas(400));
    ReportRunSetup s = f.setup(RunFixture::builtIn(1), OutputMode::TextFile);
    s.textPath = QStringLiteral("/dev/full");
    DiscardOutput out;
    ReportEngine engine(out);
    ReportRun run(f.table, s, engine);
    EXPECT_FALSE(run.run());
    EXPECT_FALSE(run.errorString().isEmpty());
    EXPECT_FALSE(f.table.displaySuspended());
}
