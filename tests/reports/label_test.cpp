// Label stock, the media-number grid, the dimensions check, the scan of the catalogue and
// the face and spine layouts, on real catalogues.
#include "reports/labeldims.h"
#include "reports/labellayout.h"
#include "reports/labelscan.h"
#include "reports/labelstock.h"
#include "scriptedprompt.h"
#include "store/storetest.h"

#include <QFontMetricsF>
#include <gtest/gtest.h>

using kv::LabelKind;
using kv::LabelStock;

namespace {

QString &cell(kv::Settings &s, int column, int row) { return s.labelItems[size_t(column)][size_t(row)]; }

TEST(LabelStock, GeometryOfTheTableAndOfTheSettings)
{
    const kv::LabelDimensions user;
    EXPECT_EQ(kv::labelGeometry(LabelStock::Avery5199, LabelKind::Spine, user),
              (kv::TLabelStockRec{0.52, 1.45, 5.7, 0.6666, 0, 15}));
    EXPECT_EQ(kv::labelGeometry(LabelStock::AveryL7654, LabelKind::Face, user),
              (kv::TLabelStockRec{0.437, 1.12, 3.06, 1.8125, 0.098, 12}));
    EXPECT_EQ(kv::labelGeometry(LabelStock::ProLabel, LabelKind::Spine, user).perPage, 13);
    EXPECT_EQ(kv::labelStockName(LabelStock::ProLabel, LabelKind::Face), QStringLiteral("Prof. Labels W3116"));
    EXPECT_EQ(kv::labelStockName(LabelStock::ProLabel, LabelKind::Spine), QStringLiteral("Prof. Labels W534"));

    kv::LabelDimensions odd;
    odd.faceCount = 0;
    odd.spineCount = 40;
    odd.spineGap = 0.125;
    EXPECT_EQ(kv::labelGeometry(LabelStock::UserLabel, LabelKind::Face, odd).perPage, 1);
    const kv::TLabelStockRec spine = kv::labelGeometry(LabelStock::UserLabel, LabelKind::Spine, odd);
    EXPECT_EQ(spine.perPage, 16);
    EXPECT_DOUBLE_EQ(spine.gap, 0.125);
}

TEST(LabelGrid, ShapeByKindAndStock)
{
    using Cell = std::optional<std::pair<int, int>>;
    const struct {
        LabelKind kind;
        LabelStock stock;
        int rows, positions;
        Cell notUsed;
    } cases[] = {
        {LabelKind::Face, LabelStock::Avery5199, 5, 10, {}},      {LabelKind::Face, LabelStock::ProLabel, 5, 10, {}},
        {LabelKind::Face, LabelStock::ZLabel, 5, 10, {}},         {LabelKind::Face, LabelStock::AveryL7654, 6, 12, {}},
        {LabelKind::Face, LabelStock::UserLabel, 6, 12, {}},      {LabelKind::Spine, LabelStock::Avery5199, 8, 15, Cell{{1, 7}}},
        {LabelKind::Spine, LabelStock::ZLabel, 8, 15, Cell{{1, 7}}}, {LabelKind::Spine, LabelStock::ProLabel, 7, 13, Cell{{1, 6}}},
        {LabelKind::Spine, LabelStock::AveryL7654, 8, 16, {}},    {LabelKind::Spine, LabelStock::UserLabel, 8, 16, {}},
    };
    for (const auto &c : cases) {
        const kv::GridShape shape = kv::gridShape(c.kind, c.stock);
        EXPECT_EQ(shape.rows, c.rows) << int(c.stock);
        EXPECT_EQ(shape.positions, c.positions) << int(c.stock);
        EXPECT_EQ(shape.notUsed, c.notUsed) << int(c.stock);
    }
}

TEST(LabelGrid, ReshapingMovesAndClearsTheNotUsedCell)
{
    kv::Settings s;
    cell(s, 0, 7) = QStringLiteral("A15");
    kv::reshapeGrid(s, LabelKind::Spine, LabelStock::ProLabel);
    EXPECT_EQ(cell(s, 1, 6), QStringLiteral("*NOT USED*"));
    kv::reshapeGrid(s, LabelKind::Spine, LabelStock::Avery5199); // 8 rows again
    EXPECT_EQ(cell(s, 1, 6), QString());
    EXPECT_EQ(cell(s, 1, 7), QStringLiteral("*NOT USED*"));
    kv::reshapeGrid(s, LabelKind::Spine, LabelStock::AveryL7654);
    EXPECT_EQ(cell(s, 1, 7), QString());
    EXPECT_EQ(cell(s, 0, 7), QStringLiteral("A15")); // media numbers stay

    cell(s, 1, 7) = QStringLiteral("B16");
    kv::reshapeGrid(s, LabelKind::Spine, LabelStock::ZLabel);
    EXPECT_EQ(cell(s, 1, 7), QStringLiteral("*NOT USED*"));
}

TEST(LabelRun, RefusesWithoutItemsOrMediaNumbers)
{
    const QString noItems = QStringLiteral("Error: No items are selected for print.  Please select printing criteria "
                                           "via the \"Options\" button.");
    const QString noNumbers = QStringLiteral(
        "Error: No media numbers have been entered.  Please enter/choose some media numbers.");
    const struct {
        const char *what;
        std::function<void(kv::Settings &)> set;
        LabelKind kind;
        LabelStock stock;
        QStringList messages;
    } cases[] = {
        {"one number", [](kv::Settings &s) { cell(s, 1, 2) = QStringLiteral("A1"); }, LabelKind::Face,
         LabelStock::Avery5199, {}},
        {"no items",
         [](kv::Settings &s) {
             for (const kv::LabelItem &item : kv::labelItems())
                 s.*item.flag = false;
             cell(s, 0, 0) = QStringLiteral("A1");
         },
         LabelKind::Face, LabelStock::Avery5199, {noItems}},
        {"blanks only", [](kv::Settings &s) { cell(s, 0, 0) = QStringLiteral("   "); }, LabelKind::Face,
         LabelStock::Avery5199, {noNumbers}},
        {"not used only", [](kv::Settings &s) { kv::reshapeGrid(s, LabelKind::Spine, LabelStock::Avery5199); },
         LabelKind::Spine, LabelStock::Avery5199, {noNumbers}},
        // a number in a row the stock does not show is not printed, so it does not count
        {"hidden row", [](kv::Settings &s) { cell(s, 0, 5) = QStringLiteral("A11"); }, LabelKind::Face,
         LabelStock::ProLabel, {noNumbers}},
        {"sixth row shown", [](kv::Settings &s) { cell(s, 0, 5) = QStringLiteral("A11"); }, LabelKind::Face,
         LabelStock::AveryL7654, {}},
    };
    for (const auto &c : cases) {
        kvtest::ScriptedPrompt prompt;
        kv::Settings s;
        c.set(s);
        EXPECT_EQ(kv::labelRunAllowed(s, c.kind, c.stock, prompt), c.messages.isEmpty()) << c.what;
        EXPECT_EQ(prompt.messages(), c.messages) << c.what;
        EXPECT_EQ(prompt.beeps(), c.messages.size()) << c.what;
    }
}

TEST(LabelDims, ChecksTheBoxesInOrderAndStoresNothingOnAFailure)
{
    const kv::LabelDimsForm good = kv::labelDimsForm(kv::LabelDimensions{});
    EXPECT_EQ(good[0], QStringLiteral("1.0000"));
    EXPECT_EQ(good[5], QStringLiteral("10"));
    const struct {
        int box;
        const char *typed;
        const char *message;
    } cases[] = {
        {5, "ten", "Invalid count specified.  Please correct"},
        {0, "", "Invalid top margin specified.  Please correct"},
        {7, "1,5", "Invalid left margin specified.  Please correct"},
        {8, "wide", "Invalid width specified.  Please correct"},
        {3, "x", "Invalid height specified.  Please correct"},
        {10, "-", "Invalid gap specified.  Please correct"},
        {11, "15.5", "Invalid count specified.  Please correct"},
    };
    for (const auto &c : cases) {
        kvtest::ScriptedPrompt prompt;
        kv::LabelDimsForm form = good;
        form[size_t(c.box)] = QString::fromLatin1(c.typed);
        form[11] = c.box == 11 ? form[11] : QStringLiteral("also bad"); // later boxes are not reached
        const kv::LabelDimsCheck check = kv::checkLabelDims(form, prompt);
        EXPECT_FALSE(check.dims) << c.typed;
        EXPECT_EQ(check.failedBox, c.box) << c.typed;
        EXPECT_EQ(prompt.messages(), QStringList{QStringLiteral("Error: ") + QString::fromLatin1(c.message)});
    }
}

TEST(LabelDims, TakesTheValuesAndHoldsCountsToASheet)
{
    kvtest::ScriptedPrompt prompt;
    kv::LabelDimsForm form = kv::labelDimsForm(kv::LabelDimensions{});
    form[0] = QStringLiteral(" 0.75 ");
    form[5] = QStringLiteral("0");
    form[11] = QStringLiteral("20");
    const kv::LabelDimsCheck check = kv::checkLabelDims(form, prompt);
    ASSERT_TRUE(check.dims);
    EXPECT_DOUBLE_EQ(check.dims->faceTopMargin, 0.75);
    EXPECT_EQ(check.dims->faceCount, 1);
    EXPECT_EQ(check.dims->spineCount, 16);
    EXPECT_EQ(prompt.messages(),
              (QStringList{"Notice: A sheet holds from 1 to 16 labels: the face label count has been set to 1.",
                           "Notice: A sheet holds from 1 to 16 labels: the spine label count has been set to 16."}));
}

// A catalogue of tapes: (media number, title, start counter).
struct Tapes {
    kv::Table table;
    explicit Tapes(const std::vector<std::tuple<const char *, const char *, const char *>> &tapes)
    {
        table.setPath(newCatalogue());
        table.open();
        for (const auto &[media, title, start] : tapes)
            addRecords(table, {{{"MediaNum", QString::fromUtf8(media)},
                                {"Title", QString::fromLatin1(title)},
                                {"CounterSta", QString::fromLatin1(start)},
                                {"Rating", QStringLiteral("PG")}}});
    }
};

QList<kv::LabelPosition> scan(const kv::Table &table, const QStringList &numbers)
{
    kv::Settings s;
    for (int i = 0; i < numbers.size(); ++i) {
        const auto [column, row] = kv::positionCell(i + 1);
        cell(s, column, row) = numbers.at(i);
    }
    QList<kv::LabelPosition> positions = kv::labelPositions(s, int(numbers.size()));
    kv::collectLabelContents(table, positions);
    return positions;
}

QStringList titles(const kv::LabelPosition &position)
{
    QStringList out;
    for (const kv::TLabelTitleRec &c : position.contents)
        out << c.title;
    return out;
}

TEST(LabelScan, CollectsExactMatchesSortedByStartCounterAsText)
{
    Tapes tapes({{"T1", "Low", "0020"},
                 {"T10", "Other tape", "0500"},
                 {"T1", "High", "0350"},
                 {"t1", "Lower case", "0900"},
                 {"T1", "Middle", "0100"},
                 {"T2", "Hundred", "100"},
                 {"T2", "Twenty", "20"}});
    const QList<kv::LabelPosition> positions =
        scan(tapes.table, {QStringLiteral(" T1 "), QStringLiteral("T2"), QStringLiteral("T1"), QString(),
                           QStringLiteral("NONE")});
    ASSERT_EQ(positions.size(), 5);
    EXPECT_EQ(positions[0].mediaNumber, QStringLiteral("T1"));
    EXPECT_EQ(titles(positions[0]), (QStringList{"High", "Middle", "Low"}));
    EXPECT_EQ(titles(positions[1]), (QStringList{"Twenty", "Hundred"}));
    EXPECT_EQ(positions[2].contents, positions[0].contents); // the same number fills both
    EXPECT_TRUE(positions[3].contents.isEmpty());
    EXPECT_TRUE(positions[4].contents.isEmpty());
    EXPECT_EQ(positions[0].contents[0].rating, QStringLiteral("PG"));
}

TEST(LabelScan, MediaNumbersBeyondAsciiMatchAsTheTableShowsThem)
{
    Tapes tapes({{"\u00c97", "Accent", "0001"}, {"?7", "Question", "0001"}, {"\u00c970", "Longer", "0001"}});
    // Omega has no place in the table's code page: no record shows it, not even "?7".
    const QList<kv::LabelPosition> positions =
        scan(tapes.table, {QStringLiteral("\u00c97"), QStringLiteral("\u03a97"), QStringLiteral("?7")});
    EXPECT_EQ(titles(positions[0]), (QStringList{"Accent"}));
    EXPECT_TRUE(positions[1].contents.isEmpty());
    EXPECT_EQ(titles(positions[2]), (QStringList{"Question"}));
}

TEST(LabelScan, KeepsSixRecordingsAndCutsTheMediaNumber)
{
    std::vector<std::tuple<const char *, const char *, const char *>> many;
    const char *names[] = {"1", "2", "3", "4", "5", "6", "7", "8"};
    for (const char *name : names)
        many.emplace_back("LONGNUMBER", name, "0001");
    Tapes tapes(many);
    const QList<kv::LabelPosition> positions = scan(tapes.table, {QStringLiteral("LONGNUMBER-2")});
    EXPECT_EQ(positions[0].mediaNumber, QStringLiteral("LONGNUMBER"));
    EXPECT_EQ(titles(positions[0]), (QStringList{"1", "2", "3", "4", "5", "6"}));
}

// Text measured as 0.1 inch a character, whatever the size.
double tenthPerChar(const QString &text, double) { return 0.1 * double(text.size()); }

kv::LabelPosition positionWith(const char *media, int contents)
{
    kv::LabelPosition p{QString::fromLatin1(media), {}};
    for (int i = 0; i < contents; ++i)
        p.contents.append({QStringLiteral("Title %1").arg(i), QStringLiteral("PG"), p.mediaNumber,
                           QStringLiteral("0100"), QStringLiteral("0200"), QStringLiteral("1954"),
                           QStringLiteral("112"), QStringLiteral("Mystery")});
    return p;
}

QStringList texts(const kv::LabelLine &line)
{
    QStringList out;
    for (const kv::LabelStop &stop : line.stops)
        out << stop.text;
    return out;
}

TEST(LabelLayout, FaceWithOnlyTheMediaNumberCentresItOnTheSecondLine)
{
    kv::Settings s;
    for (const kv::LabelItem &item : kv::labelItems())
        s.*item.flag = item.field == kv::fields::MediaNum;
    const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::Avery5199, LabelKind::Face, s.labelDimensions);
    const QList<kv::LaidOutLabel> labels =
        kv::layoutLabels(LabelKind::Face, stock, {positionWith("A7", 1), {}, positionWith("B9", 2)}, s, tenthPerChar);
    ASSERT_EQ(labels.size(), 2);
    const kv::LaidOutLabel &first = labels[0];
    EXPECT_EQ(first.rect, QRectF(1.1, 0.9, 3.06, 1.8325));
    ASSERT_EQ(first.lines.size(), 1);
    EXPECT_DOUBLE_EQ(first.lines[0].top, 0.9 + 10 / 60.0);
    EXPECT_EQ(first.lines[0].stops, (QList<kv::LabelStop>{{1.1, 3.06, kv::StopJustify::Centre, "A7"}}));
    // position 3: first column, second row
    EXPECT_EQ(labels[1].position, 3);
    EXPECT_EQ(labels[1].rect, QRectF(1.1, 0.9 + 1.8325, 3.06, 1.8325));
}

TEST(LabelLayout, FaceOfOneRecordingHasFourCentredLines)
{
    kv::Settings s;
    const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::AveryL7654, LabelKind::Face, s.labelDimensions);
    const QList<kv::LaidOutLabel> labels =
        kv::layoutLabels(LabelKind::Face, stock, {{}, positionWith("A7", 1)}, s, tenthPerChar);
    ASSERT_EQ(labels.size(), 1);
    const kv::LaidOutLabel &label = labels[0];
    const double x = 1.12 + 3.06 + 0.098; // second column
    EXPECT_DOUBLE_EQ(label.rect.left(), x);
    ASSERT_EQ(label.lines.size(), 5);
    EXPECT_EQ(texts(label.lines[1]), QStringList{"Title 0"});
    EXPECT_EQ(texts(label.lines[2]), (QStringList{"1954", "112 min"}));
    EXPECT_EQ(texts(label.lines[3]), (QStringList{"Mystery", "PG"}));
    // "Start: 0100" is 1.1 inches wide, the stop has 1.46 of room
    EXPECT_EQ(texts(label.lines[4]), (QStringList{"Start: 0100", "Stop: 0200"}));
    EXPECT_DOUBLE_EQ(label.lines[4].stops[1].x, x + 1.5);
    EXPECT_DOUBLE_EQ(label.lines[1].top, 0.437 + 10 / 60.0 * 2 + 11 / 60.0);
    EXPECT_DOUBLE_EQ(label.lines[1].pointSize, 11);
    for (const kv::LabelLine &line : label.lines)
        for (const kv::LabelStop &stop : line.stops)
            EXPECT_EQ(stop.justify, kv::StopJustify::Centre);
}

TEST(LabelLayout, FontSizeFollowsTheNumberOfRecordings)
{
    kv::Settings s;
    const double face[] = {10, 10, 9, 8, 6};
    const double spine[] = {10, 9, 8, 7, 5};
    for (int n = 2; n <= 6; ++n) {
        for (LabelKind kind : {LabelKind::Face, LabelKind::Spine}) {
            const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::ZLabel, kind, s.labelDimensions);
            const QList<kv::LaidOutLabel> labels =
                kv::layoutLabels(kind, stock, {positionWith("M", n)}, s, tenthPerChar);
            ASSERT_EQ(labels.size(), 1);
            const kv::LabelLine &last = labels[0].lines.last();
            EXPECT_EQ(last.pointSize, kind == LabelKind::Face ? face[n - 2] : spine[n - 2]) << n;
            EXPECT_EQ(labels[0].lines.size(), 1 + (kind == LabelKind::Face ? 2 * n : n)) << n;
        }
    }
}

TEST(LabelLayout, SpineMediaColumnCondensedTitlesAndWholeCounters)
{
    kv::Settings s;
    const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::Avery5199, LabelKind::Spine, s.labelDimensions);
    kv::LabelPosition tape = positionWith("ABC", 1);
    tape.contents[0].title = QString(60, QLatin1Char('W'));
    tape.contents[0].startCounter = QStringLiteral("00012345");
    const QList<kv::LaidOutLabel> labels = kv::layoutLabels(LabelKind::Spine, stock, {{}, tape}, s, tenthPerChar);
    ASSERT_EQ(labels.size(), 1);
    const kv::LaidOutLabel &label = labels[0];
    const double top = 0.52 + 0.6666;
    EXPECT_EQ(label.rect, QRectF(1.45, top, 5.7, 0.6666));
    ASSERT_EQ(label.lines.size(), 3);
    // "ABC" is 0.3 wide: 0.4 is the first column with 0.3 of room
    EXPECT_EQ(label.lines[0].stops, (QList<kv::LabelStop>{{1.45, 0.4, kv::StopJustify::Left, "ABC"}}));
    EXPECT_DOUBLE_EQ(label.lines[0].top, top + 0.6666 / 4);
    EXPECT_DOUBLE_EQ(label.lines[1].top, top + 11 / 60.0);
    const kv::LabelStop &title = label.lines[1].stops[0];
    EXPECT_DOUBLE_EQ(title.x, 1.45 + 0.4);
    EXPECT_DOUBLE_EQ(title.width, 5.7 - 0.4 - 0.8);
    EXPECT_EQ(title.justify, kv::StopJustify::Centre);
    // 4.46 of room: condensed to 75% it holds 59 characters, cut after them
    EXPECT_EQ(title.text, QString(59, QLatin1Char('W')));
    EXPECT_DOUBLE_EQ(title.scale, 4.46 / 5.9);
    EXPECT_FALSE(title.whole);
    // "Start: 00012345" needs 1.5 of the 1.11 its stop has: a counter is condensed, not cut
    const kv::LabelStop &start = label.lines[2].stops.first();
    EXPECT_EQ(start.text, "Start: 00012345");
    EXPECT_TRUE(start.whole);
    EXPECT_DOUBLE_EQ(start.scale, 1.11 / 1.5);
    EXPECT_EQ(label.lines[1].stops[1].justify, kv::StopJustify::Left);
    // the category's stop (2.0 - m) would end 0.1 past the label: it ends at its edge
    const kv::LabelStop &category = label.lines[2].stops.last();
    EXPECT_DOUBLE_EQ(category.x + category.width, label.rect.right());
    EXPECT_DOUBLE_EQ(category.width, 2.0 - 0.4 - 0.1);
}

TEST(LabelLayout, AveryNumber5199SpineSheetHasFifteenLabels)
{
    kv::Settings s;
    kv::reshapeGrid(s, LabelKind::Spine, LabelStock::Avery5199);
    const kv::GridShape shape = kv::gridShape(LabelKind::Spine, LabelStock::Avery5199);
    QList<kv::LabelPosition> positions = kv::labelPositions(s, kv::kMaxLabelPositions);
    EXPECT_EQ(positions[15].mediaNumber, QStringLiteral("*NOT USED*"));
    // 1 ... 6 recordings in turn: five at 7 points are the tallest
    for (int i = 0; i < positions.size(); ++i)
        positions[i] = positionWith("X", i % 6 + 1);
    const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::Avery5199, LabelKind::Spine, s.labelDimensions);
    const QList<kv::LaidOutLabel> labels = kv::layoutLabels(LabelKind::Spine, stock, positions, s, tenthPerChar);
    ASSERT_EQ(labels.size(), shape.positions);
    EXPECT_EQ(labels.last().position, 15);
    // every text lies inside its label
    for (const kv::LaidOutLabel &label : labels)
        for (const kv::LabelLine &line : label.lines)
            for (const kv::LabelStop &stop : line.stops) {
                EXPECT_GE(stop.x, label.rect.left());
                EXPECT_LE(stop.x + stop.width, label.rect.right() + 1e-9);
                EXPECT_GE(line.top, label.rect.top());
                EXPECT_LE(line.top + kv::labelLineHeight(line.pointSize), label.rect.bottom() + 1e-9);
            }
}


TEST(LabelTextWidth, MeasuresInInchesAtTheLineSize)
{
    QFont arial(QStringLiteral("Arial"));
    const kv::LabelTextWidth width = kv::labelTextWidth(arial);
    // At 100 pixels a text is as many pixels wide as it is points wide at 100 points.
    arial.setPixelSize(100);
    const QString text = QStringLiteral("Casablanca 1942");
    const double inchesAt10 = QFontMetricsF(arial).horizontalAdvance(text) / 10 / 72;
    EXPECT_NEAR(width(text, 10), inchesAt10, inchesAt10 * 0.05);
    EXPECT_NEAR(width(text, 20), 2 * width(text, 10), inchesAt10 * 0.1);
    EXPECT_EQ(width(QString(), 10), 0);
}


TEST(LabelLayout, UserSpineGapMovesTheMediaNumberWithItsLabel)
{
    kv::Settings s;
    s.labelDimensions.spineTopMargin = 0.5;
    s.labelDimensions.spineHeight = 0.8;
    s.labelDimensions.spineGap = 0.2;
    const kv::TLabelStockRec stock = kv::labelGeometry(LabelStock::UserLabel, LabelKind::Spine, s.labelDimensions);
    const QList<kv::LaidOutLabel> labels =
        kv::layoutLabels(LabelKind::Spine, stock, {{}, {}, positionWith("M3", 2)}, s, tenthPerChar);
    ASSERT_EQ(labels.size(), 1);
    const double top = 0.5 + 2 * (0.8 + 0.2);
    EXPECT_DOUBLE_EQ(labels[0].rect.top(), top);
    EXPECT_DOUBLE_EQ(labels[0].lines[0].top, top + 0.8 / 4); // the media number
    EXPECT_DOUBLE_EQ(labels[0].lines[1].top, top + 10 / 60.0); // after one empty line
}

} // namespace
