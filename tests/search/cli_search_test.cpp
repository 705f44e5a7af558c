// kestrova-cli search: the records that pass, listed as `list` lists them, and the refusals.
#include "cli/clitest.h"
#include "testenv.h"

#include <gtest/gtest.h>

namespace {

using kvtest::runCli;

QString catalogue()
{
    const QString db = kvtest::tempPath(QStringLiteral("SEARCH.DBF"));
    EXPECT_EQ(runCli({"new", db}).exitCode, 0);
    for (const char *rec : {"Title=Zorro|Year=1975|Star2=Anthony Hopkins", "Title=Amélie|Year=2001",
                            "Title=Brazil|Year=1985|Star5=Robert De Niro", "Title=Heat|Year=1995|Star1=Robert De Niro"})
        EXPECT_EQ(runCli(QStringList{"add", db} + QString::fromUtf8(rec).split('|')).exitCode, 0);
    EXPECT_EQ(runCli({"index", db, "Upper(Left(Title,80))"}).exitCode, 0);
    return db;
}

TEST(CliSearch, ListsThePassingRecordsInTheSortOrderAsListDoes)
{
    const QString db = catalogue();
    const kvtest::ProcessResult r = runCli({"search", db, "star4=robert", "--or", "YEAR<1980"});
    ASSERT_EQ(r.exitCode, 0) << r.err.constData();
    EXPECT_EQ(titles(r.out), QStringList({"Brazil", "Heat", "Zorro"}));
    const QByteArray all = runCli({"list", db}).out;
    const QList<QByteArray> lines = all.split('\n');
    EXPECT_EQ(r.out, lines[1] + '\n' + lines[2] + '\n' + lines[3] + '\n') << "the lines of list, unchanged";
    EXPECT_TRUE(runCli({"search", db, "Title=AMÉ", "--utf8"}).out.startsWith("\"Amélie\""));
}

TEST(CliSearch, RefusalsGoToStandardErrorInTheProgramsWords)
{
    const QString db = catalogue();
    const struct {
        QStringList args;
        int exitCode;
        const char *message;
    } cases[] = {
        {{"Title=Nothing"}, 1, "No valid matches found.  Search Criteria will be cleared."},
        {{"Year>1980<"}, 1, "Invalid search criteria entered.  Please correct."},
        {{"Title=Heat", "--or"}, 1, "No search criteria entered."},
        {{"Colour=red"}, 2, nullptr},
        {{}, 2, nullptr},
    };
    for (const auto &c : cases) {
        const kvtest::ProcessResult r = runCli(QStringList{"search", db} + c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << c.args.join(' ').toStdString();
        EXPECT_TRUE(r.out.isEmpty());
        if (c.message)
            EXPECT_EQ(QString::fromLocal8Bit(r.err).trimmed(), QString::fromLatin1(c.message));
        else
            EXPECT_TRUE(r.err.contains("Usage: kestrova-cli search")) << r.err.constData();
    }
}

} // namespace
