#include "exchange/ui/backuprun.h"

#include "app/workspace/cataloguesession.h"
#include "base/paths.h"

namespace kv {

namespace {

void writeCatalogueSettings(Workspace &ws, const QString &iniPath)
{
    QString error;
    if (!writeSettings(iniPath, SettingsScope::Catalogue, ws.settings(), &error))
        ws.prompt().showError(error);
}

// The restored table is the open catalogue from now on: the one left keeps its settings
// and lists, and what is in memory goes with the restored one.
void switchToRestored(Workspace &ws, const QString &path)
{
    const CataloguePaths old = ws.paths();
    const CataloguePaths restored = CataloguePaths::of(path);
    if (restored != old) {
        writeCatalogueSettings(ws, old.iniPath);
        Q_EMIT ws.leavingCatalogue(old);
        ws.setPaths(restored);
        ws.settings().lastDatabase = path;
    }
    ws.announceCaption(catalogueCaption(restored.tableName));
}

} // namespace

ExchangeOutcome backUp(Workspace &ws, ExchangeKind kind, const QString &folder, const CopyControl &control)
{
    const CataloguePaths &paths = ws.paths();
    if (kind == ExchangeKind::Lists)
        ws.pickLists().SaveAllLists(paths.basePath);
    if (kind == ExchangeKind::Settings)
        writeCatalogueSettings(ws, paths.iniPath);
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
    RestorePlace place{ws.master(), ws.check(), ws.paths(), ws.sortExpression(), programDir()};
    const RestoreResult result = runRestore(kind, place, source, ws.prompt(), control);
    switch (kind) {
    case ExchangeKind::Table:
        if (!result.written.isEmpty())
            switchToRestored(ws, result.written.first());
        ws.announceViewer();
        ws.announceCount();
        break;
    case ExchangeKind::Lists:
        if (result.outcome != ExchangeOutcome::Stopped)
            ws.pickLists().LoadAllList(ws.paths().basePath);
        break;
    case ExchangeKind::Settings:
        // Only a file the open catalogue reads from changes what is shown.
        if (!result.written.isEmpty() && samePath(result.written.first(), ws.paths().iniPath)) {
            readSettings(ws.paths().iniPath, SettingsScope::Catalogue, ws.settings());
            Q_EMIT ws.catalogueOpened();
        }
        break;
    case ExchangeKind::Reports:
        break; // the report list is read from the file whenever it is shown
    }
    return result;
}

} // namespace kv
