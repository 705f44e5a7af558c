// Importing delimited text and dBASE tables into a catalogue.
#include "exchange/import.h"
#include "exchange/importvalues.h"
#include "exchangetest.h"

#include "base/dateformat.h"

namespace {

TEST(FirstLineCheck, GivesTheNamesOrTheCodeOfWhatIsWrong)
{
    struct Case {
        const char *name;
        QByteArray firstLine;
        int code;
        QStringList names;
    };
    const std::vector<Case> cases = {
        {"names", "\"Title\",\"\",\"A name longer than twenty\"\r\n\"x\"\r\n", 0,
         {"Title", "<BLANK FIELD>", "A name longer than t"}},
        {"50 fields", QByteArray("\"f\",").repeated(49) + "\"f\"\r\n", 0, QStringList(50, QStringLiteral("f"))},
        {"51 fields", QByteArray("\"f\",").repeated(50) + "\"f\"\r\n", 3, QStringList(50, QStringLiteral("f"))},
        {"256 characters", "\"a\",\"" + QByteArray(256, 'x') + "\"\r\n", 1, {"a", QString(20, QLatin1Char('x'))}},
        {"unmatched quote", "\"a\",\"b\r\n", 2, {"a", "b"}},
        {"unquoted last field", "\"a\",b\r\n", 2, {"a", "b"}},
        {"empty file", "", 2, {}},
    };
    // The program's own format; what else a file may be is found below.
    const kv::TextChoice own{kv::EncodingChoice::Auto, kv::DialectChoice::Own};
    for (const Case &c : cases) {
        const kv::FirstLineCheck check = kv::checkFirstLine(textFile(QStringLiteral("IN.TXT"), c.firstLine), own);
        EXPECT_EQ(check.code, c.code) << c.name;
        EXPECT_EQ(check.names, c.names) << c.name;
    }
    EXPECT_EQ(kv::firstLineMessage(3),
              "The file selected does not appear to be an ASCII delimited text file.  An ASCII delimited file requires "
              "a unique format of each field being surrounded by double quotes and separated by a comma.  The "
              "selected file has too many fields.  There are at least 10 more fields than are required by Kestrova.");
}

TEST(StoreImportedValue, ConvertsByTheKindOfTheField)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    struct Case {
        int field;
        QString text;
        QString stored;
    };
    const std::vector<Case> cases = {
        {kv::fields::Title, QStringLiteral("  Alien, the \"first\""), QStringLiteral("  Alien, the \"first\"")},
        {kv::fields::Year, QString(), QStringLiteral("0")},
        {kv::fields::Year, QStringLiteral("  1997 (remastered)"), QStringLiteral("1997")},
        {kv::fields::RunTime, QStringLiteral("-12min"), QStringLiteral("-12")},
        {kv::fields::RunTime, QStringLiteral("about 90"), QStringLiteral("0")},
        {kv::fields::ListPrice, QStringLiteral("19.95"), QStringLiteral("19.95")},
        {kv::fields::ListPrice, QString(), QStringLiteral("0")},
        {kv::fields::PurchDate, QStringLiteral("3/15/1997"), QStringLiteral("3/15/1997")},
        {kv::fields::PurchDate, QStringLiteral("March 15, 1997"), QString()},
        {kv::fields::PurchDate, QStringLiteral("Mar/15/1997"), QString()},
        {kv::fields::PurchDate, QStringLiteral("15.3.1997"), QString()},
    };
    kv::Table t;
    t.setPath(newCatalogue());
    t.open();
    for (const Case &c : cases) {
        t.append();
        const int column = t.fieldIndex(kv::fieldName(c.field));
        kv::storeImportedValue(t, column, c.field, c.text);
        t.post();
        t.last();
        EXPECT_EQ(t.fieldText(column), c.stored) << c.text.toStdString();
    }
    t.append();
    const int date = t.fieldIndex(kv::fieldName(kv::fields::PurchDate));
    EXPECT_FALSE(refusal([&] { kv::storeImportedValue(t, date, kv::fields::PurchDate, QStringLiteral("13/45/1997")); })
                     .isEmpty());
    const int price = t.fieldIndex(kv::fieldName(kv::fields::ListPrice));
    EXPECT_FALSE(refusal([&] { kv::storeImportedValue(t, price, kv::fields::ListPrice, QStringLiteral("1,50")); })
                     .isEmpty());
}

kv::ImportRequest textRequest(const QByteArray &bytes, bool skipFirst)
{
    kv::ImportRequest r;
    r.path = textFile(QStringLiteral("IN.TXT"), bytes);
    const kv::FirstLineCheck check = kv::checkFirstLine(r.path);
    EXPECT_EQ(check.code, 0);
    r.fieldCount = int(check.names.size());
    r.map = kv::defaultImportMap(r.fieldCount);
    r.skipFirst = skipFirst;
    return r;
}

TEST(ImportRecords, AppendsEveryLineButTheTitlesAndTheBlankOnes)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yy"), QLatin1Char('/')});
    const QString path = newCatalogue();
    kv::ImportRequest request = textRequest("\"Title\",\"Star1\",\"Producer\"\r\n"
                                            "\"Heat\",\"Pacino, Al\",\"Mann\"\r\n"
                                            "\r\n"
                                            "\"Alien\"\r\n",
                                            true);
    // Producer (import field 3) is not used; Star1 goes to Star2.
    request.map = {1, 3, -1};
    kv::Table master;
    master.setPath(path);
    master.open();
    const kv::ImportResult result = kv::importRecords(master, request);
    EXPECT_EQ(result.imported, 2);
    const QList<QStringList> records = allValues(path);
    ASSERT_EQ(records.size(), 2);
    EXPECT_EQ(records[0].mid(0, 4), (QStringList{"Heat", "", "Pacino, Al", ""}));
    EXPECT_EQ(records[1].mid(0, 4), (QStringList{"Alien", "", "", ""}));
}

TEST(ImportRecords, ABadValueStopsTheImportSaysWhereAndLeavesTheCatalogueAsItWas)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    struct Case {
        const char *name;
        QByteArray badLine;
        int field;
        const char *message;
    };
    const std::vector<Case> cases = {
        {"a date that is no date", "\"Three\",\"2/30/1991\"\r\n", kv::fields::PurchDate,
         "Line 4, import field 2 \"Value\" (into Purch Date): \"2/30/1991\" is not a date."},
        {"a decimal comma", "\"Three\",\"12,50\"\r\n", kv::fields::ListPrice,
         "Line 4, import field 2 \"Value\" (into List Price): \"12,50\" is not a number."},
        {"a letter", "\"Three\",\"abc\"\r\n", kv::fields::PurchPrice,
         "Line 4, import field 2 \"Value\" (into Purch Price): \"abc\" is not a number."},
    };
    for (const Case &c : cases) {
        const QString path = newCatalogue();
        {
            kv::Table t;
            t.setPath(path);
            t.open();
            addRecords(t, {{{"Title", "Before"}}});
        }
        const QByteArray good = c.field == kv::fields::PurchDate ? "\"2/3/1991\"" : "\"2.5\"";
        kv::ImportRequest request = textRequest("\"Title\",\"Value\"\r\n\"One\"," + good + "\r\n\"Two\"," + good +
                                                    "\r\n" + c.badLine + "\"Four\",\"\"\r\n",
                                                true);
        request.names = {"Title", "Value"};
        request.map = {kv::fields::Title, c.field};
        kv::Table master;
        master.setPath(path);
        master.open();
        const QString message = refusal([&] { kv::importRecords(master, request); });
        EXPECT_TRUE(message.startsWith(QString::fromLatin1(c.message))) << c.name << ": " << message.toStdString();
        EXPECT_TRUE(message.endsWith("The import stopped and nothing was added to the catalogue.")) << c.name;
        EXPECT_EQ(master.recordCount(), 1) << c.name;
        master.close();
        EXPECT_EQ(fieldValues(path, kv::fields::Title), QStringList{"Before"}) << c.name;

        // The line put right, the same import brings each record once.
        kvtest::writeFile(request.path, kvtest::readFile(request.path).replace(c.badLine, "\"Three\"," + good + "\r\n"));
        master.open();
        EXPECT_EQ(kv::importRecords(master, request).imported, 4) << c.name;
        master.close();
        EXPECT_EQ(fieldValues(path, kv::fields::Title), (QStringList{"Before", "One", "Two", "Three", "Four"})) << c.name;
    }
}

TEST(ImportRecords, StoppingKeepsWhatWasPosted)
{
    struct StopAfter : kv::ExchangeProgress {
        qint64 limit;
        QList<qint64> seen;
        explicit StopAfter(qint64 n) : limit(n) {}
        bool advance(qint64 done) override
        {
            seen << done;
            return done < limit;
        }
    } stop(3);
    const QString path = newCatalogue();
    const kv::ImportRequest request = textRequest(QByteArray("\"x\"\r\n").repeated(10), false);
    kv::Table master;
    master.setPath(path);
    master.open();
    const kv::ImportResult result = kv::importRecords(master, request, &stop);
    EXPECT_TRUE(result.stopped);
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(stop.seen, (QList<qint64>{1, 2, 3}));
    master.close();
    EXPECT_EQ(allValues(path).size(), 3);
}

TEST(ImportRecords, ReadsADbaseTableFieldByFieldIntoTheMappedFields)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    const QString source = kvtest::tempPath(QStringLiteral("OTHER.DBF"));
    {
        kv::Table t;
        t.setPath(source);
        t.addFieldDef(QStringLiteral("NAME"), 'C', 30, 0);
        t.addFieldDef(QStringLiteral("MINUTES"), 'N', 8, 2);
        t.addFieldDef(QStringLiteral("BOUGHT"), 'D', 8, 0);
        t.addFieldDef(QStringLiteral("COST"), 'N', 10, 2);
        t.createTable();
        t.open();
        addRecords(t, {{{"NAME", QStringLiteral("Amélie")}, {"MINUTES", "122.50"}, {"BOUGHT", "12/24/2001"},
                        {"COST", "9.99"}},
                       {{"NAME", QStringLiteral("Brazil")}}});
    }
    EXPECT_EQ(kv::dbaseFieldNames(source), (QStringList{"NAME", "MINUTES", "BOUGHT", "COST"}));
    const QString path = newCatalogue();
    kv::ImportRequest request;
    request.kind = kv::ImportKind::Dbase;
    request.path = source;
    request.map = {kv::fields::Title, kv::fields::RunTime, kv::fields::PurchDate, kv::fields::PurchPrice};
    kv::Table master;
    master.setPath(path);
    master.open();
    EXPECT_EQ(kv::importRecords(master, request).imported, 2);
    master.close();
    const QList<QStringList> records = allValues(path);
    ASSERT_EQ(records.size(), 2);
    const auto at = [&](int r, int field) { return records[r][field - 1]; };
    EXPECT_EQ(at(0, kv::fields::Title), QStringLiteral("Amélie"));
    EXPECT_EQ(at(0, kv::fields::RunTime), "122");
    EXPECT_EQ(at(0, kv::fields::PurchDate), "12/24/2001");
    EXPECT_EQ(at(0, kv::fields::PurchPrice), "9.99");
    EXPECT_EQ(at(1, kv::fields::RunTime), "0");
    EXPECT_EQ(at(1, kv::fields::PurchDate), "");
}

// A source whose header disagrees with its file would import fewer records than it
// holds, or records read out of place: it is refused with what is wrong, before the
// import window opens and when the import starts, and the catalogue stays as it was.
TEST(ImportRecords, ADamagedDbaseSourceIsRefusedWithTheReason)
{
    const QString source = kvtest::tempPath(QStringLiteral("OTHER.DBF"));
    {
        kv::Table t;
        t.setPath(source);
        t.addFieldDef(QStringLiteral("NAME"), 'C', 30, 0);
        t.createTable();
        t.open();
        addRecords(t, {{{"NAME", QStringLiteral("Amélie")}}, {{"NAME", QStringLiteral("Brazil")}}});
    }
    QByteArray bytes = kvtest::readFile(source);
    bytes[4] = 5; // counts five records
    kvtest::writeFile(source, bytes);
    const QString reason = QStringLiteral("is damaged: its header counts 5 records but the file holds 2 whole ones.");
    const QString names = refusal([&] { kv::dbaseFieldNames(source); });
    EXPECT_TRUE(names.contains(reason)) << names.toStdString();

    const QString path = newCatalogue();
    const QByteArray before = kvtest::readFile(path);
    kv::ImportRequest request;
    request.kind = kv::ImportKind::Dbase;
    request.path = source;
    request.map = {kv::fields::Title};
    kv::Table master;
    master.setPath(path);
    master.open();
    const QString import = refusal([&] { kv::importRecords(master, request); });
    EXPECT_TRUE(import.contains(reason)) << import.toStdString();
    EXPECT_EQ(master.recordCount(), 0);
    master.close();
    EXPECT_EQ(kvtest::readFile(path), before);
}

} // namespace
