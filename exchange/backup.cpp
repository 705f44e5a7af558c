#include "exchange/backup.h"

#include "base/paths.h"
#include "edit/picklists.h"
#include "reports/reportfile.h"
#include "resources/defaults.h"
#include "store/table.h"

#include <QFileInfo>

namespace kv {

namespace {

void tell(Prompt &prompt, const char *message) { prompt.showError(QString::fromLatin1(message)); }

ExchangeOutcome completed(Prompt &prompt)
{
    prompt.showMessage(QStringLiteral("Notice"), QString::fromLatin1(kBackupDoneMessage));
    return ExchangeOutcome::Completed;
}

} // namespace

QString inFolder(const QString &folder, const QString &name)
{
    return folder.endsWith(QLatin1Char('/')) ? folder + name : folder + QLatin1Char('/') + name;
}

void reopenShared(Table &table, Prompt &prompt)
{
    table.close();
    table.setExclusive(false);
    try {
        table.open();
    } catch (const DbError &e) {
        prompt.showError(e.message());
    }
}

bool enoughRoom(const CopyControl &control, const QString &source, const QString &folder)
{
    const qint64 free = control.freeBytes(folder);
    return free < 0 || free >= QFileInfo(source).size(); // an unknown volume is tried
}

bool copyOrTell(const QString &source, const QString &target, Prompt &prompt, const CopyControl &control,
                const char *failedMessage)
{
    if (control.copying)
        control.copying(true);
    const CopyResult result = safeCopy(source, target, control.progress);
    if (control.copying)
        control.copying(false);
    switch (result) {
    case CopyResult::Copied: return true;
    case CopyResult::Cancelled: return false;
    case CopyResult::Failed: break;
    }
    tell(prompt, failedMessage);
    return false;
}

ExchangeOutcome backupTable(Table &table, const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                            const CopyControl &control)
{
    const QString source = catalogue.path;
    const QString target = resolveCaseInsensitive(inFolder(folder, catalogue.tableName + QStringLiteral(".DBF")));
    if (samePath(source, target)) {
        tell(prompt, kBackupIdenticalMessage);
        return ExchangeOutcome::Stopped;
    }
    const bool wasOpen = table.isOpen();
    // Held exclusively for the whole copy: nobody writes to the file while it is read.
    table.close();
    table.setExclusive(true);
    try {
        table.open();
    } catch (const DbError &) {
        tell(prompt, kBackupInUseMessage);
        table.setExclusive(false);
        if (wasOpen)
            reopenShared(table, prompt);
        return ExchangeOutcome::Stopped;
    }
    const auto release = [&] {
        if (!wasOpen)
            table.close();
        table.setExclusive(false); // an open table stays open, shared
    };
    if (!enoughRoom(control, source, folder)) {
        tell(prompt, kBackupNoRoomMessage);
        release();
        return ExchangeOutcome::Stopped;
    }
    const bool copied = copyOrTell(source, target, prompt, control, kBackupFailedMessage);
    release();
    return copied ? completed(prompt) : ExchangeOutcome::Stopped;
}

ExchangeOutcome backupLists(const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                            const CopyControl &control)
{
    const QString copyBase = inFolder(folder, catalogue.tableName);
    for (int n = 1; n <= kPickListCount; ++n) {
        // Lists 14 and 17 are the program's, with no file beside a catalogue.
        if (!isCatalogueList(n))
            continue;
        const QString source = catalogueListPath(catalogue.basePath, n);
        if (!QFileInfo::exists(source))
            continue;
        const QString target = catalogueListPath(copyBase, n);
        if (samePath(source, target)) {
            tell(prompt, kBackupIdenticalMessage);
            return ExchangeOutcome::Stopped;
        }
        if (!copyOrTell(source, target, prompt, control, kBackupFailedMessage))
            return ExchangeOutcome::Stopped;
    }
    return completed(prompt);
}

ExchangeOutcome backupSettings(const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                               const CopyControl &control)
{
    const QString source = resolveCaseInsensitive(catalogue.iniPath);
    if (!QFileInfo::exists(source))
        return completed(prompt);
    const QString target = resolveCaseInsensitive(inFolder(folder, catalogue.tableName + QStringLiteral(".INI")));
    if (samePath(source, target)) {
        tell(prompt, kBackupIdenticalMessage);
        return ExchangeOutcome::Stopped;
    }
    return copyOrTell(source, target, prompt, control, kBackupFailedMessage) ? completed(prompt)
                                                                             : ExchangeOutcome::Stopped;
}

ExchangeOutcome backupReports(const QString &programFolder, const QString &folder, Prompt &prompt,
                              const CopyControl &control)
{
    const QString source = ReportFile::pathIn(programFolder);
    const QString target = ReportFile::pathIn(folder);
    if (samePath(source, target)) {
        tell(prompt, kBackupReportsIdenticalMessage);
        return ExchangeOutcome::Stopped;
    }
    if (!enoughRoom(control, source, folder)) {
        tell(prompt, kBackupReportsNoRoomMessage);
        return ExchangeOutcome::Stopped;
    }
    return copyOrTell(source, target, prompt, control, kBackupFailedMessage) ? completed(prompt)
                                                                             : ExchangeOutcome::Stopped;
}

ExchangeOutcome runBackup(ExchangeKind kind, Table &table, const CataloguePaths &catalogue,
                          const QString &programFolder, const QString &folder, Prompt &prompt,
                          const CopyControl &control)
{
    switch (kind) {
    case ExchangeKind::Table: return backupTable(table, catalogue, folder, prompt, control);
    case ExchangeKind::Lists: return backupLists(catalogue, folder, prompt, control);
    case ExchangeKind::Settings: return backupSettings(catalogue, folder, prompt, control);
    case ExchangeKind::Reports: return backupReports(programFolder, folder, prompt, control);
    }
    return ExchangeOutcome::Stopped;
}

} // namespace kv
