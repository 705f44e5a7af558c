// Several processes writing one catalogue at once, and maintenance runs killed midway.
#include "childprocess.h"
#include "storetest.h"

#include "store/index/mdx.h"

#include <QDir>
#include <QElapsedTimer>
#include <QProcess>
#include <QStandardPaths>
#include <csignal>
#include <functional>
#include <sys/wait.h>
#include <unistd.h>

using namespace kv;
using kvtest::Child;

namespace {

const QString kTag = QStringLiteral("NewIndex");

void say(int out, const QByteArray &line)
{
    const QByteArray l = line + '\n';
    (void)!::write(out, l.constData(), size_t(l.size()));
}

// Every tag of the catalogue's index walked entry by entry against its records, by the
// store's reader and, where it is installed, by Perl's.
void expectIndexAgrees(const QString &path)
{
    Table t;
    t.setPath(path);
    t.setReadOnly(true);
    t.open();
    EXPECT_EQ(t.indexProblem(), QString());
    if (QStandardPaths::findExecutable(QStringLiteral("index_dump")).isEmpty())
        return;
    const kvtest::ProcessResult r =
        kvtest::run(QStringLiteral("index_dump"), {QStringLiteral("-n"), t.mdxPath(), QStringLiteral("NEWINDEX")});
    ASSERT_EQ(r.exitCode, 0) << r.err.toStdString();
    QList<int> recnos;
    for (const QByteArray &line : r.out.split('\n'))
        if (!line.startsWith("Total") && !line.trimmed().isEmpty())
            recnos << line.split(' ').last().trimmed().toInt();
    std::sort(recnos.begin(), recnos.end());
    QList<int> expected;
    for (int n = 1; n <= int(t.physicalCount()); ++n)
        expected << n;
    EXPECT_EQ(recnos, expected);
}

} // namespace

TEST(Sharing, TwoAddLoopsAndADeleteLoopLoseNothing)
{
    const QString path = newCatalogue();
    const int seeds = 40, adds = 120, deletes = 30;
    {
        Table t;
        t.setPath(path);
        t.addIndex(kTag, QStringLiteral("Upper(Left(Title,80))"));
        t.open();
        for (int i = 0; i < seeds; ++i)
            addRecords(t, {{{"Title", QStringLiteral("seed %1").arg(i)}}});
    }
    // One writer keeps the table open, the other opens it for every record, as the
    // command line does; the third deletes the first records (seeds) one by one.
    auto adder = [&](const char *prefix, bool reopen) {
        return [=](int out) {
            Table t;
            t.setPath(path);
            for (int i = 0; i < adds; ++i) {
                if (!t.isOpen())
                    t.open();
                const QString title = QStringLiteral("%1 %2").arg(QLatin1String(prefix)).arg(i);
                try {
                    addRecords(t, {{{"Title", title}}});
                    say(out, title.toLatin1());
                } catch (const DbError &) {
                }
                if (reopen)
                    t.close();
            }
        };
    };
    Child a(adder("a", false)), b(adder("b", true));
    Child d([&](int out) {
        Table t;
        t.setPath(path);
        t.open();
        for (int i = 0; i < deletes; ++i) {
            t.refresh();
            t.moveTo(0);
            t.deleteRecord();
            say(out, "deleted");
        }
    });
    int sa = 0, sb = 0, sd = 0;
    const QList<QByteArray> added = a.finish(&sa).split('\n') + b.finish(&sb).split('\n');
    const QByteArray deleted = d.finish(&sd);
    for (int status : {sa, sb, sd})
        EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0) << "every copy ran to its end";
    EXPECT_EQ(deleted.count("deleted"), deletes);

    QStringList reported;
    for (const QByteArray &line : added)
        if (!line.isEmpty())
            reported << QString::fromLatin1(line);
    EXPECT_EQ(reported.size(), 2 * adds) << "no add fails under sharing";

    Table t;
    t.setPath(path);
    t.open();
    const QByteArray bytes = kvtest::readFile(path);
    const std::uint32_t header = std::uint8_t(bytes[8]) | std::uint8_t(bytes[9]) << 8;
    const std::uint32_t length = std::uint8_t(bytes[10]) | std::uint8_t(bytes[11]) << 8;
    EXPECT_EQ(t.physicalCount(), std::uint32_t(seeds + reported.size())) << "the header counts every record";
    EXPECT_EQ(qint64(bytes.size()), qint64(header + t.physicalCount() * length + 1));
    EXPECT_EQ(t.deletedCount(), std::uint32_t(deletes));
    const QStringList live = column(t, "Title");
    for (const QString &title : reported)
        EXPECT_EQ(live.count(title), 1) << title.toStdString();
    t.close();
    expectIndexAgrees(path);
}

namespace {

// A catalogue of n records with the tag on Title in its own folder; every third record
// deleted. Returns the live titles.
QStringList killFixture(const QString &dir, int n)
{
    QDir().mkpath(dir);
    Table t;
    t.setPath(dir + QStringLiteral("/MASTER.DBF"));
    createMasterTable(t, t.filePath());
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,80))"));
    t.open();
    {
        Table::BulkAppend bulk(t);
        for (int i = 0; i < n; ++i) {
            t.append();
            t.setFieldText(QStringLiteral("Title"), QStringLiteral("title %1").arg((i * 7919) % n));
            t.post();
        }
        bulk.commit();
    }
    for (int row = 0; row < t.recordCount(); row += 2) { // one in three of the original order
        t.moveTo(row);
        t.deleteRecord();
    }
    QStringList live = column(t, "Title");
    live.sort();
    return live;
}

QStringList liveTitles(Table &t)
{
    QStringList live = column(t, "Title");
    live.sort();
    return live;
}

// The catalogue MASTER.DBF of folder from with its index copied into folder to, over
// what is there. Returns the copy's path.
QString copyCatalogue(const QString &from, const QString &to)
{
    QDir().mkpath(to);
    for (const char *name : {"MASTER.DBF", "MASTER.MDX"}) {
        QFile::remove(to + QLatin1Char('/') + QLatin1String(name));
        QFile::copy(from + QLatin1Char('/') + QLatin1String(name), to + QLatin1Char('/') + QLatin1String(name));
    }
    return to + QStringLiteral("/MASTER.DBF");
}

double secondsOf(const std::function<void()> &work)
{
    QElapsedTimer timer;
    timer.start();
    work();
    return double(timer.nsecsElapsed()) / 1e9;
}

} // namespace

// Each run is killed at ten moments spread over its length; the next open finds the
// records as they were (or as the run left them when it had finished) and an index that
// agrees with them, and no temporary file.
TEST(Sharing, MaintenanceKilledMidwayIsRepairedAtTheNextOpen)
{
    const int n = 20000, added = 3000;
    // Renamed: edits put "z" before titles; each record is old or new.
    enum class Adds { None, AllOrNone, OneByOne, Renamed };
    const struct {
        const char *name;
        std::function<void(Table &)> work;
        Adds adds;
    } runs[] = {
        {"pack", [](Table &t) { t.pack(); }, Adds::None},
        {"rebuild", [](Table &t) { t.regenerateIndexes(); }, Adds::None},
        {"sort", [](Table &t) { t.addIndex(kTag, QStringLiteral("Upper(Left(Star1,80))+Upper(Left(Title,80))")); }, Adds::None},
        {"single adds", [](Table &t) {
             t.open();
             for (int i = 0; i < added; ++i) {
                 t.append();
                 t.setFieldText(QStringLiteral("Title"), QStringLiteral("new %1").arg(i));
                 t.post();
             }
         }, Adds::OneByOne},
        {"append", [](Table &t) {
             t.open();
             Table::BulkAppend bulk(t);
             for (int i = 0; i < added; ++i) {
                 t.append();
                 t.setFieldText(QStringLiteral("Title"), QStringLiteral("new %1").arg(i));
                 t.post();
             }
             bulk.commit();
         }, Adds::AllOrNone},
        {"single edits", [](Table &t) {
             t.open(); // each its own change, under the lock, with its keys moved
             for (t.first(); !t.eof(); t.next()) {
                 t.edit();
                 t.setFieldText(QStringLiteral("Title"), QLatin1Char('z') + t.fieldText(QStringLiteral("Title")));
                 t.post();
             }
         }, Adds::Renamed},
        {"batch of changes", [](Table &t) {
             t.open(); // in file order: the keys move in the index, the records stay
             Table::Changes changes(t, 500);
             for (t.first(); !t.eof(); t.next()) {
                 t.edit();
                 t.setFieldText(QStringLiteral("Title"), QLatin1Char('z') + t.fieldText(QStringLiteral("Title")));
                 t.post();
             }
             changes.commit();
         }, Adds::Renamed},
    };
    const QString base = kvtest::tempPath(QStringLiteral("kill"));
    const QStringList live = killFixture(base + QStringLiteral("/fixture"), n);
    // The records before the kill and the first n added ones.
    const auto grown = [&](int n) {
        QStringList titles = live;
        for (int i = 0; i < n; ++i)
            titles << QStringLiteral("new %1").arg(i);
        titles.sort();
        return titles;
    };
    auto copyFixture = [&](const QString &dir) { return copyCatalogue(base + QStringLiteral("/fixture"), dir); };
    for (const auto &run : runs) {
        // How long a whole run takes here, child process and all.
        const QString timed = copyFixture(base + QStringLiteral("/timed"));
        const double whole = secondsOf([&] {
            int status = 0;
            Child([&](int) {
                Table t;
                t.setPath(timed);
                run.work(t);
            }).finish(&status);
        });
        for (int k = 0; k < 10; ++k) {
            const QString dir = base + QStringLiteral("/%1-%2").arg(QLatin1String(run.name)).arg(k);
            const QString path = copyFixture(dir);
            const pid_t pid = ::fork();
            if (pid == 0) {
                Table t;
                t.setPath(path);
                try {
                    run.work(t);
                } catch (...) {
                }
                ::_exit(0);
            }
            ::usleep(useconds_t(whole * 1e6 * (k + 0.5) / 10));
            ::kill(pid, SIGKILL);
            ::waitpid(pid, nullptr, 0);

            Table t;
            t.setPath(path);
            ASSERT_NO_THROW(t.open()) << run.name << " " << k;
            const QStringList now = liveTitles(t);
            const int kept = int(now.size() - live.size());
            if (run.adds == Adds::OneByOne) {
                EXPECT_EQ(now, grown(kept)) << run.name << " killed at " << k;
            } else if (run.adds == Adds::Renamed) {
                QStringList old = now;
                for (QString &title : old)
                    if (title.startsWith(QLatin1Char('z')))
                        title.remove(0, 1);
                old.sort();
                EXPECT_EQ(old, live) << run.name << " killed at " << k;
            } else {
                EXPECT_TRUE(now == live || (run.adds == Adds::AllOrNone && now == grown(added)))
                    << run.name << " killed at " << k << ": " << now.size();
            }
            EXPECT_EQ(t.indexProblem(), QString()) << run.name << " killed at " << k;
            EXPECT_EQ(QDir(dir).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList()) << run.name << " " << k;
        }
    }
}

// Pack killed just before each of its writes, renames and syncs in turn: the files stand
// as a crash at that moment leaves them. The next open, one that only reads as the
// listing does or one that may write, finds every live record and leaves the table no
// longer saying that its index is behind, with every index entry agreeing with its
// record. The moment that matters: the packed table is in place, marked, with the old
// index still beside it, and the listing opens it only to read.
TEST(Sharing, PackKilledAtEachStepIsRepairedByTheNextOpen)
{
    const QString base = kvtest::tempPath(QStringLiteral("packsteps"));
    const QString fixture = base + QStringLiteral("/fixture");
    const QStringList live = killFixture(fixture, 60);
    const struct {
        const char *name;
        bool readOnly;
    } opens[] = {{"an open that only reads", true}, {"an open that may write", false}};
    for (const auto &next : opens) {
        int moments = 0, marked = 0;
        for (int change = 1;; ++change) {
            const QString dir = base + QStringLiteral("/step");
            const QString path = copyCatalogue(fixture, dir);
            const kvtest::Stopped stopped = kvtest::killBeforeChange([&] {
                Table t;
                t.setPath(path);
                t.pack();
            }, change);
            if (stopped == kvtest::Stopped::Untraceable)
                GTEST_SKIP() << "this system lets no process trace its child";
            const std::string where = std::string(next.name) + " after a kill before change " + std::to_string(change);
            const bool mark = kvtest::readFile(path).at(14) != 0;
            {
                Table t;
                t.setPath(path);
                t.setReadOnly(next.readOnly);
                t.setIndexName(kTag);
                ASSERT_NO_THROW(t.open()) << where;
                EXPECT_EQ(column(t, "Title"), live) << where;
                EXPECT_EQ(t.indexProblem(), QString()) << where;
            }
            EXPECT_EQ(kvtest::readFile(path).at(14), '\0') << where;
            EXPECT_EQ(QDir(dir).entryList({QStringLiteral("*.tmp")}, QDir::Files), QStringList()) << where;
            if (mark && marked++ == 0)
                expectIndexAgrees(path); // the first such moment, by Perl's reader too
            if (stopped == kvtest::Stopped::Finished)
                break;
            ++moments;
        }
        // The run was stopped inside the window that the mark guards, not only around it.
        EXPECT_GT(marked, 0) << next.name;
        std::printf("%s: pack killed at %d moments, %d of them with the index marked behind\n", next.name, moments, marked);
    }
}

namespace {

// The catalogue at path with the tag on Title, open, holding "one" and "two".
void openWithTwoTitles(Table &t, const QString &path)
{
    t.setPath(path);
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,80))"));
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("one")}}, {{"Title", QStringLiteral("two")}}});
}

} // namespace

// An add or an edit whose index cannot take its key reports the error and leaves the
// table as it was: a user who tries again gets one record, not two, and no half edit.
// A tree damaged while the table is open is found by the change itself (one found
// damaged at the open is rebuilt first: Index.AWriterRebuildsAnIndexThatDoesNotListItsRecords).
TEST(Sharing, AnAddOrEditThatFailsHasChangedNothing)
{
    const struct {
        const char *name;
        std::function<void(QByteArray &)> damage;
        bool whileOpen; // else before the open, which refuses it
    } cases[] = {
        {"index cut after its tag header", [](QByteArray &mdx) { mdx.truncate(3072); }, false},
        {"root node counting too many keys", [](QByteArray &mdx) {
             const auto *p = reinterpret_cast<const unsigned char *>(mdx.constData() + 2048);
             const qsizetype root = qsizetype(p[0] | p[1] << 8 | p[2] << 16) * 512;
             mdx[root] = '\xFF';
             mdx[root + 1] = '\x7F';
         }, true},
    };
    for (const auto &c : cases) {
        const QString path = newCatalogue();
        {
            Table t;
            openWithTwoTitles(t, path);
        }
        const QString mdxPath = kv::mdxPathFor(path);
        QByteArray mdx = kvtest::readFile(mdxPath);
        c.damage(mdx);
        const QByteArray sound = kvtest::readFile(mdxPath);
        const QByteArray before = kvtest::readFile(path);
        const std::function<void(Table &)> changes[] = {
            [](Table &t) { addRecords(t, {{{"Title", QStringLiteral("three")}}}); },
            [](Table &t) {
                t.first();
                t.edit();
                t.setFieldText(QStringLiteral("Title"), QStringLiteral("uno"));
                t.post();
            },
        };
        for (const auto &change : changes) {
            Table t;
            t.setPath(path);
            kvtest::writeFile(mdxPath, c.whileOpen ? sound : mdx);
            try {
                t.open();
                kvtest::writeFile(mdxPath, mdx);
                change(t);
                ADD_FAILURE() << c.name << ": the change was reported done";
            } catch (const DbError &e) {
                EXPECT_TRUE(e.message().contains(QStringLiteral("damaged"))) << c.name << ": " << e.message().toStdString();
            }
            t.close();
            EXPECT_EQ(kvtest::readFile(path), before) << c.name;
        }
        QFile::remove(path);
        QFile::remove(mdxPath);
    }
}

// A copy of the program that stopped midway leaves the table saying that its index is
// behind. Another copy that had the table open already goes on adding and editing; the
// mark stays until an open rebuilds the index.
TEST(Sharing, AMarkLeftByAStoppedRunStaysUntilTheNextOpenRepairs)
{
    const QString path = newCatalogue();
    Table t;
    openWithTwoTitles(t, path);
    const auto mark = [&] { return kvtest::readFile(path).at(14); };
    {
        QFile f(path);
        ASSERT_TRUE(f.open(QIODevice::ReadWrite));
        ASSERT_TRUE(f.seek(14));
        ASSERT_EQ(f.write("\1", 1), 1);
    }
    addRecords(t, {{{"Title", QStringLiteral("three")}}});
    EXPECT_EQ(mark(), 1) << "after an add";
    t.first();
    t.edit();
    t.setFieldText(QStringLiteral("Title"), QStringLiteral("zero"));
    t.post();
    EXPECT_EQ(mark(), 1) << "after an edit";
    t.close();

    Table again;
    again.setPath(path);
    again.open();
    EXPECT_EQ(mark(), 0);
    EXPECT_EQ(again.indexProblem(), QString());
    EXPECT_EQ(again.recordCount(), 3);
}

// Two copies at the same record delete it one after the other: the second is told, and
// nothing counts it as its delete.
TEST(Sharing, DeletingARecordAnotherCopyDeletedIsReported)
{
    const QString path = newCatalogue();
    Table a, b;
    openWithTwoTitles(a, path);
    b.setPath(path);
    b.open();
    a.first();
    b.first();
    ASSERT_EQ(a.recNo(), b.recNo());
    a.deleteRecord();
    EXPECT_EQ(refusal([&] { b.deleteRecord(); }), QString::fromLatin1(kv::kDeletedByOtherMessage));
    EXPECT_EQ(b.deletedCount(), 1u);
    EXPECT_EQ(walk(b, "Title"), QStringList({"two"}));
    // The copy goes on: its next delete is its own.
    b.first();
    b.deleteRecord();
    EXPECT_EQ(b.deletedCount(), 2u);
    EXPECT_EQ(b.recordCount(), 0);
}
