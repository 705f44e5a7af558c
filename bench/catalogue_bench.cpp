// Times converting an older catalogue and setting a sort order, against reading the
// same records.
//
//   kv-bench-catalogue [--dir DIR] [--records N]
//
// A 2.x-layout file of N records (default 100,000) is written into DIR once and reused.
#include "benchutil.h"
#include "catalogue_generator.h"
#include "store/catalogue.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>

namespace {

using kvbench::seconds;

// The 2.x layout: an unexamined first field, then 28 fields of today's names.
const char *const kOldFields[] = {"Title",     "Star1",      "Star2",    "Star3",      "Star4",     "Producer",
                                  "Director",  "ReleasedBy", "Year",     "RunTime",    "Rating",    "Category",
                                  "Picture",   "Sound",      "Format",   "PersonalRa", "MediaNum",  "RecSpeed",
                                  "CounterSta", "CounterSto", "Descriptio", "Content",  "Miscellane", "KeyWords",
                                  "LaserForma", "ListPrice",  "OscarNom", "OscarAward"};

void writeOldCatalogue(const QString &path, std::uint32_t records)
{
    const QString source = path + QStringLiteral(".source.DBF");
    kvbench::generateCatalogue(source, records);
    kv::Table from;
    from.setPath(source);
    from.open();
    kv::Table to;
    to.setPath(path);
    to.clearFieldDefs();
    to.addFieldDef(QStringLiteral("LogNo"), 'N', 8, 0);
    std::vector<std::pair<int, int>> pairs;
    for (const char *name : kOldFields) {
        const int n = kv::fieldNumber(QString::fromLatin1(name));
        const kv::FieldInfo &f = kv::field(n);
        if (f.kind == kv::FieldKind::Text)
            to.addFieldDef(QString::fromLatin1(name), 'C', f.width, 0);
        else
            to.addFieldDef(QString::fromLatin1(name), 'N', 12, f.kind == kv::FieldKind::Real ? 2 : 0);
    }
    to.createTable();
    to.open();
    for (const char *name : kOldFields)
        pairs.emplace_back(from.fieldIndex(QString::fromLatin1(name)), to.fieldIndex(QString::fromLatin1(name)));
    std::uint32_t n = 0;
    for (from.first(); !from.eof(); from.next()) {
        to.append();
        to.setFieldNumber(0, ++n);
        for (auto [a, b] : pairs)
            to.setFieldText(b, from.fieldText(a));
        to.post();
    }
    to.close();
    from.close();
    QFile::remove(source);
}

double readAllAsText(const QString &path)
{
    QElapsedTimer timer;
    timer.start();
    kv::Table t;
    t.setPath(path);
    t.setReadOnly(true);
    t.open();
    qsizetype sink = 0;
    for (t.first(); !t.eof(); t.next())
        for (int i = 0; i < t.fieldCount(); ++i)
            sink += t.fieldText(i).size();
    t.close();
    if (sink < 0)
        std::puts("");
    return seconds(timer);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const kvbench::Options options = kvbench::parseOptions(app.arguments().mid(1), {100000});
    if (!options.valid || options.sizes.size() != 1) {
        std::fprintf(stderr, "usage: kv-bench-catalogue [--dir DIR] [--records N]\n");
        return 2;
    }
    const QString &dir = options.dir;
    const std::uint32_t records = options.sizes.first();
    const QString old = dir + QStringLiteral("/V2LOG_%1.DBF").arg(records);
    if (!QFileInfo::exists(old)) {
        std::printf("writing %u records in the 2.x layout...\n", records);
        writeOldCatalogue(old, records);
    }
    // Each figure is the best of three runs: this machine's other work only adds time.
    constexpr int kRuns = 3;
    const auto best = [](auto &&once) {
        double b = 1e9;
        for (int i = 0; i < kRuns; ++i)
            b = std::min(b, once());
        return b;
    };
    readAllAsText(old); // warm the page cache
    const double read = best([&] { return readAllAsText(old); });
    std::printf("%u records, best of %d runs\n  %-46s %8.3f s\n  %-46s %8.3f s\n", records, kRuns,
                "plain read of the file", best([&] { return kvbench::plainRead(old); }),
                "read every field as text (the base)", read);
    const auto report = [&](const char *what, double s) {
        std::printf("  %-46s %8.3f s  %5.2f x base\n", what, s, s / read);
    };

    const QString target = dir + QStringLiteral("/CONVERTED.DBF");
    kv::Table check, master;
    // Converts into a new catalogue, sorted by Star1 or in physical order.
    const auto convertOnce = [&](bool sorted) {
        kv::createMasterTable(master, target);
        master.close();
        if (sorted)
            kv::applySortExpression(master, kv::buildSortString({2, 0, 0, 0}));
        master.open();
        QElapsedTimer t;
        t.start();
        kv::convertV2(check, old, master);
        const double s = seconds(t);
        master.close();
        return s;
    };
    report("convert 2.x, no sort order", best([&] { return convertOnce(false); }));
    for (const kv::SortLevels &levels : {kv::SortLevels{2, 0, 0, 0}, kv::SortLevels{1, 2, 11, 32}}) {
        const double s = best([&] {
            master.close();
            master.setIndexName(QString());
            QElapsedTimer t;
            t.start();
            kv::applySortExpression(master, kv::buildSortString(levels));
            master.open();
            const double once = seconds(t);
            master.close();
            return once;
        });
        report(levels[1] ? "sort by four levels (tag built, opened)" : "sort by Star1 (tag built, opened)", s);
    }
    report("convert 2.x into a sorted catalogue", best([&] { return convertOnce(true); }));
    return 0;
}
