#include "app/display/viewerlayout.h"

#include "app/settings/settings.h"
#include "store/storetest.h"

#include <QSet>
#include <numeric>

namespace {

std::vector<int> fieldsOf(const std::vector<kv::ViewerColumn> &columns)
{
    std::vector<int> out;
    for (const kv::ViewerColumn &c : columns)
        out.push_back(c.field);
    return out;
}

// first ... last, inclusive.
std::vector<int> range(int first, int last)
{
    std::vector<int> out;
    for (int n = first; first <= last ? n <= last : n >= last; n += first <= last ? 1 : -1)
        out.push_back(n);
    return out;
}

std::vector<int> join(std::initializer_list<std::vector<int>> parts)
{
    std::vector<int> out;
    for (const auto &p : parts)
        out.insert(out.end(), p.begin(), p.end());
    return out;
}

struct LayoutCase {
    const char *name;
    std::vector<std::pair<int, int>> orders; // field number, viewer position
    std::vector<int> hidden;
    std::vector<int> expected;
};
void PrintTo(const LayoutCase &c, std::ostream *os) { *os << c.name; }

class ViewerColumnsTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(ViewerColumnsTest, PlacesFieldsByTheirPosition)
{
    const LayoutCase &c = GetParam();
    kv::Settings s;
    for (const auto &[field, order] : c.orders)
        s.field(field).order = order;
    for (int field : c.hidden)
        s.field(field).shown = false;
    EXPECT_EQ(fieldsOf(kv::viewerColumns(s)), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ViewerColumnsTest,
    ::testing::Values(
        LayoutCase{"FieldOrder", {}, {}, range(1, 40)},
        LayoutCase{"Reversed", [] {
                       std::vector<std::pair<int, int>> o;
                       for (int n = 1; n <= 40; ++n)
                           o.emplace_back(n, 41 - n);
                       return o;
                   }(), {}, range(40, 1)},
        // Fields 2 and 3 both claim position 2: field 2 takes it; position 3 is claimed
        // by nobody, so field 1 is put there (moving from the front); field 3, never
        // picked, follows the placed columns.
        LayoutCase{"SameOrderTwice", {{3, 2}}, {}, join({{2, 1}, range(4, 40), {3}})},
        // Position 10 unclaimed: field 1 moves to column 9.
        LayoutCase{"UnclaimedPosition", {{10, 0}}, {}, join({range(2, 9), {1}, range(11, 40), {10}})},
        LayoutCase{"Hidden", {}, {2, 5, 40}, join({{1}, {3, 4}, range(6, 39)})},
        // A hidden field 1 fills an unclaimed position with nothing.
        LayoutCase{"HiddenFieldOne", {{4, 99}}, {1}, join({{2, 3}, range(5, 40), {4}})},
        // A hidden field that no position picks stays hidden; field 1 takes its place.
        LayoutCase{"HiddenNeverPicked", {{4, 99}}, {4}, join({{2, 3, 1}, range(5, 40)})}),
    [](const ::testing::TestParamInfo<LayoutCase> &info) { return std::string(info.param.name); });

TEST(ViewerColumns, CarryCaptionAndWidth)
{
    kv::Settings s;
    s.field(2).caption = QStringLiteral("Lead");
    s.field(2).width = 30;
    const auto columns = kv::viewerColumns(s);
    ASSERT_EQ(columns.size(), 40u);
    EXPECT_EQ(columns[0], (kv::ViewerColumn{1, QStringLiteral("Title"), 15}));
    EXPECT_EQ(columns[1], (kv::ViewerColumn{2, QStringLiteral("Lead"), 30}));
    EXPECT_EQ(columns[39].caption, QStringLiteral("User Defined 2"));
}

TEST(ApplyViewerLayout, SetsTheTableDisplayOfEveryField)
{
    kv::Table t;
    t.setPath(newCatalogue());
    t.open();
    kv::Settings s;
    s.field(3).order = 2; // same as field 2
    s.field(5).shown = false;
    s.field(1).caption = QStringLiteral("Name");
    s.field(1).width = 40;
    int changes = 0;
    QObject::connect(&t, &kv::Table::dataChanged, [&] { ++changes; });

    kv::applyViewerLayout(t, s);

    EXPECT_FALSE(t.displaySuspended());
    const std::vector<int> order = fieldsOf(kv::viewerColumns(s)); // 2, 1, 4, 6 ... 40, 3
    ASSERT_EQ(order.size(), 39u);
    for (size_t col = 0; col < order.size(); ++col) {
        const kv::Table::FieldDisplay &d = t.fieldDisplay(order[col] - 1);
        EXPECT_TRUE(d.visible) << order[col];
        EXPECT_EQ(d.position, int(col)) << order[col];
    }
    const kv::Table::FieldDisplay &name = t.fieldDisplay(0);
    EXPECT_EQ(name.position, 1);
    EXPECT_EQ(name.title, QStringLiteral("Name"));
    EXPECT_EQ(name.width, 40);
    const kv::Table::FieldDisplay &hidden = t.fieldDisplay(4);
    EXPECT_FALSE(hidden.visible);
    EXPECT_EQ(hidden.position, 39); // after every shown column
    EXPECT_EQ(t.fieldDisplay(2).title, QStringLiteral("Star 2"));

    // The positions are a permutation of 0 ... 39.
    std::vector<int> positions;
    for (int i = 0; i < t.fieldCount(); ++i)
        positions.push_back(t.fieldDisplay(i).position);
    std::sort(positions.begin(), positions.end());
    std::vector<int> all(40);
    std::iota(all.begin(), all.end(), 0);
    EXPECT_EQ(positions, all);
    EXPECT_EQ(changes, 0); // no record changed
}

TEST(ViewerCombos, EveryPickListFieldOfTheCatalogueListsHasOne)
{
    // The Oscar and miscellaneous fields take program-wide lists through their own
    // dialog, the two check boxes none.
    const QSet<int> without = {kv::fields::OscarNom, kv::fields::OscarAward, kv::fields::Miscellane,
                               kv::fields::CheckOut, kv::fields::Viewed};
    QSet<QString> names;
    int combos = 0;
    for (int n = 1; n <= kv::kFieldCount; ++n) {
        const kv::ViewerCombo *combo = kv::viewerCombo(n);
        const bool expected = kv::field(n).pickList && !without.contains(n);
        EXPECT_EQ(combo != nullptr, expected) << kv::field(n).name;
        if (!combo)
            continue;
        ++combos;
        EXPECT_EQ(combo->field, n);
        EXPECT_TRUE(combo->listNumber >= 1 && combo->listNumber <= 17 && combo->listNumber != 14 &&
                    combo->listNumber != 17)
            << combo->name;
        names.insert(QString::fromLatin1(combo->name));
    }
    EXPECT_EQ(combos, 20);
    EXPECT_EQ(names.size(), 20); // one drop-down each
    for (int star = 1; star <= 6; ++star) {
        const kv::ViewerCombo *combo = kv::viewerCombo(kv::fieldNumber(QStringLiteral("Star%1").arg(star)));
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->listNumber, 2);
        EXPECT_EQ(QString::fromLatin1(combo->name), QStringLiteral("MyComboStar%1").arg(star));
    }
    EXPECT_STREQ(kv::viewerCombo(kv::fields::CheckName)->name, "MyComboCheckOut");
    EXPECT_EQ(kv::viewerCombo(kv::fields::CheckName)->listNumber, 15);
    EXPECT_STREQ(kv::viewerCombo(kv::fieldNumber(QStringLiteral("LaserForma")))->name, "MyComboLaserFormat");
}

TEST(ViewerCheckBoxes, AreCheckedOutAndViewed)
{
    std::vector<int> boxes;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        if (kv::isViewerCheckBox(n))
            boxes.push_back(n);
    EXPECT_EQ(boxes, (std::vector<int>{kv::fieldNumber(QStringLiteral("CheckOut")),
                                       kv::fieldNumber(QStringLiteral("Viewed"))}));
}

} // namespace
