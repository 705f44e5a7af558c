// kestrova-cli import and export.
#include "exchangetest.h"

#include "app/settings/settings.h"
#include "base/atomicfile.h"
#include "fulldisk.h"

#include <QDir>
#include <QFileInfo>

namespace {

kvtest::ProcessResult cli(const QStringList &args) { return kvtest::runCli(args); }

TEST(CliImport, AppendsTheLinesByTheMapAndTheSkipSetting)
{
    const QString path = newCatalogue();
    const QString in = textFile(QStringLiteral("IN.TXT"), "\"Name\",\"Lead\",\"Year\"\r\n\"Heat\",\"Pacino\",\"1995\"\r\n");
    // The catalogue's "Skip First" is on by default.
    kvtest::ProcessResult r = cli({QStringLiteral("import"), path, in, QStringLiteral("--map"), QStringLiteral("1,0,11")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "1\n");
    r = cli({QStringLiteral("import"), path, in, QStringLiteral("--no-skip-first")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "2\n");
    const QList<QStringList> records = allValues(path);
    ASSERT_EQ(records.size(), 3);
    EXPECT_EQ(records[0].mid(0, 3), (QStringList{"Heat", "", ""}));
    EXPECT_EQ(records[0][kv::fields::Year - 1], "1995");
    EXPECT_EQ(records[1].mid(0, 3), (QStringList{"Name", "Lead", "Year"}));
    EXPECT_EQ(records[2].mid(0, 3), (QStringList{"Heat", "Pacino", "1995"}));
}

TEST(CliImport, RefusesWhatIsNotDelimitedTextAndBadArguments)
{
    const QString path = newCatalogue();
    // Read as the program's own format, an unquoted field is an unmatched quote.
    const QString in = textFile(QStringLiteral("IN.TXT"), "\"Name\",Lead\r\n");
    kvtest::ProcessResult r = cli({QStringLiteral("import"), path, in, QStringLiteral("--format"), QStringLiteral("own")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("The selected file had an unexpected end of a line most likely due to an unmatched quote."))
        << r.err.constData();
    for (const QStringList &bad : {QStringList{"--map", "1,41"}, QStringList{"--map", "title"}, QStringList{"--encoding", "latin9"},
                                   QStringList{"--format", "xls"}, QStringList{"--encoding"}}) {
        r = cli(QStringList{QStringLiteral("import"), path, in} + bad);
        EXPECT_EQ(r.exitCode, 2) << bad.join(' ').toStdString();
    }
    EXPECT_TRUE(allValues(path).isEmpty());
}

TEST(CliExport, WritesTheExportSettingsFieldsAndTitles)
{
    const QString path = newCatalogue();
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", "Heat"}, {"Year", "1995"}}});
    }
    kv::Settings s;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        s.field(n).exported = n == kv::fields::Title || n == kv::fields::Year;
    s.field(kv::fields::Year).exportOrder = 1;
    s.field(kv::fields::Title).exportOrder = kv::fields::Year;
    ASSERT_TRUE(kv::writeSettings(kv::catalogueSettingsPath(path), kv::SettingsScope::Catalogue, s));
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    kvtest::ProcessResult r = cli({QStringLiteral("export"), path, out});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "1\n");
    EXPECT_EQ(kvtest::readFile(out), "\"Year\",\"Title\"\r\n\"1995\",\"Heat\"\r\n");
    r = cli({QStringLiteral("export"), path, out, QStringLiteral("--no-names")});
    EXPECT_EQ(kvtest::readFile(out), "\"1995\",\"Heat\"\r\n");
    const QString dbf = kvtest::tempPath(QStringLiteral("out.dbf"));
    r = cli({QStringLiteral("export"), path, dbf});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(allValues(dbf), (QList<QStringList>{{"1995", "Heat"}}));
}

// An export to a full disk: the file layer's reason, exit 1, and the old file stays.
TEST(CliExport, AFullDiskKeepsTheOldFileAndSaysWhy)
{
    const QString path = newCatalogue();
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, std::vector<std::vector<std::pair<const char *, QString>>>(
                          60, {{"Title", "The Longest Day of the Year"}, {"Year", "1962"}, {"Category", "War"}}));
    }
    kvtest::FullDisk disk;
    const QString out = disk.path(QStringLiteral("OUT.TXT")), dbf = disk.path(QStringLiteral("OUT.DBF"));
    kvtest::writeFile(out, "the old export");
    kvtest::writeFile(dbf, "the old table");
    disk.fill();
    kvtest::ProcessResult r = cli({QStringLiteral("export"), path, out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(kv::cannotWriteMessage(out, disk.reason()).toUtf8())) << r.err.constData();
    EXPECT_EQ(kvtest::readFile(out), "the old export");
    r = cli({QStringLiteral("export"), path, dbf});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains(disk.reason().toUtf8())) << r.err.constData();
    EXPECT_EQ(kvtest::readFile(dbf), "the old table");
    QStringList left = QDir(disk.dir()).entryList(QDir::Files);
    left.removeAll(QStringLiteral("filler"));
    EXPECT_EQ(left, (QStringList{QStringLiteral("OUT.DBF"), QStringLiteral("OUT.TXT")}));
}

TEST(CliExport, CriteriaExportOnlyTheMatchingRecords)
{
    const QString path = newCatalogue();
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", "Heat"}, {"Star1", "A"}, {"Year", "1995"}},
                       {{"Title", "Alien"}, {"Star1", "B"}, {"Year", "1979"}},
                       {{"Title", "Brazil"}, {"Star1", "C"}, {"Year", "1985"}}});
    }
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    kvtest::ProcessResult r = cli({QStringLiteral("export"), path, out, QStringLiteral("--no-names"),
                                   QStringLiteral("Year>1990"), QStringLiteral("--or"), QStringLiteral("Year<1980")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "2\n");
    const QList<QByteArray> lines = kvtest::readFile(out).split('\n');
    ASSERT_EQ(lines.size(), 3);
    EXPECT_TRUE(lines[0].startsWith("\"Heat\",\"A\""));
    EXPECT_TRUE(lines[1].startsWith("\"Alien\",\"B\""));
    r = cli({QStringLiteral("export"), path, out, QStringLiteral("Year>")});
    EXPECT_NE(r.exitCode, 0);
    EXPECT_FALSE(r.err.isEmpty());
}

TEST(CliExport, NoFieldsChosenWritesNoFile)
{
    const QString path = newCatalogue();
    kv::Settings s;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        s.field(n).exported = false;
    ASSERT_TRUE(kv::writeSettings(kv::catalogueSettingsPath(path), kv::SettingsScope::Catalogue, s));
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    const kvtest::ProcessResult r = cli({QStringLiteral("export"), path, out});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err.trimmed(), "No fields selected for export.");
    EXPECT_FALSE(QFileInfo::exists(out));
}

} // namespace

namespace {

TEST(CliImport, ReadsSpreadsheetCsvInUtf8LinesUpByNamesAndSaysWhatBecameQuestionMarks)
{
    const QString path = newCatalogue();
    const QString in = textFile(QStringLiteral("IN.CSV"), "\"Year\",\"Title\",\"Notes\"\r\n1995,Heat,\r\n"
                                                          ",\xC5\x81\xC3\xB3\x64\xC5\xBA,x\r\n");
    kvtest::ProcessResult r = cli({QStringLiteral("import"), path, in, QStringLiteral("--map"), QStringLiteral("names")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(r.out, "2\n");
    EXPECT_EQ(r.err.trimmed(), "1 value held characters that the catalogue cannot hold; each of them was stored as \"?\".");
    EXPECT_EQ(fieldValues(path, kv::fields::Title), (QStringList{"Heat", "?ód?"}));
    EXPECT_EQ(fieldValues(path, kv::fields::Year), (QStringList{"1995", "0"}));

    // The character set chosen is the one read.
    r = cli({QStringLiteral("import"), path, in, QStringLiteral("--format"), QStringLiteral("csv"),
             QStringLiteral("--encoding"), QStringLiteral("cp1252"), QStringLiteral("--map"), QStringLiteral("0,1")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_TRUE(r.err.isEmpty());
    EXPECT_EQ(fieldValues(path, kv::fields::Title).last(), QString::fromUtf8("Å\u0081Ã³dÅº"));
}

TEST(CliImport, ABadValueStopsWithItsLineAndARetryImportsEachRecordOnce)
{
    const QString path = newCatalogue();
    const QString in = textFile(QStringLiteral("IN.TXT"), "\"A\",\"1.5\"\r\n\"B\",\"12,50\"\r\n");
    kvtest::ProcessResult r = cli({QStringLiteral("import"), path, in, QStringLiteral("--no-skip-first"),
                                   QStringLiteral("--map"), QStringLiteral("1,28")});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.startsWith("Line 2, import field 2 \"1.5\" (into List Price): \"12,50\" is not a number."))
        << r.err.constData();
    EXPECT_TRUE(r.out.isEmpty());
    EXPECT_TRUE(allValues(path).isEmpty());
    kvtest::writeFile(in, "\"A\",\"1.5\"\r\n\"B\",\"12.50\"\r\n");
    r = cli({QStringLiteral("import"), path, in, QStringLiteral("--no-skip-first"), QStringLiteral("--map"),
             QStringLiteral("1,28")});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(fieldValues(path, kv::fields::Title), (QStringList{"A", "B"}));
    EXPECT_EQ(fieldValues(path, kv::fields::ListPrice), (QStringList{"1.5", "12.5"}));
}

TEST(CliExport, WritesUtf8WithAByteOrderMarkOrDos850AndCountsWhatItCannotHold)
{
    const QString path = newCatalogue();
    {
        kv::Table t;
        t.setPath(path);
        t.open();
        addRecords(t, {{{"Title", QString::fromUtf8("Müller €")}}});
    }
    kv::Settings s;
    for (int n = 1; n <= kv::kFieldCount; ++n)
        s.field(n).exported = n == kv::fields::Title;
    ASSERT_TRUE(kv::writeSettings(kv::catalogueSettingsPath(path), kv::SettingsScope::Catalogue, s));
    const QString out = kvtest::tempPath(QStringLiteral("OUT.TXT"));
    struct Case {
        const char *encoding;
        QByteArray bytes;
        QByteArray err;
    };
    for (const Case &c : {Case{"utf-8", "\xEF\xBB\xBF\"Title\"\r\n\"M\xC3\xBCller \xE2\x82\xAC\"\r\n", ""},
                          Case{"cp1252", "\"Title\"\r\n\"M\xFCller \x80\"\r\n", ""},
                          Case{"cp850", "\"Title\"\r\n\"M\x81ller ?\"\r\n",
                               "1 value held characters that the chosen character set cannot hold; each of them was "
                               "written as \"?\"."}}) {
        const kvtest::ProcessResult r =
            cli({QStringLiteral("export"), path, out, QStringLiteral("--encoding"), QString::fromLatin1(c.encoding)});
        ASSERT_EQ(r.exitCode, 0) << r.err.constData();
        EXPECT_EQ(kvtest::readFile(out), c.bytes) << c.encoding;
        EXPECT_EQ(r.err.trimmed(), c.err) << c.encoding;
    }
    EXPECT_EQ(cli({QStringLiteral("export"), path, out, QStringLiteral("--encoding"), QStringLiteral("auto")}).exitCode, 2);
}

} // namespace
