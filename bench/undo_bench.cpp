// Times Undo and Redo of a search and replace against the replace itself, on a large
// synthetic catalogue in its sort order: the Undo of a run may take at most the run's time.
//
//   kv-bench-undo [--dir DIR] [--records N,N,...]
//
// Works on a copy (WORKUNDO<N>.DBF) of the catalogue BENCH<N>.DBF in DIR (generated when
// missing), so the catalogue stays as it was.
#include "app/settings/settings.h"
#include "app/workspace/records.h"
#include "app/workspace/workspace.h"
#include "benchutil.h"
#include "catalogue_generator.h"
#include "store/catalogue.h"
#include "store/fieldtable.h"
#include "widgetbench.h"

#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

using kvbench::seconds;

void line(double base, const QString &what, double s)
{
    std::printf("  %-64s %9.4f s  %6.2f x plain read\n", qPrintable(what), s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

int fieldNumber(const char *name)
{
    for (int n = 1; n <= kv::kFieldCount; ++n)
        if (kv::fieldName(n).compare(QLatin1String(name), Qt::CaseInsensitive) == 0)
            return n;
    return 0;
}

QString workingCopy(const QString &dir, std::uint32_t records, const QString &expression)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const QString copy = dir + QStringLiteral("/WORKUNDO%1.DBF").arg(records);
    QFile::remove(copy);
    QFile::remove(dir + QStringLiteral("/WORKUNDO%1.MDX").arg(records));
    QFile::copy(path, copy);
    kv::Table t;
    t.setPath(copy);
    t.addIndex(QString::fromLatin1(kv::kSortTagName), expression);
    return copy;
}

// One replace, its Undo and its Redo; false when a step did not run.
bool timeStep(double base, kv::Workspace &ws, const char *field, const char *search, const char *replacement)
{
    kv::ReplaceCounters n;
    QElapsedTimer timer;
    timer.start();
    const kv::ReplaceResult result = kv::replaceInMaster(
        ws, {fieldNumber(field), QString::fromLatin1(search), QString::fromLatin1(replacement), false}, {}, n);
    const double replace = seconds(timer);
    if (result != kv::ReplaceResult::Done)
        return false;
    line(base, QStringLiteral("replace %1 \"%2\" -> \"%3\" (%4 of %5 changed)")
                   .arg(QLatin1String(field), QLatin1String(search), QLatin1String(replacement))
                   .arg(n.changed)
                   .arg(n.processed),
         replace);
    timer.restart();
    const bool undone = kv::undoLastStep(ws);
    const double undo = seconds(timer);
    line(base, QStringLiteral("Undo %1").arg(ws.undoHistory()->redoName()), undo);
    timer.restart();
    const bool redone = kv::redoLastStep(ws);
    line(base, QStringLiteral("Redo %1").arg(ws.undoHistory()->undoName()), seconds(timer));
    std::printf("  undo / replace = %.2f (at most 1.00)\n", undo / replace);
    return undone && redone;
}

void run(const QString &dir, std::uint32_t records)
{
    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    ws.rebuildSortExpression();
    const QString path = workingCopy(dir, records, ws.sortExpression());
    kvbench::plainRead(path); // warm the page cache, as for a catalogue in use
    const double base = kvbench::plainRead(path);
    std::printf("\n%u records, %.1f MB, sort order %s\n", records, double(QFileInfo(path).size()) / 1e6,
                qPrintable(ws.sortExpression()));
    line(base, QStringLiteral("plain sequential read of the file"), base);
    ws.setPaths(kv::CataloguePaths::of(path));
    ws.master().setPath(path);
    ws.master().setIndexName(QString::fromLatin1(kv::kSortTagName));
    ws.keepUndoHistory();
    if (!ws.openMaster())
        std::exit(1);
    // Every live record (a field no record has), then about one in ten.
    if (!timeStep(base, ws, "Producer", "", "Acme") || !timeStep(base, ws, "Category", "Drama", "DRAMA")) {
        std::printf("  a step did not run\n");
        std::exit(1);
    }
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-undo", {100000}, run);
}
