// Saving a level of the search rows into the criteria list.
#include "search/criteria.h"

#include "base/dateformat.h"
#include "store/fieldtable.h"
#include "testenv.h"

#include <gtest/gtest.h>

namespace {

using kv::ItemKind;
using kv::RowOperator;
using kv::SaveOutcome;

struct Cell {
    int field;
    const char *text;
    RowOperator op = RowOperator::Equal;
};

kv::SearchRows rowsOf(std::initializer_list<Cell> cells)
{
    kv::SearchRows rows;
    for (const Cell &c : cells)
        rows[std::size_t(c.field - 1)] = {QString::fromUtf8(c.text), c.op};
    return rows;
}

// An item as "field kind value end", the value being the text of a text item.
QString describe(const kv::SearchItem &item)
{
    const QString value = int(item.kind) >= 5 ? item.text
                                              : QString::number(item.isDate ? item.date : item.number, 'g', 10);
    return QStringLiteral("%1 %2 %3%4").arg(item.field).arg(int(item.kind)).arg(value, item.endOfLevel ? " end" : "");
}

QStringList describe(const kv::CriteriaList &list)
{
    QStringList out;
    for (const kv::SearchItem &item : list)
        out << describe(item);
    return out;
}

TEST(SaveFields, EachRowBecomesItsItemsOrItsRefusal)
{
    kv::ScopedDateFormat mdy({QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')});
    const QString desc(140, QLatin1Char('d'));
    const struct {
        kv::SearchRows rows;
        SaveOutcome::Result result;
        int badRow;
        QStringList items;
    } cases[] = {
        {rowsOf({{1, "  alien  "}}), SaveOutcome::Saved, 0, {"1 5 ALIEN end"}},
        {rowsOf({{4, "weaver"}, {26, "space  horror"}}), SaveOutcome::Saved, 0, {"4 7 WEAVER", "26 6 SPACE  HORROR end"}},
        {rowsOf({{23, desc.toUtf8().constData()}}), SaveOutcome::Saved, 0, {"23 5 " + QString(110, 'D') + " end"}},
        {rowsOf({{11, "= 1995     "}, {28, "\\< 9.5e1"}}), SaveOutcome::Invalid, 28, {}},
        {rowsOf({{11, "= 1995     "}, {28, "< 9.5e1  ", RowOperator::Less}}), SaveOutcome::Saved, 0, {"11 1 1995", "28 3 95 end"}},
        {rowsOf({{12, "> 90", RowOperator::Greater}}), SaveOutcome::Saved, 0, {"12 2 90 end"}},
        {rowsOf({{11, "> 1990      AND < 1995    ", RowOperator::Range}}), SaveOutcome::Saved, 0,
         {"11 2 1990", "11 3 1995 end"}},
        {rowsOf({{11, ">           AND <         ", RowOperator::Range}}), SaveOutcome::Empty, 0, {}},
        {rowsOf({{11, "> 1990      AND <         ", RowOperator::Range}}), SaveOutcome::Invalid, 11, {}},
        {rowsOf({{11, ">           AND < 1995    ", RowOperator::Range}}), SaveOutcome::Invalid, 11, {}},
        {rowsOf({{11, "= 19x5"}}), SaveOutcome::Invalid, 11, {}},
        {rowsOf({{34, "= 1,000"}}), SaveOutcome::Invalid, 34, {}},
        {rowsOf({{35, "<   /  /    ", RowOperator::Less}}), SaveOutcome::Empty, 0, {}},
        {rowsOf({{35, "< 01/01/1950", RowOperator::Less}}), SaveOutcome::Saved, 0, {"35 3 18264 end"}},
        {rowsOf({{32, ">   /  /     AND <   /  /    ", RowOperator::Range}}), SaveOutcome::Empty, 0, {}},
        {rowsOf({{32, "> 12/31/1899 AND < 01/02/1900", RowOperator::Range}}), SaveOutcome::Saved, 0,
         {"32 2 1", "32 3 3 end"}},
        {rowsOf({{32, "= 02/30/1997"}}), SaveOutcome::Invalid, 32, {}},
        {rowsOf({{32, "= 12/  /    "}}), SaveOutcome::Invalid, 32, {}},
        {rowsOf({}), SaveOutcome::Empty, 0, {}},
        {rowsOf({{1, "   "}}), SaveOutcome::Empty, 0, {}},
    };
    for (const auto &c : cases) {
        kv::CriteriaList list;
        const SaveOutcome outcome = kv::SaveFields(c.rows, list);
        EXPECT_EQ(outcome.result, c.result) << describe(list).join(", ").toStdString();
        EXPECT_EQ(outcome.row, c.badRow);
        EXPECT_EQ(describe(list), c.items);
    }
}

TEST(SaveFields, ARefusedLevelKeepsTheEarlierLevelsAndTheMessagesAreTheProgramsWords)
{
    kv::CriteriaList list;
    ASSERT_EQ(kv::SaveFields(rowsOf({{1, "alien"}}), list).result, SaveOutcome::Saved);
    const SaveOutcome invalid = kv::SaveFields(rowsOf({{2, "x"}, {11, "= abc"}, {14, "y"}}), list);
    EXPECT_EQ(invalid.message(), "Invalid search criteria entered.  Please correct.");
    const SaveOutcome empty = kv::SaveFields(rowsOf({}), list);
    EXPECT_EQ(empty.message(), "No search criteria entered.");
    EXPECT_EQ(describe(list), QStringList{"1 5 ALIEN end"});
    EXPECT_EQ(kv::levelCount(list), 1);
}

// Every row filled, ranges on the numeric and date rows: 34 text items and 12 bounds.
kv::SearchRows fullRows(int textRows)
{
    kv::SearchRows rows;
    int filled = 0;
    for (int n = 1; n <= kv::kFieldCount; ++n) {
        auto &row = rows[std::size_t(n - 1)];
        switch (kv::rowType(n)) {
        case kv::RowType::Text:
            if (filled++ < textRows)
                row.text = QStringLiteral("x");
            break;
        case kv::RowType::Numeric: row = {QStringLiteral("> 1 AND < 2"), RowOperator::Range}; break;
        case kv::RowType::Date: row = {QStringLiteral("> 1/1/1990 AND < 1/1/1991"), RowOperator::Range}; break;
        }
    }
    return rows;
}

TEST(SaveFields, SeventyFiveItemsAreTheMostAndTheSeventySixthClearsTheList)
{
    kv::ScopedDateFormat mdy({QStringLiteral("mm/dd/yyyy"), QLatin1Char('/')});
    kv::CriteriaList list;
    ASSERT_EQ(kv::SaveFields(fullRows(34), list).result, SaveOutcome::Saved);
    ASSERT_EQ(list.size(), 46u);
    // 12 bounds and 17 texts: 75 in all.
    ASSERT_EQ(kv::SaveFields(fullRows(17), list).result, SaveOutcome::Saved);
    EXPECT_EQ(list.size(), 75u);
    EXPECT_EQ(kv::levelCount(list), 2);

    list.resize(46);
    list.back().endOfLevel = true;
    const SaveOutcome over = kv::SaveFields(fullRows(18), list);
    EXPECT_EQ(over.result, SaveOutcome::TooMany);
    EXPECT_EQ(over.message(), "More than 75 search items have been entered.  This exceeds the maximum allowable.  "
                              "Search criteria will be cleared.");
    EXPECT_TRUE(list.empty());
}

} // namespace
