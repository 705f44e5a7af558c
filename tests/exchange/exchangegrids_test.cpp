// The import and export grids.
#include "exchange/exchangegrids.h"
#include "exchange/export.h"

#include <gtest/gtest.h>

namespace {

QStringList captions()
{
    kv::Settings s;
    QStringList out;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        out << s.field(n).caption;
    return out;
}

TEST(ImportGrid, ShowsTheFieldsMovesThemAndGivesTheMap)
{
    kv::ImportGrid grid(captions(), {"Name", "Lead", "Year", "Name"});
    EXPECT_EQ(grid.rowCount(), kv::kFieldCount);
    EXPECT_EQ(grid.row(0).kestrovaField, "Title");
    EXPECT_EQ(grid.row(3).use, "Yes");
    EXPECT_EQ(grid.row(4).importField, "<EMPTY>");
    EXPECT_EQ(grid.row(4).use, "");
    EXPECT_FALSE(grid.moveUp(0));
    EXPECT_FALSE(grid.moveDown(kv::kFieldCount - 1));
    EXPECT_EQ(grid.row(0).importField, "Name");
    // "Year" down to row 11, the Year field; "Lead" unused; the second "Name" takes the first's row.
    for (int r = 2; r < kv::fields::Year - 1; ++r)
        EXPECT_TRUE(grid.moveDown(r));
    EXPECT_EQ(grid.row(kv::fields::Year - 1).importField, "Year");
    EXPECT_EQ(grid.row(kv::fields::Year - 1).kestrovaField, "Year");
    grid.toggleUse(1);
    grid.toggleUse(kv::fields::Year); // an empty cell stays empty
    EXPECT_EQ(grid.row(kv::fields::Year).use, "");
    EXPECT_EQ(grid.fieldMap(), (kv::ImportMap{1, -1, kv::fields::Year, 1}));
}

TEST(ImportGrid, AnArrangementPutsTheSameFieldsBackAndRefusesOthers)
{
    kv::ImportGrid grid(captions(), {"Name", "Lead", "Year", "Name"});
    for (int r = 2; r < kv::fields::Year - 1; ++r)
        grid.moveDown(r);
    grid.toggleUse(1);
    const QString saved = grid.arrangement();

    kv::ImportGrid again(captions(), {"Name", "Lead", "Year", "Name"});
    ASSERT_TRUE(again.restore(saved));
    EXPECT_EQ(again.fieldMap(), grid.fieldMap());
    for (int r = 0; r < grid.rowCount(); ++r) {
        EXPECT_EQ(again.row(r).importField, grid.row(r).importField) << r;
        EXPECT_EQ(again.row(r).use, grid.row(r).use) << r;
    }

    const QString before = again.arrangement();
    QStringList cells = saved.split(',');
    const QString wrong[] = {
        QString(),                                               // nothing stored
        saved + QStringLiteral(","),                             // one row too many
        QStringList(cells.mid(0, 1) + cells.mid(0, 1) + cells.mid(2)).join(','), // a field twice, one missing
        QStringList(QStringList{"0X"} + cells.mid(1)).join(','), // neither Y nor N
        QStringList(QStringList{"9Y"} + cells.mid(1)).join(','), // no such field
    };
    for (const QString &text : wrong) {
        EXPECT_FALSE(again.restore(text)) << text.toStdString();
        EXPECT_EQ(again.arrangement(), before);
    }
    EXPECT_NE(kv::importNamesKey({"Name", "Lead"}), kv::importNamesKey({"Name", "Lead", ""}));
    EXPECT_EQ(kv::importNamesKey({"Name", "Lead"}), kv::importNamesKey({"Name", "Lead"}));
}

TEST(ImportGrid, AFieldMovedBelowRow40IsNotImported)
{
    QStringList names;
    for (int i = 1; i <= 45; ++i)
        names << QStringLiteral("F%1").arg(i);
    kv::ImportGrid grid(captions(), names);
    EXPECT_EQ(grid.rowCount(), 45);
    EXPECT_EQ(grid.row(42).kestrovaField, "");
    EXPECT_TRUE(grid.moveDown(39));
    const kv::ImportMap map = grid.fieldMap();
    EXPECT_EQ(map[39], -1);
    EXPECT_EQ(map[40], 40);
    EXPECT_EQ(map[44], -1);
}

TEST(ExportGrid, MovesTogglesAndStoresTheOrderIntoTheSettings)
{
    kv::Settings s;
    kv::ExportGrid grid(s);
    EXPECT_EQ(grid.row(0).field, "Title");
    EXPECT_FALSE(grid.moveUp(0));
    EXPECT_FALSE(grid.moveDown(kv::kFieldCount - 1));
    for (int r = kv::fields::Year - 1; r > 0; --r)
        EXPECT_TRUE(grid.moveUp(r));
    grid.toggleExport(1);
    grid.storeInto(s);
    EXPECT_EQ(s.field(kv::fields::Year).exportOrder, 1);
    EXPECT_FALSE(s.field(kv::fields::Title).exported);
    EXPECT_EQ(kv::exportList(s).mid(0, 2), (QList<int>{kv::fields::Year, kv::fields::Star1}));
    // The next window shows the stored order.
    const kv::ExportGrid again(s);
    EXPECT_EQ(again.row(0).field, "Year");
    EXPECT_EQ(again.row(1).exportIt, "No");

    for (int r = 0; r < kv::kFieldCount; ++r)
        grid.toggleExport(r);
    grid.storeInto(s);
    EXPECT_EQ(kv::exportList(s), QList<int>{kv::fields::Title});
    grid.setDefaults(s);
    grid.storeInto(s);
    EXPECT_EQ(kv::exportList(s).size(), kv::kFieldCount);
    EXPECT_EQ(kv::exportList(s).first(), kv::fields::Title);
}

TEST(ExportGrid, OrdersThatClashFillTheFreeRows)
{
    kv::Settings s;
    s.field(2).exportOrder = 1; // Title's row as well
    s.field(3).exportOrder = 0;
    const kv::ExportGrid grid(s);
    EXPECT_EQ(grid.row(0).field, "Title");
    EXPECT_EQ(grid.row(1).field, s.field(2).caption);
    EXPECT_EQ(grid.row(2).field, s.field(3).caption);
}

} // namespace
