#include "store/index/mdx.h"

#include "store/index/collation.h"

#include "base/dberror.h"
#include "support/testenv.h"

#include <QDate>
#include <QDir>
#include <QFile>
#include <QStandardPaths>
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <functional>
#include <iterator>
#include <random>
#include <set>
#include <string>

using namespace kv;

namespace {

using Entry = std::pair<std::string, std::uint32_t>;
// The index's order: keys in the key order, equal keys by record number.
struct EntryOrder {
    bool operator()(const Entry &a, const Entry &b) const
    {
        if (const int c = compareKeys(a.first.data(), b.first.data(), a.first.size()))
            return c < 0;
        return a.second < b.second;
    }
};
using Model = std::multiset<Entry, EntryOrder>;

// Lower case, accented letters and bytes above 0x7F: keys byte order would sort otherwise.
const char kAlphabet[] = "ABCDEZaz09 \xC4\xE9\xFF";

std::string randomKey(std::mt19937 &rng, int keyLength)
{
    std::uniform_int_distribution<int> used(0, keyLength);
    std::uniform_int_distribution<int> pick(0, int(sizeof(kAlphabet)) - 2);
    std::string key(std::size_t(keyLength), ' ');
    const int n = used(rng);
    for (int i = 0; i < n; ++i)
        key[std::size_t(i)] = kAlphabet[pick(rng)];
    return key;
}

Model randomModel(std::mt19937 &rng, std::size_t count, int keyLength)
{
    Model model;
    for (std::size_t i = 0; i < count; ++i)
        model.emplace(randomKey(rng, keyLength), std::uint32_t(i + 1));
    return model;
}

// The keys of one tag laid out as MdxFile::write() takes them.
struct TagKeys {
    MdxTagInfo info;
    std::vector<char> keys;
    std::vector<std::uint32_t> recnos;

    TagKeys(const QByteArray &name, int keyLength, const Model &model, const QByteArray &expression = "TITLE")
    {
        info.name = name;
        info.expression = expression;
        info.keyLength = keyLength;
        for (const Entry &e : model) {
            keys.insert(keys.end(), e.first.begin(), e.first.end());
            recnos.push_back(e.second);
        }
    }
    MdxTagData data() const { return MdxTagData{info, keys.data(), recnos.data(), recnos.size()}; }
};

void writeIndex(const QString &path, const std::vector<const TagKeys *> &tags, std::uint8_t ldid = 0x03)
{
    std::vector<MdxTagData> data;
    for (const TagKeys *t : tags)
        data.push_back(t->data());
    MdxFile::write(path, "VIDEOS", ldid, data);
}

// A one-tag index, "TAG", of count random keys written at path; the model of its entries.
Model writeRandomTag(std::mt19937 &rng, const QString &path, std::size_t count, int keyLength)
{
    Model model = randomModel(rng, count, keyLength);
    const TagKeys tag("TAG", keyLength, model);
    writeIndex(path, {&tag});
    return model;
}

std::vector<Entry> entriesOf(const MdxFile &mdx, int tag)
{
    std::vector<char> keys;
    std::vector<std::uint32_t> recnos;
    mdx.readEntries(tag, keys, recnos);
    const std::size_t length = std::size_t(mdx.tag(tag).keyLength);
    EXPECT_EQ(keys.size(), recnos.size() * length);
    std::vector<Entry> out;
    for (std::size_t i = 0; i < recnos.size(); ++i)
        out.emplace_back(std::string(keys.data() + i * length, length), recnos[i]);
    return out;
}

std::vector<Entry> asVector(const Model &model) { return std::vector<Entry>(model.begin(), model.end()); }

std::vector<std::uint32_t> recnosOf(const Model &model)
{
    std::vector<std::uint32_t> out;
    for (const Entry &e : model)
        out.push_back(e.second);
    return out;
}

std::uint32_t u32(const QByteArray &b, qint64 at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 | std::uint32_t(p[3]) << 24;
}
int u16(const QByteArray &b, qint64 at)
{
    const auto *p = reinterpret_cast<const unsigned char *>(b.constData() + at);
    return p[0] | p[1] << 8;
}
int u8(const QByteArray &b, qint64 at) { return static_cast<unsigned char>(b[at]); }
void set32(QByteArray &b, qint64 at, std::uint32_t v)
{
    for (int i = 0; i < 4; ++i)
        b[at + i] = char(v >> (8 * i));
}

std::uint32_t tagHeaderPage(const QByteArray &file, int slot) { return u32(file, 544 + 32 * slot); }

// What a tree walk straight over the bytes finds, with every rule of the format checked
// on the way: counts within the block, sorted entries, zero padding, branch key = the
// highest key below it, all leaves at one depth, and the header's leaf and size fields.
struct RawTree {
    std::vector<Entry> entries;
    int depth = -1; // levels below the root
    int nodes = 0;
    int leaves = 0;
};

struct RawWalker {
    const QByteArray &file;
    int keyLength, itemLength, maxKeys;
    RawTree tree;
    std::uint32_t firstLeaf = 0, lastLeaf = 0;

    // Returns the highest key of the subtree.
    std::string walk(std::uint32_t page, int depth)
    {
        const qint64 at = qint64(page) * 512;
        if (depth > 20 || page < 4 || at + 1024 > file.size()) {
            ADD_FAILURE() << "bad page " << page << " at depth " << depth;
            return {};
        }
        ++tree.nodes;
        const std::uint32_t n = u32(file, at);
        const qint64 trailingAt = at + 8 + qint64(n) * itemLength;
        const std::uint32_t right = trailingAt + 4 <= at + 1024 ? u32(file, trailingAt) : 0;
        if (right == 0) {
            EXPECT_LE(n, std::uint32_t(maxKeys)) << "leaf " << page;
            if (tree.depth < 0)
                tree.depth = depth;
            EXPECT_EQ(tree.depth, depth) << "leaf " << page << " is not at the depth of the others";
            if (tree.leaves++ == 0)
                firstLeaf = page;
            lastLeaf = page;
            for (std::uint32_t i = 0; i < n; ++i) {
                const qint64 item = at + 8 + qint64(i) * itemLength;
                Entry e(std::string(file.constData() + item + 4, std::size_t(keyLength)), u32(file, item));
                if (!tree.entries.empty()) {
                    EXPECT_FALSE(EntryOrder()(e, tree.entries.back())) << "entries out of order in leaf " << page;
                }
                for (int pad = 4 + keyLength; pad < itemLength; ++pad)
                    EXPECT_EQ(file[item + pad], 0) << "padding of leaf " << page;
                tree.entries.push_back(e);
            }
            return n ? tree.entries.back().first : std::string();
        }
        EXPECT_LE(n, std::uint32_t(maxKeys - 1)) << "branch " << page;
        for (std::uint32_t i = 0; i < n; ++i) {
            const qint64 item = at + 8 + qint64(i) * itemLength;
            const std::string highest = walk(u32(file, item), depth + 1);
            EXPECT_EQ(std::string(file.constData() + item + 4, std::size_t(keyLength)), highest)
                << "key " << i << " of branch " << page;
        }
        return walk(right, depth + 1);
    }
};

RawTree rawTree(const QString &path, int slot)
{
    const QByteArray file = kvtest::readFile(path);
    EXPECT_EQ(u32(file, 32), std::uint32_t(file.size() / 512)) << "total pages";
    const qint64 head = qint64(tagHeaderPage(file, slot)) * 512;
    RawWalker w{file, u16(file, head + 12), u16(file, head + 18), 0, {}};
    EXPECT_EQ(w.itemLength, (w.keyLength + 4 + 3) / 4 * 4);
    w.maxKeys = (1024 - 12) / w.itemLength;
    w.walk(u32(file, head), 0);
    EXPECT_EQ(u32(file, head + 248), w.firstLeaf) << "first leaf";
    EXPECT_EQ(u32(file, head + 252), w.lastLeaf) << "last leaf";
    EXPECT_EQ(u32(file, head + 4), std::uint32_t(2 * w.tree.nodes)) << "pages used";
    return w.tree;
}

QByteArray dateBytes(const QDate &date)
{
    return QByteArray(1, char(date.year() % 100)) + char(date.month()) + char(date.day());
}

bool havePerlReader() { return !QStandardPaths::findExecutable(QStringLiteral("index_dump")).isEmpty(); }

// The tag as Perl's XBase reader walks it: "KEY RECNO" per line.
std::vector<Entry> perlDump(const QString &path, const QByteArray &tag, int keyLength)
{
    const kvtest::ProcessResult r =
        kvtest::run(QStringLiteral("index_dump"), {QStringLiteral("-n"), path, QString::fromLatin1(tag)});
    EXPECT_EQ(r.exitCode, 0) << r.err.constData();
    std::vector<Entry> out;
    const QList<QByteArray> lines = r.out.split('\n');
    for (const QByteArray &line : lines) {
        if (line.isEmpty() || line.startsWith("Total records:"))
            continue;
        out.emplace_back(std::string(line.constData(), std::size_t(keyLength)),
                         line.mid(keyLength + 1).toUInt());
    }
    EXPECT_TRUE(r.out.contains("Total records: " + QByteArray::number(qsizetype(out.size()))));
    return out;
}

void expectPerlReads(const QString &path, const QByteArray &tag, int keyLength, const Model &model)
{
    if (!havePerlReader())
        return;
    EXPECT_EQ(perlDump(path, tag, keyLength), asVector(model));
}

// ---- bulk writing --------------------------------------------------------------------

struct BulkCase {
    const char *name;
    std::size_t count;
    int keyLength;
    int depth; // levels below the root
};

TEST(MdxWrite, ReadsBackEveryShapeOfTree)
{
    const BulkCase cases[] = {
        {"EMPTY", 0, 10, 0},
        {"ONE", 1, 52, 0},
        {"FULLLEAF", 18, 52, 0},  // 18 entries of 56 bytes fill one node
        {"TWOLEAVES", 19, 52, 1},
        {"DEEP", 20000, 80, 3},   // 12 per node: 1667 leaves, 139 and 12 branches, a root
    };
    std::mt19937 rng(7);
    for (const BulkCase &c : cases) {
        SCOPED_TRACE(c.name);
        const Model model = randomModel(rng, c.count, c.keyLength);
        const TagKeys tag(c.name, c.keyLength, model);
        const QString path = kvtest::tempPath(QStringLiteral("%1.MDX").arg(QLatin1String(c.name)));
        writeIndex(path, {&tag});

        MdxFile mdx;
        mdx.open(path, false);
        ASSERT_TRUE(mdx.isOpen());
        ASSERT_EQ(mdx.tagCount(), 1);
        EXPECT_EQ(mdx.readOrder(0), recnosOf(model));
        EXPECT_EQ(entriesOf(mdx, 0), asVector(model));

        const RawTree raw = rawTree(path, 0);
        EXPECT_EQ(raw.entries, asVector(model));
        EXPECT_EQ(raw.depth, c.depth);
        expectPerlReads(path, c.name, c.keyLength, model);
    }
}

TEST(MdxWrite, HeaderAndTagHeaderBytesAtTheirPlaces)
{
    std::mt19937 rng(3);
    const Model titles = randomModel(rng, 40, 52);
    const TagKeys title("Title", 52, titles, "UPPER(LEFT(Title,40))+STR(Year,12,0)");
    const TagKeys empty("SHORT", 10, Model{});
    const QString path = kvtest::tempPath(QStringLiteral("VIDEOS.MDX"));
    writeIndex(path, {&title, &empty}, 0x57);

    const QByteArray f = kvtest::readFile(path);
    const QDate today = QDate::currentDate();
    const QByteArray date = dateBytes(today);
    ASSERT_GE(f.size(), 2048);
    ASSERT_EQ(f.size() % 512, 0);
    EXPECT_EQ(u8(f, 0), 2);
    EXPECT_EQ(f.mid(1, 3), date);
    EXPECT_EQ(f.mid(4, 16), QByteArray("VIDEOS").leftJustified(16, '\0'));
    EXPECT_EQ(u16(f, 20), 2);
    EXPECT_EQ(u16(f, 22), 1024);
    EXPECT_EQ(u8(f, 24), 1);
    EXPECT_EQ(u8(f, 25), 48);
    EXPECT_EQ(u8(f, 26), 32);
    EXPECT_EQ(u16(f, 28), 2);
    EXPECT_EQ(u8(f, 31), 0x57);
    EXPECT_EQ(u32(f, 32), std::uint32_t(f.size() / 512));
    EXPECT_EQ(u32(f, 36), 0u);
    EXPECT_EQ(u32(f, 40), 0u);
    EXPECT_EQ(f.mid(44, 3), date);
    EXPECT_EQ(u8(f, 529), 1);

    // Tag table: the first tag's header right after the file header, names in upper case.
    EXPECT_EQ(u32(f, 544), 4u);
    EXPECT_EQ(f.mid(548, 11), QByteArray("TITLE").leftJustified(11, '\0'));
    EXPECT_EQ(u8(f, 559), 0x10);
    EXPECT_EQ(u8(f, 563), 2);
    EXPECT_EQ(u8(f, 564), 'C');
    EXPECT_EQ(f.mid(576 + 4, 11), QByteArray("SHORT").leftJustified(11, '\0'));
    EXPECT_EQ(u8(f, 576 + 19), 2);

    // Tag header of TITLE: 40 keys of 52 bytes, 18 per node, so 3 leaves and a root.
    const qint64 h = 4 * 512;
    EXPECT_EQ(u32(f, h + 4), 8u); // pages used: 4 nodes
    EXPECT_EQ(u8(f, h + 8), 0x10);
    EXPECT_EQ(u8(f, h + 9), 'C');
    EXPECT_EQ(u8(f, h + 11), 0x57);
    EXPECT_EQ(u16(f, h + 12), 52);
    EXPECT_EQ(u16(f, h + 14), 18);
    EXPECT_EQ(u16(f, h + 16), 0);
    EXPECT_EQ(u16(f, h + 18), 56);
    EXPECT_EQ(u8(f, h + 20), 1);
    EXPECT_EQ(u8(f, h + 23), 0);
    EXPECT_EQ(QByteArray(f.constData() + h + 24), QByteArray("UPPER(LEFT(Title,40))+STR(Year,12,0)"));
    EXPECT_EQ(u8(f, h + 245), 0);
    EXPECT_EQ(u8(f, h + 246), 1);
    EXPECT_EQ(u32(f, h + 248), 6u); // the first leaf follows its tag header
    EXPECT_EQ(f.mid(h + 257, 3), date);

    // The first leaf: count, a zero link, then record number and key of the lowest entry.
    const qint64 leaf = 6 * 512;
    const std::uint32_t n = u32(f, leaf);
    EXPECT_GE(n, 1u);
    EXPECT_LE(n, 18u);
    EXPECT_EQ(u32(f, leaf + 4), 0u);
    EXPECT_EQ(u32(f, leaf + 8), titles.begin()->second);
    EXPECT_EQ(std::string(f.constData() + leaf + 12, 52), titles.begin()->first);
    EXPECT_EQ(u32(f, leaf + 8 + n * 56), 0u); // no right-most child in a leaf

    // The root: a branch whose keys are the highest keys of its leaves.
    const qint64 root = qint64(u32(f, h)) * 512;
    EXPECT_EQ(u32(f, root), 2u);
    EXPECT_EQ(u32(f, root + 8), 6u);
    EXPECT_NE(u32(f, root + 8 + 2 * 56), 0u);
    EXPECT_EQ(rawTree(path, 0).entries, asVector(titles));

    // The empty tag: one empty root leaf, no keys yet, 12-byte items padded to 16.
    const qint64 e = qint64(u32(f, 576)) * 512;
    EXPECT_EQ(u8(f, e + 246), 0);
    EXPECT_EQ(u16(f, e + 18), 16);
    EXPECT_EQ(u16(f, e + 14), 63);
    EXPECT_EQ(u32(f, e + 248), u32(f, e));
    EXPECT_EQ(u32(f, e + 252), u32(f, e));
    EXPECT_EQ(u32(f, qint64(u32(f, e)) * 512), 0u);
}

TEST(MdxWrite, SeveralTagsThreadedByName)
{
    std::mt19937 rng(11);
    const char *names[] = {"TITLE", "ACTOR", "YEAR", "BOX", "WHERE"};
    std::vector<Model> models;
    std::vector<TagKeys> tags;
    for (int i = 0; i < 5; ++i)
        models.push_back(randomModel(rng, std::size_t(50 + 200 * i), 8 + 4 * i));
    for (int i = 0; i < 5; ++i)
        tags.emplace_back(names[i], 8 + 4 * i, models[std::size_t(i)], QByteArray("EXPR") + names[i]);
    const QString path = kvtest::tempPath(QStringLiteral("MULTI.MDX"));
    writeIndex(path, {&tags[0], &tags[1], &tags[2], &tags[3], &tags[4]});

    // Left, right and parent slots of an insertion-ordered search tree:
    // TITLE(1) has ACTOR(2) on the left and YEAR(3) on the right; BOX(4) hangs right
    // of ACTOR; WHERE(5) left of YEAR.
    const QByteArray f = kvtest::readFile(path);
    const int threads[5][3] = {{2, 3, 0}, {0, 4, 1}, {5, 0, 1}, {0, 0, 2}, {0, 0, 3}};
    for (int slot = 0; slot < 5; ++slot) {
        SCOPED_TRACE(names[slot]);
        EXPECT_EQ(u8(f, 544 + 32 * slot + 16), threads[slot][0]);
        EXPECT_EQ(u8(f, 544 + 32 * slot + 17), threads[slot][1]);
        EXPECT_EQ(u8(f, 544 + 32 * slot + 18), threads[slot][2]);
    }

    MdxFile mdx;
    mdx.open(path, false);
    ASSERT_EQ(mdx.tagCount(), 5);
    EXPECT_EQ(mdx.findTag("title"), 0);
    EXPECT_EQ(mdx.findTag("Box"), 3);
    EXPECT_EQ(mdx.findTag("NONE"), -1);
    for (int i = 0; i < 5; ++i) {
        SCOPED_TRACE(names[i]);
        EXPECT_EQ(mdx.tag(i).name, QByteArray(names[i]));
        EXPECT_EQ(mdx.tag(i).expression, QByteArray("EXPR") + names[i]);
        EXPECT_EQ(mdx.tag(i).keyLength, 8 + 4 * i);
        EXPECT_EQ(mdx.tag(i).keyType, 'C');
        EXPECT_EQ(entriesOf(mdx, i), asVector(models[std::size_t(i)]));
        EXPECT_EQ(rawTree(path, i).entries, asVector(models[std::size_t(i)]));
        expectPerlReads(path, names[i], 8 + 4 * i, models[std::size_t(i)]);
    }
    if (havePerlReader()) {
        const kvtest::ProcessResult r = kvtest::run(QStringLiteral("index_dump"), {path});
        EXPECT_EQ(r.out, QByteArray("ACTOR\nBOX\nTITLE\nWHERE\nYEAR\n"));
    }
}

TEST(MdxWrite, FortySevenTagsFitAndNoMore)
{
    std::vector<TagKeys> tags;
    for (int i = 0; i < 48; ++i)
        tags.emplace_back("T" + QByteArray::number(i), 4, Model{{"KEY ", 1}});
    std::vector<MdxTagData> data;
    for (const TagKeys &t : tags)
        data.push_back(t.data());
    const QString path = kvtest::tempPath(QStringLiteral("MANY.MDX"));
    EXPECT_THROW(MdxFile::write(path, "MANY", 3, data), DbError);
    data.pop_back();
    MdxFile::write(path, "MANY", 3, data);
    MdxFile mdx;
    mdx.open(path, false);
    ASSERT_EQ(mdx.tagCount(), 47);
    EXPECT_EQ(mdx.findTag("t46"), 46);
    EXPECT_EQ(mdx.readOrder(46), std::vector<std::uint32_t>{1});
}

TEST(MdxWrite, RefusesTagsTheFormatCannotHold)
{
    const Model one{{"AAAA", 1}};
    const Model unsorted{{"BBBB", 1}};
    struct Case {
        const char *what;
        std::function<void(std::vector<TagKeys> &)> spoil;
    } cases[] = {
        {"name of 11 characters", [](auto &t) { t[0].info.name = "ELEVENCHARS"; }},
        {"empty name", [](auto &t) { t[0].info.name.clear(); }},
        {"name used twice", [](auto &t) { t[1].info.name = "first"; }},
        {"key length 0", [](auto &t) { t[0].info.keyLength = 0; t[0].keys.clear(); }},
        {"key of 101 bytes", [](auto &t) { t[0].info.keyLength = 101; t[0].keys.assign(101, 'A'); }},
        {"expression too long", [](auto &t) { t[0].info.expression = QByteArray(220, 'X'); }},
        {"keys out of order", [](auto &t) { std::swap(t[0].keys[0], t[1].keys[0]); t[0].recnos.push_back(2);
                                            t[0].keys.insert(t[0].keys.end(), {'A', 'A', 'A', 'A'}); }},
    };
    const QString path = kvtest::tempPath(QStringLiteral("BAD.MDX"));
    kvtest::writeFile(path, "old contents");
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        std::vector<TagKeys> tags{TagKeys("FIRST", 4, one), TagKeys("SECOND", 4, unsorted)};
        c.spoil(tags);
        std::vector<MdxTagData> data{tags[0].data(), tags[1].data()};
        EXPECT_THROW(MdxFile::write(path, "BAD", 3, data), DbError);
        EXPECT_EQ(kvtest::readFile(path), QByteArray("old contents"));
    }
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files), QStringList{QStringLiteral("BAD.MDX")});
}

TEST(MdxWrite, ReplacesTheOldFileWholeAndLeavesNoTemporary)
{
    std::mt19937 rng(5);
    const Model first = randomModel(rng, 500, 20);
    const Model second = randomModel(rng, 30, 6);
    const TagKeys a("A", 20, first);
    const TagKeys b("B", 6, second);
    const QString path = kvtest::tempPath(QStringLiteral("SWAP.MDX"));
    writeIndex(path, {&a});
    QFile::setPermissions(path, QFile::ReadOwner | QFile::WriteOwner | QFile::ReadGroup);
    const QFile::Permissions permissions = QFile::permissions(path);
    writeIndex(path, {&b});
    EXPECT_EQ(QDir(kvtest::tempDir()).entryList(QDir::Files | QDir::Hidden), QStringList{QStringLiteral("SWAP.MDX")});
    EXPECT_EQ(QFile::permissions(path), permissions);
    MdxFile mdx;
    mdx.open(path, false);
    ASSERT_EQ(mdx.tagCount(), 1);
    EXPECT_EQ(mdx.tag(0).name, QByteArray("B"));
    EXPECT_EQ(entriesOf(mdx, 0), asVector(second));

    try {
        writeIndex(kvtest::tempPath(QStringLiteral("no/such/folder/X.MDX")), {&a});
        ADD_FAILURE() << "wrote into a missing folder";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("cannot be written"))) << e.what();
    }
}

// ---- incremental changes -------------------------------------------------------------

void insertEntry(MdxFile &mdx, Model &model, const std::string &key, std::uint32_t recno)
{
    mdx.insert(0, key.data(), recno);
    model.emplace(key, recno);
}

TEST(MdxChange, RandomInsertsAndRemovesFollowAModel)
{
    struct Case {
        int keyLength;
        std::size_t start;
        int pool; // distinct keys inserted: few means long runs of equal keys
    } cases[] = {{12, 300, 40}, {40, 800, 2000}, {96, 0, 15}};
    for (const Case &c : cases) {
        SCOPED_TRACE(c.keyLength);
        std::mt19937 rng(std::uint32_t(c.keyLength));
        Model model = randomModel(rng, c.start, c.keyLength);
        std::vector<std::string> pool;
        for (int i = 0; i < c.pool; ++i)
            pool.push_back(randomKey(rng, c.keyLength));
        const TagKeys tag("TAG", c.keyLength, model);
        const QString path = kvtest::tempPath(QStringLiteral("RANDOM%1.MDX").arg(c.keyLength));
        writeIndex(path, {&tag});

        MdxFile mdx;
        mdx.open(path, true);
        std::uint32_t nextRecno = std::uint32_t(c.start) + 1;
        for (int op = 1; op <= 4000; ++op) {
            const int dice = int(rng() % 10);
            if (dice < 6 || model.empty()) {
                // New records, and now and then an old record number under a new key.
                const std::uint32_t recno = dice == 0 ? std::uint32_t(rng() % nextRecno + 1) : nextRecno++;
                insertEntry(mdx, model, pool[rng() % pool.size()], recno);
            } else if (dice < 9) {
                auto it = std::next(model.begin(), std::ptrdiff_t(rng() % model.size()));
                ASSERT_TRUE(mdx.remove(0, it->first.data(), it->second)) << "op " << op;
                model.erase(it);
            } else {
                const std::string key = pool[rng() % pool.size()];
                const std::uint32_t recno = nextRecno + 100;
                EXPECT_FALSE(mdx.remove(0, key.data(), recno));
            }
            if (op % 1000 == 0) {
                ASSERT_EQ(entriesOf(mdx, 0), asVector(model)) << "after op " << op;
            }
        }
        EXPECT_EQ(rawTree(path, 0).entries, asVector(model));
        expectPerlReads(path, "TAG", c.keyLength, model);
        mdx.close();
        mdx.open(path, false);
        EXPECT_EQ(mdx.readOrder(0), recnosOf(model));
    }
}

TEST(MdxChange, EmptiesAndFillsAgain)
{
    std::mt19937 rng(21);
    const QString path = kvtest::tempPath(QStringLiteral("EMPTY.MDX"));
    Model model = writeRandomTag(rng, path, 700, 60);
    ASSERT_EQ(rawTree(path, 0).depth, 2);

    MdxFile mdx;
    mdx.open(path, true);
    std::vector<Entry> all = asVector(model);
    std::shuffle(all.begin(), all.end(), rng);
    for (std::size_t i = 0; i < all.size(); ++i) {
        ASSERT_TRUE(mdx.remove(0, all[i].first.data(), all[i].second));
        model.erase(model.find(all[i]));
        if (i % 100 == 0) {
            ASSERT_EQ(rawTree(path, 0).entries, asVector(model)) << "after " << i << " removals";
        }
    }
    EXPECT_TRUE(mdx.readOrder(0).empty());
    const RawTree empty = rawTree(path, 0);
    EXPECT_EQ(empty.depth, 0);
    EXPECT_TRUE(empty.entries.empty());
    expectPerlReads(path, "TAG", 60, model);

    for (std::uint32_t recno = 1; recno <= 500; ++recno)
        insertEntry(mdx, model, randomKey(rng, 60), recno);
    EXPECT_EQ(entriesOf(mdx, 0), asVector(model));
    EXPECT_EQ(rawTree(path, 0).entries, asVector(model));
    expectPerlReads(path, "TAG", 60, model);
}

TEST(MdxChange, EqualKeysOverManyLeavesStayInRecordOrder)
{
    const std::string same(30, 'S');
    Model model;
    for (std::uint32_t recno = 2; recno <= 1000; recno += 2)
        model.emplace(same, recno);
    model.emplace(std::string(30, 'A'), 7);
    model.emplace(std::string(30, 'Z'), 9);
    const TagKeys tag("SAME", 30, model);
    const QString path = kvtest::tempPath(QStringLiteral("SAME.MDX"));
    writeIndex(path, {&tag});

    MdxFile mdx;
    mdx.open(path, true);
    std::vector<std::uint32_t> odd;
    for (std::uint32_t recno = 1; recno < 1000; recno += 2)
        odd.push_back(recno);
    std::mt19937 rng(2);
    std::shuffle(odd.begin(), odd.end(), rng);
    for (std::uint32_t recno : odd)
        insertEntry(mdx, model, same, recno);
    for (std::uint32_t recno = 5; recno < 1000; recno += 7) {
        ASSERT_TRUE(mdx.remove(0, same.data(), recno));
        model.erase(model.find(Entry(same, recno)));
    }
    EXPECT_FALSE(mdx.remove(0, same.data(), 5));
    EXPECT_EQ(entriesOf(mdx, 0), asVector(model));
    EXPECT_EQ(rawTree(path, 0).entries, asVector(model));
    expectPerlReads(path, "SAME", 30, model);
}

TEST(MdxChange, AddingInKeyOrderFillsTheNodes)
{
    const QString path = kvtest::tempPath(QStringLiteral("APPEND.MDX"));
    const TagKeys tag("TAG", 40, Model{});
    writeIndex(path, {&tag});
    MdxFile mdx;
    mdx.open(path, true);
    Model model;
    for (std::uint32_t recno = 1; recno <= 3000; ++recno) {
        char key[41];
        std::snprintf(key, sizeof key, "%-40u", 100000 + recno);
        insertEntry(mdx, model, std::string(key, 40), recno);
    }
    const RawTree raw = rawTree(path, 0);
    EXPECT_EQ(raw.entries, asVector(model));
    // 23 entries of 44 bytes per leaf: nearly full leaves, not half-empty ones.
    EXPECT_LE(raw.leaves, 3000 / 22 + 1);
    expectPerlReads(path, "TAG", 40, model);
}

TEST(MdxChange, KeepsTheHeadersCurrent)
{
    const QString path = kvtest::tempPath(QStringLiteral("HEAD.MDX"));
    const TagKeys other("OTHER", 8, Model{{"OTHERKEY", 1}});
    const TagKeys tag("TAG", 20, Model{});
    writeIndex(path, {&other, &tag});
    QByteArray before = kvtest::readFile(path);
    // A date long past, so that the update is seen.
    before[44] = 90;
    before[45] = 1;
    before[46] = 1;
    kvtest::writeFile(path, before);
    const qint64 h = qint64(tagHeaderPage(before, 1)) * 512;
    ASSERT_EQ(u8(before, h + 246), 0);

    MdxFile mdx;
    mdx.open(path, true);
    const int t = mdx.findTag("tag");
    ASSERT_EQ(t, 1);
    Model model;
    std::mt19937 rng(9);
    for (std::uint32_t recno = 1; recno <= 200; ++recno) {
        const std::string key = randomKey(rng, 20);
        mdx.insert(t, key.data(), recno);
        model.emplace(key, recno);
    }
    const QByteArray after = kvtest::readFile(path);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(after.mid(44, 3), dateBytes(today));
    EXPECT_EQ(after.mid(1, 3), before.mid(1, 3)) << "creation date";
    EXPECT_EQ(u8(after, h + 246), 1);
    EXPECT_EQ(u8(after, h + 20), (1 + 200) % 256) << "change counter";
    EXPECT_GT(u32(after, h + 4), 2u);
    EXPECT_EQ(rawTree(path, 1).entries, asVector(model)); // also total pages, leaves, pages used
    EXPECT_EQ(rawTree(path, 0).entries, asVector(Model{{"OTHERKEY", 1}}));
}

TEST(MdxChange, RemovingWhatIsNotThereChangesNothing)
{
    const Model model{{"ALPHA ", 1}, {"BETA  ", 2}, {"BETA  ", 4}};
    const TagKeys tag("TAG", 6, model);
    const QString path = kvtest::tempPath(QStringLiteral("NONE.MDX"));
    writeIndex(path, {&tag});
    const QByteArray before = kvtest::readFile(path);
    MdxFile mdx;
    mdx.open(path, true);
    EXPECT_FALSE(mdx.remove(0, "BETA  ", 3));
    EXPECT_FALSE(mdx.remove(0, "GAMMA ", 1));
    EXPECT_FALSE(mdx.remove(0, "ALPHB ", 1));
    EXPECT_EQ(kvtest::readFile(path), before);
}

TEST(MdxChange, ReadOnlyFileRefusesChanges)
{
    const TagKeys tag("TAG", 6, Model{{"ALPHA ", 1}});
    const QString path = kvtest::tempPath(QStringLiteral("RO.MDX"));
    writeIndex(path, {&tag});
    MdxFile mdx;
    mdx.open(path, false);
    EXPECT_THROW(mdx.insert(0, "BETA  ", 2), DbError);
    EXPECT_THROW(mdx.remove(0, "ALPHA ", 1), DbError);
    EXPECT_EQ(mdx.readOrder(0), std::vector<std::uint32_t>{1});
}

TEST(MdxRead, TellsAnIndexInByteOrderFromOneInKeyOrder)
{
    std::mt19937 rng(17);
    const QString path = kvtest::tempPath(QStringLiteral("ORDER.MDX"));
    const Model model = writeRandomTag(rng, path, 3000, 12);
    MdxFile mdx;
    mdx.open(path, false);
    bool inKeyOrder = false;
    EXPECT_EQ(mdx.readOrder(0, &inKeyOrder), recnosOf(model));
    EXPECT_TRUE(inKeyOrder);
    mdx.close();

    // The same entries in byte order, leaf by leaf, as an older writer left them.
    QByteArray f = kvtest::readFile(path);
    const qint64 head = qint64(tagHeaderPage(f, 0)) * 512;
    std::uint32_t leaf = u32(f, head + 248);
    bool moved = false;
    for (std::uint32_t last = u32(f, head + 252);; leaf += 2) {
        const qint64 at = qint64(leaf) * 512;
        std::vector<std::string> items;
        for (std::uint32_t i = 0; i < u32(f, at); ++i)
            items.push_back(f.mid(at + 8 + i * 16, 16).toStdString());
        std::vector<std::string> sorted = items;
        std::stable_sort(sorted.begin(), sorted.end(),
                         [](const std::string &a, const std::string &b) { return a.compare(4, 12, b, 4, 12) < 0; });
        moved = moved || sorted != items;
        for (std::size_t i = 0; i < sorted.size(); ++i)
            f.replace(at + 8 + qint64(i) * 16, 16, QByteArray::fromStdString(sorted[i]));
        if (leaf == last)
            break;
    }
    ASSERT_TRUE(moved);
    kvtest::writeFile(path, f);
    mdx.open(path, false);
    mdx.readOrder(0, &inKeyOrder);
    EXPECT_FALSE(inKeyOrder);
}

// A file laid out as another program might: blocks in another order, the tag header
// not at page 4, old bytes in the unused areas, a leaf filled to (1024 - 8) / 8 = 127
// four-byte keys, and a maximum of 127 in the tag header.
TEST(MdxChange, ReadsAndChangesAFileLaidOutDifferently)
{
    QByteArray f(14 * 512, 'x');
    f.replace(0, 48, QByteArray(48, '\0'));
    f[0] = 2;
    f.replace(4, 4, "TEST");
    f[20] = 2;
    f[22] = 0;
    f[23] = 4; // 1024
    f[24] = 1;
    f[25] = 48;
    f[26] = 32;
    f[28] = 1;
    f[31] = 0x1B;
    set32(f, 32, 14);
    f[529] = 1;
    QByteArray entry(32, '\0');
    entry[0] = 10; // tag header at page 10
    entry.replace(4, 4, "KEYS");
    entry[15] = 0x10;
    entry[19] = 2;
    entry[20] = 'C';
    f.replace(544, 32, entry);
    // Tag header at page 10: root 4, 3 nodes, key length 4, item 8, 127 keys a node.
    QByteArray head(1024, '\0');
    set32(head, 0, 4);
    set32(head, 4, 6);
    head[8] = 0x10;
    head[9] = 'C';
    head[11] = 0x1B;
    head[12] = 4;
    head[14] = 127;
    head[18] = 8;
    head[20] = 5;
    head.replace(24, 4, "keys");
    head[246] = 1;
    set32(head, 248, 6);
    set32(head, 252, 12);
    f.replace(10 * 512, 1024, head);

    Model model;
    auto leaf = [&](std::uint32_t page, char letter, int count) {
        QByteArray node(1024, '\0');
        set32(node, 0, std::uint32_t(count));
        for (int i = 0; i < count; ++i) {
            const QByteArray key = letter + QByteArray::number(i).rightJustified(3, '0');
            set32(node, 8 + 8 * i, std::uint32_t(1000 + i));
            node.replace(12 + 8 * i, 4, key);
            model.emplace(key.toStdString(), 1000 + i);
        }
        f.replace(qint64(page) * 512, 1024, node);
    };
    leaf(6, 'A', 127);
    leaf(12, 'B', 10);
    QByteArray root(1024, '\0');
    set32(root, 0, 1);
    set32(root, 8, 6);
    root.replace(12, 4, "A126");
    set32(root, 16, 12);
    f.replace(4 * 512, 1024, root);
    const QString path = kvtest::tempPath(QStringLiteral("TEST.MDX"));
    kvtest::writeFile(path, f);

    MdxFile mdx;
    mdx.open(path, true);
    ASSERT_EQ(mdx.tagCount(), 1);
    EXPECT_EQ(mdx.tag(0).name, QByteArray("KEYS"));
    EXPECT_EQ(mdx.tag(0).expression, QByteArray("keys"));
    EXPECT_EQ(entriesOf(mdx, 0), asVector(model));
    expectPerlReads(path, "KEYS", 4, model);

    insertEntry(mdx, model, "A050", 1);
    insertEntry(mdx, model, "C000", 2);
    ASSERT_TRUE(mdx.remove(0, "B009", 1009));
    model.erase(Entry("B009", 1009));
    EXPECT_EQ(entriesOf(mdx, 0), asVector(model));
    EXPECT_EQ(rawTree(path, 0).entries, asVector(model));
    expectPerlReads(path, "KEYS", 4, model);
}

// ---- damaged files -------------------------------------------------------------------

TEST(MdxOpen, MissingFileSaysSo)
{
    MdxFile mdx;
    try {
        mdx.open(kvtest::tempPath(QStringLiteral("GONE.MDX")), false);
        ADD_FAILURE() << "opened a missing file";
    } catch (const DbError &e) {
        EXPECT_TRUE(e.message().endsWith(QStringLiteral("GONE.MDX\" is missing."))) << e.what();
    }
    EXPECT_FALSE(mdx.isOpen());
}

TEST(MdxOpen, DamagedFilesGiveAnErrorNotACrash)
{
    std::mt19937 rng(4);
    const QString good = kvtest::tempPath(QStringLiteral("GOOD.MDX"));
    writeRandomTag(rng, good, 3000, 40);
    const QByteArray original = kvtest::readFile(good);
    const qint64 head = 4 * 512;
    const qint64 root = qint64(u32(original, head)) * 512;
    const std::uint32_t firstLeaf = u32(original, head + 248);
    ASSERT_EQ(rawTree(good, 0).depth, 2);

    struct Case {
        const char *what;
        std::function<void(QByteArray &)> spoil;
        bool changesFail; // the damage lies on every path that insert and remove take
    } cases[] = {
        {"cut inside the header", [](QByteArray &f) { f.truncate(1000); }, true},
        {"cut in half", [](QByteArray &f) { f.truncate(f.size() / 2); }, true},
        {"not an index at all", [](QByteArray &f) { f = QByteArray("no index here\n").repeated(400); }, true},
        {"block size", [](QByteArray &f) { f[22] = 0; f[23] = 2; }, true},
        {"version", [](QByteArray &f) { f[0] = 0x7F; }, true},
        {"tags in use", [](QByteArray &f) { f[28] = 60; }, true},
        {"tag header beyond the end", [](QByteArray &f) { set32(f, 544, 0x00FFFFFF); }, true},
        {"item length zero", [head](QByteArray &f) { f[head + 18] = 0; f[head + 19] = 0; }, true},
        {"root beyond the end", [head](QByteArray &f) { set32(f, head, 0x7FFFFFFF); }, true},
        {"root in the file header", [head](QByteArray &f) { set32(f, head, 1); }, true},
        {"root count too large", [root](QByteArray &f) { set32(f, root, 5000); }, true},
        {"child beyond the end", [root](QByteArray &f) { set32(f, root + 8, 0xFFFFFFF0u); }, true},
        {"branch that holds itself", [root](QByteArray &f) { set32(f, root + 8, std::uint32_t(root / 512)); }, true},
        {"leaf count too large", [firstLeaf](QByteArray &f) { set32(f, qint64(firstLeaf) * 512, 300); }, true},
        {"leaves at two depths", [root, firstLeaf](QByteArray &f) { set32(f, root + 8, firstLeaf); }, false},
    };
    const std::string lowest(40, '\x01');
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        QByteArray bytes = original;
        c.spoil(bytes);
        const QString path = kvtest::tempPath(QStringLiteral("BAD.MDX"));
        kvtest::writeFile(path, bytes);
        MdxFile mdx;
        try {
            mdx.open(path, false);
            mdx.readOrder(0);
            ADD_FAILURE() << "read a damaged file";
        } catch (const DbError &e) {
            EXPECT_TRUE(e.message().endsWith(QStringLiteral("BAD.MDX\" is damaged."))) << e.what();
        }
        std::vector<char> keys;
        std::vector<std::uint32_t> recnos;
        EXPECT_THROW({
            mdx.open(path, false);
            mdx.readEntries(0, keys, recnos);
        }, DbError);

        bool threw = false;
        try {
            mdx.open(path, true);
            mdx.insert(0, lowest.data(), 1);
            mdx.remove(0, lowest.data(), 1);
        } catch (const DbError &) {
            threw = true;
        }
        if (c.changesFail) {
            EXPECT_TRUE(threw);
        }
    }
}

} // namespace
