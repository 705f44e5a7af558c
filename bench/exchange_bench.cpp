// Times export and import on a large catalogue, side by side with GDAL doing the same
// conversions, each as a ratio to a plain read of the catalogue.
//
//   kv-bench-exchange [--dir DIR] [--records 1000000]
//
// The catalogue BENCH<N>.DBF in DIR is reused (generated when missing) and only read;
// what is written goes to a temporary folder.
#include "benchutil.h"
#include "catalogue_generator.h"
#include "widgetbench.h"

#include "app/settings/settings.h"
#include "exchange/export.h"
#include "exchange/fieldbytes.h"
#include "exchange/import.h"
#include "store/catalogue.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QFileInfo>
#include <QProcess>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <fstream>
#include <string>

namespace {

using kvbench::seconds;

// Private memory: what a buffer of the program's own takes. The pages of the mapped
// table files are the page cache's, shared and given back under pressure.
long privateKb()
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind("RssAnon:", 0) == 0)
            return std::stol(line.substr(8));
    return -1;
}

// Samples private memory as the records go by; its highest value is the peak.
struct MemoryWatch : kv::ExchangeProgress {
    long peak = privateKb();
    bool advance(qint64 done) override
    {
        if ((done & 0xFFFF) == 0)
            peak = std::max(peak, privateKb());
        return true;
    }
};

struct Report {
    double base;
    void line(const char *what, double s, long peakGrowthKb = -1) const
    {
        std::printf("  %-46s %9.3f s  %7.2f x plain read", what, s, base > 0 ? s / base : 0.0);
        if (peakGrowthKb >= 0)
            std::printf("  private memory peak +%ld MB", peakGrowthKb / 1024);
        std::printf("\n");
        std::fflush(stdout);
    }
};

// The seconds a program took; negative when it could not run or failed.
double timed(const QString &program, const QStringList &args)
{
    QElapsedTimer timer;
    timer.start();
    QProcess p;
    p.start(program, args);
    if (!p.waitForFinished(-1) || p.exitCode() != 0)
        return -1;
    return seconds(timer);
}

// An empty catalogue with the default sort tag, as a new catalogue of the program has.
QString emptyCatalogue(const QString &path)
{
    kv::Table t;
    kv::createMasterTable(t, path);
    t.setExclusive(true);
    t.open();
    kv::applySortExpression(t, kv::buildSortString(kv::Settings().sortLevels));
    return path;
}

template <typename Work> void measure(const Report &r, const char *what, Work &&work)
{
    MemoryWatch watch;
    const long before = watch.peak;
    QElapsedTimer timer;
    timer.start();
    work(watch);
    const double s = seconds(timer);
    r.line(what, s, std::max(watch.peak, privateKb()) - before);
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    QTemporaryDir out;
    kvbench::plainRead(path); // the page cache warm, as for a catalogue in use
    const Report r{kvbench::plainRead(path)};
    std::printf("\n%u records, %.1f MB\n", records, double(QFileInfo(path).size()) / 1e6);
    r.line("plain sequential read of the catalogue", r.base);

    const kv::Settings settings;
    kv::ExportRequest request;
    request.fields = kv::exportList(settings);
    for (int n : request.fields)
        request.titles << kv::exportTitle(settings, n);
    const QString text = out.filePath(QStringLiteral("EXPORT.TXT"));
    const QString table = out.filePath(QStringLiteral("EXPORT.DBF"));

    kv::Table master;
    master.setPath(path);
    master.setReadOnly(true);
    master.open();
    const int count = master.recordCount();
    measure(r, "export to delimited text (40 fields)", [&](MemoryWatch &watch) {
        request.path = text;
        kv::exportRecords(master, request, &watch);
    });
    measure(r, "export to a dBASE table", [&](MemoryWatch &watch) {
        request.kind = kv::ExportKind::Dbase;
        request.path = table;
        request.titles.clear();
        kv::exportRecords(master, request, &watch);
    });
    measure(r, "export to delimited text in UTF-8", [&](MemoryWatch &watch) {
        request.kind = kv::ExportKind::Text;
        request.path = out.filePath(QStringLiteral("EXPORT8.TXT"));
        request.encoding = kv::TextEncoding::Utf8;
        kv::exportRecords(master, request, &watch);
    });
    QFile::remove(request.path);
    master.close();
    // The listing of the command line, into nothing.
    for (const bool sorted : {false, true}) {
        kv::Table listed;
        listed.setPath(path);
        listed.setReadOnly(true);
        listed.open();
        if (sorted && !listed.indexNames().contains(QStringLiteral("NewIndex"), Qt::CaseInsensitive))
            continue;
        if (sorted)
            listed.setIndexName(QStringLiteral("NewIndex"));
        measure(r, sorted ? "list (in the order of NewIndex)" : "list (physical order)", [&](MemoryWatch &) {
            QFile sink(QStringLiteral("/dev/null"));
            sink.open(QIODevice::WriteOnly);
            kv::writeListing(listed, sink, kv::TextEncoding::Cp1252);
        });
    }
    std::printf("  (text file %.1f MB)\n", double(QFileInfo(text).size()) / 1e6);

    const auto importInto = [&](const char *name, kv::ImportKind kind, const QString &source, MemoryWatch &watch) {
        kv::Table target;
        target.setPath(emptyCatalogue(out.filePath(QString::fromLatin1(name))));
        target.open();
        kv::ImportRequest in;
        in.kind = kind;
        in.path = source;
        in.fieldCount = kv::kFieldCount;
        in.map = kv::defaultImportMap(in.fieldCount);
        in.skipFirst = kind == kv::ImportKind::Text;
        const qint64 imported = kv::importRecords(target, in, &watch).imported;
        if (imported != qint64(count))
            std::printf("  imported %lld records of %d\n", static_cast<long long>(imported), count);
    };
    measure(r, "import of that text (sort tag kept)",
            [&](MemoryWatch &watch) { importInto("FROMTEXT.DBF", kv::ImportKind::Text, text, watch); });
    measure(r, "import of that dBASE table (sort tag kept)",
            [&](MemoryWatch &watch) { importInto("FROMDBF.DBF", kv::ImportKind::Dbase, table, watch); });
    QFile::remove(out.filePath(QStringLiteral("FROMTEXT.DBF")));
    QFile::remove(out.filePath(QStringLiteral("FROMDBF.DBF")));

    const QString gdalCsv = out.filePath(QStringLiteral("gdal.csv"));
    const double toCsv = timed(QStringLiteral("ogr2ogr"), {QStringLiteral("-f"), QStringLiteral("CSV"), gdalCsv, path});
    r.line("GDAL ogr2ogr DBF -> CSV", toCsv);
    const double toDbf = timed(QStringLiteral("ogr2ogr"), {QStringLiteral("-f"), QStringLiteral("ESRI Shapefile"),
                                                           out.filePath(QStringLiteral("gdal.dbf")), gdalCsv});
    r.line("GDAL ogr2ogr CSV -> DBF", toDbf);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-exchange", {1000000}, run);
}
