// The Viewer Configuration's rules, without a window: what the pages show and what
// closing makes of them.
#include "app/display/viewerconfig.h"

#include "app/display/viewerlayout.h"

#include <gtest/gtest.h>

#include <algorithm>

using kv::fields::Title;
using kv::fields::Year;

namespace {

// The pages as showing fills them from the settings.
kv::ViewerConfigTexts pagesOf(const kv::Settings &s)
{
    kv::ViewerConfigTexts t;
    for (int n = 1; n <= kv::kFieldCount; ++n) {
        t.widths << QString::number(s.field(n).width);
        t.display << QString::fromLatin1(s.field(n).shown ? "Yes" : "No");
        t.names << s.field(n).caption;
    }
    t.order = kv::orderRows(s);
    return t;
}

QList<int> positions(const kv::Settings &s)
{
    QList<int> p;
    for (const kv::FieldSettings &f : s.fields)
        p << f.order;
    return p;
}

QList<int> ownNumbers()
{
    QList<int> p;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        p << n;
    return p;
}

} // namespace

TEST(ViewerConfig, FontsAreNamedBySizeAndFace)
{
    EXPECT_EQ(kv::fontText(QFont(QStringLiteral("Arial"), 12)), QStringLiteral("12pt Arial"));
    QFont bold(QStringLiteral("Courier New"), 9);
    bold.setBold(true);
    EXPECT_EQ(kv::fontText(bold), QStringLiteral("9pt Courier New"));
}

TEST(ViewerConfig, WidthsOutside1To255AndTextsThatAreNoNumberBecome10)
{
    const struct {
        const char *text;
        int width;
    } cases[] = {{"0", 10},  {"256", 10}, {"abc", 10}, {"255", 255}, {"1", 1},    {" 12 ", 12},
                 {"", 10},   {"-5", 10},  {"12abc", 10}, {"1.5", 10}, {"99999999999", 10}};
    for (const auto &c : cases)
        EXPECT_EQ(kv::widthFromText(QString::fromLatin1(c.text)), c.width) << '"' << c.text << '"';
}

TEST(ViewerConfig, DoubleClickSwitchesYesToNoAndAnythingElseToYes)
{
    EXPECT_EQ(kv::toggledDisplayText(QStringLiteral("Yes")), QStringLiteral("No"));
    for (const char *other : {"No", "yes", "", "YES"})
        EXPECT_EQ(kv::toggledDisplayText(QString::fromLatin1(other)), QStringLiteral("Yes")) << other;
}

TEST(ViewerConfig, TheOrderListPutsEachCaptionInTheRowOfItsPosition)
{
    kv::Settings s;
    EXPECT_EQ(kv::orderRows(s), kv::defaultOrderRows(s));
    s.field(Year).order = 1;
    s.field(Title).order = 11;
    s.field(3).order = 0;  // a hand-edited file: claims no row
    s.field(4).order = 5;  // and a row claimed twice: the later field's caption stays
    const QStringList rows = kv::orderRows(s);
    EXPECT_EQ(rows.at(0), QStringLiteral("Year"));
    EXPECT_EQ(rows.at(10), QStringLiteral("Title"));
    EXPECT_EQ(rows.at(2), QString());
    EXPECT_EQ(rows.at(4), QStringLiteral("Star 4"));
    EXPECT_EQ(kv::defaultOrderRows(s).at(0), QStringLiteral("Title"));
}

TEST(ViewerConfig, EqualCaptionsRefuseTheCloseCaseDifferentOnesDoNot)
{
    kv::Settings s;
    kv::ViewerConfigTexts t = pagesOf(s);
    t.names[4] = QStringLiteral("Lead");
    t.names[9] = QStringLiteral("Lead");
    t.names[2] = QStringLiteral("Writer");
    t.names[37] = QStringLiteral("Writer"); // "Writers" was field 38's
    t.widths[0] = QStringLiteral("0");
    const kv::Settings before = s;

    const kv::ViewerConfigClose refused = kv::closeViewerConfig(s, t);
    ASSERT_TRUE(refused.refused);
    // Pairs by their first row: rows 3 and 38 come before rows 5 and 10.
    EXPECT_EQ(refused.refused->first, 2);
    EXPECT_EQ(refused.refused->second, 37);
    EXPECT_EQ(refused.refused->message, QStringLiteral("Two field names have the same name \"Writer\".  Please change one."));
    EXPECT_EQ(s, before) << "a refused close changes nothing";

    t.names[37] = QStringLiteral("WRITER");
    const auto second = kv::findDuplicateCaption(t.names);
    ASSERT_TRUE(second);
    EXPECT_EQ(second->first, 4);
    EXPECT_EQ(second->second, 9);

    t.names[9] = QStringLiteral("lead");
    EXPECT_FALSE(kv::closeViewerConfig(s, t).refused);
    EXPECT_EQ(s.field(5).caption, QStringLiteral("Lead"));
    EXPECT_EQ(s.field(10).caption, QStringLiteral("lead"));
}

TEST(ViewerConfig, CaptionsAreCutTo20AndTwoAlikeInTheirFirst20AreEqual)
{
    kv::Settings s;
    kv::ViewerConfigTexts t = pagesOf(s);
    t.names[38] = QStringLiteral("Shelf and box number one");
    ASSERT_FALSE(kv::closeViewerConfig(s, t).refused);
    EXPECT_EQ(s.field(39).caption, QStringLiteral("Shelf and box number"));

    // Stored, both would read "Shelf and box number".
    t.names[39] = QStringLiteral("Shelf and box number two");
    const auto duplicate = kv::findDuplicateCaption(t.names);
    ASSERT_TRUE(duplicate);
    EXPECT_EQ(duplicate->message,
              QStringLiteral("Two field names have the same name \"Shelf and box number\".  Please change one."));
}

TEST(ViewerConfig, ClosingTakesWidthsShownFlagsOrderAndCaptions)
{
    kv::Settings s;
    kv::ViewerConfigTexts t = pagesOf(s);
    t.widths[0] = QStringLiteral("0");
    t.widths[1] = QStringLiteral("256");
    t.widths[2] = QStringLiteral("abc");
    t.widths[3] = QStringLiteral("255");
    t.widths[4] = QStringLiteral(" 30 ");
    t.display[1] = QStringLiteral("No");
    t.display[2] = QStringLiteral("yes"); // only "Yes" shows

    const kv::ViewerConfigClose closed = kv::closeViewerConfig(s, t);
    ASSERT_FALSE(closed.refused);
    const QList<int> widths{10, 10, 10, 255, 30};
    for (int n = 1; n <= 5; ++n) {
        EXPECT_EQ(s.field(n).width, widths[n - 1]) << n;
        EXPECT_EQ(closed.widths.at(n - 1), QString::number(widths[n - 1])) << "the grid shows it too";
    }
    EXPECT_EQ(s.field(6).width, 15);
    EXPECT_TRUE(s.field(1).shown);
    EXPECT_FALSE(s.field(2).shown);
    EXPECT_FALSE(s.field(3).shown);
    EXPECT_EQ(positions(s), ownNumbers());
}

TEST(ViewerConfig, ARenamedFieldMovedToTheTopIsMatchedByItsOldCaption)
{
    kv::Settings s;
    kv::ViewerConfigTexts t = pagesOf(s);
    t.names[Year - 1] = QStringLiteral("Released");
    t.order.move(Year - 1, 0); // "Year" up to the top

    ASSERT_FALSE(kv::closeViewerConfig(s, t).refused);
    EXPECT_EQ(s.field(Year).order, 1);
    EXPECT_EQ(s.field(Title).order, 2);
    EXPECT_EQ(s.field(10).order, 11);
    EXPECT_EQ(s.field(12).order, 12);
    const std::vector<kv::ViewerColumn> columns = kv::viewerColumns(s);
    ASSERT_FALSE(columns.empty());
    EXPECT_EQ(columns.front().field, Year);
    EXPECT_EQ(columns.front().caption, QStringLiteral("Released"));
}

TEST(ViewerConfig, DefaultsThenCloseGivesEveryFieldItsOwnPosition)
{
    kv::Settings s;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        s.field(n).order = kv::kFieldCount + 1 - n;
    kv::ViewerConfigTexts t = pagesOf(s);
    ASSERT_EQ(t.order.first(), kv::defaultCaption(kv::kFieldCount));
    t.order = kv::defaultOrderRows(s);
    ASSERT_FALSE(kv::closeViewerConfig(s, t).refused);
    EXPECT_EQ(positions(s), ownNumbers());
}

TEST(ViewerConfig, OrderRowsAreTakenOnceWhenOldCaptionsRepeat)
{
    // A settings file that gave two fields one caption: each keeps a row of its own.
    kv::Settings s;
    s.field(3).caption = QStringLiteral("Star");
    s.field(5).caption = QStringLiteral("Star");
    kv::ViewerConfigTexts t = pagesOf(s);
    t.names[4] = QStringLiteral("Star 4th"); // the close is refused until they differ
    t.order.move(4, 0);

    ASSERT_FALSE(kv::closeViewerConfig(s, t).refused);
    EXPECT_EQ(s.field(3).order, 1) << "the first row holding the caption";
    EXPECT_EQ(s.field(5).order, 4) << "the next row holding it";
    QList<int> sorted = positions(s);
    std::sort(sorted.begin(), sorted.end());
    EXPECT_EQ(sorted, ownNumbers()) << "every position taken once";
}
