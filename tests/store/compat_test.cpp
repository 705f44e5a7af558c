// Tables written by this engine read correctly in other dBASE readers, and tables other
// tools wrote read correctly here.
#include "storetest.h"

#include <QStandardPaths>

using namespace kv;

namespace {
bool have(const char *program) { return !QStandardPaths::findExecutable(QString::fromLatin1(program)).isEmpty(); }

QString writeSample()
{
    const QString path = newCatalogue(QStringLiteral("SAMPLE.DBF"));
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QString::fromUtf8("Amélie – l’œuvre")}, {"Year", QStringLiteral("2001")},
                    {"ListPrice", QStringLiteral("19.99")}, {"PurchDate", QStringLiteral("5/1/02")}},
                   {{"Title", QStringLiteral("Deleted")}},
                   {{"Title", QStringLiteral("Blank")}}});
    t.first();
    t.next();
    t.deleteRecord();
    return path;
}
} // namespace

TEST(Compatibility, DbfreadReadsOurTables)
{
    if (!QFile::exists(QStringLiteral("/usr/bin/python3")))
        GTEST_SKIP() << "no /usr/bin/python3";
    const QString path = writeSample();
    const kvtest::ProcessResult r = kvtest::run(
        QStringLiteral("/usr/bin/python3"),
        {QStringLiteral("-c"),
         QStringLiteral("import sys\n"
                        "from dbfread import DBF\n"
                        "t = DBF(sys.argv[1])\n"
                        "print(t.encoding)\n"
                        "for r in t: print(repr((r['TITLE'], r['YEAR'], r['LISTPRICE'], str(r['PURCHDATE']), r['RUNTIME'])))\n"
                        "print(len(t.deleted))\n"),
         path});
    if (r.err.contains("No module named"))
        GTEST_SKIP() << "python3-dbfread is not installed";
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(QString::fromUtf8(r.out),
              QString::fromUtf8("cp1252\n"
                                "('Amélie – l’œuvre', 2001, 19.99, '2002-05-01', None)\n"
                                "('Blank', None, None, 'None', None)\n"
                                "1\n"));
}

TEST(Compatibility, GdalAndPerlReadOurTables)
{
    const QString path = writeSample();
    if (have("ogrinfo")) {
        const kvtest::ProcessResult r = kvtest::run(QStringLiteral("ogrinfo"), {QStringLiteral("-ro"), QStringLiteral("-al"), QStringLiteral("-q"), path});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QString out = QString::fromUtf8(r.out);
        EXPECT_TRUE(out.contains(QString::fromUtf8("TITLE (String) = Amélie – l’œuvre"))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("YEAR (Integer64) = 2001"))) << out.toStdString();
        EXPECT_TRUE(out.contains(QStringLiteral("LISTPRICE (Real) = 19.99")));
        EXPECT_TRUE(out.contains(QStringLiteral("PURCHDATE (Date) = 2002/05/01")));
        EXPECT_FALSE(out.contains(QStringLiteral("Deleted")));
    }
    if (have("dbf_dump")) {
        const kvtest::ProcessResult r = kvtest::run(QStringLiteral("dbf_dump"), {QStringLiteral("--fs"), QStringLiteral("|"), path});
        ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
        const QList<QByteArray> lines = r.out.trimmed().split('\n');
        ASSERT_EQ(lines.size(), 2);
        EXPECT_TRUE(lines[0].startsWith(encode(QString::fromUtf8("Amélie – l’œuvre")) + "|"));
        EXPECT_TRUE(lines[0].contains("|2001|"));
        EXPECT_TRUE(lines[1].startsWith("Blank|"));
    }
    if (!have("ogrinfo") && !have("dbf_dump"))
        GTEST_SKIP() << "neither GDAL nor Perl XBase is installed";
}

TEST(Compatibility, ReadsTablesOtherToolsWroteInTheirCodePages)
{
    // Written by GDAL (shapelib) from the same text; the 437 and 850 files carry the
    // language-driver bytes dBASE and FoxPro use for those code pages.
    for (const char *name : {"store/gdal_cp1252.dbf", "store/gdal_cp437.dbf", "store/gdal_cp850.dbf"}) {
        Table t;
        t.setPath(kvtest::copyFixture(QString::fromLatin1(name)));
        ASSERT_NO_THROW(t.open()) << name;
        EXPECT_EQ(walk(t, "Title"), QStringList({QString::fromUtf8("Amélie"), QStringLiteral("Das Boot"),
                                                 QString::fromUtf8("Smörgås \"quoted\"")}))
            << name;
        EXPECT_EQ(walk(t, "Year"), QStringList({"2001", "1981", ""})) << name;
        EXPECT_EQ(walk(t, "Price"), QStringList({"19.99", "-5.5", "0.125"})) << name;
        EXPECT_EQ(walk(t, "Bought"), QStringList({"5/1/02", "", "12/31/99"})) << name;
    }
}
