// Times report runs of a large catalogue, as ratios to a plain read of the file: the
// text file of the one-line report "Title and Media Number Report" (every record), its
// PDF (pages per second), its page stream for the preview (time, pages, memory) and the
// preview window showing page 1 of that stream.
//
//   kv-bench-report [--dir DIR] [--records N,N,...]   (default 100,000 and 1,000,000;
//   the PDF and the preview only up to 100,000 records)
#include "catalogue_generator.h"
#include "report_engine/pageoutput.h"
#include "reports/builtinreports.h"
#include "reports/reportrun.h"
#include "reports/ui/mypreview.h"
#include "store/table.h"
#include "widgetbench.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

void line(double base, const char *what, double s, const QString &more = QString())
{
    std::printf("  %-34s %9.3f s  %8.2f x plain read  %s\n", what, s, base > 0 ? s / base : 0.0,
                more.toLocal8Bit().constData());
    std::fflush(stdout);
}

// Resident memory of this process, in MB.
double residentMb()
{
    QFile status(QStringLiteral("/proc/self/status"));
    if (!status.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &l : status.readAll().split('\n')) {
        if (l.startsWith("VmRSS:"))
            return l.mid(6).trimmed().split(' ').first().toDouble() / 1024;
    }
    return 0;
}

// One run of the report on table into output; its seconds.
double timeRun(kv::Table &table, kv::PageOutput &output, kv::OutputMode mode, const QString &textPath = {})
{
    kv::ReportRunSetup setup;
    setup.def = kv::builtInReports().first();
    setup.mode = mode;
    setup.textPath = textPath;
    setup.dateText = QStringLiteral("12/10/26");
    for (int n = 1; n <= kv::kFieldCount; ++n)
        setup.captions[size_t(n - 1)] = kv::defaultCaption(n);
    kv::ReportEngine engine(output);
    kv::ReportRun run(table, setup, engine);
    QElapsedTimer timer;
    timer.start();
    if (!run.run())
        std::fprintf(stderr, "run failed: %s\n", run.errorString().toLocal8Bit().constData());
    return seconds(timer);
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const double base = std::min({plainRead(path), plainRead(path), plainRead(path)});
    std::printf("%u records: plain read %.4f s\n", records, base);
    kv::Table table;
    table.setPath(path);
    table.setReadOnly(true); // the shared benchmark catalogue stays as it is
    table.open();

    const QString text = dir + QStringLiteral("/report-bench.txt");
    kv::DiscardOutput discard;
    const double textTime = timeRun(table, discard, kv::OutputMode::TextFile, text);
    line(base, "text file", textTime,
         QStringLiteral("%1 pages, %2 MB").arg(discard.stream().pageCount()).arg(QFileInfo(text).size() >> 20));
    QFile::remove(text);
    if (records > 100000)
        return;

    const QString pdf = dir + QStringLiteral("/report-bench.pdf");
    kv::PdfOutput pdfOut(pdf);
    const double pdfTime = timeRun(table, pdfOut, kv::OutputMode::Print);
    const int pages = pdfOut.stream().pageCount();
    line(base, "PDF file", pdfTime,
         QStringLiteral("%1 pages, %2 pages/s, %3 MB").arg(pages).arg(int(pages / pdfTime)).arg(QFileInfo(pdf).size() >> 20));
    QFile::remove(pdf);

    const double before = residentMb();
    kv::PageStream stream;
    kv::StreamOutput streamOut(stream);
    const double streamTime = timeRun(table, streamOut, kv::OutputMode::View);
    line(base, "page stream", streamTime,
         QStringLiteral("%1 pages, %2 MB more resident").arg(stream.pageCount()).arg(int(residentMb() - before)));

    kv::Settings settings;
    kv::SilentPrompt prompt;
    QElapsedTimer timer;
    timer.start();
    kv::TMyPreview preview(stream, QStringLiteral("Title and Media Number Report"), false, settings, prompt);
    preview.show();
    preview.surface()->widget()->repaint();
    const double shown = seconds(timer);
    line(base, "preview shows page 1 (stream made)", shown);
    line(base, "preview page 1 after the run starts", streamTime + shown);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-report", {100000, 1000000}, run);
}
