// Times query search, locate and search and replace on a large synthetic catalogue in its
// sort order, each as a ratio to a plain sequential read of the same file.
//
//   kv-bench-search [--dir DIR] [--records N,N,...]
//
// Works on a copy (WORKSEARCH<N>.DBF) of the catalogue BENCH<N>.DBF in DIR (generated
// when missing), so the catalogue stays as it was. Runs on the offscreen platform unless
// QT_QPA_PLATFORM says otherwise.
#include "app/settings/settings.h"
#include "app/ui/viewergrid.h"
#include "app/workspace/workspace.h"
#include "benchutil.h"
#include "catalogue_generator.h"
#include "search/criteria.h"
#include "search/locate.h"
#include "search/replace.h"
#include "store/table.h"
#include "widgetbench.h"

#include <QCoreApplication>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

namespace {

using kvbench::plainRead;
using kvbench::seconds;

const QString kSortExpression = QStringLiteral("Upper(Left(Star1,80))");

void line(double base, const char *what, double s)
{
    std::printf("  %-64s %9.4f s  %6.2f x plain read\n", what, s, base > 0 ? s / base : 0.0);
    std::fflush(stdout);
}

void paint(kv::ViewerGrid &grid)
{
    QCoreApplication::processEvents();
    grid.grab();
}

kv::SearchRows rows(std::initializer_list<std::pair<int, kv::SearchRow>> cells)
{
    kv::SearchRows r;
    for (const auto &[field, row] : cells)
        r[std::size_t(field - 1)] = row;
    return r;
}

kv::CriteriaList criteria(std::initializer_list<kv::SearchRows> levels)
{
    kv::CriteriaList list;
    for (const kv::SearchRows &level : levels)
        kv::SaveFields(level, list);
    return list;
}

// A search applied as Ok applies it, the grid following and painted, the count read.
void timeSearch(double base, kv::Workspace &ws, kv::ViewerGrid &grid, const char *what, const kv::CriteriaList &list)
{
    QElapsedTimer timer;
    timer.start();
    const bool found = ws.search().apply(list);
    const int count = ws.recordCount();
    paint(grid);
    line(base, what, seconds(timer));
    timer.restart();
    grid.scrollToBottom();
    paint(grid);
    char label[128];
    std::snprintf(label, sizeof label, "  scroll to the end of the %d records and paint", found ? count : 0);
    line(base, label, seconds(timer));
    ws.search().clear();
}

// A Locate that only the last record in the order satisfies, from the first record.
void timeLocate(double base, kv::Workspace &ws)
{
    kv::Table &t = ws.master();
    t.last();
    t.edit();
    t.setFieldText(QStringLiteral("UserDef1"), QStringLiteral("Needle in the haystack"));
    t.post();
    t.first();
    kv::LocateOptions options;
    options.fieldName = QStringLiteral("UserDef1");
    options.searchValue = QStringLiteral("needle");
    QElapsedTimer timer;
    timer.start();
    const bool found = kv::locateRecord(t, options, true);
    line(base, found && t.position() == t.recordCount() - 1 ? "locate: only the last record matches (UserDef1)"
                                                              : "locate: NOT FOUND AT THE LAST RECORD",
         seconds(timer));
    options.fieldName = QStringLiteral("Year");
    options.searchValue = QStringLiteral("1929");
    options.match = kv::LocateMatch::Exact;
    timer.restart();
    kv::locateRecord(t, options, true);
    line(base, "locate: exact number that no record holds (Year = 1929)", seconds(timer));
}

// A replace that changes about a tenth of the records (one category of ten), against one
// search pass and one build of the sort tag.
void timeReplace(double base, kv::Workspace &ws)
{
    QElapsedTimer timer;
    timer.start();
    ws.search().apply(criteria({rows({{14, {"drama"}}})}));
    const double pass = seconds(timer);
    ws.search().clear();
    line(base, "replace: one search pass (Category contains \"drama\")", pass);
    const QString path = ws.master().filePath();
    ws.master().close();
    kv::Table t;
    t.setPath(path);
    timer.restart();
    t.addIndex(QStringLiteral("NewIndex"), kSortExpression);
    const double rebuild = seconds(timer);
    line(base, "replace: one build of the sort tag", rebuild);
    ws.openMaster();

    kv::SilentPrompt prompt;
    kv::ReplaceCounters n;
    timer.restart();
    kv::searchAndReplace(ws.master(), ws.check(), kSortExpression, {14, QStringLiteral("Drama"), QStringLiteral("DRAMA"), false},
                         prompt, {}, n);
    const double run = seconds(timer);
    char label[160];
    std::snprintf(label, sizeof label, "replace Category Drama -> DRAMA (%d of %d changed)", n.changed, n.processed);
    line(base, label, run);
    std::printf("  replace / (search pass + tag build) = %.2f (at most 1.50)\n", run / (pass + rebuild));
    timer.restart();
    kv::searchAndReplace(ws.master(), ws.check(), kSortExpression,
                         {14, QStringLiteral("No such category"), QStringLiteral("x"), false}, prompt, {}, n);
    line(base, "replace that finds nothing (the run without its changes)", seconds(timer));
}

QString workingCopy(const QString &dir, std::uint32_t records)
{
    const QString path = kvbench::benchCatalogue(dir, records);
    const QString copy = dir + QStringLiteral("/WORKSEARCH%1.DBF").arg(records);
    QFile::remove(copy);
    QFile::remove(dir + QStringLiteral("/WORKSEARCH%1.MDX").arg(records));
    QFile::copy(path, copy);
    kv::Table t;
    t.setPath(copy);
    t.addIndex(QStringLiteral("NewIndex"), kSortExpression);
    return copy;
}

void run(const QString &dir, std::uint32_t records)
{
    const QString path = workingCopy(dir, records);
    plainRead(path); // warm the page cache, as for a catalogue in use
    const double base = plainRead(path);
    std::printf("\n%u records, %.1f MB, sort order %s\n", records, double(QFileInfo(path).size()) / 1e6,
                qPrintable(kSortExpression));
    line(base, "plain sequential read of the file", base);

    kv::SilentPrompt prompt;
    kv::Settings settings;
    kv::Workspace ws(settings, prompt);
    ws.master().setPath(path);
    ws.master().setIndexName(QStringLiteral("NewIndex"));
    QElapsedTimer timer;
    timer.start();
    ws.openMaster();
    line(base, "open and count in the sort order", seconds(timer));
    kv::ViewerGrid grid(ws);
    grid.resize(1024, 600);
    grid.setTable(&ws.master());
    grid.setViewerOptions(settings);
    grid.show();
    paint(grid);

    using kv::RowOperator;
    timeSearch(base, ws, grid, "search: Title contains \"night\"", criteria({rows({{1, {"night"}}})}));
    timeSearch(base, ws, grid, "search: Star3 row \"bergman\" (all six star fields)",
               criteria({rows({{4, {"bergman"}}})}));
    timeSearch(base, ws, grid, "search: Star3 \"bergman\", Year 1950 ... 1970, price < 50",
               criteria({rows({{4, {"bergman"}},
                              {11, {"> 1950 AND < 1970", RowOperator::Range}},
                              {28, {"< 50", RowOperator::Less}}})}));
    timeSearch(base, ws, grid, "search: three levels (key words; category; date range)",
               criteria({rows({{26, {"zebra heat"}}}), rows({{14, {"noir"}}}),
                         rows({{35, {"> 01/01/1985 AND < 12/31/1986", RowOperator::Range}}})}));
    timeLocate(base, ws);
    timeReplace(base, ws);
}

} // namespace

int main(int argc, char **argv)
{
    return kvbench::runWidgetBenchmark(argc, argv, "kv-bench-search", {1000000}, run);
}
