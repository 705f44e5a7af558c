#include "storefuzz.h"

#include "store/dbf/companion.h"
#include "store/index/mdx.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QFile>
#include <random>

namespace kvfuzz {

namespace {

void put(const QString &path, const QByteArray &bytes)
{
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(bytes);
}

QByteArray get(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

// One mutation: bytes flipped, a header field set to an edge value, the file cut or a
// piece of it repeated. Headers are hit more often than records: that is where readers
// trust what they find.
void mutate(QByteArray &b, std::mt19937 &rng)
{
    if (b.isEmpty())
        return;
    auto at = [&](int limit) { return int(rng() % unsigned(std::max(1, std::min(limit, int(b.size()))))); };
    switch (rng() % 6) {
    case 0:
        for (unsigned i = 0, n = 1 + rng() % 8; i < n; ++i)
            b[at(int(b.size()))] = char(rng());
        break;
    case 1:
        for (unsigned i = 0, n = 1 + rng() % 4; i < n; ++i)
            b[at(4096)] = char(rng());
        break;
    case 2: {
        static const std::uint32_t edges[] = {0, 1, 2, 0x7F, 0x80, 0xFF, 0x100, 0xFFFF, 0x10000, 0x7FFFFFFF, 0xFFFFFFFF};
        const std::uint32_t v = edges[rng() % std::size(edges)];
        const int p = at(4096);
        for (int i = 0; i < 4 && p + i < b.size(); ++i)
            b[p + i] = char(v >> (8 * i));
        break;
    }
    case 3:
        b.truncate(at(int(b.size())));
        break;
    case 4: {
        const int from = at(int(b.size())), length = 1 + at(1024);
        b.insert(at(int(b.size())), b.mid(from, length));
        break;
    }
    default: { // a node or page pointer in an index block pointing elsewhere
        const int p = (at(int(b.size())) / 4) * 4;
        const std::uint32_t page = rng() % 64;
        for (int i = 0; i < 4 && p + i < b.size(); ++i)
            b[p + i] = char(page >> (8 * i));
        break;
    }
    }
}

} // namespace

Seed makeSeed(const QString &dir)
{
    const QString path = dir + QStringLiteral("/SEED.DBF");
    kv::Table t;
    kv::createMasterTable(t, path);
    t.setPath(path);
    t.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Title,80))"));
    t.addIndex(QStringLiteral("Years"), QStringLiteral("STR(Year,4)+Upper(Left(Star1,80))"));
    t.open();
    const char *titles[] = {"Zulu", "alpha", "Émile", "beta", "", "gamma", "delta", "Alpha"};
    int year = 1990;
    for (const char *title : titles) {
        t.append();
        t.setFieldText(QStringLiteral("Title"), QString::fromUtf8(title));
        t.setFieldText(QStringLiteral("Year"), QString::number(year));
        t.setFieldText(QStringLiteral("Star1"), QString::fromUtf8(title).toLower());
        year += 3;
        t.post();
    }
    t.moveTo(2);
    t.deleteRecord();
    t.close();
    return {get(path), get(kv::mdxPathFor(path))};
}

int readAll(const QString &dir, const QByteArray &dbf, const QByteArray &mdx)
{
    const QString path = dir + QStringLiteral("/FUZZ.DBF");
    put(path, dbf);
    put(dir + QStringLiteral("/FUZZ.MDX"), mdx);
    int read = 0;
    kv::Table t;
    t.setPath(path);
    t.setReadOnly(true);
    try {
        t.open();
        const QStringList tags = t.indexNames();
        for (const QString &order : QStringList{QString()} + tags) {
            try {
                t.setIndexName(order);
                for (int row = 0; row < t.recordCount(); ++row, ++read)
                    for (int f = 0; f < t.fieldCount(); ++f)
                        (void)t.fieldTextAt(row, f);
            } catch (const kv::DbError &) {
            }
        }
        (void)t.indexProblem();
    } catch (const kv::DbError &) {
    }
    t.close();
    kv::MdxFile index;
    try {
        index.open(dir + QStringLiteral("/FUZZ.MDX"), false);
        std::vector<char> keys;
        std::vector<std::uint32_t> recnos;
        for (int tag = 0; tag < index.tagCount(); ++tag) {
            index.readEntries(tag, keys, recnos);
            read += int(index.readOrder(tag).size() > 0);
        }
    } catch (const kv::DbError &) {
    }
    return read;
}

std::uint64_t run(const QString &dir, const Seed &seed, std::uint64_t n, std::uint32_t randomSeed)
{
    std::mt19937 rng(randomSeed);
    std::uint64_t read = 0;
    for (std::uint64_t i = 0; i < n; ++i) {
        QByteArray dbf = seed.dbf, mdx = seed.mdx;
        for (unsigned m = 0, count = 1 + rng() % 3; m < count; ++m)
            mutate(rng() % 2 ? dbf : mdx, rng);
        read += std::uint64_t(readAll(dir, dbf, mdx));
    }
    return read;
}

} // namespace kvfuzz
