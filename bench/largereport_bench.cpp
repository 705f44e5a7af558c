// Times the "Large Report" (twelve lines a record, grouped by the first sort level) to a
// PDF file, as a ratio to a plain read of the catalogue: the report whose values are most
// often too wide for their stops, so the cost of fitting them shows here first.
//
//   kv-bench-largereport [--dir DIR] [--records N,N,...]   (default 100,000 and 1,000,000)
#include "benchutil.h"
#include "catalogue_generator.h"
#include "report_engine/pageoutput.h"
#include "reports/builtinreports.h"
#include "reports/reportrun.h"
#include "store/table.h"

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <cstdio>

namespace {

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const double base = std::min({kvbench::plainRead(path), kvbench::plainRead(path), kvbench::plainRead(path)});
    std::printf("%u records: plain read %.4f s\n", records, base);
    kv::Table table;
    table.setPath(path);
    table.setReadOnly(true); // the shared benchmark catalogue stays as it is
    table.open();

    kv::ReportRunSetup setup;
    for (const kv::TReportDefRec &def : kv::builtInReports())
        if (def.name == QLatin1String("Large Report"))
            setup.def = def;
    setup.mode = kv::OutputMode::Print;
    setup.dateText = QStringLiteral("12/10/26");
    setup.sortLevels = {14, 0, 0, 0}; // grouped by category, in the file's order
    for (int n = 1; n <= kv::kFieldCount; ++n)
        setup.captions[size_t(n - 1)] = kv::defaultCaption(n);

    const QString pdf = dir + QStringLiteral("/largereport-bench.pdf");
    kv::PdfOutput output(pdf, QSizeF(kv::kLetterWidth, kv::kLetterHeight));
    kv::ReportEngine engine(output);
    kv::ReportRun report(table, setup, engine);
    QElapsedTimer timer;
    timer.start();
    if (!report.run())
        std::fprintf(stderr, "run failed: %s\n", report.errorString().toLocal8Bit().constData());
    const double s = kvbench::seconds(timer);
    const int pages = output.stream().pageCount();
    std::printf("  %-34s %9.3f s  %8.2f x plain read  %d pages, %d pages/s, %lld MB\n", "Large Report to PDF", s,
                base > 0 ? s / base : 0.0, pages, int(pages / s), QFileInfo(pdf).size() >> 20);
    std::fflush(stdout);
    QFile::remove(pdf);
}

} // namespace

int main(int argc, char **argv)
{
    QGuiApplication app(argc, argv);
    const kvbench::Options options = kvbench::parseOptions(app.arguments().mid(1), {100000, 1000000});
    if (!options.valid) {
        std::fprintf(stderr, "usage: kv-bench-largereport [--dir DIR] [--records N,N,...]\n");
        return 2;
    }
    for (std::uint32_t n : options.sizes)
        run(options.dir, n);
    return 0;
}
