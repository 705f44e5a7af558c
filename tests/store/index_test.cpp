#include "storetest.h"

#include "store/index/mdx.h"

#include <QProcess>
#include <QStandardPaths>
#include <random>

using namespace kv;

namespace {
const QString kTag = QStringLiteral("NewIndex");

// Record numbers in key order as Perl's XBase reads the .MDX (empty when the tool is missing).
QStringList perlOrder(const QString &mdx, bool *available)
{
    *available = !QStandardPaths::findExecutable(QStringLiteral("index_dump")).isEmpty();
    if (!*available)
        return {};
    const kvtest::ProcessResult r = kvtest::run(QStringLiteral("index_dump"), {QStringLiteral("-n"), mdx, QStringLiteral("NEWINDEX")});
    EXPECT_EQ(r.exitCode, 0) << r.err.toStdString();
    QStringList recnos;
    for (const QByteArray &line : r.out.split('\n')) {
        if (line.startsWith("Total") || line.trimmed().isEmpty())
            continue;
        recnos << QString::fromLatin1(line.split(' ').last().trimmed());
    }
    return recnos;
}

QStringList recnoOrder(Table &t)
{
    QStringList out;
    for (int row = 0; row < t.recordCount(); ++row)
        out << QString::number(t.recNoAt(row));
    return out;
}
} // namespace

TEST(TableIndex, OrderFollowsTheTagAndStaysCurrent)
{
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("Zorro")}, {"Year", QStringLiteral("1975")}},
                   {{"Title", QString::fromUtf8("émile")}, {"Year", QStringLiteral("1990")}},
                   {{"Title", QStringLiteral("alien")}, {"Year", QStringLiteral("1986")}},
                   {{"Title", QStringLiteral("Alien")}, {"Year", QStringLiteral("1979")}}});
    t.close();
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,40))+STR(Year,12,0)"));
    EXPECT_EQ(kvtest::readFile(path)[28], '\x01');
    t.setIndexName(kTag);
    t.open();
    // Byte order of code page 1252: É (0xC9) after Z.
    EXPECT_EQ(walk(t, "Title"), QStringList({"Alien", "alien", "Zorro", QString::fromUtf8("émile")}));

    // Appends, edits and deletes keep the order and the .MDX current.
    addRecords(t, {{{"Title", QStringLiteral("Brazil")}}});
    EXPECT_EQ(t.fieldText(0), QStringLiteral("Brazil")); // the new record is current
    EXPECT_EQ(t.position(), 2);
    t.first();
    t.edit();
    t.setFieldText(QStringLiteral("Title"), QStringLiteral("Young Alien"));
    t.post();
    EXPECT_EQ(t.fieldText(0), QStringLiteral("Young Alien"));
    EXPECT_EQ(t.position(), 2);
    t.first();
    t.deleteRecord();
    EXPECT_EQ(column(t, "Title"), QStringList({"Brazil", "Young Alien", "Zorro", QString::fromUtf8("émile")}));
    const QStringList inMemory = recnoOrder(t);
    t.close();

    t.open();
    EXPECT_EQ(recnoOrder(t), inMemory);
    t.close();
    bool available = false;
    QStringList perl = perlOrder(kvtest::tempPath(QStringLiteral("MASTER.MDX")), &available);
    if (available) {
        // The deleted record (3, "alien") keeps its key in the index, as dBASE leaves it.
        QStringList expected = inMemory;
        expected.prepend(QStringLiteral("3"));
        EXPECT_EQ(perl, expected);
    }
    // Pack drops it and rebuilds the index.
    t.pack();
    t.open();
    EXPECT_EQ(column(t, "Title"), QStringList({"Brazil", "Young Alien", "Zorro", QString::fromUtf8("émile")}));
    t.close();
    if (available) {
        EXPECT_EQ(perlOrder(kvtest::tempPath(QStringLiteral("MASTER.MDX")), &available),
                  QStringList({"4", "3", "1", "2"}));
    }
}

TEST(TableIndex, ManyRandomChangesMatchAFreshSort)
{
    Table t;
    t.setPath(newCatalogue());
    t.addIndex(kTag, QStringLiteral("Upper(Left(Star1,20))+DTOS(PurchDate)"));
    t.setIndexName(kTag);
    t.open();
    std::mt19937 rng(7);
    const QStringList names = {QStringLiteral("Hepburn"), QStringLiteral("Grant"), QStringLiteral("Bogart"),
                               QStringLiteral("Bergman"), QString(), QString::fromUtf8("Émile")};
    t.suspendDisplay();
    for (int i = 0; i < 3000; ++i) {
        t.append();
        t.setFieldText(QStringLiteral("Star1"), names[int(rng() % names.size())] + QString::number(rng() % 50));
        if (rng() % 3)
            t.setFieldDate(t.fieldIndex(QStringLiteral("PurchDate")), QDate(1980 + int(rng() % 30), 1 + int(rng() % 12), 1));
        t.post();
        if (i % 7 == 0) {
            t.moveTo(int(rng() % unsigned(t.recordCount())));
            t.edit();
            t.setFieldText(QStringLiteral("Star1"), names[int(rng() % names.size())]);
            t.post();
        }
        if (i % 11 == 0) {
            t.moveTo(int(rng() % unsigned(t.recordCount())));
            t.deleteRecord();
        }
    }
    t.resumeDisplay();
    const QStringList live = recnoOrder(t);
    t.close();
    t.regenerateIndexes(); // a fresh sort of the same records
    t.open();
    EXPECT_EQ(recnoOrder(t), live);
    EXPECT_EQ(t.recordCount(), live.size());
}

TEST(TableIndex, IndexChangesNeedExclusiveUse)
{
    const QString path = newCatalogue();
    Table shared;
    shared.setPath(path);
    shared.open();
    EXPECT_THROW(shared.addIndex(kTag, QStringLiteral("DTOS(CheckDate)")), DbError);
    Table other;
    other.setPath(path);
    EXPECT_THROW(other.addIndex(kTag, QStringLiteral("DTOS(CheckDate)")), DbError); // shared is still open
    EXPECT_THROW(other.pack(), DbError);
    shared.close();
    EXPECT_THROW(other.addIndex(kTag, QStringLiteral("Lower(Title)")), DbError);
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("MASTER.MDX"))));
    other.addIndex(kTag, QStringLiteral("DTOS(CheckDate)"));
    other.open();
    EXPECT_EQ(other.indexNames(), QStringList({QStringLiteral("NEWINDEX")}));
    EXPECT_EQ(other.indexExpression(kTag), QStringLiteral("DTOS(CheckDate)"));
    other.close();
    other.deleteIndex(kTag);
    EXPECT_FALSE(QFile::exists(kvtest::tempPath(QStringLiteral("MASTER.MDX"))));
    EXPECT_EQ(kvtest::readFile(path)[28], '\x00');
}

TEST(TableIndex, AStaleIndexStillGivesTheRightOrder)
{
    // Another program appends without updating the index: the order comes from the keys.
    const QString path = newCatalogue();
    Table t;
    t.setPath(path);
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("M")}}, {{"Title", QStringLiteral("C")}}});
    t.close();
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,80))"));
    const QByteArray before = kvtest::readFile(kvtest::tempPath(QStringLiteral("MASTER.MDX")));
    t.open();
    addRecords(t, {{{"Title", QStringLiteral("A")}}});
    t.close();
    kvtest::writeFile(kvtest::tempPath(QStringLiteral("MASTER.MDX")), before);
    t.setIndexName(kTag);
    t.open();
    EXPECT_EQ(walk(t, "Title"), QStringList({"A", "C", "M"}));
}

TEST(TableIndex, MissingTagIsADatabaseError)
{
    Table t;
    t.setPath(newCatalogue());
    t.setIndexName(kTag);
    EXPECT_THROW(t.open(), DbError);
    EXPECT_FALSE(t.isOpen());
}
