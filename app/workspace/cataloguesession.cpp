#include "app/workspace/cataloguesession.h"

#include "base/paths.h"
#include "base/prompt.h"
#include "store/mastertable.h"

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

} // namespace

FileDialogSpec openDatabaseDialog() { return databaseDialog(QStringLiteral("Open Database File"), false); }
FileDialogSpec newDatabaseDialog() { return databaseDialog(QStringLiteral("New Database File"), true); }

QString catalogueCaption(const QString &tableName)
{
    return QString::fromLatin1(kApplicationTitle) + QStringLiteral(" (") + tableName + QLatin1Char(')');
}

void updateLastFiles(std::array<QString, kLastFileCount> &list, const QString &oldPath, const QString &newPath)
{
    for (size_t k = 0; k < list.size(); ++k) {
        if (list[k] == newPath) {
            for (size_t j = k; j + 1 < list.size(); ++j)
                list[j] = list[j + 1];
            list.back().clear();
            break;
        }
    }
    for (size_t j = list.size() - 1; j > 0; --j)
        list[j] = list[j - 1];
    list[0] = oldPath;
}

QString lastFileCaption(int number, const QString &path)
{
    return QStringLiteral("&%1   %2").arg(number).arg(QDir::toNativeSeparators(path));
}

CatalogueSession::CatalogueSession(Settings &settings) : settings_(settings)
{
    check_.setReadOnly(true);
}

CatalogueSession::~CatalogueSession() = default;

void CatalogueSession::call(const std::function<void()> &hook) const
{
    if (hook)
        hook();
}

void CatalogueSession::rebuildSortExpression()
{
    sortExpression_ = buildSortString(settings_.sortLevels);
}

void CatalogueSession::openMaster()
{
    master_.setExclusive(false);
    try {
        master_.open();
    } catch (const DbError &e) {
        showError(e.message());
    }
}

bool CatalogueSession::writeCatalogueSettings(const QString &iniPath)
{
    QString error;
    if (writeSettings(iniPath, SettingsScope::Catalogue, settings_, &error))
        return true;
    showError(error);
    return false;
}

bool CatalogueSession::openAtStartup()
{
    QString path = settings_.lastDatabase;
    if (path.isEmpty() || !QFileInfo::exists(path)) {
        path = programDir() + QLatin1Char('/') + QString::fromLatin1(kDefaultCatalogueName);
        if (!QFileInfo::exists(path)) {
            try {
                if (!makeNewDb(create_, path))
                    return false;
            } catch (const DbError &) {
                return false; // nothing to open: the program ends quietly
            }
        }
    }
    settings_.lastDatabase = path;
    paths_ = CataloguePaths::of(path);
    if (checkDBaseFormat(check_, path)) {
        master_.close();
        master_.setPath(path);
        if (hooks.captionChanged)
            hooks.captionChanged(catalogueCaption(paths_.tableName));
        readSettings(paths_.iniPath, SettingsScope::Catalogue, settings_);
        rebuildSortExpression();
        useSortExpressionAtStartup(master_, sortExpression_);
        openMaster();
        return true;
    }
    showError(QString::fromLatin1(kLastInvalidMessage));
    do {
        doOpen();
    } while (!checkDBaseFormat(check_, settings_.lastDatabase));
    return true;
}

void CatalogueSession::doOpen()
{
    FileDialogSpec dialog = openDatabaseDialog();
    dialog.initialPath = paths_.directory; // beside the catalogue in use
    const QString path = prompt().openFileName(dialog);
    if (!path.isEmpty()) {
        if (!hasDbfExtension(path))
            showError(QString::fromLatin1(kInvalidFileTypeMessage));
        else if (checkDBaseFormat(check_, path))
            switchTo(path, false);
    }
    call(hooks.displayCount);
}

void CatalogueSession::openSaveFile(const QString &path)
{
    if (checkDBaseFormat(check_, path))
        switchTo(path, false);
    call(hooks.displayCount);
}

void CatalogueSession::doNew()
{
    FileDialogSpec dialog = newDatabaseDialog();
    dialog.initialPath = paths_.directory;
    const QString path = prompt().saveFileName(dialog);
    if (!path.isEmpty()) {
        if (hooks.searchOn && hooks.searchOn())
            call(hooks.endSearch);
        bool made = false;
        if (!hasDbfExtension(path)) {
            showError(QString::fromLatin1(kInvalidFileTypeMessage));
        } else {
            try {
                made = makeNewDb(create_, path);
            } catch (const DbError &e) {
                showError(e.message());
            }
        }
        if (made)
            switchTo(path, true);
    }
    call(hooks.displayCount);
}

void CatalogueSession::switchTo(const QString &path, bool isNew)
{
    if (hooks.searchOn && hooks.searchOn())
        call(hooks.endSearch);

    const CataloguePaths old = paths_;
    const bool oldWasOpen = master_.isOpen();
    paths_ = CataloguePaths::of(path);
    settings_.lastDatabase = path;
    master_.close();
    master_.setPath(path);
    if (hooks.captionChanged)
        hooks.captionChanged(catalogueCaption(paths_.tableName));

    // The catalogue left behind keeps its settings and lists. One that never opened
    // (an invalid last catalogue at start-up) gets no settings file written beside it.
    if (oldWasOpen && !old.path.isEmpty()) {
        writeCatalogueSettings(old.iniPath);
        if (hooks.savePickLists)
            hooks.savePickLists(old.basePath);
    }

    if (isNew) {
        call(hooks.loadDefaultPickLists);
        readNewCatalogueSettings(settings_);
    } else {
        if (hooks.loadPickLists)
            hooks.loadPickLists(paths_.basePath);
        readSettings(paths_.iniPath, SettingsScope::Catalogue, settings_);
    }
    rebuildSortExpression();

    try {
        if (isNew || !dbaseInUse(check_, path)) {
            applySortExpression(master_, sortExpression_);
        } else {
            // Another program holds the file: its order cannot be rebuilt now, so use the
            // tag it already has, if any, rather than the last catalogue's.
            const bool useTag = !sortExpression_.isEmpty() && hasSortTag(path);
            master_.setIndexName(useTag ? QString::fromLatin1(kSortTagName) : QString());
        }
    } catch (const DbError &e) {
        master_.setIndexName(QString());
        showError(e.message());
    }
    openMaster();

    call(hooks.fileSpecific);
    updateLastFiles(settings_.lastFiles, old.path, path);
    call(hooks.lastFilesChanged);
}

void CatalogueSession::updateDatabase()
{
    const bool wasOn = hooks.searchOn && hooks.searchOn();
    if (wasOn)
        call(hooks.endSearch);
    writeCatalogueSettings(paths_.iniPath);
    master_.close();
    if (wasOn)
        call(hooks.restartSearch);
    openMaster();
    call(hooks.setupViewer);
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
        if (!QFileInfo::exists(path) || !old.matches(check_, path))
            continue;
        const QString question =
            QStringLiteral("A database from a previous version (%1) has been detected.  Would you like to convert it "
                           "now?  NOTE: After conversion the old file will be deleted.  You may wish to make a copy "
                           "of \"%2\" first.")
                .arg(QLatin1String(old.version), QLatin1String(old.file));
        if (!askYesNo(QStringLiteral("Convert"), question))
            continue;
        try {
            old.convert(check_, path, master_);
        } catch (const DbError &e) {
            // The old file stays for another try: deleting it now would lose records.
            showError(e.message());
            continue;
        }
        QFile::remove(path);
    }
}

CatalogueSession::SortOutcome CatalogueSession::setSortLevels(const SortLevels &levels)
{
    master_.close();
    if (dbaseInUse(check_, paths_.path)) {
        showError(QString::fromLatin1(kSortInUseMessage));
        openMaster();
        call(hooks.setupViewer);
        return SortOutcome::InUse;
    }
    const SortLevels kept = settings_.sortLevels;
    try {
        master_.setExclusive(true);
        master_.open();
        settings_.sortLevels = levels;
        rebuildSortExpression();
        applySortExpression(master_, sortExpression_);
        QString error;
        if (!writeSettings(paths_.iniPath, SettingsScope::Catalogue, settings_, &error))
            throw DbError(error);
        master_.close();
        openMaster();
        call(hooks.setupViewer);
        return SortOutcome::Applied;
    } catch (const DbError &) {
        showError(QString::fromLatin1(kSortFailedMessage));
        settings_.sortLevels = kept;
        rebuildSortExpression();
        master_.close();
        openMaster();
        call(hooks.setupViewer);
        return SortOutcome::Failed;
    }
}

void CatalogueSession::pack()
{
    if (!askYesNo(QStringLiteral("Confirm"),
                  QStringLiteral("Deleted items are not permanently removed from the database until packing occurs.  "
                                 "Packing simply removes them to free up space.  Continue?")))
        return;
    packMasterTable(master_);
    call(hooks.setupViewer);
}

void CatalogueSession::rebuildIndexes()
{
    if (!askYesNo(QStringLiteral("Confirm"),
                  QStringLiteral("It is possible for your index files to become corrupted.  As a result, some items "
                                 "may not show up in the viewer or in reports.  This will rebuild your index files "
                                 "correctly.  Continue?")))
        return;
    rebuildMasterIndexes(master_);
    call(hooks.setupViewer);
}

bool CatalogueSession::writeAllSettings()
{
    QString error;
    bool ok = writeSettings(programSettingsPath(), SettingsScope::Program, settings_, &error);
    if (!ok)
        showError(error);
    if (!paths_.path.isEmpty())
        ok = writeCatalogueSettings(paths_.iniPath) && ok;
    return ok;
}

} // namespace kv
