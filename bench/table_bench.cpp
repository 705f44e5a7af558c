// Times the table engine on large synthetic catalogues and reports each figure as a
// ratio to a plain sequential read of the same file.
//
//   kv-bench-table [--dir DIR] [--records N,N,...]
//
// Catalogues are generated once into DIR (default: a temporary folder) and reused.
#include "benchutil.h"
#include "catalogue_generator.h"
#include "store/table.h"

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>

#include <QStringList>

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string>
#include <sys/resource.h>
#include <unistd.h>
#include <vector>

namespace {

using kvbench::plainRead;
using kvbench::seconds;


long statusKb(const char *key)
{
    std::ifstream status("/proc/self/status");
    std::string line;
    while (std::getline(status, line))
        if (line.rfind(key, 0) == 0)
            return std::stol(line.substr(std::strlen(key)));
    return -1;
}

void resetPeakRss()
{
    std::ofstream clear("/proc/self/clear_refs");
    clear << "5";
}


double cpuSeconds()
{
    rusage u{};
    ::getrusage(RUSAGE_SELF, &u);
    return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
}

// Wall and processor time together: on a busy machine the processor time is the steadier.
struct Clock {
    QElapsedTimer wall;
    double cpu = 0;
    Clock() { restart(); }
    void restart()
    {
        wall.restart();
        cpu = cpuSeconds();
    }
};

struct Report {
    double base;
    void line(const char *what, double s) const
    {
        std::printf("  %-44s %9.3f s  %6.2f x plain read\n", what, s, base > 0 ? s / base : 0.0);
        std::fflush(stdout);
    }
    void perRecord(const char *what, const Clock &c, std::uint32_t n) const
    {
        const double s = seconds(c.wall), cpu = cpuSeconds() - c.cpu;
        std::printf("  %-44s %9.3f s  %6.2f x plain read  %7.2f us/record (processor %.3f s, %.2f us/record)\n", what,
                    s, base > 0 ? s / base : 0.0, s * 1e6 / n, cpu, cpu * 1e6 / n);
        std::fflush(stdout);
    }
};

const QString kOneLevel = QStringLiteral("Upper(Left(Title,80))");
const QString kFourLevels =
    QStringLiteral("Upper(Left(Title,20))+Upper(Left(Star1,20))+STR(Year,12,0)+DTOS(PurchDate)");

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    QFile::remove(dir + QStringLiteral("/BENCH%1.MDX").arg(records));
    const qint64 fileSize = QFileInfo(path).size();
    plainRead(path); // warm the page cache, as for a catalogue in use
    Report r{plainRead(path)};
    std::printf("\n%u records, %.1f MB\n", records, double(fileSize) / 1e6);
    r.line("plain sequential read of the file", r.base);

    kv::Table t;
    t.setPath(path);
    QElapsedTimer timer;

    resetPeakRss();
    const long anonAtStart = statusKb("RssAnon:");
    timer.start();
    t.open();
    int count = t.recordCount();
    r.line("open and count (physical order)", seconds(timer));

    timer.restart();
    std::size_t chars = 0;
    for (int row = 0; row < count; ++row)
        for (int f = 0; f < t.fieldCount(); ++f)
            chars += size_t(t.fieldTextAt(row, f).size());
    r.line("read every field of every record as text", seconds(timer));

    timer.restart();
    int matches = 0;
    t.setFilterFunction([&](const kv::RecordRef &rec) {
        return rec.text(0).contains(QStringLiteral("night"), Qt::CaseInsensitive);
    });
    t.setFiltered(true);
    matches = t.recordCount();
    r.line("filter pass: Title contains \"night\"", seconds(timer));
    t.setFiltered(false);
    t.close();

    timer.restart();
    t.addIndex(QStringLiteral("NewIndex"), kFourLevels);
    r.line("build NewIndex, four levels", seconds(timer));
    timer.restart();
    t.addIndex(QStringLiteral("NewIndex"), kOneLevel);
    r.line("build NewIndex, one level", seconds(timer));

    t.setIndexName(QStringLiteral("NewIndex"));
    timer.restart();
    t.open();
    count = t.recordCount();
    r.line("open and count with the existing index", seconds(timer));
    const long rss = statusKb("VmHWM:");
    const long anon = statusKb("RssAnon:");
    const long startAnon = anonAtStart;

    // Work on a copy so the catalogue stays as generated for the next run.
    t.close();
    const QString copy = dir + QStringLiteral("/WORK%1.DBF").arg(records);
    const QString copyMdx = dir + QStringLiteral("/WORK%1.MDX").arg(records);
    QFile::remove(copy);
    QFile::remove(copyMdx);
    QFile::copy(path, copy);
    QFile::copy(dir + QStringLiteral("/BENCH%1.MDX").arg(records), copyMdx);
    kv::Table w;
    w.setPath(copy);
    w.setIndexName(QStringLiteral("NewIndex"));
    w.open();
    // The field texts of the catalogue's first 10,000 records, read once: the appends
    // below set them field by field, as an import sets what it has parsed, over and over.
    constexpr int kTexts = 10000;
    std::vector<QStringList> texts;
    {
        kv::Table source;
        source.setPath(path);
        source.setReadOnly(true);
        source.open();
        for (source.first(); !source.eof() && texts.size() < kTexts; source.next()) {
            QStringList row;
            for (int f = 0; f < source.fieldCount(); ++f)
                row << source.fieldText(f);
            texts.push_back(row);
        }
    }
    // 100,000 records from those texts: in one bulk append (the path of import and
    // convert, which ends it before the display resumes), then one by one, each its own
    // change under the write lock. The display then shows the first record in the index
    // order.
    constexpr int kAppended = 100000;
    const auto appendCopies = [&](bool keep, kv::Table::BulkAppend *bulk) {
        w.suspendDisplay();
        for (int i = 0; i < kAppended; ++i) {
            const QStringList &row = texts[std::size_t(i) % texts.size()];
            w.append();
            for (int f = 0; f < w.fieldCount(); ++f)
                w.setFieldText(f, row.at(f));
            if (keep)
                w.post();
            else
                w.cancel();
        }
        if (bulk)
            bulk->commit();
        w.resumeDisplay();
        w.first();
    };
    Clock clock;
    appendCopies(false, nullptr);
    r.perRecord("the same fields set from text, nothing added", clock, kAppended);
    clock.restart();
    {
        kv::Table::BulkAppend bulk(w);
        appendCopies(true, &bulk);
    }
    r.perRecord("append 100,000 records in bulk (index kept)", clock, kAppended);
    clock.restart();
    appendCopies(true, nullptr);
    r.perRecord("add 100,000 records one by one (index kept)", clock, kAppended);
    const QString problem = w.indexProblem();
    if (!problem.isEmpty())
        std::printf("  INDEX UNSOUND AFTER APPENDING: %s\n", qPrintable(problem));
    w.close();
    const std::uint32_t packed = records + 2 * kAppended;
    plainRead(copy);
    Report p{plainRead(copy)};
    p.line("plain read of the appended copy", p.base);
    // The least that a pack which survives a crash must do: write the file once and
    // wait for the disk. QFile::copy syncs its copy before it returns.
    const QString synced = dir + QStringLiteral("/SYNCEDCOPY.DBF");
    QFile::remove(synced);
    ::sync(); // each of the two starts with nothing else on its way to the disk
    clock.restart();
    if (!QFile::copy(copy, synced))
        std::printf("  COPY FAILED\n");
    const double copySeconds = seconds(clock.wall);
    p.line("copy of the appended copy, synced to disk", copySeconds);
    QFile::remove(synced);
    ::sync();
    clock.restart();
    w.pack();
    const double packSeconds = seconds(clock.wall);
    p.perRecord("pack (and rebuild the index)", clock, packed);
    std::printf("  pack / synced copy = %.2f\n", copySeconds > 0 ? packSeconds / copySeconds : 0.0);
    QFile::remove(copy);
    QFile::remove(copyMdx);

    std::printf("  visible records %d, filter matches %d, text read %zu characters\n", count, matches, chars);
    std::printf("  peak resident memory while opening and reading: %.1f MB, of it mapped file pages and libraries"
                " the rest; private memory grew by %.1f MB (%.1f B/record); bound: file %.1f MB + 64 B/record = %.1f MB\n",
                double(rss) / 1024.0, double(anon - startAnon) / 1024.0, double(anon - startAnon) * 1024.0 / records,
                double(fileSize) / 1e6, (double(fileSize) + 64.0 * records) / 1e6);
}

} // namespace

int main(int argc, char **argv)
{
    QCoreApplication app(argc, argv);
    const kvbench::Options options = kvbench::parseOptions(app.arguments().mid(1), {100000, 1000000});
    if (!options.valid) {
        std::fprintf(stderr, "usage: kv-bench-table [--dir DIR] [--records N,N,...]\n");
        return 2;
    }
    for (std::uint32_t n : options.sizes)
        run(options.dir, n);
    return 0;
}
