#include "storetest.h"

#include "store/index/mdx.h"

#include <QProcess>
#include <QStandardPaths>
#include <algorithm>
#include <functional>
#include <random>
#include <string>

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

// A new catalogue, open in the order of the tag on expression.
void openIndexed(Table &t, const QString &expression)
{
    t.setPath(newCatalogue());
    t.addIndex(kTag, expression);
    t.setIndexName(kTag);
    t.open();
}

QStringList utf8(std::initializer_list<const char *> texts)
{
    QStringList out;
    for (const char *text : texts)
        out << QString::fromUtf8(text);
    return out;
}

std::uint32_t u32(const QByteArray &b, qint64 at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}

// Puts the entries of an index's first tag, a single leaf, in plain byte order, as
// versions of this program before the key order wrote them.
void putInByteOrder(const QString &mdx)
{
    QByteArray f = kvtest::readFile(mdx);
    const qint64 head = qint64(u32(f, 544)) * 512;
    const int keyLength = std::uint8_t(f[head + 12]), item = std::uint8_t(f[head + 18]);
    const qint64 leaf = qint64(u32(f, head)) * 512;
    std::vector<std::string> entries;
    for (std::uint32_t i = 0; i < u32(f, leaf); ++i)
        entries.push_back(f.mid(leaf + 8 + i * item, item).toStdString());
    std::stable_sort(entries.begin(), entries.end(), [&](const std::string &a, const std::string &b) {
        return a.compare(4, std::size_t(keyLength), b, 4, std::size_t(keyLength)) < 0;
    });
    for (std::size_t i = 0; i < entries.size(); ++i)
        f.replace(leaf + 8 + qint64(i) * item, item, QByteArray::fromStdString(entries[i]));
    kvtest::writeFile(mdx, f);
}

std::vector<std::uint32_t> fileOrder(const QString &mdx, bool &inKeyOrder)
{
    MdxFile f;
    f.open(mdx, false);
    return f.readOrder(0, &inKeyOrder);
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
    // Accented letters sort with their base letter; equal titles by the next key part.
    EXPECT_EQ(walk(t, "Title"), QStringList({"Alien", "alien", QString::fromUtf8("émile"), "Zorro"}));

    // Appends, edits and deletes keep the order and the .MDX current.
    addRecords(t, {{{"Title", QStringLiteral("Brazil")}}});
    EXPECT_EQ(t.fieldText(0), QStringLiteral("Brazil")); // the new record is current
    EXPECT_EQ(t.position(), 2);
    t.first();
    t.edit();
    t.setFieldText(QStringLiteral("Title"), QStringLiteral("Young Alien"));
    t.post();
    EXPECT_EQ(t.fieldText(0), QStringLiteral("Young Alien"));
    EXPECT_EQ(t.position(), 3);
    t.first();
    t.deleteRecord();
    EXPECT_EQ(column(t, "Title"), QStringList({"Brazil", QString::fromUtf8("émile"), "Young Alien", "Zorro"}));
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
    EXPECT_EQ(column(t, "Title"), QStringList({"Brazil", QString::fromUtf8("émile"), "Young Alien", "Zorro"}));
    t.close();
    if (available) {
        EXPECT_EQ(perlOrder(kvtest::tempPath(QStringLiteral("MASTER.MDX")), &available),
                  QStringList({"4", "2", "3", "1"}));
    }
}

TEST(TableIndex, ManyRandomChangesMatchAFreshSort)
{
    Table t;
    openIndexed(t, QStringLiteral("Upper(Left(Star1,20))+DTOS(PurchDate)"));
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

// Equal keys stand in the order of their record numbers, as dBASE keeps them, also where
// one key fills many nodes: new records go after the equal keys already there, and an
// edited record joins its new key's records at its own number's place.
TEST(TableIndex, EqualKeysStandInRecordNumberOrder)
{
    Table t;
    openIndexed(t, QStringLiteral("Upper(Left(Title,80))"));
    const QStringList titles = {QStringLiteral("same"), QStringLiteral("other"), QStringLiteral("SAME too")};
    QStringList now;
    t.suspendDisplay();
    for (int i = 0; i < 1500; ++i) {
        t.append();
        t.setFieldText(QStringLiteral("Title"), titles[i % 3]);
        t.post();
        now << titles[i % 3];
        if (i % 50 == 49) { // an earlier record takes another record's key
            t.moveTo(i / 2);
            const int recno = int(t.recNo());
            t.edit();
            t.setFieldText(QStringLiteral("Title"), titles[(i / 50) % 3]);
            t.post();
            now[recno - 1] = titles[(i / 50) % 3];
        }
    }
    t.resumeDisplay();
    t.close();
    QList<int> expected;
    for (int r = 1; r <= now.size(); ++r)
        expected << r;
    std::stable_sort(expected.begin(), expected.end(),
                     [&](int a, int b) { return now[a - 1].toUpper() < now[b - 1].toUpper(); });
    QStringList order;
    for (int r : expected)
        order << QString::number(r);
    t.open(); // in the index's order
    EXPECT_EQ(recnoOrder(t), order);
    EXPECT_EQ(t.indexProblem(), QString());
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

TEST(TableIndex, AccentedLettersSortWithTheirBaseLetter)
{
    Table t;
    openIndexed(t, QStringLiteral("Upper(Left(Title,20))+STR(Year,12,0)"));
    // Appended while the table is open, they join the order in one merge; the two
    // titles with equal keys keep their record order.
    for (const QString &title : utf8({"Zoë", "Eve", "ábc", "Émile", "Abd", "Édith", "EVE"}))
        addRecords(t, {{{"Title", title}}});
    EXPECT_EQ(column(t, "Title"), utf8({"ábc", "Abd", "Édith", "Émile", "Eve", "EVE", "Zoë"}));

    // An edited record moves to where its new key puts it.
    t.last();
    t.edit();
    t.setFieldText(QStringLiteral("Title"), QString::fromUtf8("Èva"));
    t.post();
    EXPECT_EQ(t.position(), 4);
    EXPECT_EQ(column(t, "Title"), utf8({"ábc", "Abd", "Édith", "Émile", "Èva", "Eve", "EVE"}));
    const QStringList inMemory = recnoOrder(t);
    t.close();

    // The .MDX keeps the same order, and building it afresh gives it again.
    bool inKeyOrder = false;
    fileOrder(kvtest::tempPath(QStringLiteral("MASTER.MDX")), inKeyOrder);
    EXPECT_TRUE(inKeyOrder);
    for (const bool rebuilt : {false, true}) {
        if (rebuilt)
            t.regenerateIndexes();
        t.open();
        EXPECT_EQ(recnoOrder(t), inMemory) << rebuilt;
        t.close();
    }
}

TEST(TableIndex, AnIndexWrittenInByteOrderIsRebuiltInTheKeyOrder)
{
    const QString path = newCatalogue();
    const QString mdx = kvtest::tempPath(QStringLiteral("MASTER.MDX"));
    Table t;
    t.setPath(path);
    t.open();
    for (const QString &title : utf8({"Zoë", "Eve", "Émile", "ábc"}))
        addRecords(t, {{{"Title", title}}});
    t.close();
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,20))"));
    putInByteOrder(mdx);
    const QByteArray old = kvtest::readFile(mdx);
    bool inKeyOrder = true;
    EXPECT_EQ(fileOrder(mdx, inKeyOrder), std::vector<std::uint32_t>({2, 1, 4, 3})); // EVE ZOË ÁBC ÉMILE
    EXPECT_FALSE(inKeyOrder);
    const QStringList sorted = utf8({"ábc", "Émile", "Eve", "Zoë"});

    // Read only: the order comes from the keys, and the file is left as it is.
    Table reader;
    reader.setPath(path);
    reader.setReadOnly(true);
    reader.setIndexName(kTag);
    reader.open();
    EXPECT_EQ(walk(reader, "Title"), sorted);
    reader.close();
    EXPECT_EQ(kvtest::readFile(mdx), old);

    // Open for changes: the index is written again in the key order and kept current.
    t.setIndexName(kTag);
    t.open();
    EXPECT_EQ(walk(t, "Title"), sorted);
    EXPECT_EQ(fileOrder(mdx, inKeyOrder), std::vector<std::uint32_t>({4, 3, 2, 1}));
    EXPECT_TRUE(inKeyOrder);
    addRecords(t, {{{"Title", QString::fromUtf8("Édith")}}});
    t.close();
    t.open();
    EXPECT_EQ(walk(t, "Title"), utf8({"ábc", "Édith", "Émile", "Eve", "Zoë"}));
}

// Numbers and dates in keys keep the order of their text, as dBASE gives it: blanks
// first, fewer digits before more, a minus sign after the blanks it replaces.
TEST(TableIndex, NumberAndDateKeysKeepTheirOrder)
{
    Table t;
    openIndexed(t, QStringLiteral("STR(Year,12,0)+DTOS(PurchDate)"));
    addRecords(t, {{{"Title", QStringLiteral("1951")}, {"Year", QStringLiteral("1951")}},
                   {{"Title", QStringLiteral("blank")}},
                   {{"Title", QStringLiteral("-3")}, {"Year", QStringLiteral("-3")}},
                   {{"Title", QStringLiteral("12000")}, {"Year", QStringLiteral("12000")}},
                   {{"Title", QStringLiteral("5 in 99")}, {"Year", QStringLiteral("5")}, {"PurchDate", QStringLiteral("12/31/99")}},
                   {{"Title", QStringLiteral("5 in 02")}, {"Year", QStringLiteral("5")}, {"PurchDate", QStringLiteral("5/1/02")}},
                   {{"Title", QStringLiteral("5")}, {"Year", QStringLiteral("5")}}});
    const QStringList expected = {"blank", "5", "5 in 99", "5 in 02", "-3", "1951", "12000"};
    EXPECT_EQ(column(t, "Title"), expected);
    t.close();
    t.open();
    EXPECT_EQ(walk(t, "Title"), expected);
}

// An index that does not list each record once (kept from an older state of the table,
// or with a record number repeated) would take new keys wrongly: an open that may write
// rebuilds it from the records first and says so, a bulk append too; an open that only
// reads leaves it as it is, for the check to report.
TEST(TableIndex, AWriterRebuildsAnIndexThatDoesNotListItsRecords)
{
    const QString path = newCatalogue();
    const QString mdx = kv::mdxPathFor(path);
    Table t;
    t.setPath(path);
    t.addIndex(kTag, QStringLiteral("Upper(Left(Title,20))"));
    t.open();
    for (int i = 1; i <= 16; ++i)
        addRecords(t, {{{"Title", QStringLiteral("t%1").arg(i, 2, 10, QLatin1Char('0'))}}});
    const QByteArray sixteen = kvtest::readFile(mdx);
    for (int i = 17; i <= 31; ++i)
        addRecords(t, {{{"Title", QStringLiteral("t%1").arg(i, 2, 10, QLatin1Char('0'))}}});
    t.close();
    const QByteArray sound = kvtest::readFile(mdx);
    QByteArray repeated = sound;
    const qsizetype ten = repeated.indexOf("T10 "), eleven = repeated.indexOf("T11 ");
    ASSERT_GT(ten, 0);
    repeated.replace(eleven - 4, 4, repeated.mid(ten - 4, 4));

    const struct {
        const char *name;
        QByteArray index;
        const char *says;
    } cases[] = {
        {"older index", sixteen, "lists 16 entries for 31 records"},
        {"record number repeated", repeated, "lists record 10 wrongly"},
    };
    const std::vector<std::function<void(Table &)>> writes = {
        [](Table &w) { addRecords(w, {{{"Title", QStringLiteral("t32")}}}); },
        [](Table &w) {
            Table::BulkAppend bulk(w);
            addRecords(w, {{{"Title", QStringLiteral("t32")}}});
            bulk.commit();
        },
    };
    for (const auto &c : cases) {
        for (size_t k = 0; k < writes.size(); ++k) {
            const QByteArray table = kvtest::readFile(path);
            kvtest::writeFile(mdx, c.index);
            Table reader;
            reader.setPath(path);
            reader.setReadOnly(true);
            reader.open();
            EXPECT_TRUE(reader.indexProblem().contains(QLatin1String(c.says))) << c.name << ": " << reader.indexProblem().toStdString();
            EXPECT_TRUE(reader.takeIndexNotice().isEmpty()) << c.name;
            reader.close();
            EXPECT_EQ(kvtest::readFile(mdx), c.index) << c.name;

            Table w;
            w.setPath(path);
            w.setIndexName(kTag);
            if (k == 1) {
                // Damaged after the open: the bulk append finds it before adding anything.
                kvtest::writeFile(mdx, sound);
                w.open();
                EXPECT_TRUE(w.takeIndexNotice().isEmpty()) << c.name;
                kvtest::writeFile(mdx, c.index);
            } else {
                w.open();
            }
            writes[k](w);
            const QString notice = w.takeIndexNotice();
            EXPECT_TRUE(notice.contains(QLatin1String(c.says)) && notice.contains(QLatin1String("It was rebuilt")))
                << c.name << ": " << notice.toStdString();
            EXPECT_TRUE(w.indexProblem().isEmpty()) << c.name << ": " << w.indexProblem().toStdString();
            EXPECT_EQ(w.physicalCount(), 32u) << c.name;
            EXPECT_EQ(column(w, "Title").last(), QStringLiteral("t32")) << c.name;
            w.close();
            kvtest::writeFile(path, table); // back to 31 records
        }
    }
}

// Keys are made from the bytes a record holds, whatever they are: titles of 0xFF bytes
// (with blanks and NULs among them) keep keys that match their records through every
// way a record is written: an add, an edit of another field and of the title, a batch
// of changes and a bulk append copying the bytes from another table.
TEST(TableIndex, KeysOfTitlesHoldingAnyBytesMatchTheirRecords)
{
    const QString sourcePath = newCatalogue(QStringLiteral("SOURCE.DBF"));
    const QList<QByteArray> raw = {QByteArray(60, '\xFF'), QByteArray("\xFF\xFF" "a\0\xFF", 5), QByteArray("\xFF \xFF"),
                                   QByteArray("Y\xFF\x9F"), QByteArray("\xFF\x00\x00", 3)};
    {
        Table s;
        s.setPath(sourcePath);
        s.open();
        for (int i = 0; i < raw.size(); ++i)
            addRecords(s, {{{"Star1", QString::number(i)}}});
    }
    // The titles put in the file as they are, past the codec.
    QByteArray bytes = kvtest::readFile(sourcePath);
    const int header = std::uint8_t(bytes[8]) | std::uint8_t(bytes[9]) << 8;
    const int length = std::uint8_t(bytes[10]) | std::uint8_t(bytes[11]) << 8;
    for (int i = 0; i < raw.size(); ++i)
        bytes.replace(header + i * length + 1, raw[i].size(), raw[i]);
    kvtest::writeFile(sourcePath, bytes);

    Table t;
    openIndexed(t, QStringLiteral("Upper(Left(Title,40))+STR(Year,12,0)"));
    Table source;
    source.setPath(sourcePath);
    source.setReadOnly(true);
    source.open();
    {
        Table::BulkAppend bulk(t);
        for (source.first(); !source.eof(); source.next()) {
            t.append();
            t.copyField(t.fieldIndex(QStringLiteral("Title")), source, source.fieldIndex(QStringLiteral("Title")));
            t.post();
        }
        bulk.commit();
    }
    EXPECT_TRUE(t.indexProblem().isEmpty()) << t.indexProblem().toStdString();
    addRecords(t, {{{"Title", QString::fromUtf8("ÿÿÿ")}}, {{"Title", QString::fromUtf8("ÿ ÿ")}}});
    EXPECT_TRUE(t.indexProblem().isEmpty()) << t.indexProblem().toStdString();
    for (int row = 0; row < t.recordCount(); ++row) {
        t.moveTo(row);
        t.edit();
        t.setFieldText(QStringLiteral("Year"), QString::number(1990 + row));
        t.post();
    }
    EXPECT_TRUE(t.indexProblem().isEmpty()) << t.indexProblem().toStdString();
    {
        Table::Changes changes(t, 2);
        for (int row = 0; row < t.recordCount(); ++row) {
            t.moveTo(row);
            t.edit();
            t.setFieldText(QStringLiteral("Title"), t.fieldText(QStringLiteral("Title")) + QString::fromUtf8("ÿ"));
            t.post();
        }
        changes.commit();
    }
    EXPECT_TRUE(t.indexProblem().isEmpty()) << t.indexProblem().toStdString();
    EXPECT_EQ(t.recordCount(), raw.size() + 2);
}
