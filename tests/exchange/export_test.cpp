// Exporting a catalogue to delimited text and to a dBASE table.
#include "exchange/export.h"
#include "exchange/importvalues.h"
#include "exchange/import.h"
#include "base/numberformat.h"
#include "exchangetest.h"

#include "base/dateformat.h"

namespace {

QString catalogueWith(const std::vector<std::vector<std::pair<const char *, QString>>> &records)
{
    const QString path = newCatalogue();
    kv::Table t;
    t.setPath(path);
    t.open();
    addRecords(t, records);
    return path;
}

TEST(ExportList, FollowsTheOrderAndChoiceOfTheSettings)
{
    kv::Settings s;
    QList<int> all;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        all << n;
    EXPECT_EQ(kv::exportList(s), all);
    s.field(kv::fields::Year).exportOrder = 1;
    s.field(kv::fields::Title).exportOrder = kv::fields::Year;
    for (int n = 3; n <= kv::kFieldCount; ++n)
        if (n != kv::fields::Year)
            s.field(n).exported = false;
    EXPECT_EQ(kv::exportList(s), (QList<int>{kv::fields::Year, kv::fields::Star1, kv::fields::Title}));
    s.field(kv::fields::Star1).shown = false;
    s.field(kv::fields::Year).caption = QStringLiteral("Released");
    EXPECT_EQ(kv::exportTitle(s, kv::fields::Year), "Released");
    EXPECT_EQ(kv::exportTitle(s, kv::fields::Star1), "Star1");
}

TEST(ExportRecords, WritesQuotedTrimmedValuesAfterTheTitleLine)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yy"), QLatin1Char('/')});
    const QString path = catalogueWith({{{"Title", QStringLiteral("  The \"Big\" Sleep")},
                                         {"Year", "1946"},
                                         {"PurchDate", "7/4/1946"},
                                         {"ListPrice", "12.5"}},
                                        {{"Title", QStringLiteral("Café, Noir")}}});
    kv::Table master;
    master.setPath(path);
    master.open();
    kv::ExportRequest request;
    request.path = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    request.fields = {kv::fields::Title, kv::fields::Year, kv::fields::PurchDate, kv::fields::ListPrice};
    request.titles = {QStringLiteral("Title \"main\""), QStringLiteral("Year"), QStringLiteral("Purch Date"),
                      QStringLiteral("List Price")};
    EXPECT_EQ(kv::exportRecords(master, request), 2);
    EXPECT_EQ(kvtest::readFile(request.path),
              "\"Title \"\"main\"\"\",\"Year\",\"Purch Date\",\"List Price\"\r\n"
              "\"The \"\"Big\"\" Sleep\",\"1946\",\"07/04/1946\",\"12.5\"\r\n"
              "\"Caf\xe9, Noir\",\"\",\"\",\"\"\r\n");
}

TEST(ExportRecords, WritesOnlyWhatTheFilterLetsThroughAndNothingForAnEmptyCatalogue)
{
    const QString path = catalogueWith({{{"Title", "Heat"}}, {{"Title", "Alien"}}, {{"Title", "Aliens"}}});
    kv::Table master;
    master.setPath(path);
    master.open();
    master.setFilterFunction([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")).startsWith("Alien"); });
    master.setFiltered(true);
    kv::ExportRequest request;
    request.path = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    request.fields = {kv::fields::Title};
    EXPECT_EQ(kv::exportRecords(master, request), 2);
    EXPECT_EQ(kvtest::readFile(request.path), "\"Alien\"\r\n\"Aliens\"\r\n");

    kv::Table empty;
    empty.setPath(newCatalogue(QStringLiteral("EMPTY.DBF")));
    empty.open();
    request.titles = {QStringLiteral("Title")};
    EXPECT_EQ(kv::exportRecords(empty, request), 0);
    EXPECT_EQ(kvtest::readFile(request.path), "\"Title\"\r\n");
    request.kind = kv::ExportKind::Dbase;
    request.path = kvtest::tempPath(QStringLiteral("OUT.DBF"));
    EXPECT_EQ(kv::exportRecords(empty, request), 0);
    EXPECT_TRUE(allValues(request.path).isEmpty());
}

TEST(ExportRecords, ADbaseExportHasTheCatalogueFieldsInExportOrderAndNoIndex)
{
    const QString path = catalogueWith({{{"Title", QStringLiteral("Amélie")}, {"Year", "2001"}, {"ListPrice", "9.99"},
                                         {"PurchDate", "1/2/03"}}});
    kv::Table master;
    master.setPath(path);
    master.open();
    kv::ExportRequest request;
    request.kind = kv::ExportKind::Dbase;
    request.path = kvtest::tempPath(QStringLiteral("OUT.DBF"));
    request.fields = {kv::fields::ListPrice, kv::fields::Title, kv::fields::PurchDate, kv::fields::Year};
    EXPECT_EQ(kv::exportRecords(master, request), 1);
    kv::Table out;
    out.setPath(request.path);
    out.open();
    ASSERT_EQ(out.fieldCount(), 4);
    for (int j = 0; j < 4; ++j) {
        const kv::FieldLayout &mine = out.fieldLayout(j);
        const kv::FieldLayout &theirs = master.fieldLayout(master.fieldIndex(kv::fieldName(request.fields[j])));
        EXPECT_EQ(mine.name, theirs.name);
        EXPECT_EQ(mine.type, theirs.type);
        EXPECT_EQ(mine.width, theirs.width);
        EXPECT_EQ(mine.decimals, theirs.decimals);
    }
    EXPECT_TRUE(out.indexNames().isEmpty());
    out.first();
    EXPECT_EQ(out.fieldText(0), "9.99");
    EXPECT_EQ(out.fieldText(1), QStringLiteral("Amélie"));
    EXPECT_EQ(out.fieldDate(2), QDate(2003, 1, 2));
    EXPECT_EQ(out.fieldText(3), "2001");
}

TEST(ExportRecords, PricesWithTheRegionalDecimalMarkImportBack)
{
    kv::RegionalValues comma;
    comma.decimalMark = QLatin1Char(',');
    comma.thousands = QLatin1Char('.');
    kv::ScopedNumberFormats regional(kv::NumberFormats{kv::kRegionalFormat, kv::kRegionalFormat}, comma);
    const QString path = catalogueWith({{{"Title", "Heat"}, {"ListPrice", "1234.5"}}});
    kv::Table t;
    t.setPath(path);
    t.open();
    t.first();
    const int price = t.fieldIndex(QStringLiteral("ListPrice"));
    EXPECT_EQ(kv::exportedText(t, price, kv::FieldKind::Real), "1234,5");
    t.append();
    kv::storeImportedValue(t, price, kv::fields::ListPrice, QStringLiteral("1234,5"));
    t.post();
    EXPECT_EQ(column(t, "ListPrice"), (QStringList{"1234.5", "1234.5"}));
}

} // namespace
