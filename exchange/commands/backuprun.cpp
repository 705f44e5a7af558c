#include "exchange/commands/backuprun.h"

#include "app/workspace/sortorder.h"
#include "base/paths.h"
#include "store/catalogue.h"

#include <QFileInfo>

namespace kv {

namespace {

// A restored table that is not the open catalogue's file and has a settings file of its
// own beside it is shown in the order those settings name, as opening it would.
QString sortExpressionFor(Workspace &ws, const QString &target)
{
    if (samePath(target, ws.paths().path))
        return ws.sortExpression();
    return savedSortExpression(target).value_or(ws.sortExpression());
}

} // namespace

ExchangeOutcome backUp(Workspace &ws, ExchangeKind kind, const QString &folder, const CopyControl &control)
{
    const CataloguePaths &paths = ws.paths();
    if (kind == ExchangeKind::Lists)
        ws.pickLists().SaveAllLists(paths.basePath);
    if (kind == ExchangeKind::Settings)
        CatalogueSession(ws).writeCatalogueSettings(paths.iniPath);
    if (kind != ExchangeKind::Table)
        return runBackup(kind, ws.master(), paths, programDir(), folder, ws.prompt(), control);

    const bool searching = ws.search().isOn();
    if (searching)
        ws.search().end();
    const std::uint32_t current = ws.currentRecord();
    const ExchangeOutcome outcome = backupTable(ws.master(), paths, folder, ws.prompt(), control);
    if (searching)
        ws.search().restart();
    ws.returnToRecord(current);
    ws.announceViewer();
    ws.announceCount();
    return outcome;
}

RestoreResult restore(Workspace &ws, ExchangeKind kind, const QString &source, const CopyControl &control)
{
    if (kind == ExchangeKind::Table && ws.search().isOn())
        ws.search().end();
    QString expression = ws.sortExpression();
    if (kind == ExchangeKind::Table)
        expression = sortExpressionFor(ws, restoredTablePath(programDir(), source));
    RestorePlace place{ws.master(), ws.check(), ws.paths(), expression, programDir()};
    const RestoreResult result = runRestore(kind, place, source, ws.prompt(), control);
    switch (kind) {
    case ExchangeKind::Table:
        // The restored file is not the one the steps changed.
        if (!result.written.isEmpty())
            ws.clearUndoHistory(QString::fromLatin1(kHistoryClearedByRestore));
        if (!result.written.isEmpty())
            CatalogueSession(ws).enterRestored(result.written.first());
        ws.announceViewer();
        ws.announceCount();
        break;
    case ExchangeKind::Lists:
        if (result.outcome != ExchangeOutcome::Stopped)
            ws.pickLists().LoadAllList(ws.paths().basePath);
        break;
    case ExchangeKind::Settings:
        // Only a file the open catalogue reads from changes what is shown.
        if (!result.written.isEmpty() && samePath(result.written.first(), ws.paths().iniPath))
            CatalogueSession(ws).rereadSettings();
        break;
    case ExchangeKind::Reports:
        break; // the report list is read from the file whenever it is shown
    }
    return result;
}

} // namespace kv
