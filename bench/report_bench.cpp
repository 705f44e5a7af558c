// Times report runs of a large catalogue, as ratios to a plain read of the file: the
// text file of the one-line report "Title and Media Number Report" (every record), its
// PDF (pages per second), its page stream for the preview (time, pages, memory), and View
// from the Reports window until the preview shows page 1.
//
//   kv-bench-report [--dir DIR] [--records N,N,...]   (default 100,000 and 1,000,000;
//   the PDF and the preview only up to 100,000 records)
#include "app/workspace/workspace.h"
#include "base/paths.h"
#include "base/prompt.h"
#include "catalogue_generator.h"
#include "report_engine/pageoutput.h"
#include "reports/builtinreports.h"
#include "reports/reportfile.h"
#include "reports/reportrun.h"
#include "reports/ui/mypreview.h"
#include "reports/ui/myreport.h"
#include "reports/ui/reportform.h"
#include "store/table.h"
#include "widgetbench.h"

#include <QFile>
#include <QFileInfo>
#include <QListWidget>
#include <QPushButton>
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

// View from the Reports window, as the user starts it: the status window runs the
// report, and the preview shows page 1 as soon as the run has been going for a moment;
// the rest of the run goes on filling it.
void timeViewFromTheWindow(double base, const QString &dir, const QString &path)
{
    qputenv("XDG_DATA_HOME", QString(dir + QStringLiteral("/report-bench-home")).toUtf8());
    kv::prepareReportFile(kv::programDir());
    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    ws.master().setPath(path);
    ws.master().setReadOnly(true); // the shared benchmark catalogue stays as it is
    ws.openMaster();
    kv::TMyReport window(ws);
    window.show();
    window.ReportBox->setCurrentRow(0);
    QElapsedTimer timer;
    double firstPage = -1, whole = -1;
    const auto shown = [&](QDialog &d) {
        d.show();
        static_cast<kv::TMyPreview &>(d).surface()->widget()->repaint();
        if (firstPage < 0)
            firstPage = seconds(timer);
    };
    struct Runner : kv::WindowRunner {
        std::function<void(QDialog &)> onShow;
        std::function<int(QDialog &)> onExec;
        void show(QDialog &d) override { onShow(d); }
        int exec(QDialog &d) override { return onExec(d); }
    } runner;
    window.setRunner(&runner);
    runner.onShow = shown;
    runner.onExec = [&](QDialog &d) {
        if (auto *form = qobject_cast<kv::TReportForm *>(&d)) {
            form->show();
            form->run();
            whole = seconds(timer);
        } else {
            shown(d);
        }
        return int(QDialog::Accepted);
    };
    timer.start();
    window.ViewButton->click();
    line(base, "view: preview shows page 1", firstPage);
    line(base, "view: the run ends", whole);
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

    timeViewFromTheWindow(base, dir, path);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-report", {100000, 1000000}, run);
}
