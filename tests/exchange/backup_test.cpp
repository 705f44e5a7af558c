#include "backuptest.h"

#include "exchange/commands/backuprun.h"
#include "workspacefixture.h"

#include "base/paths.h"
#include "edit/picklists.h"
#include "reports/reportfile.h"

#include <QDateTime>
#include <QStorageInfo>
#include <QTemporaryDir>

using namespace kvtest;
using kv::ExchangeKind;
using kv::ExchangeOutcome;

namespace {

QString msg(const char *caption, const char *text)
{
    return QString::fromLatin1(caption) + QStringLiteral(": ") + QString::fromLatin1(text);
}

const QString kDone = msg("Notice", kv::kBackupDoneMessage);

QByteArray pattern(qint64 size, char seed)
{
    QByteArray bytes(size, '\0');
    for (qint64 i = 0; i < size; ++i)
        bytes[i] = char(seed + i * 7 + i / 4093);
    return bytes;
}

// The open catalogue MY.DBF in the test folder, with its table object open.
struct Open {
    ScriptedPrompt prompt;
    QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")), {QStringLiteral("Alien"), QStringLiteral("Brazil")});
    kv::CataloguePaths paths = kv::CataloguePaths::of(path);
    kv::Table table;
    QString out = folder(QStringLiteral("backup"));
    Open()
    {
        table.setPath(path);
        table.open();
    }
};

} // namespace

TEST(SafeCopy, ReplacesTheTargetWithTheSourceBytesAndReportsProgressToTheEnd)
{
    const QByteArray bytes = pattern(9 << 20, 3); // more than one chunk
    writeFile(tempPath(QStringLiteral("source")), bytes);
    writeFile(tempPath(QStringLiteral("target")), "older and shorter");
    qint64 last = -1, total = 0;
    const auto result = kv::safeCopy(tempPath(QStringLiteral("source")), tempPath(QStringLiteral("target")),
                                     [&](qint64 done, qint64 all) {
                                         EXPECT_GE(done, last);
                                         last = done, total = all;
                                         return true;
                                     });
    EXPECT_EQ(result, kv::CopyResult::Copied);
    EXPECT_EQ(readFile(tempPath(QStringLiteral("target"))), bytes);
    EXPECT_EQ(last, bytes.size());
    EXPECT_EQ(total, bytes.size());
    EXPECT_TRUE(strays(tempPath(QStringLiteral("target"))).isEmpty());
}

TEST(SafeCopy, CopiesAcrossFileSystems)
{
    QTemporaryDir other(QStringLiteral("/dev/shm/kv-backup-XXXXXX"));
    if (!other.isValid() || QStorageInfo(other.path()).device() == QStorageInfo(tempDir()).device())
        GTEST_SKIP() << "no second file system at /dev/shm";
    const QByteArray bytes = pattern(9 << 20, 7);
    writeFile(tempPath(QStringLiteral("source")), bytes);
    const QString target = other.filePath(QStringLiteral("target"));
    EXPECT_EQ(kv::safeCopy(tempPath(QStringLiteral("source")), target), kv::CopyResult::Copied);
    EXPECT_EQ(readFile(target), bytes);
    EXPECT_TRUE(strays(target).isEmpty());
}

TEST(SafeCopy, ACopyThatDoesNotCompleteLeavesTheOldTargetAndNoTemporary)
{
    struct Case {
        const char *name;
        bool sourceExists;
        rlim_t writeLimit; // 0: none
        int continueCalls; // the progress answers true this often, then false
        kv::CopyResult result;
    };
    const Case cases[] = {
        {"disk full halfway", true, 5 << 20, 1000, kv::CopyResult::Failed},
        {"cancelled", true, 0, 0, kv::CopyResult::Cancelled},
        {"source missing", false, 0, 1000, kv::CopyResult::Failed},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const QString source = tempPath(QStringLiteral("source"));
        const QString target = tempPath(QStringLiteral("target"));
        QFile::remove(source);
        if (c.sourceExists)
            writeFile(source, pattern(9 << 20, 5));
        writeFile(target, "the older backup");
        int calls = 0;
        QString error;
        kv::CopyResult result;
        {
            std::optional<WriteLimit> limit;
            if (c.writeLimit)
                limit.emplace(c.writeLimit);
            result = kv::safeCopy(source, target, [&](qint64, qint64) { return calls++ < c.continueCalls; }, &error);
        }
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(result == kv::CopyResult::Failed, !error.isEmpty()) << error.toStdString();
        EXPECT_EQ(readFile(target), QByteArray("the older backup"));
        EXPECT_TRUE(strays(target).isEmpty()) << strays(target).join(QLatin1Char(' ')).toStdString();
    }
}

// A killed copy leaves its temporary; the next copy to that target clears the ones that
// nothing writes any more, and only those.
TEST(SafeCopy, ClearsTheTemporariesOfKilledCopiesToItsTarget)
{
    writeFile(tempPath(QStringLiteral("source")), "new bytes");
    const QString target = tempPath(QStringLiteral("target"));
    const QStringList names = {"target.0123abcd.tmp", "target.fedc4321.tmp", "target.tmp", "other.0123abcd.tmp"};
    for (const QString &name : names) {
        writeFile(tempPath(name), "left");
        if (name != "target.fedc4321.tmp") {
            QFile f(tempPath(name));
            ASSERT_TRUE(f.open(QIODevice::ReadWrite));
            f.setFileTime(QDateTime::currentDateTime().addSecs(-3600), QFileDevice::FileModificationTime);
        }
    }
    ASSERT_EQ(kv::safeCopy(tempPath(QStringLiteral("source")), target), kv::CopyResult::Copied);
    EXPECT_EQ(readFile(target), QByteArray("new bytes"));
    EXPECT_FALSE(QFile::exists(tempPath(QStringLiteral("target.0123abcd.tmp"))));
    for (const char *kept : {"target.fedc4321.tmp", "target.tmp", "other.0123abcd.tmp"})
        EXPECT_TRUE(QFile::exists(tempPath(QString::fromLatin1(kept)))) << kept;
}

TEST(BackupTable, CopiesTheTableAndLeavesItOpenForOthersToo)
{
    Open o;
    EXPECT_EQ(kv::backupTable(o.table, o.paths, o.out, o.prompt), ExchangeOutcome::Completed);
    EXPECT_EQ(o.prompt.messages(), QStringList{kDone});
    EXPECT_EQ(readFile(o.out + QStringLiteral("/MY.DBF")), readFile(o.path));
    EXPECT_FALSE(QFileInfo::exists(o.out + QStringLiteral("/MY.MDX"))) << "the index is rebuilt on restore";
    EXPECT_TRUE(o.table.isOpen());
    EXPECT_FALSE(o.table.exclusive());
    kv::Table other;
    other.setPath(o.path);
    EXPECT_NO_THROW(other.open()) << "exclusive use ends with the copy";
}

TEST(BackupTable, RefusalsLeaveTheOlderCopyAndTheTableAsTheyWere)
{
    struct Case {
        const char *name;
        bool heldByAnother;
        qint64 freeBytes; // -1: the table's size; -2: one byte less
        const char *message;
    };
    const Case cases[] = {
        {"another program holds it", true, -1, kv::kBackupInUseMessage},
        {"one byte short of room, an older copy there", false, -2, kv::kBackupNoRoomMessage},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        Open o;
        writeFile(o.out + QStringLiteral("/MY.DBF"), pattern(QFileInfo(o.path).size(), 1));
        const QByteArray older = readFile(o.out + QStringLiteral("/MY.DBF"));
        kv::Table other;
        if (c.heldByAnother) {
            other.setPath(o.path);
            other.open();
        }
        const qint64 size = QFileInfo(o.path).size();
        const kv::CopyControl control = volumeWithFree(c.freeBytes == -1 ? size : size - 1);
        EXPECT_EQ(kv::backupTable(o.table, o.paths, o.out, o.prompt, control), ExchangeOutcome::Stopped);
        EXPECT_EQ(o.prompt.messages(), QStringList{msg("Error", c.message)});
        EXPECT_EQ(readFile(o.out + QStringLiteral("/MY.DBF")), older);
        EXPECT_TRUE(o.table.isOpen());
        EXPECT_FALSE(o.table.exclusive());
    }
}

TEST(BackupTable, ExactlyEnoughRoomGoesAhead)
{
    Open o;
    const kv::CopyControl control = volumeWithFree(QFileInfo(o.path).size());
    EXPECT_EQ(kv::backupTable(o.table, o.paths, o.out, o.prompt, control), ExchangeOutcome::Completed);
}

TEST(Backup, EachKindRefusesToCopyOntoItsOwnSource)
{
    struct Case {
        ExchangeKind kind;
        const char *message;
    };
    const Case cases[] = {{ExchangeKind::Table, kv::kBackupIdenticalMessage},
                          {ExchangeKind::Lists, kv::kBackupIdenticalMessage},
                          {ExchangeKind::Settings, kv::kBackupIdenticalMessage},
                          {ExchangeKind::Reports, kv::kBackupReportsIdenticalMessage}};
    for (const Case &c : cases) {
        SCOPED_TRACE(int(c.kind));
        Open o;
        writeFile(tempPath(QStringLiteral("MY.001")), "Producer\r\n");
        writeFile(tempPath(QStringLiteral("MY.INI")), "[Misc]\r\n");
        writeFile(kv::programDir() + QStringLiteral("/QVRVID.URP"), "definitions");
        const QString own = c.kind == ExchangeKind::Reports ? kv::programDir() : tempDir();
        const QByteArray table = readFile(o.path);
        EXPECT_EQ(kv::runBackup(c.kind, o.table, o.paths, kv::programDir(), own, o.prompt), ExchangeOutcome::Stopped);
        EXPECT_EQ(o.prompt.messages(), QStringList{msg("Error", c.message)});
        EXPECT_EQ(readFile(o.path), table);
        EXPECT_EQ(readFile(tempPath(QStringLiteral("MY.001"))), QByteArray("Producer\r\n"));
    }
}

TEST(BackupLists, CopiesTheCatalogueListsThatExistUnderTheirNames)
{
    Open o;
    writeFile(tempPath(QStringLiteral("MY.001")), "Producer\r\n");
    writeFile(tempPath(QStringLiteral("my.016")), "Shop\r\n"); // written by another system
    EXPECT_EQ(kv::backupLists(o.paths, o.out, o.prompt), ExchangeOutcome::Completed);
    EXPECT_EQ(o.prompt.messages(), QStringList{kDone});
    EXPECT_EQ(QDir(o.out).entryList(QDir::Files), (QStringList{QStringLiteral("MY.001"), QStringLiteral("MY.016")}));
    EXPECT_EQ(readFile(o.out + QStringLiteral("/MY.016")), QByteArray("Shop\r\n"));
}

TEST(BackupSettings, CopiesTheSettingsFileAndCompletesWithoutOne)
{
    Open o;
    EXPECT_EQ(kv::backupSettings(o.paths, o.out, o.prompt), ExchangeOutcome::Completed);
    EXPECT_TRUE(QDir(o.out).isEmpty());
    writeFile(tempPath(QStringLiteral("MY.INI")), "[Misc]\r\nButton Bar=2\r\n");
    EXPECT_EQ(kv::backupSettings(o.paths, o.out, o.prompt), ExchangeOutcome::Completed);
    EXPECT_EQ(readFile(o.out + QStringLiteral("/MY.INI")), QByteArray("[Misc]\r\nButton Bar=2\r\n"));
    EXPECT_EQ(o.prompt.messages(), (QStringList{kDone, kDone}));
}

TEST(BackupReports, KeepsTheNameAndAsksForRoom)
{
    Open o;
    writeFile(kv::programDir() + QStringLiteral("/QVRVID.URP"), pattern(1000, 9));
    EXPECT_EQ(kv::backupReports(kv::programDir(), o.out, o.prompt, volumeWithFree(999)), ExchangeOutcome::Stopped);
    EXPECT_FALSE(QFileInfo::exists(o.out + QStringLiteral("/QVRVID.URP")));
    EXPECT_EQ(kv::backupReports(kv::programDir(), o.out, o.prompt), ExchangeOutcome::Completed);
    EXPECT_EQ(readFile(o.out + QStringLiteral("/QVRVID.URP")), pattern(1000, 9));
    EXPECT_EQ(o.prompt.messages(), (QStringList{msg("Error", kv::kBackupReportsNoRoomMessage), kDone}));
}

namespace {

// The open program: its workspace on MY.DBF.
struct OpenProgram : WorkspaceFixture {
    QString path = catalogueOf(tempPath(QStringLiteral("MY.DBF")),
                               {QStringLiteral("Alien"), QStringLiteral("Brazil"), QStringLiteral("Amadeus")});
    QString out = folder(QStringLiteral("backup"));
    OpenProgram()
    {
        workspace.setPaths(kv::CataloguePaths::of(path));
        workspace.master().setPath(path);
        EXPECT_TRUE(workspace.openMaster());
    }
};

} // namespace

TEST(BackUpInTheProgram, ATableBackupWhileSearchingKeepsTheSearchAndItsResult)
{
    OpenProgram p;
    p.workspace.search().start(
        [](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")).startsWith(QLatin1Char('A')); });
    ASSERT_EQ(p.workspace.recordCount(), 2);
    EXPECT_EQ(kv::backUp(p.workspace, ExchangeKind::Table, p.out), ExchangeOutcome::Completed);
    EXPECT_TRUE(p.workspace.search().isOn());
    EXPECT_EQ(p.workspace.recordCount(), 2);
    EXPECT_EQ(titlesOf(p.out + QStringLiteral("/MY.DBF")).size(), 3) << "the whole catalogue is copied";
}

TEST(BackUpInTheProgram, ListsAndSettingsAreWrittenBeforeTheyAreCopied)
{
    OpenProgram p;
    p.workspace.pickLists().list(1).setEntries({QStringLiteral("Typed just now")});
    p.settings.field(kv::fields::Title).caption = QStringLiteral("Film");
    EXPECT_EQ(kv::backUp(p.workspace, ExchangeKind::Lists, p.out), ExchangeOutcome::Completed);
    EXPECT_EQ(readFile(p.out + QStringLiteral("/MY.001")), QByteArray("Typed just now\r\n"));
    EXPECT_EQ(kv::backUp(p.workspace, ExchangeKind::Settings, p.out), ExchangeOutcome::Completed);
    kv::Settings copied;
    kv::readSettings(p.out + QStringLiteral("/MY.INI"), kv::SettingsScope::Catalogue, copied);
    EXPECT_EQ(copied.field(kv::fields::Title).caption, QStringLiteral("Film"));
}
