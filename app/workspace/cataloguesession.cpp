#include "app/workspace/cataloguesession.h"

#include "app/workspace/sortorder.h"

#include "base/paths.h"
#include "store/mastertable.h"

#include <algorithm>

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

FileDialogSpec databaseDialog(const QString &title, bool forNew)
{
    FileDialogSpec d;
    d.title = title;
    d.filter = QStringLiteral("Database Files (*.DBF)|*.DBF");
    d.defaultExtension = QStringLiteral("DBF");
    d.mustExist = !forNew;
    d.confirmOverwrite = forNew;
    return d;
}

const QString kSortTag = QString::fromLatin1(kSortTagName);

} // namespace

FileDialogSpec openDatabaseDialog() { return databaseDialog(QStringLiteral("Open Database File"), false); }
FileDialogSpec newDatabaseDialog() { return databaseDialog(QStringLiteral("New Database File"), true); }

QString catalogueCaption(const QString &tableName)
{
    return QString::fromLatin1(kApplicationTitle) + QStringLiteral(" (") + tableName + QLatin1Char(')');
}

bool sameCatalogueFile(const QString &a, const QString &b)
{
    if (a == b)
        return true;
    if (a.isEmpty() || b.isEmpty())
        return false;
    const QString ca = QFileInfo(a).canonicalFilePath();
    return !ca.isEmpty() && ca == QFileInfo(b).canonicalFilePath();
}

void updateLastFiles(std::array<QString, kLastFileCount> &list, const QString &oldPath, const QString &newPath)
{
    // The catalogue now open leaves the list, and the one left enters it once, however
    // either was spelt before.
    const auto end = std::remove_if(list.begin(), list.end(), [&](const QString &entry) {
        return sameCatalogueFile(entry, newPath) || sameCatalogueFile(entry, oldPath);
    });
    std::fill(end, list.end(), QString());
    for (size_t j = list.size() - 1; j > 0; --j)
        list[j] = list[j - 1];
    list[0] = oldPath;
}

void removeLastFile(std::array<QString, kLastFileCount> &list, const QString &path)
{
    const auto end = std::remove(list.begin(), list.end(), path);
    std::fill(end, list.end(), QString());
}

QString defaultCataloguePath() { return programDir() + QLatin1Char('/') + QString::fromLatin1(kDefaultCatalogueName); }

QString lastFileCaption(int number, const QString &path)
{
    QString shown = QDir::toNativeSeparators(path);
    shown.replace(QLatin1Char('&'), QStringLiteral("&&")); // a path's "&" is no mnemonic
    return QStringLiteral("&%1   %2").arg(number).arg(shown);
}

CatalogueSession::CatalogueSession(Workspace &workspace) : ws_(workspace) {}

void CatalogueSession::endSearch()
{
    if (ws_.search().isOn())
        ws_.search().end();
}

bool CatalogueSession::writeCatalogueSettings(const QString &iniPath)
{
    QString error;
    if (writeSettings(iniPath, SettingsScope::Catalogue, ws_.settings(), &error))
        return true;
    ws_.prompt().showError(error);
    return false;
}

bool CatalogueSession::checkDBaseFormat(const QString &path)
{
    return ws_.attempt([&] { requireCatalogue(ws_.check(), path); });
}

bool CatalogueSession::openAtStartup()
{
    Settings &settings = ws_.settings();
    QString path = settings.lastDatabase;
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        path = defaultCataloguePath();
        if (!QFileInfo::exists(path)) {
            try {
                if (!makeNewDb(ws_.create(), path))
                    return false;
            } catch (const DbError &) {
                return false; // nothing to open: the program ends quietly
            }
        }
    }
    settings.lastDatabase = path;
    ws_.setPaths(CataloguePaths::of(path));
    if (checkDBaseFormat(path)) {
        Table &master = ws_.master();
        master.close();
        master.setPath(path);
        ws_.announceCaption(catalogueCaption(ws_.paths().tableName));
        readSettings(ws_.paths().iniPath, SettingsScope::Catalogue, settings);
        ws_.rebuildSortExpression();
        openInSortOrder(Order::KeepExisting);
        return true;
    }
    ws_.prompt().showError(QString::fromLatin1(kLastInvalidMessage));
    removeLastFile(settings.lastFiles, path);
    // The open dialog until a catalogue is chosen; cancelled, the default catalogue.
    for (;;) {
        FileDialogSpec dialog = openDatabaseDialog();
        dialog.initialPath = ws_.paths().directory;
        const QString chosen = ws_.prompt().openFileName(dialog);
        if (chosen.isEmpty())
            break;
        if (!hasDbfExtension(chosen))
            ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
        else if (checkDBaseFormat(chosen)) {
            switchTo(chosen, false);
            return true;
        }
    }
    const QString fallback = defaultCataloguePath();
    if (QFileInfo(fallback) != QFileInfo(path)) {
        bool made = QFileInfo::exists(fallback);
        if (!made)
            made = ws_.attempt([&] { makeNewDb(ws_.create(), fallback); }) && QFileInfo::exists(fallback);
        if (made && checkDBaseFormat(fallback)) {
            switchTo(fallback, false);
            return true;
        }
    }
    ws_.prompt().showError(QString::fromLatin1(kNoCatalogueMessage).arg(QDir::toNativeSeparators(fallback)));
    return false;
}

void CatalogueSession::doOpen()
{
    FileDialogSpec dialog = openDatabaseDialog();
    dialog.initialPath = ws_.paths().directory; // beside the catalogue in use
    const QString path = ws_.prompt().openFileName(dialog);
    if (!path.isEmpty()) {
        if (!hasDbfExtension(path))
            ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
        else if (checkDBaseFormat(path))
            switchTo(path, false);
    }
    ws_.announceCount();
}

void CatalogueSession::openSaveFile(const QString &path)
{
    if (checkDBaseFormat(path))
        switchTo(path, false);
    ws_.announceCount();
}

void CatalogueSession::doNew()
{
    FileDialogSpec dialog = newDatabaseDialog();
    dialog.initialPath = ws_.paths().directory;
    const QString path = ws_.prompt().saveFileName(dialog);
    if (!path.isEmpty()) {
        endSearch();
        bool made = false;
        if (!hasDbfExtension(path))
            ws_.prompt().showError(QString::fromLatin1(kInvalidFileTypeMessage));
        else
            ws_.attempt([&] { made = makeNewDb(ws_.create(), path); });
        if (made)
            switchTo(path, true);
    }
    ws_.announceCount();
}

void CatalogueSession::switchTo(const QString &path, bool isNew)
{
    endSearch();

    Table &master = ws_.master();
    Settings &settings = ws_.settings();
    const CataloguePaths old = ws_.paths();
    const bool oldWasOpen = master.isOpen();
    ws_.setPaths(CataloguePaths::of(path));
    settings.lastDatabase = path;
    master.close();
    master.setPath(path);
    ws_.announceCaption(catalogueCaption(ws_.paths().tableName));

    // The catalogue left behind keeps its settings and lists. One that never opened
    // (an invalid last catalogue at start-up) gets no settings file written beside it.
    if (oldWasOpen && !old.path.isEmpty()) {
        writeCatalogueSettings(old.iniPath);
        Q_EMIT ws_.leavingCatalogue(old);
    }

    Q_EMIT ws_.enteringCatalogue(ws_.paths(), isNew);
    if (isNew)
        readNewCatalogueSettings(settings);
    else
        readSettings(ws_.paths().iniPath, SettingsScope::Catalogue, settings);
    ws_.rebuildSortExpression();
    openInSortOrder(Order::Rebuild);

    Q_EMIT ws_.catalogueOpened();
    // A catalogue that never opened (an invalid last one at start-up) does not join the list.
    if (oldWasOpen && !old.path.isEmpty())
        updateLastFiles(settings.lastFiles, old.path, path);
    else
        removeLastFile(settings.lastFiles, path);
    Q_EMIT ws_.lastFilesChanged();
}

void CatalogueSession::openInSortOrder(Order order)
{
    const SortTag how = order == Order::Rebuild ? SortTag::Rebuild : SortTag::KeepExisting;
    ws_.attempt([&] {
        const std::optional<DbError> failure = kv::openInSortOrder(ws_.master(), ws_.sortExpression(), how);
        if (failure && order == Order::Rebuild)
            ws_.report(*failure);
    });
}

void CatalogueSession::enterRestored(const QString &path)
{
    const CataloguePaths old = ws_.paths();
    const CataloguePaths restored = CataloguePaths::of(path);
    ws_.announceCaption(catalogueCaption(restored.tableName));
    if (restored == old)
        return;
    Settings &settings = ws_.settings();
    writeCatalogueSettings(old.iniPath);
    Q_EMIT ws_.leavingCatalogue(old);
    ws_.setPaths(restored);
    Q_EMIT ws_.enteringCatalogue(restored, false);
    if (QFileInfo::exists(resolveCaseInsensitive(restored.iniPath))) {
        readSettings(restored.iniPath, SettingsScope::Catalogue, settings);
        ws_.rebuildSortExpression();
    }
    settings.lastDatabase = path;
    updateLastFiles(settings.lastFiles, old.path, path);
    Q_EMIT ws_.lastFilesChanged();
    Q_EMIT ws_.catalogueOpened();
    // The caption names the table only, which both files share: say which file is open.
    ws_.prompt().showMessage(QStringLiteral("Notice"), QString::fromLatin1(kRestoredIsOpen)
                                                           .arg(QDir::toNativeSeparators(path),
                                                                QDir::toNativeSeparators(old.path)));
}

void CatalogueSession::rereadSettings()
{
    readSettings(ws_.paths().iniPath, SettingsScope::Catalogue, ws_.settings());
    Q_EMIT ws_.catalogueOpened();
}

void CatalogueSession::updateDatabase()
{
    const bool wasOn = ws_.search().isOn();
    endSearch();
    writeCatalogueSettings(ws_.paths().iniPath);
    const std::uint32_t current = ws_.currentRecord();
    ws_.master().close();
    if (wasOn)
        ws_.search().restart();
    ws_.openMaster();
    ws_.returnToRecord(current);
    ws_.announceViewer();
}

void CatalogueSession::checkForConversion()
{
    struct Old {
        const char *file;
        const char *version;
        bool (*matches)(Table &, const QString &);
        void (*convert)(Table &, const QString &, Table &);
    };
    const Old olds[] = {{kOldV2FileName, "2.X", checkDBaseFormatV2, convertV2},
                        {kOldV1FileName, "1.X", checkDBaseFormatV1, convertV1}};
    for (const Old &old : olds) {
        const QString path = resolveCaseInsensitive(programDir() + QLatin1Char('/') + QString::fromLatin1(old.file));
        if (!QFileInfo::exists(path) || !old.matches(ws_.check(), path))
            continue;
        const QString question =
            QStringLiteral("A database from a previous version (%1) has been detected.  Would you like to convert it "
                           "now?  NOTE: After conversion the old file will be deleted.  You may wish to make a copy "
                           "of \"%2\" first.")
                .arg(QLatin1String(old.version), QLatin1String(old.file));
        if (!ws_.prompt().askYesNo(QStringLiteral("Convert"), question))
            continue;
        // A conversion that fails leaves the catalogue as it was and keeps the old file
        // for another try: deleting it now would lose records.
        if (ws_.attempt([&] { old.convert(ws_.check(), path, ws_.master()); }))
            QFile::remove(path);
    }
}

CatalogueSession::SortOutcome CatalogueSession::setSortLevels(const SortLevels &levels)
{
    Table &master = ws_.master();
    Settings &settings = ws_.settings();
    sortFailure_.clear();
    master.close();
    if (dbaseInUse(ws_.check(), ws_.paths().path)) {
        ws_.prompt().showError(QString::fromLatin1(kSortInUseMessage));
        ws_.openMaster();
        ws_.announceViewer();
        return SortOutcome::InUse;
    }
    const SortLevels kept = settings.sortLevels;
    try {
        master.setExclusive(true);
        master.open();
        settings.sortLevels = levels;
        ws_.rebuildSortExpression();
        applySortExpression(master, ws_.sortExpression());
        QString error;
        if (!writeSettings(ws_.paths().iniPath, SettingsScope::Catalogue, settings, &error))
            throw DbError(error);
        master.setExclusive(false);
        ws_.announceViewer();
        return SortOutcome::Applied;
    } catch (const DbError &e) {
        sortFailure_ = e.message();
        ws_.prompt().showError(QString::fromLatin1(kSortFailedMessage));
        // Order and settings agree again: the old levels' tag is put back as well.
        settings.sortLevels = kept;
        ws_.rebuildSortExpression();
        try {
            if (!master.isOpen())
                master.open();
            applySortExpression(master, ws_.sortExpression());
        } catch (const DbError &) {
            master.close();
            const bool useTag = !ws_.sortExpression().isEmpty() && hasSortTag(ws_.paths().path);
            master.setIndexName(useTag ? kSortTag : QString());
        }
        if (master.isOpen())
            master.setExclusive(false);
        else
            ws_.openMaster();
        ws_.announceViewer();
        return SortOutcome::Failed;
    }
}

void CatalogueSession::pack()
{
    if (!ws_.prompt().askYesNo(
            QStringLiteral("Confirm"),
            QStringLiteral("Deleted items are not permanently removed from the database until packing occurs.  "
                           "Packing simply removes them to free up space.  Continue?")))
        return;
    // Packing renumbers the records: the current one moves up by the deleted ones before it.
    const std::uint32_t current = ws_.currentRecord();
    const std::uint32_t afterPack = current - deletedBefore(ws_.master(), current);
    try {
        packMasterTable(ws_.master());
        ws_.returnToRecord(afterPack);
        // Packing renumbers the records: no step of the history fits them any more.
        ws_.clearUndoHistory(QString::fromLatin1(kHistoryClearedByPack));
    } catch (const DbError &e) {
        ws_.openMaster();
        ws_.returnToRecord(current);
        ws_.report(e);
    }
    ws_.announceViewer();
}

void CatalogueSession::rebuildIndexes()
{
    if (!ws_.prompt().askYesNo(
            QStringLiteral("Confirm"),
            QStringLiteral("It is possible for your index files to become corrupted.  As a result, some items "
                           "may not show up in the viewer or in reports.  This will rebuild your index files "
                           "correctly.  Continue?")))
        return;
    const std::uint32_t current = ws_.currentRecord();
    try {
        rebuildMasterIndexes(ws_.master());
    } catch (const DbError &e) {
        ws_.openMaster();
        ws_.report(e);
    }
    ws_.returnToRecord(current);
    ws_.announceViewer();
}

bool CatalogueSession::writeAllSettings()
{
    QString error;
    bool ok = writeSettings(programSettingsPath(), SettingsScope::Program, ws_.settings(), &error);
    if (!ok)
        ws_.prompt().showError(error);
    if (!ws_.paths().path.isEmpty())
        ok = writeCatalogueSettings(ws_.paths().iniPath) && ok;
    return ok;
}

} // namespace kv
