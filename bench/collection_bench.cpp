// Times the statistics and the quick filter on a large synthetic catalogue, each as a
// ratio to a plain sequential read of the same file.
//
//   kv-bench-collection [--dir DIR] [--records N,N,...]
//
// Opens the catalogue BENCH<N>.DBF in DIR (generated when missing) read-only, in the order
// of its NewIndex tag when it has one. The quick filter is timed as the user meets it: from
// a key to the grid showing the narrowed rows, with the longest wait of the event loop meanwhile.
#include "app/settings/settings.h"
#include "app/ui/viewergrid.h"
#include "app/workspace/quickfilter.h"
#include "app/workspace/workspace.h"
#include "benchutil.h"
#include "catalogue_generator.h"
#include "collection/collectionstats.h"
#include "collection/duplicates.h"
#include "widgetbench.h"

#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QTimer>
#include <cstdio>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

void line(double base, const char *what, double s)
{
    std::printf("  %-64s %9.4f s  %6.2f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

struct KeyTiming {
    double seconds = 0;
    qint64 longestGapMs = 0;
    int rows = 0;
};

// One key: the filter given the text, until the grid has painted the rows it leaves.
KeyTiming press(kv::QuickFilter &filter, kv::Workspace &ws, kv::ViewerGrid &grid, const QString &text)
{
    QEventLoop loop;
    QElapsedTimer gap, clock;
    qint64 longest = 0;
    QTimer ticker;
    ticker.setInterval(1);
    QObject::connect(&ticker, &QTimer::timeout, [&] {
        longest = std::max(longest, gap.restart());
    });
    const auto done = QObject::connect(&filter, &kv::QuickFilter::applied, &loop, &QEventLoop::quit);
    clock.start();
    gap.start();
    ticker.start();
    filter.setText(text);
    if (filter.busy())
        loop.exec();
    QObject::disconnect(done);
    grid.viewport()->repaint();
    KeyTiming t;
    t.seconds = seconds(clock);
    ticker.stop();
    t.longestGapMs = std::max(longest, gap.elapsed());
    t.rows = ws.recordCount();
    return t;
}

void typeWord(double base, kv::QuickFilter &filter, kv::Workspace &ws, kv::ViewerGrid &grid, const QString &before,
              const QString &word, const char *what)
{
    double worst = 0;
    qint64 gap = 0;
    int rows = 0;
    for (int k = 1; k <= word.size(); ++k) {
        const KeyTiming t = press(filter, ws, grid, before + word.left(k));
        worst = std::max(worst, t.seconds);
        gap = std::max(gap, t.longestGapMs);
        rows = t.rows;
    }
    char label[160];
    std::snprintf(label, sizeof label, "%s: slowest key (%d rows left, event loop waited <= %lld ms)", what, rows,
                  static_cast<long long>(gap));
    line(base, label, worst);
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    plainRead(path); // warm the page cache, as for a catalogue in use
    const double base = plainRead(path);
    std::printf("\n%u records, %.1f MB\n", records, double(QFileInfo(path).size()) / 1e6);
    line(base, "plain sequential read of the file", base);

    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    ws.master().setPath(path);
    ws.master().setReadOnly(true);
    {
        kv::Table probe;
        probe.setPath(path);
        probe.setReadOnly(true);
        probe.open();
        if (probe.indexNames().contains(QStringLiteral("NewIndex"), Qt::CaseInsensitive))
            ws.master().setIndexName(QStringLiteral("NewIndex"));
    }
    QElapsedTimer timer;
    timer.start();
    ws.openMaster();
    std::printf("  order: %s\n", ws.master().indexName().isEmpty() ? "physical" : "NewIndex tag");
    line(base, "open and count", seconds(timer));

    for (int pass = 0; pass < 2; ++pass) {
        timer.restart();
        const kv::CollectionStats s =
            kv::collectStats(ws.master(), kv::StatsScope::Catalogue, QDate::currentDate(), 30);
        char label[128];
        std::snprintf(label, sizeof label, "statistics of the whole catalogue (%lld videos, %zu loans)",
                      static_cast<long long>(s.records), s.loans.size());
        line(base, label, seconds(timer));
    }
    timer.restart();
    const std::size_t groups = kv::findDuplicates(ws.master()).size();
    char label[128];
    std::snprintf(label, sizeof label, "duplicate groups (%zu found)", groups);
    line(base, label, seconds(timer));

    kv::ViewerGrid grid(ws);
    grid.resize(1024, 600);
    grid.setTable(&ws.master());
    grid.setViewerOptions(settings);
    grid.show();
    QCoreApplication::processEvents();
    // What the table itself takes to show a narrowed view, whatever finds the rows.
    {
        auto keep = std::make_shared<std::vector<std::uint8_t>>(ws.master().physicalCount() + 1, 0);
        for (std::size_t r = 0; r < keep->size(); r += 3)
            (*keep)[r] = 1;
        timer.restart();
        ws.search().setNarrowing([keep](const kv::RecordRef &r) { return (*keep)[r.recNo()] != 0; });
        line(base, "the table narrowed to every third record", seconds(timer));
        timer.restart();
        ws.search().setNarrowing({});
        line(base, "the table shown whole again", seconds(timer));
    }
    kv::QuickFilter filter(ws);
    const KeyTiming first = press(filter, ws, grid, QStringLiteral("b"));
    std::snprintf(label, sizeof label, "filter: first key, the shown text read (%d rows, loop waited <= %lld ms)",
                  first.rows, static_cast<long long>(first.longestGapMs));
    line(base, label, first.seconds);
    typeWord(base, filter, ws, grid, QString(), QStringLiteral("bogart"), "filter \"bogart\" typed");
    typeWord(base, filter, ws, grid, QStringLiteral("bogart "), QStringLiteral("casablanca"),
             "filter \"bogart casablanca\"");
    typeWord(base, filter, ws, grid, QString(), QStringLiteral("zoe"), "filter \"zoe\" (accents aside)");
    const KeyTiming fresh = press(filter, ws, grid, QStringLiteral("heat"));
    std::snprintf(label, sizeof label, "filter: a new word, whole text searched (%d rows, loop <= %lld ms)",
                  fresh.rows, static_cast<long long>(fresh.longestGapMs));
    line(base, label, fresh.seconds);
    const KeyTiming none = press(filter, ws, grid, QStringLiteral("zzzz"));
    std::snprintf(label, sizeof label, "filter: a word no record holds (loop <= %lld ms)",
                  static_cast<long long>(none.longestGapMs));
    line(base, label, none.seconds);
    const KeyTiming cleared = press(filter, ws, grid, QString());
    std::snprintf(label, sizeof label, "filter emptied (%d rows, loop <= %lld ms)", cleared.rows,
                  static_cast<long long>(cleared.longestGapMs));
    line(base, label, cleared.seconds);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-collection", {1000000}, run);
}
