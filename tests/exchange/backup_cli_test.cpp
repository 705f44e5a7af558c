#include "backuptest.h"

#include "base/paths.h"
#include "exchange/restore.h"

using namespace kvtest;

namespace {

QByteArray line(const char *text) { return QByteArray(text) + '\n'; }

} // namespace

TEST(CliBackup, CopiesOrRefusesWithTheProgramsWords)
{
    const QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien")});
    const QString out = folder(QStringLiteral("backup"));
    struct Case {
        QStringList args;
        int exitCode;
        QByteArray err;
    };
    const Case cases[] = {
        {{QStringLiteral("backup"), path, QStringLiteral("table"), out}, 0, line(kv::kBackupDoneMessage)},
        {{QStringLiteral("backup"), path, QStringLiteral("table"), tempDir()}, 1, line(kv::kBackupIdenticalMessage)},
        {{QStringLiteral("backup"), path, QStringLiteral("reports"), kv::programDir()}, 1,
         line(kv::kBackupReportsIdenticalMessage)},
        {{QStringLiteral("backup"), path, QStringLiteral("everything"), out}, 2, {}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        const ProcessResult r = runCli(c.args);
        EXPECT_EQ(r.exitCode, c.exitCode) << r.err.toStdString();
        if (c.exitCode != 2) {
            EXPECT_EQ(r.err, c.err);
        }
    }
    EXPECT_EQ(readFile(out + QStringLiteral("/MY.DBF")), readFile(path));
}

TEST(CliBackup, ATableInUseIsRefused)
{
    const QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien")});
    kv::Table holder;
    holder.setPath(path);
    holder.open();
    const ProcessResult r = runCli({QStringLiteral("backup"), path, QStringLiteral("table"), folder(QStringLiteral("b"))});
    EXPECT_EQ(r.exitCode, 1);
    EXPECT_EQ(r.err, line(kv::kBackupInUseMessage));
}

TEST(CliRestore, PrintsEachFileWrittenAndWarnsAboutMissingLists)
{
    const QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien")});
    const QString out = folder(QStringLiteral("backup"));
    writeFile(out + QStringLiteral("/MY.001"), "Producer\r\n");
    writeFile(out + QStringLiteral("/MY.016"), "Shop\r\n");
    const ProcessResult r = runCli({QStringLiteral("restore"), path, QStringLiteral("lists"), out + QStringLiteral("/MY.001")});
    EXPECT_EQ(r.exitCode, 0);
    const QString program = kv::programDir();
    EXPECT_EQ(QString::fromUtf8(r.out), program + QStringLiteral("/MY.001\n") + program + QStringLiteral("/MY.016\n"));
    const QList<QByteArray> err = r.err.split('\n');
    ASSERT_EQ(err.size(), 15); // 13 warnings, the notice, the empty rest
    EXPECT_EQ(err.front(), kv::restoreMissingMessage(QStringLiteral("MY.002")).toUtf8());
    EXPECT_EQ(err[13], QByteArray(kv::kListsMissingMessage));
    EXPECT_EQ(readFile(program + QStringLiteral("/MY.016")), QByteArray("Shop\r\n"));
}

TEST(CliRestore, ATableBecomesACatalogueInTheProgramFolderWithItsIndex)
{
    const QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien")});
    const QString source =
        catalogueOf(folder(QStringLiteral("backup")) + QStringLiteral("/FILMS.DBF"), {QStringLiteral("Zelig"), QStringLiteral("Alien")});
    const ProcessResult r = runCli({QStringLiteral("restore"), path, QStringLiteral("table"), source});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    const QString restored = kv::programDir() + QStringLiteral("/FILMS.DBF");
    EXPECT_EQ(QString::fromUtf8(r.out), restored + QLatin1Char('\n'));
    EXPECT_EQ(r.err, line(kv::kRestoreDoneMessage));
    kv::Table t;
    t.setPath(restored);
    t.setIndexName(QStringLiteral("NewIndex"));
    t.open();
    EXPECT_EQ(walk(t, "Star1").size(), 2);
}
