// Times converting an older catalogue and setting a sort order, against reading the
// same records.
//
//   kv-bench-catalogue [--dir DIR] [--records N]
//
// A 2.x-layout file of N records (default 100,000) is written into DIR once and reused.
#include "bench/catalogue_generator.h"
#include "store/catalogue.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <cstdio>

namespace {

double seconds(const QElapsedTimer &t) { return double(t.nsecsElapsed()) / 1e9; }

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
    QString dir;
    std::uint32_t records = 100000;
    const QStringList args = app.arguments();
    for (qsizetype i = 1; i + 1 < args.size(); i += 2) {
        if (args[i] == QLatin1String("--dir"))
            dir = args[i + 1];
        else if (args[i] == QLatin1String("--records"))
            records = args[i + 1].toUInt();
    }
    QTemporaryDir temp;
    if (dir.isEmpty())
        dir = temp.path();
    QDir().mkpath(dir);
    const QString old = dir + QStringLiteral("/V2LOG_%1.DBF").arg(records);
    if (!QFileInfo::exists(old)) {
        std::printf("writing %u records in the 2.x layout...\n", records);
        writeOldCatalogue(old, records);
    }
    readAllAsText(old); // warm the page cache
    const double read = readAllAsText(old);
    std::printf("%u records\n  %-46s %8.3f s\n", records, "read every field as text (the base)", read);
    const auto report = [&](const char *what, double s) {
        std::printf("  %-46s %8.3f s  %5.2f x base\n", what, s, s / read);
    };

    const QString target = dir + QStringLiteral("/CONVERTED.DBF");
    kv::Table check, master;
    {
        kv::createMasterTable(master, target);
        master.open();
        QElapsedTimer t;
        t.start();
        kv::convertV2(check, old, master);
        report("convert 2.x, no sort order", seconds(t));
        master.close();
    }
    for (const kv::SortLevels &levels : {kv::SortLevels{2, 0, 0, 0}, kv::SortLevels{1, 2, 11, 32}}) {
        QElapsedTimer t;
        t.start();
        kv::applySortExpression(master, kv::buildSortString(levels));
        master.open();
        const double s = seconds(t);
        report(levels[1] ? "sort by four levels (tag built, opened)" : "sort by Star1 (tag built, opened)", s);
        master.close();
    }
    {
        kv::createMasterTable(master, target);
        master.close();
        kv::applySortExpression(master, kv::buildSortString({2, 0, 0, 0}));
        master.open();
        QElapsedTimer t;
        t.start();
        kv::convertV2(check, old, master);
        report("convert 2.x into a sorted catalogue", seconds(t));
        master.close();
    }
    return 0;
}
