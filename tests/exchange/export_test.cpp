// Exporting a catalogue to delimited text and to a dBASE table.
#include "exchange/export.h"
#include "exchange/importvalues.h"
#include "exchange/import.h"
#include "base/numberformat.h"
#include "exchangetest.h"

#include "base/dateformat.h"
#include "exchange/delimitedtext.h"

#include <QBuffer>

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

// The export writes stored dates, prices and accented text from their bytes where it
// can; whatever the bytes hold, each value must come out as the field's text does.
TEST(ExportRecords, ValuesFromTheirBytesAreWrittenAsTheirTextWouldBe)
{
    const QByteArray titles[] = {"M\xfcller C\x9cur", "plain", "odd \x81 byte", QByteArray("nul\0inside", 10), ""};
    const QByteArray dates[] = {"20010304", "        ", "00000000", "19990231", "2001034 ", "1999123x", "00010101"};
    const QByteArray prices[] = {"       12.50", "        0.00", "       -0.00", "       -0.50", "     1234.56",
                                 "         .50", "      012.50", "12.5        ", "************", "            ",
                                 "      1e3   ", "999999999.99", "       -7.00"};
    const int records = 13;
    const QString path = newCatalogue();
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        for (int r = 0; r < records; ++r)
            addRecords(t, {{{"Title", QStringLiteral("x")}}});
    }
    // Put the bytes in place as another program might have written them.
    kv::Table layout;
    layout.setPath(path);
    layout.setReadOnly(true);
    layout.open();
    const kv::FieldLayout title = layout.fieldLayout(layout.fieldIndex(QStringLiteral("Title")));
    const kv::FieldLayout date = layout.fieldLayout(layout.fieldIndex(QStringLiteral("PurchDate")));
    const kv::FieldLayout price = layout.fieldLayout(layout.fieldIndex(QStringLiteral("ListPrice")));
    layout.close();
    QByteArray file = kvtest::readFile(path);
    const int header = quint8(file[8]) | quint8(file[9]) << 8, length = quint8(file[10]) | quint8(file[11]) << 8;
    const auto put = [&](int r, const kv::FieldLayout &f, QByteArray bytes) {
        bytes = bytes.leftJustified(f.width, ' ', true);
        file.replace(header + r * length + f.offset, f.width, bytes);
    };
    for (int r = 0; r < records; ++r) {
        put(r, title, titles[r % 5]);
        put(r, date, dates[r % 7]);
        put(r, price, prices[r]);
    }
    kvtest::writeFile(path, file);

    kv::RegionalValues comma, wide;
    comma.decimalMark = QLatin1Char(',');
    wide.decimalMark = QChar(0x066B);
    const struct {
        kv::DateFormat date;
        kv::RegionalValues regional;
        int numeric;
    } formats[] = {
        {kv::DateFormat{}, kv::RegionalValues{}, kv::kUsFormat},
        {kv::DateFormat{QStringLiteral("d/m/yyyy"), QLatin1Char('.')}, comma, kv::kRegionalFormat},
        {kv::DateFormat{QStringLiteral("yy/mm/dd"), QLatin1Char('-')}, wide, kv::kRegionalFormat},
        {kv::DateFormat{QStringLiteral("dd/mm/yy"), QChar(0x2013)}, comma, kv::kUsFormat},
    };
    const QList<int> fields = {kv::fields::Title, kv::fields::PurchDate, kv::fields::ListPrice};
    for (const auto &format : formats)
        for (kv::TextEncoding encoding : {kv::TextEncoding::Utf8, kv::TextEncoding::Cp1252, kv::TextEncoding::Cp850}) {
            kv::ScopedDateFormat dates_(format.date);
            kv::ScopedNumberFormats numbers(kv::NumberFormats{format.numeric, kv::kUsFormat}, format.regional);
            kv::Table t;
            t.setPath(path);
            t.setReadOnly(true);
            t.open();
            kv::ExportRequest request;
            request.path = kvtest::tempPath(QStringLiteral("OUT.TXT"));
            request.fields = fields;
            request.encoding = encoding;
            kv::exportRecords(t, request);
            // What the field's text gives, through the same writer.
            QBuffer expected;
            expected.open(QIODevice::WriteOnly);
            kv::DelimitedWriter writer(expected, encoding);
            for (t.first(); !t.eof(); t.next()) {
                writer.addField(kv::exportedText(t, t.fieldIndex(QStringLiteral("Title")), kv::FieldKind::Text));
                writer.addField(kv::exportedText(t, t.fieldIndex(QStringLiteral("PurchDate")), kv::FieldKind::Date));
                writer.addField(kv::exportedText(t, t.fieldIndex(QStringLiteral("ListPrice")), kv::FieldKind::Real));
                writer.endLine();
            }
            writer.flush();
            QByteArray written = kvtest::readFile(request.path);
            if (encoding == kv::TextEncoding::Utf8)
                written.remove(0, 3); // the byte-order mark
            EXPECT_EQ(written, expected.data())
                << format.date.pattern.toStdString() << " " << int(encoding);
            if (&format == &formats[1] && encoding == kv::TextEncoding::Utf8) {
                EXPECT_TRUE(written.startsWith("\"M\xc3\xbcller C\xc5\x93ur\",\"04.03.2001\",\"12,5\"\r\n"))
                    << written.left(40).toStdString();
            }
        }
}

} // namespace
