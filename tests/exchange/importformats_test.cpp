// Files from other programs: standard CSV, UTF-8, other dBASE writers, and the values
// they write (ISO dates, grouped numbers, logicals).
#include "exchange/exchangegrids.h"
#include "exchange/import.h"
#include "exchange/importvalues.h"
#include "exchange/textformat.h"
#include "exchangetest.h"

#include "base/dateformat.h"
#include "base/numberformat.h"
#include "store/catalogue.h"

#include <QBuffer>
#include <QDir>
#include <QStandardPaths>

namespace {

using kv::fields::CheckOut;
using kv::fields::ListPrice;
using kv::fields::PurchDate;
using kv::fields::Star1;
using kv::fields::Title;
using kv::fields::Viewed;
using kv::fields::Year;
constexpr int Star2 = 3, Star3 = 4, Descriptio = 23;

// Every record a reader gives, as lists of fields, with the line each starts on.
QList<QStringList> readAll(const QByteArray &bytes, const kv::TextFormat &format, QList<qint64> *lines = nullptr)
{
    QBuffer buffer;
    buffer.setData(bytes);
    buffer.open(QIODevice::ReadOnly);
    kv::DelimitedReader reader(buffer, format);
    QList<QStringList> records;
    QStringList fields;
    for (;;) {
        const kv::DelimitedReader::Line line = reader.readLine(fields, 50);
        if (line == kv::DelimitedReader::Line::End)
            break;
        if (line == kv::DelimitedReader::Line::Blank)
            continue;
        records << fields;
        if (lines)
            *lines << reader.recordLine();
    }
    return records;
}

kv::TextFormat csv(char separator = ',', kv::TextEncoding encoding = kv::TextEncoding::Cp1252)
{
    return kv::TextFormat{kv::TextDialect::Csv, separator, encoding};
}

TEST(CsvReader, ReadsStandardCsv)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        kv::TextFormat format;
        QList<QStringList> records;
    };
    const std::vector<Case> cases = {
        {"quotes only where needed, empty fields", "a,\"b, c\",,d\r\n,,,\r\n", csv(),
         {{"a", "b, c", "", "d"}, {"", "", "", ""}}},
        {"doubled quotes", "\"Say \"\"Hi\"\"\",5\" tape\n", csv(), {{"Say \"Hi\"", "5\" tape"}}},
        {"line breaks inside quotes", "\"one\r\ntwo\",x\n\"three\nfour\"\n", csv(),
         {{"one\r\ntwo", "x"}, {"three\nfour"}}},
        {"semicolons; commas are text", "a;b,c;\"d;e\"\n", csv(';'), {{"a", "b,c", "d;e"}}},
        {"tabs", "a\tb c\t\n", csv('\t'), {{"a", "b c", ""}}},
        {"blank lines skipped, last line without its end", "a\n\n\nb", csv(), {{"a"}, {"b"}}},
        {"UTF-8", "M\xC3\xBCller,C\xC5\x93ur\n", csv(',', kv::TextEncoding::Utf8), {{"Müller", "Cœur"}}},
        {"code page 850", "M\x81ller\n", csv(',', kv::TextEncoding::Cp850), {{"Müller"}}},
        {"a byte-order mark is UTF-8 whatever was chosen", "\xEF\xBB\xBFM\xC3\xBCller\n", csv(), {{"Müller"}}},
        {"the own format as before", "\"a\",\"b\"\"c\",\"d,e\"\r\n", kv::TextFormat(), {{"a", "b\"c", "d,e"}}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(readAll(c.bytes, c.format), c.records) << c.name;
}

TEST(CsvReader, GivesTheLineEachRecordStartsOnAndCutsLongFields)
{
    QList<qint64> lines;
    const QByteArray bytes = "h1,h2\r\n\"x\ny\",1\r\n\r\nz," + QByteArray(300, 'w') + "\r\n";
    const QList<QStringList> records = readAll(bytes, csv(), &lines);
    EXPECT_EQ(lines, (QList<qint64>{1, 2, 5}));
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[2][1].size(), kv::kMaxDelimitedField);
}

TEST(TextFormat, FindsTheDialectTheSeparatorAndTheCharacterSet)
{
    using kv::TextDialect;
    using kv::TextEncoding;
    struct Case {
        const char *name;
        QByteArray bytes;
        kv::TextFormat found;
    };
    const QByteArray own = QByteArray("\"a\",\"b\"\r\n").repeated(120);
    const std::vector<Case> cases = {
        {"own format", own, {TextDialect::Own, ',', TextEncoding::Cp1252}},
        {"own format, 1252 bytes", "\"M\xFCller\",\"x\"\r\n", {TextDialect::Own, ',', TextEncoding::Cp1252}},
        {"quoted header, unquoted data", "\"Title\",\"Year\"\r\nHeat,1995\r\n", {TextDialect::Csv, ',', TextEncoding::Cp1252}},
        {"an empty field", "\"a\",,\"b\"\r\n", {TextDialect::Csv, ',', TextEncoding::Cp1252}},
        {"unquoted only after line 100", own + "a,b\r\n", {TextDialect::Own, ',', TextEncoding::Cp1252}},
        {"unquoted on line 100", own.left(99 * 9) + "a,b\r\n", {TextDialect::Csv, ',', TextEncoding::Cp1252}},
        {"semicolons", "\"a\";\"b\"\r\n", {TextDialect::Csv, ';', TextEncoding::Cp1252}},
        {"tabs", "a\tb,c\tc\r\n", {TextDialect::Csv, '\t', TextEncoding::Cp1252}},
        {"UTF-8 without a mark", "\"M\xC3\xBCller\",\"x\"\r\n", {TextDialect::Own, ',', TextEncoding::Utf8}},
        {"UTF-8 with a mark", "\xEF\xBB\xBF\"a\"\r\n", {TextDialect::Own, ',', TextEncoding::Utf8}},
        {"ASCII only", "a,b\r\n", {TextDialect::Csv, ',', TextEncoding::Cp1252}},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kv::detectTextFormat(textFile(QStringLiteral("IN.TXT"), c.bytes)), c.found) << c.name;

    // What the user chooses is what is read.
    const QString path = textFile(QStringLiteral("IN.TXT"), "\"M\xC3\xBCller\",x\r\n");
    EXPECT_EQ(kv::detectTextFormat(path, {kv::EncodingChoice::Cp850, kv::DialectChoice::Own}),
              (kv::TextFormat{TextDialect::Own, ',', TextEncoding::Cp850}));
    EXPECT_EQ(kv::checkFirstLine(path, kv::TextChoice{}).names, (QStringList{"Müller", "x"}));
}

TEST(TextFormat, FirstLineLimitsHoldForCsv)
{
    struct Case {
        const char *name;
        QByteArray bytes;
        int code;
    };
    const std::vector<Case> cases = {
        {"50 fields", QByteArray("f,").repeated(49) + "f\r\n", 0},
        {"51 fields", QByteArray("f,").repeated(50) + "f\r\n", 3},
        {"256 characters", "a," + QByteArray(256, 'x') + "\r\n", 1},
        {"a quote that never closes", "a,\"b\r\nc,d\r\n", 2},
    };
    for (const Case &c : cases)
        EXPECT_EQ(kv::checkFirstLine(textFile(QStringLiteral("IN.TXT"), c.bytes), kv::TextChoice{}).code, c.code) << c.name;
}

TEST(ImportedValues, ReadNumbersDatesAndLogicalsAsOtherProgramsWriteThem)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    kv::ScopedNumberFormats usNumbers(kv::NumberFormats{}, kv::RegionalValues{});
    struct Number {
        const char *text;
        std::optional<double> value;
    };
    for (const Number &n : std::vector<Number>{{"12.5", 12.5},     {" -3 ", -3},       {"", 0},
                                               {"1,234.50", 1234.5}, {"1,234,567", 1234567}, {"12,50", std::nullopt},
                                               {"1,23", std::nullopt}, {"abc", std::nullopt}, {"$5", std::nullopt}})
        EXPECT_EQ(kv::readImportedNumber(QString::fromLatin1(n.text)), n.value) << n.text;
    {
        kv::RegionalValues comma;
        comma.decimalMark = QLatin1Char(',');
        comma.thousands = QLatin1Char('.');
        kv::ScopedNumberFormats regional(kv::NumberFormats{}, comma);
        for (const Number &n : std::vector<Number>{{"12,50", 12.5}, {"1.234,75", 1234.75}, {"1,234.50", 1234.5},
                                                   {"12.5", 12.5}, {"1.23,4", std::nullopt}})
            EXPECT_EQ(kv::readImportedNumber(QString::fromLatin1(n.text)), n.value) << n.text;
    }
    struct Date {
        const char *text;
        std::optional<QDate> date;
    };
    for (const Date &d : std::vector<Date>{{"2001-03-04", QDate(2001, 3, 4)},
                                           {"2000/02/02", QDate(2000, 2, 2)},
                                           {"19991231", QDate(1999, 12, 31)},
                                           {"3/4/2001", QDate(2001, 3, 4)},
                                           {"", QDate()},
                                           {"March 4, 2001", QDate()},
                                           {"2001-02-30", std::nullopt},
                                           {"2/30/2001", std::nullopt}})
        EXPECT_EQ(kv::readImportedDate(QString::fromLatin1(d.text)), d.date) << d.text;
    for (const char *yes : {"T", "y", "True", "YES", " yes ", "1"})
        EXPECT_EQ(kv::yesNoOf(QString::fromLatin1(yes)), QStringLiteral("Yes")) << yes;
    for (const char *no : {"F", "n", "false", "No", "0"})
        EXPECT_EQ(kv::yesNoOf(QString::fromLatin1(no)), QStringLiteral("No")) << no;
    EXPECT_EQ(kv::yesNoOf(QStringLiteral("maybe")), std::nullopt);
}

// Imports a file into a new catalogue, every field whose name matches a catalogue field
// lined up with it; the catalogue's path.
QString importByNames(const QString &source, const kv::TextChoice &choice = {}, kv::ImportResult *result = nullptr)
{
    kv::ImportRequest request;
    request.path = source;
    if (kv::hasDbfExtension(source)) {
        request.kind = kv::ImportKind::Dbase;
        request.names = kv::dbaseFieldNames(source);
    } else {
        const kv::FirstLineCheck check = kv::checkFirstLine(source, choice);
        EXPECT_EQ(check.code, 0) << source.toStdString();
        request.names = check.names;
        request.format = check.format;
        request.skipFirst = true;
    }
    request.fieldCount = int(request.names.size());
    QStringList captions;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        captions << QString::fromLatin1(kv::field(n).caption);
    request.map = kv::mapByNames(request.names, captions);
    const QString path = newCatalogue(QStringLiteral("IMPORTED.DBF"));
    kv::Table master;
    master.setPath(path);
    master.open();
    const kv::ImportResult r = kv::importRecords(master, request);
    if (result)
        *result = r;
    return path;
}

// Chosen fields of every record.
QList<QStringList> fieldsOf(const QString &path, const QList<int> &fields)
{
    QList<QStringList> out;
    for (const QStringList &r : allValues(path)) {
        QStringList chosen;
        for (int f : fields)
            chosen << r[f - 1];
        out << chosen;
    }
    return out;
}

QString fixtureCopy(const char *name)
{
    const QString path = kvtest::copyFixture(QStringLiteral("exchange/") + QString::fromLatin1(name));
    // A table's .cpg goes with it.
    const QString cpg = QString::fromLatin1(name).replace(QStringLiteral(".dbf"), QStringLiteral(".cpg"));
    if (QFile::exists(kvtest::fixture(QStringLiteral("exchange/") + cpg)))
        kvtest::copyFixture(QStringLiteral("exchange/") + cpg);
    return path;
}

TEST(ImportFromOtherPrograms, ASpreadsheetCsvComesInFieldByField)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    kv::ScopedNumberFormats usNumbers(kv::NumberFormats{}, kv::RegionalValues{});
    const QString path = importByNames(fixtureCopy("spreadsheet.csv"));
    EXPECT_EQ(fieldsOf(path, {Title, Star1, Star2, Star3, Year, ListPrice, PurchDate, Viewed}),
              (QList<QStringList>{
                  {"Heat", "Al Pacino", "", "De Niro, Robert", "1995", "19.95", "3/4/2001", "Yes"},
                  {"Amélie", "", "", "Société Générale Ñ", "2001", "1234.5", "", "No"},
                  {"Say \"Hi\"", "", "", "", "1990", "0", "2/2/2000", "Yes"},
              }));
}

TEST(ImportFromOtherPrograms, ASemicolonCsvWithDecimalCommasIn1252)
{
    kv::RegionalValues comma;
    comma.decimalMark = QLatin1Char(',');
    comma.thousands = QLatin1Char('.');
    kv::ScopedNumberFormats regional(kv::NumberFormats{}, comma);
    const QString path = importByNames(fixtureCopy("spreadsheet_semicolon.csv"));
    EXPECT_EQ(fieldsOf(path, {Title, Star1, Year, ListPrice}),
              (QList<QStringList>{{"Müller", "Cœur", "1997", "12.5"}, {"A; B", "", "2001", "1234.75"}}));
}

TEST(ImportFromOtherPrograms, GdalAndPythonFilesComeInValueForValue)
{
    kv::ScopedDateFormat us(kv::DateFormat{QStringLiteral("m/d/yyyy"), QLatin1Char('/')});
    const QList<QStringList> titles = {
        {"Müller's Cœur", "Société Générale, Ñ", "1997", "12.5", "3/4/2001", "Yes"},
        {"Say \"Hi\"", "Zoë", "2003", "0.99", "2/2/2000", "No"},
        {"Plain", "", "1950", "0", "", ""},
        {"Ünïcödé €", "?ód?", "2020", "1234.56", "12/31/1999", "Yes"},
    };
    const QList<int> fields = {Title, Star1, Year, ListPrice, PurchDate, Viewed};
    struct Case {
        const char *file;
        qint64 replaced;
    };
    for (const Case &c : {Case{"gdal.csv", 1}, Case{"gdal_utf8.dbf", 1}, Case{"gdal_cp1252.dbf", 0}}) {
        kv::ImportResult result;
        const QString path = importByNames(fixtureCopy(c.file), {}, &result);
        QList<QStringList> expected = titles;
        if (c.replaced == 0)
            expected[3][1].clear(); // GDAL could not write "Łódź" in 1252
        EXPECT_EQ(fieldsOf(path, fields), expected) << c.file;
        EXPECT_EQ(result.replaced, c.replaced) << c.file;
        QFile::remove(path);
    }
    kv::ImportResult result;
    const QString path = importByNames(fixtureCopy("python.csv"), {}, &result);
    EXPECT_EQ(fieldsOf(path, {Title, Star1, Year, ListPrice, Descriptio}),
              (QList<QStringList>{{"Müller's Cœur", "Société Générale, Ñ", "1997", "12.5", "first line\nsecond line"},
                                  {"Say \"Hi\"", "Zoë", "2003", "0.99", ""},
                                  {"Plain", "", "1950", "0", ""}}));
    EXPECT_EQ(result.replaced, 0);
    QFile::remove(path);
    const QString fromDbf = importByNames(fixtureCopy("python_dbf.dbf"), {}, &result);
    EXPECT_EQ(fieldsOf(fromDbf, fields), titles.mid(0, 3));
    EXPECT_EQ(result.replaced, 0);
}

// Three titles as our export wrote them and LibreOffice Calc saved them again.
const QList<QStringList> kCalcTitles = {
    {"Müller's Cœur", "Société Générale, Ñ", "1997", "12.5", "3/4/01", "Yes"},
    {"Say \"Hi\"", "Zoë", "2003", "0.99", "", "No"},
    {"Plain", "", "1950", "0", "", ""},
};
const QList<int> kCalcFields = {Title, Star1, Year, ListPrice, PurchDate, Viewed};

void expectCalcTitles(const QString &file, const QString &what)
{
    kv::ImportResult result;
    const QString path = importByNames(file, {}, &result);
    EXPECT_EQ(fieldsOf(path, kCalcFields), kCalcTitles) << what.toStdString();
    EXPECT_EQ(result.replaced, 0) << what.toStdString();
    QFile::remove(path);
}

TEST(ImportFromOtherPrograms, LibreOfficeSavesOfOurExportsComeBackValueForValue)
{
    for (const char *file : {"libreoffice_utf8.csv", "libreoffice_cp1252.csv", "libreoffice.dbf"})
        expectCalcTitles(fixtureCopy(file), QString::fromLatin1(file));
}

// The same round trip live, where LibreOffice is installed: our export, soffice opening
// and saving it, our import.
TEST(ImportFromOtherPrograms, LibreOfficeRoundTripsLive)
{
    const QString soffice = QStandardPaths::findExecutable(QStringLiteral("soffice"));
    if (soffice.isEmpty())
        GTEST_SKIP() << "LibreOffice is not installed";
    const QString source = kvtest::tempPath(QStringLiteral("SRC.DBF"));
    ASSERT_EQ(kvtest::runCli({"new", source}).exitCode, 0);
    ASSERT_EQ(kvtest::runCli({"add", source, "Title=Müller's Cœur", "Star1=Société Générale, Ñ", "Year=1997",
                              "ListPrice=12.50", "PurchDate=03/04/2001", "Viewed=Yes"})
                  .exitCode,
              0);
    ASSERT_EQ(kvtest::runCli({"add", source, "Title=Say \"Hi\"", "Star1=Zoë", "Year=2003", "ListPrice=0.99", "Viewed=No"})
                  .exitCode,
              0);
    ASSERT_EQ(kvtest::runCli({"add", source, "Title=Plain", "Year=1950"}).exitCode, 0);
    const struct {
        const char *file;
        QStringList exportOptions;
        const char *readFilter;
        const char *saveFilter;
    } trips[] = {
        {"utf8.csv", {"--names", "--encoding", "utf-8"}, "CSV:44,34,76,1", "csv:Text - txt - csv (StarCalc):44,34,76,1"},
        {"cp1252.csv", {"--names"}, "CSV:44,34,1,1", "csv:Text - txt - csv (StarCalc):59,34,1,1"},
        {"ours.dbf", {}, "dBase:1", "dbf:dBase:1"},
    };
    const QString out = kvtest::tempPath(QStringLiteral("calc"));
    QDir().mkpath(out);
    for (const auto &trip : trips) {
        const QString exported = kvtest::tempPath(QString::fromLatin1(trip.file));
        ASSERT_EQ(kvtest::runCli(QStringList{"export", source, exported} + trip.exportOptions).exitCode, 0);
        const kvtest::ProcessResult saved =
            kvtest::run(soffice, {"--headless", QStringLiteral("--infilter=") + QString::fromLatin1(trip.readFilter),
                                  "--convert-to", QString::fromLatin1(trip.saveFilter), "--outdir", out, exported});
        const QString calcFile = out + QLatin1Char('/') + QString::fromLatin1(trip.file);
        ASSERT_TRUE(QFile::exists(calcFile)) << saved.err.constData();
        expectCalcTitles(calcFile, QString::fromLatin1(trip.file));
    }
}

TEST(ImportFromOtherPrograms, DbaseLogicalFieldsGoIntoTheYesNoFields)
{
    const QString path = importByNames(fixtureCopy("xbase_logical.dbf"));
    EXPECT_EQ(fieldsOf(path, {Title, Viewed, CheckOut}),
              (QList<QStringList>{{"Seen", "Yes", "No"}, {"Not seen", "No", "Yes"}, {"Unknown", "", ""}}));
}

TEST(ImportFromOtherPrograms, CharactersThe1252CatalogueCannotHoldAreCountedAndSaid)
{
    kv::ImportResult result;
    const QString source = textFile(QStringLiteral("IN.TXT"), "Title,Star1\r\n\xC5\x81\xC3\xB3\x64\xC5\xBA,\xD0\x9A\xD0\xB8\r\n"
                                                              "M\xC3\xBCller,ok\r\n\xE6\x97\xA5\xE6\x9C\xAC,\r\n");
    const QString path = importByNames(source, {}, &result);
    EXPECT_EQ(fieldValues(path, Title), (QStringList{"?ód?", "Müller", "??"}));
    EXPECT_EQ(result.imported, 3);
    EXPECT_EQ(result.replaced, 3);
    EXPECT_EQ(kv::importCompleteMessage(result),
              "Import Complete.\n\n3 values held characters that the catalogue cannot hold; each of them was stored "
              "as \"?\".");
    EXPECT_EQ(kv::importCompleteMessage(kv::ImportResult{}), "Import Complete.");
}

TEST(ImportFromOtherPrograms, TheChosenCharacterSetWins)
{
    const QString source = textFile(QStringLiteral("IN.TXT"), "\"Title\"\r\n\"M\xC3\xBCller\"\r\n");
    EXPECT_EQ(fieldValues(importByNames(source), Title), QStringList{"Müller"});
    QFile::remove(kvtest::tempPath(QStringLiteral("IMPORTED.DBF")));
    EXPECT_EQ(fieldValues(importByNames(source, {kv::EncodingChoice::Cp1252, kv::DialectChoice::Auto}), Title),
              QStringList{"MÃ¼ller"});
}

TEST(MatchNames, LinesUpFieldsByCaptionOrDbaseNameIgnoringCaseAndAccents)
{
    QStringList captions;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        captions << QString::fromLatin1(kv::field(n).caption);
    captions[Title - 1] = QStringLiteral("Titre");
    const QStringList names = {"PRIX", "titre", "Star 1", "year", "YEAR", "Pürch Dáte", "Notes", "descriptio"};
    EXPECT_EQ(kv::mapByNames(names, captions),
              (kv::ImportMap{-1, Title, Star1, Year, -1, PurchDate, -1, Descriptio}));

    kv::ImportGrid grid(captions, names);
    EXPECT_EQ(grid.matchNames(), 5);
    EXPECT_EQ(grid.row(Title - 1).importField, "titre");
    EXPECT_EQ(grid.row(Year - 1).importField, "year");
    EXPECT_EQ(grid.row(Year - 1).use, "Yes");
    // The fields without a match fill the free rows, not used.
    EXPECT_EQ(grid.row(2).importField, "PRIX");
    EXPECT_EQ(grid.row(2).use, "No");
    EXPECT_EQ(grid.fieldMap(), kv::mapByNames(names, captions));
}

} // namespace
