// Batches of changes to existing records: the same file as changing them one by one,
// other writers between chunks, and a failure midway.
#include "storetest.h"

#include "store/dbf/companion.h"
#include "store/dbf/osfile.h"

#include <QDir>

using namespace kv;

namespace {

const QString kTag = QStringLiteral("NewIndex");

// An indexed catalogue in its own folder, open in the tag's order.
QString indexedCatalogue(const QString &folder)
{
    QDir().mkpath(kvtest::tempPath(folder));
    const QString path = kvtest::tempPath(folder + QStringLiteral("/MASTER.DBF"));
    Table t;
    createMasterTable(t, path);
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,80))"));
    t.open();
    for (const char *title : {"delta", "alpha", "echo", "charlie", "bravo", "golf", "foxtrot", "hotel"})
        addRecords(t, {{{"Title", QString::fromLatin1(title)}, {"Year", QStringLiteral("1990")}}});
    return path;
}

void open(Table &t, const QString &path)
{
    t.setPath(path);
    t.setIndexName(kTag);
    t.open();
}

struct Change {
    const char *title, *field, *value; // value null: the record is deleted
};

void apply(Table &t, const Change &c)
{
    ASSERT_TRUE(t.locate(QStringLiteral("Title"), QString::fromLatin1(c.title), Table::Match::Exact, false, true)) << c.title;
    if (!c.value) {
        t.deleteRecord();
        return;
    }
    t.edit();
    t.setFieldText(QString::fromLatin1(c.field), QString::fromLatin1(c.value));
    t.post();
}

bool writeLockFree(const QString &path)
{
    OsFile probe;
    if (!probe.open(path, true) || !probe.tryLockWrites())
        return false;
    probe.unlockWrites();
    return true;
}

} // namespace

// Keys that move (to the front, the back, onto an equal key), fields outside the key,
// a delete and a record changed twice: byte for byte the table and index that posting
// each change alone gives, and one notice for the viewer.
TEST(TableBatch, GivesTheSameFilesAsChangingOneByOne)
{
    const Change changes[] = {
        {"delta", "Title", "zulu"},   {"alpha", "Year", "2001"},     {"echo", "Title", "aaron"},
        {"charlie", "Title", "golf"}, {"bravo", nullptr, nullptr},   {"foxtrot", "Star1", "someone"},
        {"zulu", "Title", "mike"},    {"hotel", "Title", "hotel"},
    };
    const QString one = indexedCatalogue(QStringLiteral("one")), batch = indexedCatalogue(QStringLiteral("batch"));
    {
        Table t;
        open(t, one);
        for (const Change &c : changes)
            apply(t, c);
    }
    Table t;
    open(t, batch);
    int notices = 0;
    QObject::connect(&t, &Table::dataChanged, [&] { ++notices; });
    {
        Table::Changes scope(t, 3);
        for (const Change &c : changes)
            apply(t, c);
        EXPECT_EQ(notices, 0);
        scope.commit();
    }
    EXPECT_EQ(notices, 1);
    EXPECT_EQ(column(t, "Title"), (QStringList{"aaron", "alpha", "foxtrot", "golf", "golf", "hotel", "mike"}));
    EXPECT_EQ(t.indexProblem(), QString());
    t.close();
    EXPECT_EQ(kvtest::readFile(batch), kvtest::readFile(one));
    EXPECT_EQ(kvtest::readFile(mdxPathFor(batch)), kvtest::readFile(mdxPathFor(one)));
}

// The lock is held through a chunk and let go between chunks; what another writer did
// meanwhile (a field of a record we change next, a record added with its key) is kept.
TEST(TableBatch, AnotherWriterBetweenChunksIsSeen)
{
    const QString path = indexedCatalogue(QStringLiteral("two"));
    Table a, b;
    open(a, path);
    open(b, path);
    Table::Changes scope(a, 2);
    apply(a, {"alpha", "Title", "able"});
    EXPECT_FALSE(writeLockFree(path)) << "within a chunk";
    apply(a, {"bravo", "Title", "baker"});
    ASSERT_TRUE(writeLockFree(path)) << "between chunks";

    apply(b, {"charlie", "Year", "2002"});
    addRecords(b, {{{"Title", QStringLiteral("added")}}});
    apply(a, {"charlie", "Title", "cast"});
    scope.commit();
    EXPECT_TRUE(writeLockFree(path));

    a.refresh();
    EXPECT_EQ(a.physicalCount(), 9u);
    ASSERT_TRUE(a.locate(QStringLiteral("Title"), QStringLiteral("cast"), Table::Match::Exact, false, true));
    EXPECT_EQ(a.fieldText(QStringLiteral("Year")), QStringLiteral("2002"));
    EXPECT_EQ(column(a, "Title"),
              (QStringList{"able", "added", "baker", "cast", "delta", "echo", "foxtrot", "golf", "hotel"}));
    EXPECT_EQ(a.indexProblem(), QString());
}

// The index fails under a change midway: the change that failed is not kept, the ones
// before it are, the table says that its index is behind, and the next open writes the
// index again.
TEST(TableBatch, AFailureMidwayLeavesRecordsWholeAndTheIndexRepairedAtTheNextOpen)
{
    const QString path = indexedCatalogue(QStringLiteral("fail"));
    const QString mdx = mdxPathFor(path);
    {
        Table t;
        open(t, path);
        t.setIndexName(QString()); // file order
        Table::Changes scope(t, 2);
        int done = 0;
        try {
            for (t.first(); !t.eof(); t.next(), ++done) {
                if (done == 3) { // the root node now counts too many keys
                    QByteArray bytes = kvtest::readFile(mdx);
                    const auto *p = reinterpret_cast<const unsigned char *>(bytes.constData() + 2048);
                    const qsizetype root = qsizetype(p[0] | p[1] << 8 | p[2] << 16) * 512;
                    bytes[root] = '\xFF';
                    bytes[root + 1] = '\x7F';
                    kvtest::writeFile(mdx, bytes);
                }
                t.edit();
                t.setFieldText(QStringLiteral("Title"), QLatin1Char('x') + t.fieldText(QStringLiteral("Title")));
                t.post();
            }
            scope.commit();
            ADD_FAILURE() << "the damaged index took every key";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().contains(QStringLiteral("damaged"))) << e.message().toStdString();
        }
        EXPECT_EQ(done, 3);
        EXPECT_NE(t.indexProblem(), QString());
    }
    EXPECT_EQ(kvtest::readFile(path).at(14), '\1') << "the table says that its index is behind";
    Table t;
    open(t, path);
    EXPECT_EQ(t.indexProblem(), QString());
    EXPECT_EQ(column(t, "Title"),
              (QStringList{"bravo", "charlie", "foxtrot", "golf", "hotel", "xalpha", "xdelta", "xecho"}))
        << "the change that failed is not kept";
}
