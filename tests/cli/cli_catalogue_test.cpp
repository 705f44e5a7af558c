// kestrova-cli's sort and convert commands, and list in a catalogue's sort order.
#include "clitest.h"
#include "testenv.h"

#include "app/settings/profilefile.h"
#include "store/catalogue.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QFile>
#include <gtest/gtest.h>

using kvtest::runCli;

namespace {

QString catalogue(const QStringList &titles)
{
    const QString db = kvtest::tempPath(QStringLiteral("VIDEOS.DBF"));
    EXPECT_EQ(runCli({"new", db}).exitCode, 0);
    int year = 2000;
    for (const QString &t : titles)
        EXPECT_EQ(runCli({"add", db, QStringLiteral("Title=") + t, QStringLiteral("Year=%1").arg(year--)}).exitCode, 0);
    return db;
}

} // namespace

TEST(CliCatalogue, SortSetsTheLevelsAndListFollowsThem)
{
    const QString db = catalogue({QStringLiteral("b"), QStringLiteral("c"), QStringLiteral("a")});
    const QString ini = kvtest::tempPath(QStringLiteral("VIDEOS.INI"));

    kvtest::ProcessResult r = runCli({"sort", db, "1"});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(kv::ProfileFile::read(ini).value(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort")),
              QStringLiteral("1"));
    EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"a", "b", "c"}));

    ASSERT_EQ(runCli({"sort", db, "0", "0", "0", "11"}).exitCode, 0);
    EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"a", "c", "b"})) << "by year";

    // The settings file changed by hand: list brings the tag up to date.
    kv::ProfileFile f = kv::ProfileFile::read(ini);
    f.setValue(QStringLiteral("Sort Order"), QStringLiteral("Fourth Level Sort"), QStringLiteral("0"));
    f.setValue(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort"), QStringLiteral("1"));
    ASSERT_TRUE(f.write(ini));
    EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"a", "b", "c"}));

    ASSERT_EQ(runCli({"sort", db, "0"}).exitCode, 0);
    EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"b", "c", "a"})) << "physical order";
}

TEST(CliCatalogue, SortIsRefusedWhileAnotherProgramHoldsTheCatalogue)
{
    const QString db = catalogue({QStringLiteral("b"), QStringLiteral("a")});
    ASSERT_EQ(runCli({"sort", db, "1"}).exitCode, 0);
    const QByteArray mdx = kvtest::readFile(kv::mdxPathFor(db));
    kv::Table holder;
    holder.setPath(db);
    holder.open();
    kvtest::ProcessResult r = runCli({"sort", db, "11"});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QString::fromLatin1(kv::kSortInUseMessage));
    EXPECT_EQ(kvtest::readFile(kv::mdxPathFor(db)), mdx);
    EXPECT_EQ(kv::ProfileFile::read(kvtest::tempPath(QStringLiteral("VIDEOS.INI")))
                  .value(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort")),
              QStringLiteral("1"));

    EXPECT_EQ(runCli({"sort", db, "41"}).exitCode, 2);
    EXPECT_EQ(runCli({"sort", db}).exitCode, 2);
}

TEST(CliCatalogue, ConvertAppendsOlderCataloguesAndRefusesOtherFiles)
{
    const QString db = catalogue({QStringLiteral("Existing")});
    const QString v2 = kvtest::copyFixture(QStringLiteral("store/V2LOG.DBF"));
    const QString v1 = kvtest::copyFixture(QStringLiteral("store/VLOG.DBF"));
    kvtest::ProcessResult r = runCli({"convert", v2, db});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    EXPECT_EQ(r.out.trimmed(), QByteArray("3 records converted."));
    ASSERT_EQ(runCli({"convert", v1, db}).exitCode, 0);
    EXPECT_EQ(titles(runCli({"list", db, "--physical"}).out),
              (QStringList{"Existing", "Casablanca", "Vertigo", QString::fromUtf8("Café Society"), "The Third Man",
                           "Rear Window", "Notorious"}));
    EXPECT_TRUE(QFile::exists(v2)) << "the command leaves the old file alone";

    r = runCli({"convert", db, db});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_TRUE(r.err.contains("is not a catalogue of version 1.x or 2.x")) << r.err.toStdString();
    r = runCli({"convert", v1, v2});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QString::fromLatin1(kv::kNotCatalogueMessage));
}

TEST(CliCatalogue, NewPackAndReindexRefuseACatalogueInUseInTheProgramsWords)
{
    const QString db = catalogue({QStringLiteral("a"), QStringLiteral("b")});
    ASSERT_EQ(runCli({"delete", db, "1"}).exitCode, 0);
    const QByteArray before = kvtest::readFile(db);
    {
        kv::Table other; // another program holding the catalogue
        other.setPath(db);
        other.open();
        const struct {
            const char *command;
            QString message;
        } cases[] = {{"new", kv::newTableInUseMessage(db)},
                     {"pack", QString::fromLatin1(kv::kPackFailedMessage)},
                     {"reindex", QString::fromLatin1(kv::kReindexFailedMessage)}};
        for (const auto &c : cases) {
            const kvtest::ProcessResult r = runCli({c.command, db});
            EXPECT_EQ(r.exitCode, 1) << c.command;
            EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), c.message) << c.command;
        }
    }
    EXPECT_EQ(kvtest::readFile(db), before);
    EXPECT_EQ(runCli({"pack", db}).exitCode, 0);
    EXPECT_EQ(titles(runCli({"list", db, "--physical"}).out), QStringList{QStringLiteral("b")});

    const kvtest::ProcessResult r = runCli({"new", kvtest::tempPath(QStringLiteral("VIDEOS.TXT"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QStringLiteral("Invalid file type selected."));
}

TEST(CliCatalogue, ACataloguesSettingsAreFoundByItsNameUpToTheFirstPeriod)
{
    const QString db = kvtest::tempPath(QStringLiteral("my.cat.DBF"));
    ASSERT_EQ(runCli({"new", db}).exitCode, 0);
    ASSERT_EQ(runCli({"add", db, "Title=a", "Star1=z"}).exitCode, 0);
    ASSERT_EQ(runCli({"add", db, "Title=b", "Star1=y"}).exitCode, 0);
    kv::ProfileFile ini;
    ini.setValue(QStringLiteral("Sort Order"), QStringLiteral("Primary Sort"), QStringLiteral("1"));
    ASSERT_TRUE(ini.write(kvtest::tempPath(QStringLiteral("my.INI"))));
    EXPECT_EQ(titles(runCli({"list", db}).out), (QStringList{"a", "b"})) << "by title, as my.INI says";
    EXPECT_TRUE(runCli({"settings", db}).out.contains("Primary Sort=1"));
}

TEST(CliCatalogue, ListingsFollowTheLocaleUnlessAFlagChooses)
{
    const QString db = catalogue({QString::fromUtf8("Amélie")});
    const QByteArray cp1252 = "\"Am\xe9lie\",", utf8 = "\"Am\xc3\xa9lie\",";
    const struct {
        QByteArray locale;
        QStringList flags;
        QByteArray starts;
    } cases[] = {
        {"C", {}, cp1252},
        {"C.UTF-8", {}, utf8},
        {"de_DE.utf8@euro", {}, utf8},
        {"en_US.ISO-8859-1", {}, cp1252},
        {"C", {"--utf8"}, utf8},
        {"C.UTF-8", {"--cp1252"}, cp1252},
    };
    for (const auto &c : cases) {
        const QString what = QString::fromLatin1(c.locale) + QLatin1Char(' ') + c.flags.join(QLatin1Char(' '));
        const QByteArray listed = runCli(QStringList{"list", db} + c.flags, c.locale).out;
        EXPECT_TRUE(listed.startsWith(c.starts)) << what.toStdString() << ": " << listed.left(20).toStdString();
        EXPECT_TRUE(listed.endsWith("\r\n")) << what.toStdString();
        const QByteArray found = runCli(QStringList{"search", db, "Title=Am"} + c.flags, c.locale).out;
        EXPECT_TRUE(found.startsWith(c.starts)) << what.toStdString() << ": " << found.left(20).toStdString();
    }
    EXPECT_EQ(runCli({"list", db, "--utf8", "--cp1252"}).exitCode, 2);
}
