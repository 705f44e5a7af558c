// A backup and a restore killed at random moments: the file they replace is afterwards
// either the older one, whole, or the new one, whole. The catalogue is small for the
// suite; KV_CRASH_MB and KV_CRASH_KILLS set its size and the number of kills for a run
// by hand (200 MB, as the program must survive it).
#include "backuptest.h"

#include "base/paths.h"

#include <QElapsedTimer>
#include <QProcess>
#include <QRandomGenerator>
#include <QThread>

using namespace kvtest;

namespace {

int setting(const char *name, int fallback)
{
    bool ok = false;
    const int value = qEnvironmentVariableIntValue(name, &ok);
    return ok && value > 0 ? value : fallback;
}

// A catalogue of about megabytes MB, every record titled after tag.
QString bigCatalogue(const QString &path, int megabytes, const char *tag)
{
    kv::Table t;
    kv::createMasterTable(t, path);
    t.setPath(path);
    t.open();
    const qint64 records = qint64(megabytes) * 1024 * 1024 / qMax<qint64>(1, t.fieldLayouts().back().offset + t.fieldLayouts().back().width);
    {
        kv::Table::BulkAppend bulk(t);
        for (qint64 i = 0; i < records; ++i) {
            t.append();
            t.setFieldText(QStringLiteral("Title"), QStringLiteral("%1 %2").arg(QLatin1String(tag)).arg(i));
            t.post();
        }
        bulk.commit();
    }
    return path;
}

enum class Found { Old, New, Mixed };

// The production-index flag (byte 28) of a restored table is set by its own index.
Found compare(const QByteArray &now, const QByteArray &older, const QByteArray &newer, bool restored)
{
    if (now == older)
        return Found::Old;
    if (now.size() != newer.size())
        return Found::Mixed;
    for (qsizetype i = 0; i < now.size(); ++i) {
        if (now[i] != newer[i] && !(restored && i == 28))
            return Found::Mixed;
    }
    return Found::New;
}

// Runs the command until it ends; its duration in milliseconds.
qint64 timeOf(const QStringList &args)
{
    QElapsedTimer clock;
    clock.start();
    const ProcessResult r = runCli(args);
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    return clock.elapsed();
}

// Kills the command at random moments in its run; counts what the target was after each.
void killAtRandom(const QStringList &args, const QString &target, const QByteArray &older, const QByteArray &newer,
                  bool restored)
{
    const qint64 full = timeOf(args);
    const int kills = setting("KV_CRASH_KILLS", 4);
    int olds = 0, news = 0;
    for (int k = 0; k < kills; ++k) {
        writeFile(target, older);
        QFile::remove(kv::mdxPathFor(target));
        QProcess child;
        child.start(QStringLiteral(KV_CLI), args);
        ASSERT_TRUE(child.waitForStarted());
        QThread::msleep(QRandomGenerator::global()->bounded(quint32(full + full / 5 + 1)));
        child.kill(); // SIGKILL
        child.waitForFinished();
        const Found found = compare(readFile(target), older, newer, restored);
        ASSERT_NE(found, Found::Mixed) << "after kill " << k;
        (found == Found::Old ? olds : news)++;
        // What a killed copy leaves beside the target is its temporary, nothing else.
        for (const QString &stray : strays(target)) {
            EXPECT_TRUE(stray.endsWith(QStringLiteral(".tmp"))) << stray.toStdString();
            QFile::remove(QFileInfo(target).absolutePath() + QLatin1Char('/') + stray);
        }
    }
    std::printf("%.0f MB copied in %lld ms a run, %d kills: %d left the older file, %d the new one\n",
                double(newer.size()) / (1 << 20), full, kills, olds, news);
}

} // namespace

TEST(CrashSafety, ABackupKilledAnywhereLeavesTheOlderCopyOrTheNewOne)
{
    const int mb = setting("KV_CRASH_MB", 8);
    const QString source = bigCatalogue(folder(QStringLiteral("live")) + QStringLiteral("/MY.DBF"), mb, "new");
    const QString older = bigCatalogue(tempPath(QStringLiteral("OLD.DBF")), mb / 2 + 1, "old");
    const QString out = folder(QStringLiteral("backup"));
    killAtRandom({QStringLiteral("backup"), source, QStringLiteral("table"), out}, out + QStringLiteral("/MY.DBF"),
                 readFile(older), readFile(source), false);
}

TEST(CrashSafety, ARestoreKilledAnywhereLeavesTheOlderCatalogueOrTheNewOne)
{
    const int mb = setting("KV_CRASH_MB", 8);
    const QString source = bigCatalogue(folder(QStringLiteral("backup")) + QStringLiteral("/MY.DBF"), mb, "new");
    const QString open = bigCatalogue(kv::programDir() + QStringLiteral("/MY.DBF"), mb / 2 + 1, "old");
    const QByteArray older = readFile(open);
    killAtRandom({QStringLiteral("restore"), open, QStringLiteral("table"), source}, open, older, readFile(source), true);
}
