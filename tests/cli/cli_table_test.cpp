// kestrova-cli's table commands, run as a user would run them.
#include "base/codepage.h"
#include "store/mastertable.h"
#include "clitest.h"
#include "testenv.h"

#include <QDir>
#include <QFile>
#include <gtest/gtest.h>

using kvtest::runCli;


TEST(Cli, CatalogueLifeCycle)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    EXPECT_EQ(runCli({"new", db}).exitCode, 0);
    kvtest::ProcessResult r = runCli({"check", db});
    EXPECT_EQ(r.exitCode, 0);
    EXPECT_TRUE(r.out.isEmpty() && r.err.isEmpty());

    EXPECT_EQ(runCli({"add", db, "Title=Zorro", "Year=1975"}).exitCode, 0);
    EXPECT_EQ(runCli({"add", db, QString::fromUtf8("Title=Amélie \"Le\" film"), "PurchDate=5/1/02", "ListPrice=19.99"}).exitCode, 0);
    EXPECT_EQ(runCli({"add", db, "Title=Brazil"}).exitCode, 0);

    r = runCli({"list", db});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QList<QByteArray> lines = r.out.split('\n');
    ASSERT_EQ(lines.size(), 4); // three records and the empty rest after the last CRLF
    const QByteArray amelie = lines[1];
    EXPECT_TRUE(amelie.startsWith("\"" + kv::encode(QString::fromUtf8("Amélie \"\"Le\"\" film")) + "\",\"\","));
    EXPECT_EQ(amelie.count("\",\""), 39); // 40 values
    EXPECT_TRUE(amelie.contains("\"19.99\""));
    EXPECT_TRUE(amelie.contains("\"5/1/02\""));

    // The index gives the order; --physical ignores it.
    r = runCli({"index", db, "Upper(Left(Title,80))"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(titles(runCli({"list", db}).out), QStringList({QString::fromUtf8("Amélie \"Le\" film"), "Brazil", "Zorro"}));
    EXPECT_EQ(titles(runCli({"list", db, "--physical"}).out),
              QStringList({"Zorro", QString::fromUtf8("Amélie \"Le\" film"), "Brazil"}));

    EXPECT_EQ(runCli({"delete", db, "2"}).exitCode, 0); // Brazil, the second in index order
    EXPECT_EQ(titles(runCli({"list", db}).out), QStringList({QString::fromUtf8("Amélie \"Le\" film"), "Zorro"}));
    r = runCli({"info", db});
    EXPECT_TRUE(r.out.contains("Records: 3\n")) << r.out.toStdString();
    EXPECT_TRUE(r.out.contains("Deleted: 1\n"));
    EXPECT_TRUE(r.out.contains("NEWINDEX   Upper(Left(Title,80))"));
    EXPECT_TRUE(r.out.contains("YEAR       N 11 0"));

    EXPECT_EQ(runCli({"pack", db}).exitCode, 0);
    EXPECT_EQ(runCli({"reindex", db}).exitCode, 0);
    r = runCli({"info", db});
    EXPECT_TRUE(r.out.contains("Records: 2\n"));
    EXPECT_EQ(runCli({"index", db, "--none"}).exitCode, 0);
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("VIDEOS.MDX"))));
    EXPECT_EQ(titles(runCli({"list", db}).out), QStringList({"Zorro", QString::fromUtf8("Amélie \"Le\" film")}));
}

TEST(Cli, RefusalsAndUsageErrors)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    struct Case {
        QStringList args;
        int exitCode;
        QString message; // part of standard error
    } cases[] = {
        {{}, 2, "Usage: kestrova-cli COMMAND"},
        {{"frobnicate"}, 2, "Unknown command \"frobnicate\"."},
        {{"list"}, 2, "Usage: kestrova-cli list"},
        {{"add", db, "Title"}, 2, "\"Title\" is not Field=Value."},
        {{"delete", db, "zero"}, 2, "Usage: kestrova-cli delete"},
        {{"add", db, "Year=1e12"}, 1, "does not fit the field YEAR"},
        {{"add", db, "Nope=1"}, 1, "Field \"Nope\" not found"},
        {{"delete", db, "1"}, 1, "There is no record 1"},
        {{"index", db, "Lower(Title)"}, 1, "the function Lower is not supported"},
        {{"list", kvtest::tempPath(QStringLiteral("MISSING.DBF"))}, 1, "does not exist"},
    };
    for (const Case &c : cases) {
        const kvtest::ProcessResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(QString::fromLocal8Bit(r.err).contains(c.message)) << r.err.toStdString();
    }
    // A dBASE table that is not a catalogue.
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("OTHER.DBF")), kvtest::readFile(kvtest::fixture(QStringLiteral("store/gdal_cp1252.dbf"))));
    const kvtest::ProcessResult r = runCli({"check", kvtest::tempPath(QStringLiteral("OTHER.DBF"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QString::fromLatin1(kv::kNotCatalogueMessage));
}

TEST(Cli, CheckClearsTheIndexFlagWhenTheIndexHasGone)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    ASSERT_EQ(runCli({"index", db, "DTOS(PurchDate)"}).exitCode, 0);
    EXPECT_EQ(kvtest::readFile(db)[28], '\x01');
    QFile::remove(kvtest::tempPath(QStringLiteral("VIDEOS.MDX")));
    EXPECT_EQ(runCli({"check", db}).exitCode, 0);
    EXPECT_EQ(kvtest::readFile(db)[28], '\x00');
}

TEST(Cli, DatesFollowTheProgramSettings)
{
    const QString config = qEnvironmentVariable("XDG_CONFIG_HOME") + QStringLiteral("/kestrova-videos");
    QDir().mkpath(config);
    kvtest::writeFile(config + QStringLiteral("/QVRVID.INI"), "[Misc]\r\nDate Format=11\r\nDate Leading Zeros=Yes\r\n");
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    ASSERT_EQ(runCli({"add", db, "PurchDate=5-3-1997"}).exitCode, 0);
    EXPECT_TRUE(runCli({"list", db}).out.contains("\"05-03-1997\""));
    EXPECT_EQ(runCli({"add", db, "PurchDate=3/5/97"}).exitCode, 1);
}
