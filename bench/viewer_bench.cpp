// Times the viewer grid on large synthetic catalogues: opening and counting, setting up
// the grid, showing it, scrolling, and closing the Viewer Configuration, in physical order
// and in a sort order, each as a ratio to a plain sequential read of the same file.
//
//   kv-bench-viewer [--dir DIR] [--records N,N,...]
//
// Catalogues are generated once into DIR (default: a temporary folder) and reused; the
// table benchmark's catalogues in the same folder serve as well. Runs on the offscreen
// platform unless QT_QPA_PLATFORM says otherwise.
#include "app/settings/settings.h"
#include "app/ui/viewconfigdialog.h"
#include "app/ui/viewergrid.h"
#include "app/workspace/workspace.h"
#include "benchutil.h"
#include "widgetbench.h"
#include "catalogue_generator.h"
#include "store/table.h"

#include <QApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QHeaderView>
#include <QListWidget>
#include <QPushButton>
#include <QScrollBar>
#include <QTableWidget>
#include <QTemporaryDir>

#include <algorithm>
#include <cstdio>
#include <memory>
#include <random>

namespace {

using kvbench::plainRead;
using kvbench::seconds;



void line(double base, const char *what, double s)
{
    std::printf("  %-60s %9.4f s  %7.3f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

// Paints the grid as it stands, as the screen would.
void paint(kv::ViewerGrid &grid)
{
    QCoreApplication::processEvents();
    grid.grab();
}

// Times work done `times` times and reports the time of one, named with the order.
template <typename Work> void measure(double base, const char *what, const char *order, int times, Work &&work)
{
    QElapsedTimer timer;
    timer.start();
    for (int i = 0; i < times; ++i)
        work();
    char label[128];
    std::snprintf(label, sizeof label, "%s (%s)", what, order);
    line(base, label, seconds(timer) / times);
}

// Closing the Viewer Configuration as the main window follows it: the closing rules,
// the grid set up again and painted. Each time a field is hidden or shown again, one
// moved and one renamed, so that the columns really change. The dialog's own showing is
// not timed.
void timeViewerConfigClose(double base, kv::ViewerGrid &grid, kv::Table &table, kv::Workspace &workspace,
                           const char *order)
{
    constexpr int kTimes = 20;
    const std::uint32_t current = table.recNo();
    double total = 0, worst = 0;
    bool kept = true;
    for (int i = 0; i < kTimes; ++i) {
        kv::TViewConfig dialog(workspace);
        dialog.show();
        auto *display = dialog.findChild<QTableWidget *>(QStringLiteral("DisplayGrid"));
        QTableWidgetItem *shown = display->item(1 + i % 5, 1);
        shown->setText(shown->text() == QLatin1String("Yes") ? QStringLiteral("No") : QStringLiteral("Yes"));
        dialog.findChild<QTableWidget *>(QStringLiteral("NameGrid"))
            ->item(0, 1)
            ->setText(QStringLiteral("Title %1").arg(i));
        auto *list = dialog.findChild<QListWidget *>(QStringLiteral("OrderList"));
        list->setCurrentRow(10);
        dialog.findChild<QPushButton *>(QStringLiteral("UpButton"))->click();
        auto *exit = dialog.findChild<QPushButton *>(QStringLiteral("ExitButton"));

        QElapsedTimer timer;
        timer.start();
        exit->click();
        grid.setTable(&table);
        grid.setViewerOptions(workspace.settings());
        paint(grid);
        const double s = seconds(timer);
        total += s;
        worst = std::max(worst, s);
        kept = kept && !dialog.isVisible() && table.recNo() == current;
    }
    char label[128];
    std::snprintf(label, sizeof label, "close Viewer Configuration, re-set, paint (%s)", order);
    line(base, label, total / kTimes);
    std::snprintf(label, sizeof label, "  the slowest of %d closes (%s)", kTimes, order);
    line(base, label, worst);
    std::printf("  current record %u %s\n", current, kept ? "kept through every close" : "NOT KEPT");
}

// The grid's work on an open table: set-up, first paint, a jump to the end, jumps and
// clicks at random places. Returns the rows the grid shows.
int timeGrid(double base, kv::Table &table, const char *order)
{
    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace workspace(settings, prompt);
    std::unique_ptr<kv::ViewerGrid> grid;
    measure(base, "create the grid on the table", order, 1, [&] {
        grid = std::make_unique<kv::ViewerGrid>(workspace);
        grid->resize(1024, 600);
        grid->setTable(&table);
        grid->setViewerOptions(settings);
    });
    measure(base, "show and paint the first page", order, 1, [&] {
        grid->show();
        paint(*grid);
    });
    measure(base, "scroll to the end and paint", order, 1, [&] {
        grid->scrollToBottom();
        paint(*grid);
    });

    const unsigned rows = unsigned(std::max(grid->model()->rowCount(), 1));
    std::mt19937 rng(7);
    constexpr int kTimes = 100;
    measure(base, "one jump to a random place and paint", order, kTimes, [&] {
        grid->verticalScrollBar()->setValue(int(rng() % rows));
        paint(*grid);
    });
    measure(base, "one click on a random record and paint", order, kTimes, [&] {
        grid->setCurrentIndex(grid->model()->index(int(rng() % rows), 0));
        paint(*grid);
    });
    timeViewerConfigClose(base, *grid, table, workspace, order);
    return grid->model()->rowCount();
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const QString mdx = dir + QStringLiteral("/BENCH%1.MDX").arg(records);
    QFile::remove(mdx); // physical order first, as generated
    plainRead(path); // warm the page cache, as for a catalogue in use
    const double base = plainRead(path);
    std::printf("\n%u records, %.1f MB\n", records, double(QFileInfo(path).size()) / 1e6);
    line(base, "plain sequential read of the file", base);

    kv::Table table;
    table.setPath(path);
    int count = 0;
    measure(base, "open and count", "physical order", 1, [&] {
        table.open();
        count = table.recordCount();
    });
    const int physicalRows = timeGrid(base, table, "physical order");
    table.close();

    measure(base, "build NewIndex on Upper(Left(Star1,80))", "sort order", 1, [&] {
        table.addIndex(QStringLiteral("NewIndex"), QStringLiteral("Upper(Left(Star1,80))"));
    });
    table.setIndexName(QStringLiteral("NewIndex"));
    int sortedCount = 0;
    measure(base, "open and count", "sort order", 1, [&] {
        table.open();
        sortedCount = table.recordCount();
    });
    const int sortedRows = timeGrid(base, table, "sort order");
    table.close();

    std::printf("  visible records %d (%d with the index); grid rows %d and %d\n", count, sortedCount, physicalRows,
                sortedRows);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-viewer", {1000000}, run);
}
