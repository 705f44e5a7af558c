// Re-fitting a line to the report's width, and the boxes and strips of the layout editor.
#include "reports/reportlayout.h"
#include "store/fieldtable.h"

#include <gtest/gtest.h>
#include <vector>

namespace {

kv::TLineRec lineOf(const std::vector<int> &widths)
{
    kv::TLineRec line = kv::newLine();
    for (size_t i = 0; i < line.size(); ++i)
        line[i].width = qint16(i < widths.size() ? widths[i] : 0);
    return line;
}

std::vector<int> widthsOf(const kv::TLineRec &line)
{
    std::vector<int> widths;
    for (int i = 0; i < kv::usedPartCount(line); ++i)
        widths.push_back(line[size_t(i)].width);
    for (size_t i = widths.size(); i < line.size(); ++i)
        EXPECT_EQ(line[i].width, 0) << "part " << i + 1;
    return widths;
}

struct RefitCase {
    std::vector<int> before;
    int width;
    std::vector<int> after;
};

class Refit : public testing::TestWithParam<RefitCase> {};

TEST_P(Refit, MakesTheLineAddUpToTheWidth)
{
    kv::TLineRec line = lineOf(GetParam().before);
    kv::refitLine(line, GetParam().width);
    EXPECT_EQ(widthsOf(line), GetParam().after);
}

INSTANTIATE_TEST_SUITE_P(Lines, Refit,
                         testing::Values(
                             // the first part of 30, 30, 30 made 50
                             RefitCase{{50, 30, 30}, 90, {50, 30, 10}},
                             RefitCase{{100, 50}, 120, {100, 20}},
                             // the first part of width 0 takes up the difference
                             RefitCase{{100, 20}, 150, {100, 20, 30}},
                             RefitCase{{80, 20, 10, 10, 30}, 120, {80, 20, 10, 10}},
                             // a new line: one filler of 150
                             RefitCase{{150}, 90, {90}},
                             RefitCase{{10, 20, 60}, 90, {10, 20, 60}},
                             // twenty parts short of the width: the last one grows
                             RefitCase{std::vector<int>(20, 4), 90,
                                       {4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 4, 14}}));

TEST(PartBoxes, LieToScaleWithTheLastEndingAtTheRightEdge)
{
    kv::TLineRec line = lineOf({12, 64, 4});
    line[0].kind = QStringLiteral("MediaNum");
    line[0].fieldNumber = 19;
    line[1].kind = QString::fromLatin1(kv::kLabelKind);
    line[1].labelText = QStringLiteral("Title:");
    QStringList captions;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        captions << QStringLiteral("Caption %1").arg(n);

    // a line that adds up to 80 of 90: the last box still reaches the edge
    const QList<kv::PartBox> boxes = kv::partBoxes(line, 90, 0, 900, captions, false);
    ASSERT_EQ(boxes.size(), 3);
    EXPECT_DOUBLE_EQ(boxes[0].left, 0);
    EXPECT_DOUBLE_EQ(boxes[0].right, 120);
    EXPECT_DOUBLE_EQ(boxes[1].left, 120);
    EXPECT_DOUBLE_EQ(boxes[1].right, 760);
    EXPECT_DOUBLE_EQ(boxes[2].left, 760);
    EXPECT_DOUBLE_EQ(boxes[2].right, 900);
    EXPECT_EQ(boxes[0].look, kv::PartLook::Field);
    EXPECT_EQ(boxes[0].text, QStringLiteral("Caption 19"));
    EXPECT_EQ(boxes[1].look, kv::PartLook::Label);
    EXPECT_EQ(boxes[1].text, QStringLiteral("Title:"));
    EXPECT_EQ(boxes[2].look, kv::PartLook::Filler);
    EXPECT_EQ(boxes[2].text, QStringLiteral("Filler"));
}

TEST(PartBoxes, TotalsLineNamesItsEntries)
{
    kv::TLineRec line = lineOf({40, 50});
    line[0].kind = QStringLiteral("List Price");
    line[0].fieldNumber = 2;
    const QList<kv::PartBox> boxes = kv::partBoxes(line, 90, 4, 629, {}, true);
    ASSERT_EQ(boxes.size(), 2);
    EXPECT_EQ(boxes[0].text, QStringLiteral("List Price"));
}

TEST(LayoutArea, StripsScaleAndTheTotalsLineShowsOnlyWithTotals)
{
    const kv::LayoutArea area = kv::layoutArea(2, true, 1.25);
    EXPECT_DOUBLE_EQ(area.left, 5);
    EXPECT_DOUBLE_EQ(area.right, 786.25);
    ASSERT_EQ(area.strips.size(), 3);
    EXPECT_DOUBLE_EQ(area.strips[1].top, 95 * 1.25);
    EXPECT_DOUBLE_EQ(area.strips[1].bottom, 115 * 1.25);
    EXPECT_EQ(area.strips[2].line, kv::kTotalsLineNumber);
    EXPECT_DOUBLE_EQ(area.strips[2].top, 355 * 1.25);
    EXPECT_EQ(kv::layoutArea(0, false, 1).strips.size(), 0);
}

TEST(PartAt, FindsTheBoxUnderAPoint)
{
    kv::TReportDefRec def = kv::newReportDef();
    def.lineCount = 2;
    def.bodyLines[1] = lineOf({30, 30, 30});
    const kv::LayoutArea area = kv::layoutArea(def.lineCount, def.useTotals, 1);
    ASSERT_TRUE(def.useTotals);
    struct Case {
        double x, y;
        std::optional<kv::PartRef> part;
    } cases[] = {
        {10, 80, kv::PartRef{1, 1}},          // a new line: one box across
        {4 + 625.0 / 3 + 1, 100, kv::PartRef{2, 2}},
        {620, 100, kv::PartRef{2, 3}},
        {300, 360, kv::PartRef{kv::kTotalsLineNumber, 1}},
        {300, 120, std::nullopt},            // below the last body line
        {2, 80, std::nullopt},               // left of the area
    };
    for (const Case &c : cases)
        EXPECT_EQ(kv::partAt(def, area, c.x, c.y), c.part) << c.x << "," << c.y;
}

TEST(CutToWidth, DropsCharactersFromTheEnd)
{
    const auto measure = [](const QString &text) { return double(text.size()); };
    EXPECT_EQ(kv::cutToWidth(QStringLiteral("Director"), 5, measure), QStringLiteral("Direc"));
    EXPECT_EQ(kv::cutToWidth(QStringLiteral("Year"), 5, measure), QStringLiteral("Year"));
    EXPECT_EQ(kv::cutToWidth(QStringLiteral("Year"), 0, measure), QString());
}

} // namespace
