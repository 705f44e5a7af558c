// Times a label sheet made ready from a large catalogue: the run's checks, the scan for
// the sheet's media numbers (past a search that is on) and the layout of its labels;
// then the same sheet all the way into the label preview (the page drawn into its page
// stream by the report engine, the preview window shown with the page painted), as
// ratios to a plain read of the file. Two sheets: sixteen media numbers that fill up
// half-way through the file, and sixteen that match nothing (a scan of it all); each
// without a search and with one on.
//
//   kv-bench-labels [--dir DIR] [--records N,N,...]   (default 1,000,000)
#include "app/workspace/workspace.h"
#include "catalogue_generator.h"
#include "reports/commands/labelsheet.h"
#include "reports/ui/mypreview.h"
#include "widgetbench.h"

#include <algorithm>
#include <cstdio>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

void line(double base, const char *what, double s)
{
    std::printf("  %-60s %9.4f s  %9.2f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const double base = std::min({plainRead(path), plainRead(path), plainRead(path)});
    std::printf("%u records: plain read %.4f s\n", records, base);

    kv::Settings settings;
    kv::SilentPrompt prompt;
    kv::Workspace ws(settings, prompt);
    ws.master().setPath(path);
    ws.master().setReadOnly(true); // the shared benchmark catalogue stays as it is
    ws.master().open();
    const auto sheet = [&](const char *what, const std::function<QString(int)> &number) {
        for (int i = 1; i <= kv::kMaxLabelPositions; ++i) {
            const auto [column, row] = kv::positionCell(i);
            settings.labelItems[size_t(column)][size_t(row)] = number(i);
        }
        double ready = 1e9, previewed = 1e9;
        int labels = 0;
        for (int round = 0; round < 3; ++round) {
            QElapsedTimer timer;
            timer.start();
            const auto prepared = kv::prepareLabelSheet(ws, kv::LabelKind::Spine, kv::LabelStock::AveryL7654);
            ready = std::min(ready, seconds(timer));
            labels = prepared ? int(prepared->labels.size()) : -1;
            if (!prepared)
                continue;
            kv::PageStream stream;
            kv::StreamOutput output(stream, kv::labelPaperSize(prepared->stock));
            kv::printLabelSheet(*prepared, settings.font(kv::FontRole::ReportLabel), output);
            kv::TMyPreview preview(stream, QString::fromLatin1(kv::TMyPreview::kLabelCaption), true, settings, prompt);
            preview.show();
            preview.surface()->widget()->repaint();
            previewed = std::min(previewed, seconds(timer));
        }
        char label[128];
        std::snprintf(label, sizeof label, "%s (%d labels) made ready, best of 3", what, labels);
        line(base, label, ready);
        std::snprintf(label, sizeof label, "%s in the preview, best of 3", what);
        line(base, label, previewed);
    };
    const auto sheets = [&] {
        sheet("16 spine labels of 6 recordings", [](int i) { return QString::number(i * 37); });
        sheet("16 media numbers found nowhere", [](int i) { return QStringLiteral("NONE%1").arg(i); });
    };
    std::printf(" no search:\n");
    sheets();
    // The scan looks past the search, which stays on.
    ws.search().start([](const kv::RecordRef &r) { return r.text(QStringLiteral("Title")).contains('a'); });
    std::printf(" a search on (titles with an \"a\"):\n");
    sheets();
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-labels", {1000000}, run);
}
