// The Oscar dialog's rules: the items of a text, mode 3's selection and additions, and
// the result joined in list order and cut while it is built.
#include "edit/oscaritems.h"

#include "edit/picklists.h"
#include "store/fieldtable.h"

#include <gtest/gtest.h>

using kv::OscarMode;

namespace {

QStringList words(const char *text) { return QString::fromUtf8(text).split(QLatin1Char('|')); }

std::vector<bool> selectedOf(const kv::OscarChoice &c) { return c.selected; }

TEST(OscarItems, ModesCaptionsListsAndBoxes)
{
    const struct {
        OscarMode mode;
        const char *caption;
        int list;
        int field;
    } modes[] = {
        {OscarMode::Awards, "Oscar Awards", kv::kOscarList, kv::fields::OscarAward},
        {OscarMode::Nominations, "Oscar Nominations", kv::kOscarList, kv::fields::OscarNom},
        {OscarMode::Miscellaneous, "Miscellaneous", kv::kMiscList, kv::fields::Miscellane},
    };
    for (const auto &m : modes) {
        EXPECT_EQ(kv::oscarCaption(m.mode), QString::fromLatin1(m.caption));
        EXPECT_EQ(kv::oscarListNumber(m.mode), m.list) << m.caption;
        EXPECT_EQ(kv::oscarTargetField(m.mode), m.field) << m.caption;
    }
}

TEST(OscarItems, ATextSplitsAtItsCommas)
{
    const struct {
        const char *text;
        QStringList items;
    } cases[] = {
        {"", {}},
        {"Widescreen", {"Widescreen"}},
        {"Widescreen, Subtitled", {"Widescreen", "Subtitled"}},
        {"Widescreen,Subtitled ,  Boxed Set  ", {"Widescreen", "Subtitled ", "Boxed Set"}},
        {"  Widescreen, Subtitled", {"  Widescreen", "Subtitled"}}, // the first item is taken as it stands
        {"Widescreen,", {"Widescreen"}},
        {"Widescreen, , Subtitled,,", {"Widescreen", "Subtitled"}}, // stray commas give no empty item
        {", Widescreen", {"Widescreen"}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(kv::oscarItems(QString::fromLatin1(c.text)), c.items) << c.text;
}

TEST(OscarItems, FindMiscComparesExactly)
{
    const QStringList entries = words("Boxed Set|Subtitled|Widescreen|Subtitled");
    EXPECT_EQ(kv::FindMisc(entries, QStringLiteral("Subtitled")), 1);
    EXPECT_EQ(kv::FindMisc(entries, QStringLiteral("subtitled")), -1);
    EXPECT_EQ(kv::FindMisc(entries, QStringLiteral("Subtitled ")), -1);
}

TEST(OscarItems, AwardsStartAlphabeticalWithNothingSelected)
{
    const kv::OscarChoice c =
        kv::oscarChoice(OscarMode::Awards, words("Best Sound|best Actor|Best Picture"), QStringLiteral("Best Sound"));
    EXPECT_EQ(c.entries, words("best Actor|Best Picture|Best Sound"));
    EXPECT_EQ(selectedOf(c), (std::vector<bool>{false, false, false})) << "the box's awards are not selected";
}

TEST(OscarItems, MiscellaneousSelectsItsItemsAndAddsTheUnknownAtTheirPlace)
{
    const QStringList file = words("Widescreen|Boxed Set|Subtitled");
    const kv::OscarChoice c = kv::oscarChoice(OscarMode::Miscellaneous, file, QStringLiteral("Widescreen, Director's Cut"));
    EXPECT_EQ(c.entries, words("Boxed Set|Director's Cut|Subtitled|Widescreen"));
    EXPECT_EQ(selectedOf(c), (std::vector<bool>{false, true, false, true}));
    EXPECT_EQ(kv::oscarResult(c), QStringLiteral("Director's Cut, Widescreen"));
}

TEST(OscarItems, TheResultFollowsTheListsOrder)
{
    kv::OscarChoice c{words("Best Actor|Best Director|Best Picture"), {true, false, true}};
    EXPECT_EQ(kv::oscarResult(c), QStringLiteral("Best Actor, Best Picture"));
    c.selected = {false, false, false};
    EXPECT_EQ(kv::oscarResult(c), QString()) << "nothing selected empties the box";
    c.selected = {false, true, false};
    EXPECT_EQ(kv::oscarResult(c), QStringLiteral("Best Director"));
}

TEST(OscarItems, TheResultIsCutAt255WhileItIsBuilt)
{
    const QString a(100, QLatin1Char('a')), b(100, QLatin1Char('b')), c(100, QLatin1Char('c'));
    kv::OscarChoice choice{{a, b, c, QStringLiteral("d")}, {true, true, true, true}};
    const QString result = kv::oscarResult(choice);
    // Cut to 255 with the last item's ", " still to come, then two more characters go.
    EXPECT_EQ(result, (a + QStringLiteral(", ") + b + QStringLiteral(", ") + c).left(253));
    EXPECT_EQ(result.size(), 253);

    kv::OscarChoice fits{{QString(126, QLatin1Char('x')), QString(125, QLatin1Char('y'))}, {true, true}};
    EXPECT_EQ(kv::oscarResult(fits).size(), 126 + 2 + 125) << "exactly 255 with its final \", \" is not cut";
}

} // namespace
