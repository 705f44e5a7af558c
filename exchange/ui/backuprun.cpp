#include "exchange/ui/backuprun.h"

#include "app/workspace/cataloguesession.h"
#include "base/paths.h"
#include "store/catalogue.h"

#include <QDir>
#include <QFileInfo>

namespace kv {

namespace {

void writeCatalogueSettings(Workspace &ws, const QString &iniPath)
{
    QString error;
    if (!writeSettings(iniPath, SettingsScope::Catalogue, ws.settings(), &error))
        ws.prompt().showError(error);
}

// A restored table that is not the open catalogue's file and has a settings file of its
// own beside it is shown in the order those settings name, as opening it would.
QString sortExpressionFor(Workspace &ws, const QString &target)
{
    const QString ini = catalogueSettingsPath(target);
    if (samePath(target, ws.paths().path) || !QFileInfo::exists(resolveCaseInsensitive(ini)))
        return ws.sortExpression();
    Settings theirs;
    readSettings(ini, SettingsScope::Catalogue, theirs);
    return buildSortString(theirs.sortLevels);
}

// The restored table is the open catalogue from now on. Another file than the one open
// is entered as opening it would: the catalogue left keeps its settings and lists, and
// the restored one takes its own lists and, when it has a settings file, its settings,
// so that nothing of its own is overwritten later by what the other one had in memory.
void switchToRestored(Workspace &ws, const QString &path)
{
    const CataloguePaths old = ws.paths();
    const CataloguePaths restored = CataloguePaths::of(path);
    ws.announceCaption(catalogueCaption(restored.tableName));
    if (restored == old)
        return;
    Settings &settings = ws.settings();
    writeCatalogueSettings(ws, old.iniPath);
    Q_EMIT ws.leavingCatalogue(old);
    ws.setPaths(restored);
    Q_EMIT ws.enteringCatalogue(restored, false);
    if (QFileInfo::exists(resolveCaseInsensitive(restored.iniPath))) {
        readSettings(restored.iniPath, SettingsScope::Catalogue, settings);
        ws.rebuildSortExpression();
    }
    settings.lastDatabase = path;
    updateLastFiles(settings.lastFiles, old.path, path);
    Q_EMIT ws.lastFilesChanged();
    Q_EMIT ws.catalogueOpened();
    // The caption names the table only, which both files share: say which file is open.
    ws.prompt().showMessage(QStringLiteral("Notice"), QString::fromLatin1(kRestoredIsOpen)
                                                          .arg(QDir::toNativeSeparators(path),
                                                               QDir::toNativeSeparators(old.path)));
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
