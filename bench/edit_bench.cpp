// Times the edit window on a large catalogue in a sort order: opening it on a record
// (styled as the main window styles it), Next and Previous, and an Update that changes
// the sort key (the index kept current in place), each as a ratio to a plain sequential
// read of the same file.
//
//   kv-bench-edit [--dir DIR] [--records N,N,...]
//
// Catalogues are generated once into DIR (default: a temporary folder) and reused, as the
// other benchmarks do. Runs on the offscreen platform unless QT_QPA_PLATFORM says otherwise.
#include "app/settings/settings.h"
#include "app/style/styleddialog.h"
#include "app/workspace/workspace.h"
#include "benchutil.h"
#include "widgetbench.h"
#include "catalogue_generator.h"
#include "edit/ui/myedit.h"
#include "store/table.h"

#include <QApplication>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>

#include <algorithm>
#include <cstdio>
#include <random>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

const QString kTag = QStringLiteral("NewIndex");
const QString kKey = QStringLiteral("Upper(Left(Star1,80))");

void line(double base, const char *what, double s)
{
    std::printf("  %-60s %9.4f s  %7.3f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

// Times each run of work; reports the mean and the slowest.
template <typename Work> void measure(double base, const char *what, int times, Work &&work)
{
    double total = 0, worst = 0;
    for (int i = 0; i < times; ++i) {
        QElapsedTimer timer;
        timer.start();
        work(i);
        const double s = seconds(timer);
        total += s;
        worst = std::max(worst, s);
    }
    char label[128];
    std::snprintf(label, sizeof label, "%s, mean of %d", what, times);
    line(base, label, total / times);
    std::snprintf(label, sizeof label, "  the slowest");
    line(base, label, worst);
}

// True when the keys around the current record are in order: the record written sits
// where its new key belongs.
bool inPlace(kv::Table &table)
{
    const int p = table.position();
    const int star = table.fieldIndex(QStringLiteral("Star1"));
    const QString key = table.fieldTextAt(p, star).toUpper();
    const bool before = p == 0 || table.fieldTextAt(p - 1, star).toUpper() <= key;
    const bool after = p + 1 >= table.recordCount() || key <= table.fieldTextAt(p + 1, star).toUpper();
    return before && after;
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    plainRead(path);
    const double base = plainRead(path);
    std::printf("\n%u records, %.1f MB\n", records, double(QFileInfo(path).size()) / 1e6);
    line(base, "plain sequential read of the file", base);

    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    kv::Table &table = ws.master();
    table.setPath(path);
    table.open();
    const bool hasTag = table.indexNames().contains(kTag, Qt::CaseInsensitive);
    const bool current = hasTag && table.indexExpression(kTag).compare(kKey, Qt::CaseInsensitive) == 0;
    table.close();
    if (!current) {
        QElapsedTimer build;
        build.start();
        if (hasTag)
            table.deleteIndex(kTag);
        table.addIndex(kTag, kKey);
        line(base, "build NewIndex on Upper(Left(Star1,80))", seconds(build));
    }
    table.setIndexName(kTag);
    ws.openMaster();
    ws.setPaths(kv::CataloguePaths::of(path));
    ws.pickLists().LoadDefaultList();
    const int count = table.recordCount();

    kv::LookHolder look(settings);
    kv::TMyEdit window(ws, &look);
    std::mt19937 rng(13);
    measure(base, "open the edit window on a record and paint it", 20, [&](int) {
        table.moveTo(int(rng() % unsigned(count)));
        window.setEditMode(kv::EditMode::Edit);
        window.show();
        window.grab();
        window.hide();
    });

    table.moveTo(count / 2);
    window.setEditMode(kv::EditMode::Edit);
    window.show();
    measure(base, "Next and paint", 100, [&](int) {
        window.DoNextRecord();
        window.grab();
    });
    measure(base, "Previous and paint", 100, [&](int) {
        window.DoPreviousRecord();
        window.grab();
    });

    auto *star = static_cast<QComboBox *>(window.box(kv::fields::Star1));
    const QString mdx = table.mdxPath();
    const qint64 mdxBefore = QFileInfo(mdx).size();
    bool ordered = true;
    const std::uint32_t recno = table.recNo();
    measure(base, "Update with a new sort key and paint", 50, [&](int i) {
        star->setEditText(QStringLiteral("Bench Star %1").arg(QChar(QLatin1Char(char('A' + (i * 7) % 26)))));
        window.DoAnUpdate();
        window.grab();
        ordered = ordered && table.recNo() == recno && inPlace(table);
    });
    std::printf("  record %u stayed current at its new place in the order: %s; records %d -> %d; .MDX %lld -> %lld "
                "bytes\n",
                recno, ordered ? "yes" : "NO", count, table.recordCount(), mdxBefore, QFileInfo(mdx).size());
    QElapsedTimer close;
    close.start();
    window.done(0); // saves the fifteen lists
    line(base, "close the edit window (the lists saved)", seconds(close));
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-edit", {1000000}, run);
}
