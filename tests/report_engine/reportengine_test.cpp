// The layout engine on its in-memory page stream: run order and cancel, band arithmetic,
// tab stops and the automatic page break.
#include "report_engine/reportengine.h"

#include <gtest/gtest.h>

using namespace kv;

namespace {

const PageFont kArial8{QStringLiteral("Arial"), 8};

struct EngineRun {
    PageStream stream;
    StreamOutput output{stream};
    ReportEngine engine{output};
    QStringList calls;
};

} // namespace

TEST(ReportEngine, CallsBackPerPageUntilThePageCallbackSaysNoMore)
{
    EngineRun r;
    int pages = 0;
    r.engine.setCallbacks({
        [&] { r.calls << "before"; },
        [&] { r.calls << QStringLiteral("header%1").arg(r.engine.pageNumber()); },
        [&] {
            r.calls << QStringLiteral("page%1").arg(r.engine.pageNumber());
            return ++pages < 3;
        },
        [&] { r.calls << QStringLiteral("footer%1").arg(r.engine.pageNumber()); },
        [&] { r.calls << "after"; },
        {},
    });
    ASSERT_TRUE(r.engine.start());
    EXPECT_EQ(r.calls.join(' '), "before header1 page1 footer1 header2 page2 footer2 header3 page3 footer3 after");
    EXPECT_EQ(r.stream.pageCount(), 3);
    EXPECT_FALSE(r.engine.printing());
    EXPECT_FALSE(r.engine.aborted());
}

TEST(ReportEngine, CancelStopsAtTheEndOfThePageAndStaysReadable)
{
    EngineRun r;
    r.engine.setCallbacks({{}, {}, [&] {
                               if (r.engine.pageNumber() == 2)
                                   r.engine.cancel();
                               return true;
                           },
                           [&] { r.calls << "footer"; }, [&] { r.calls << "after"; }, {}});
    ASSERT_TRUE(r.engine.start());
    EXPECT_TRUE(r.engine.aborted());
    EXPECT_EQ(r.stream.pageCount(), 2);
    EXPECT_EQ(r.calls.join(' '), "footer footer after");
}

TEST(ReportEngine, ARunCancelledBeforeItsFirstPageHasNone)
{
    EngineRun r;
    r.engine.setCallbacks({[&] { r.engine.cancel(); }, [&] { r.calls << "header"; }, [&] {
                               r.calls << "page";
                               return false;
                           },
                           [&] { r.calls << "footer"; }, [&] { r.calls << "after"; }, {}});
    ASSERT_TRUE(r.engine.start());
    EXPECT_TRUE(r.engine.aborted());
    EXPECT_EQ(r.stream.pageCount(), 0);
    EXPECT_EQ(r.calls.join(' '), "after");
}

TEST(ReportEngine, LayoutOutsideARunIsRefused)
{
    EngineRun r;
    EXPECT_THROW(r.engine.print("x"), EngineNotPrinting);
    EXPECT_THROW(r.engine.linesLeft(), EngineNotPrinting);
    EXPECT_THROW(r.engine.setBandTop(1), EngineNotPrinting);
}

TEST(ReportEngine, LinesLeftCountsTheLineAtTheCursor)
{
    struct Case {
        double top, bottom, points, cursor;
        int expected;
    };
    // Line height is the point size / 60 inch.
    const Case cases[] = {
        {1.25, 9.75, 8, 1.25, 64},  // 8.5 / 0.1333 = 63.75
        {0.0, 1.0, 12, 0.0, 6},     // exactly five line heights, and the line at the bottom
        {1.0, 1.0, 10, 1.0, 1},     // a band of no height still holds the line at the cursor
        {1.0, 2.0, 10, 2.01, 0},    // below the bottom
        {1.0, 2.0, 6, 1.95, 1},
    };
    for (const Case &c : cases) {
        EngineRun r;
        int got = -1;
        double lineHeight = 0;
        r.engine.setCallbacks({{}, {}, [&] {
                                   r.engine.setFont(PageFont{QStringLiteral("Arial"), c.points});
                                   r.engine.setBandBottom(c.bottom);
                                   r.engine.setBandTop(c.top);
                                   r.engine.moveTo(0.5, c.cursor);
                                   got = r.engine.linesLeft();
                                   lineHeight = r.engine.lineHeight();
                                   return false;
                               },
                               {}, {}, {}});
        ASSERT_TRUE(r.engine.start());
        EXPECT_EQ(got, c.expected) << c.top << ".." << c.bottom << " at " << c.cursor;
        EXPECT_DOUBLE_EQ(lineHeight, c.points / 60);
    }
}

TEST(ReportEngine, TabStopsPlaceTextByJustificationInsideTheirMargins)
{
    EngineRun r;
    double widthOfText = 0;
    const QString text = QStringLiteral("Kestrova");
    r.engine.setCallbacks({{}, {}, [&] {
                               r.engine.setFont(kArial8);
                               r.engine.setMargins(1.0, 0.5, 0.5, 0.5);
                               r.engine.setBandTop(2);
                               r.engine.home();
                               widthOfText = r.engine.textWidth(text);
                               r.engine.addTab({Justify::Left, box::All, 0, 0.02, 2.0});
                               r.engine.addTab({Justify::Right, box::Verticals, 0, 0.02, 2.0});
                               r.engine.addTab({Justify::Centre, box::Bottom, 0, 0.02, 2.0, 6.0});
                               r.engine.addTab({Justify::Left, box::All, 0, 0.02, 0.0}); // no box, no room
                               r.engine.printLine("\t" + text + "\t" + text + "\t" + text + "\t" + text);
                               return false;
                           },
                           {}, {}, {}});
    ASSERT_TRUE(r.engine.start());
    const Page &page = r.stream.page(0);
    // The zero-width stop has no room: its text is not placed.
    ASSERT_EQ(page.texts.size(), 3u);
    // The first stop starts at the left margin, the next where it ends; the third is placed.
    EXPECT_NEAR(page.texts[0].baseline.x(), 1.02, 1e-9);
    EXPECT_NEAR(page.texts[1].baseline.x(), 3.0 + 2.0 - 0.02 - widthOfText, 1e-9);
    EXPECT_NEAR(page.texts[2].baseline.x(), 6.02 + (1.96 - widthOfText) / 2, 1e-9);
    const double lh = 8.0 / 60;
    const std::vector<QLineF> expected = {
        {1, 2, 1, 2 + lh}, {3, 2, 3, 2 + lh}, {1, 2, 3, 2}, {1, 2 + lh, 3, 2 + lh}, // all four
        {3, 2, 3, 2 + lh}, {5, 2, 5, 2 + lh},                                       // verticals
        {6, 2 + lh, 8, 2 + lh},                                                     // bottom
    };
    ASSERT_EQ(page.lines.size(), expected.size());
    for (size_t i = 0; i < expected.size(); ++i) {
        EXPECT_NEAR(page.lines[i].x1(), expected[i].x1(), 1e-9) << i;
        EXPECT_NEAR(page.lines[i].y1(), expected[i].y1(), 1e-9) << i;
        EXPECT_NEAR(page.lines[i].x2(), expected[i].x2(), 1e-9) << i;
        EXPECT_NEAR(page.lines[i].y2(), expected[i].y2(), 1e-9) << i;
    }
}

TEST(ReportEngine, FitCondensesToThreeQuartersThenCutsFromTheEnd)
{
    EngineRun r;
    QList<FittedText> got;
    double whole = 0, five = 0;
    const QString text = QStringLiteral("Lawrence of Arabia");
    r.engine.setCallbacks({{}, {}, [&] {
                               r.engine.setFont(kArial8);
                               whole = r.engine.textWidth(text);
                               five = r.engine.textWidth(text.left(5));
                               got << r.engine.fit(text, whole) << r.engine.fit(text, whole * 0.8)
                                   << r.engine.fit(text, five * 0.75) << r.engine.fit(text, five * 0.75 - 0.001)
                                   << r.engine.fit(text, 100) << r.engine.fit(text, 0)
                                   << r.engine.fit(text, five * 0.5, true);
                               return false;
                           },
                           {}, {}, {}});
    ASSERT_TRUE(r.engine.start());
    ASSERT_EQ(got.size(), 7);
    const struct {
        QString text;
        double scale;
    } expected[] = {
        {text, 1},                      // fits as it is
        {text, 0.8},                    // condensed
        {"Lawre", 0.75},                // cut, and condensed as far as it goes
        {"Lawr", 0},                    // one character less (scale checked below)
        {text, 1},                      // plenty of room
        {"", 1},                        // no room
        {text, five * 0.5 / whole},     // a number: condensed as far as it needs, never cut
    };
    for (int i = 0; i < got.size(); ++i) {
        EXPECT_EQ(got[i].text, expected[i].text) << i;
        if (expected[i].scale > 0) {
            EXPECT_NEAR(got[i].scale, expected[i].scale, 1e-9) << i;
        }
    }
    EXPECT_GE(got[3].scale, kMinCondense);
    EXPECT_LT(got[3].scale, 1);
}

TEST(ReportEngine, ATextTooWideForItsStopIsPlacedCondensedByItsJustification)
{
    EngineRun r;
    const QString year = QStringLiteral("1971"), label = QStringLiteral("Oscar Nomination:");
    double yearWidth = 0, labelWidth = 0;
    r.engine.setCallbacks({{}, {}, [&] {
                               r.engine.setFont(kArial8);
                               r.engine.setMargins(1.0, 0.5, 0.5, 0.5);
                               r.engine.home();
                               yearWidth = r.engine.textWidth(year);
                               labelWidth = r.engine.textWidth(label);
                               // The year in half its width, as a number; the label in 90%.
                               r.engine.addTab({Justify::Right, 0, 0, 0.02, yearWidth / 2 + 0.04, -1, true});
                               r.engine.addTab({Justify::Right, 0, 0, 0.02, labelWidth * 0.9 + 0.04});
                               r.engine.addTab({Justify::Centre, 0, 0, 0.02, yearWidth / 2 + 0.04});
                               r.engine.printLine("\t" + year + "\t" + label + "\t" + year);
                               return false;
                           },
                           {}, {}, {}});
    ASSERT_TRUE(r.engine.start());
    const Page &page = r.stream.page(0);
    ASSERT_EQ(page.texts.size(), 3u);
    EXPECT_EQ(page.texts[0].text, year);
    EXPECT_NEAR(page.texts[0].scale, 0.5, 1e-9);
    EXPECT_NEAR(page.texts[0].baseline.x(), 1.02, 1e-9); // right-justified, filling the room
    EXPECT_EQ(page.texts[1].text, label);
    EXPECT_NEAR(page.texts[1].scale, 0.9, 1e-9);
    // Not a number: cut where half the room would be needed.
    EXPECT_LT(page.texts[2].text.size(), year.size());
    EXPECT_GE(page.texts[2].scale, kMinCondense);
    // The stream draws it condensed: its words are still there.
    EXPECT_EQ(r.stream.pageLines(0).first(), year + " " + label + " " + page.texts[2].text);
}

TEST(ReportEngine, PrintingBelowTheBandEndsThePageAndGoesOnInTheSameBand)
{
    EngineRun r;
    QStringList headers;
    const PageFont big{QStringLiteral("Arial"), 12};
    r.engine.setCallbacks({{},
                           [&] {
                               headers << QString::number(r.engine.pageNumber());
                               r.engine.setFont(big); // the header's own font does not leak into the body
                               r.engine.setBandTop(0.5);
                               r.engine.setBandBottom(1.0);
                           },
                           [&] {
                               r.engine.setFont(kArial8);
                               r.engine.setBandTop(2.0);
                               r.engine.setBandBottom(2.0 + 4 * 8.0 / 60); // five lines
                               r.engine.home();
                               for (int i = 1; i <= 7; ++i)
                                   r.engine.printLine(QStringLiteral("line %1").arg(i));
                               return false;
                           },
                           {}, {}, {}});
    ASSERT_TRUE(r.engine.start());
    ASSERT_EQ(r.stream.pageCount(), 2);
    EXPECT_EQ(headers, QStringList({"1", "2"}));
    EXPECT_EQ(r.stream.pageLines(0), QStringList({"line 1", "line 2", "line 3", "line 4", "line 5"}));
    EXPECT_EQ(r.stream.pageLines(1), QStringList({"line 6", "line 7"}));
    EXPECT_NEAR(r.stream.page(1).texts[0].baseline.y(), r.stream.page(0).texts[0].baseline.y(), 1e-9);
    EXPECT_EQ(r.stream.fonts()[size_t(r.stream.page(1).texts[1].font)], kArial8);
}

TEST(ReportEngine, StatusLineFillsPageNumberAndBothLines)
{
    EngineRun r;
    QStringList statuses;
    r.engine.setStatusFormat(QStringLiteral("Printing Page %p\r%0\r%1"));
    r.engine.setStatusText(0, QStringLiteral("one"));
    r.engine.setCallbacks({{}, {}, [&] { return r.engine.pageNumber() < 2; }, {}, {},
                           [&](const QString &s) { statuses << s; }});
    ASSERT_TRUE(r.engine.start());
    EXPECT_EQ(statuses, QStringList({"Printing Page 1\rone\r", "Printing Page 2\rone\r"}));
}

TEST(ReportEngine, FooterTextAndCentredTextSitOnTheCurrentLine)
{
    EngineRun r;
    double w = 0;
    r.engine.setCallbacks({{}, {}, [&] {
                               r.engine.setFont(kArial8);
                               r.engine.setMargins(1.0, 0.75, 0.5, 0.5);
                               w = r.engine.textWidth("Page 1");
                               r.engine.footerText("Page 1", Justify::Left);
                               r.engine.footerText("Page 1", Justify::Right);
                               r.engine.footerText("Page 1", Justify::Centre);
                               r.engine.printCentred("Page 1", 4.25);
                               return false;
                           },
                           {}, {}, {}});
    ASSERT_TRUE(r.engine.start());
    const Page &p = r.stream.page(0);
    ASSERT_EQ(p.texts.size(), 4u);
    EXPECT_NEAR(p.texts[0].baseline.x(), 1.0, 1e-9);
    EXPECT_NEAR(p.texts[1].baseline.x(), 8.5 - 0.75 - w, 1e-9);
    EXPECT_NEAR(p.texts[2].baseline.x(), 1.0 + (8.5 - 1.75 - w) / 2, 1e-9);
    EXPECT_NEAR(p.texts[3].baseline.x(), 4.25 - w / 2, 1e-9);
}
