#include "exchange/restore.h"

#include "base/paths.h"
#include "edit/picklists.h"
#include "reports/reportfile.h"
#include "resources/defaults.h"
#include "store/catalogue.h"
#include "store/dbf/companion.h"
#include "store/mastertable.h"
#include "store/table.h"

#include <QFile>
#include <QFileInfo>

namespace kv {

namespace {

void tell(Prompt &prompt, const char *message) { prompt.showError(QString::fromLatin1(message)); }

void notice(Prompt &prompt, const char *message)
{
    prompt.showMessage(QStringLiteral("Notice"), QString::fromLatin1(message));
}

void warnMissing(Prompt &prompt, const QString &fileName)
{
    prompt.message(MessageKind::Warning, QStringLiteral("Warning"), restoreMissingMessage(fileName), Buttons::Ok,
                   Answer::Ok);
}

RestoreResult stopped() { return {ExchangeOutcome::Stopped, {}}; }

QString folderOf(const QString &path) { return QFileInfo(path).absolutePath(); }

// The restored file made the table object's: no index is trusted but the one built from
// the sort order now, while the file is ours alone.
void openRestoredTable(Table &table, const QString &path, const QString &expression, Prompt &prompt)
{
    const QString mdx = mdxPathFor(path);
    if (QFileInfo::exists(mdx))
        QFile::remove(mdx);
    removeMdxByte(path);
    table.setPath(path);
    table.setIndexName(QString());
    table.setExclusive(true);
    try {
        table.open();
        applySortExpression(table, expression);
    } catch (const DbError &e) {
        prompt.showError(e.message());
        table.close();
        table.setIndexName(QString());
    }
    table.setExclusive(false);
    if (!table.isOpen())
        reopenShared(table, prompt);
}

// A copy whose header disagrees with its fields or with its length (cut short) would
// replace a sound catalogue with fewer records, or with records read out of place: it is
// refused before anything is replaced.
void requireWholeCopy(Table &check, const QString &source)
{
    openForChecking(check, source);
    const QString damage = check.damage();
    check.close();
    if (!damage.isEmpty())
        throw DbError(QString::fromLatin1(kRestoreFailedMessage) + QStringLiteral("\n") + damage);
}

} // namespace

QString restoreMissingMessage(const QString &fileName)
{
    return QStringLiteral("The following file \"%1\" could not be located on the specified source drive.").arg(fileName);
}

FileDialogSpec restoreDialog(ExchangeKind kind)
{
    FileDialogSpec d;
    d.mustExist = true;
    d.filter = QStringLiteral("DBase Files (*.DBF)|*.DBF");
    d.defaultExtension = QStringLiteral("DBF");
    switch (kind) {
    case ExchangeKind::Table: d.title = QStringLiteral("Restore Database File"); break;
    case ExchangeKind::Lists: d.title = QStringLiteral("Restore Data List Files"); break;
    case ExchangeKind::Settings: d.title = QStringLiteral("Restore Configuration File"); break;
    case ExchangeKind::Reports:
        d.title = QStringLiteral("Restore URP File");
        d.filter = QStringLiteral("Reports Files (*.URP)|*.URP");
        d.defaultExtension = QStringLiteral("URP");
        d.initialPath = QString::fromLatin1(kReportFileName);
        break;
    }
    return d;
}

QString restoredTablePath(const QString &programFolder, const QString &source)
{
    return resolveCaseInsensitive(inFolder(programFolder, QFileInfo(source).fileName()));
}

RestoreResult restoreTable(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control)
{
    Table &table = place.table;
    const QString target = restoredTablePath(place.programFolder, source);
    // A file chosen in the program folder would be copied onto itself.
    if (samePath(source, place.catalogue.path) || samePath(source, target)) {
        tell(prompt, kRestoreIdenticalMessage);
        return stopped();
    }
    try {
        requireCatalogue(place.check, source);
        requireWholeCopy(place.check, source);
    } catch (const DbError &e) {
        prompt.showError(e.message());
        return stopped();
    }
    const bool wasOpen = table.isOpen();
    const auto putBack = [&] {
        table.close();
        table.setExclusive(false);
        if (wasOpen)
            reopenShared(table, prompt);
    };
    // The file replaced must be nobody's: the open catalogue's own, or another that some
    // other program has open.
    const bool replacesOpen = samePath(target, place.catalogue.path);
    table.close();
    if (replacesOpen) {
        table.setExclusive(true);
        try {
            table.open();
        } catch (const DbError &) {
            tell(prompt, kRestoreInUseMessage);
            putBack();
            return stopped();
        }
        table.close();
        table.setExclusive(false);
    } else if (QFileInfo::exists(target) && dbaseInUse(place.check, target)) {
        tell(prompt, kRestoreInUseMessage);
        putBack();
        return stopped();
    }
    if (!enoughRoom(control, source, place.programFolder)) {
        tell(prompt, kRestoreNoRoomMessage);
        putBack();
        return stopped();
    }
    if (!copyOrTell(source, target, prompt, control, kRestoreFailedMessage)) {
        putBack(); // the old catalogue, as it was
        return stopped();
    }
    openRestoredTable(table, target, place.sortExpression, prompt);
    notice(prompt, kRestoreDoneMessage);
    return {ExchangeOutcome::Completed, {target}};
}

RestoreResult restoreLists(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control)
{
    const QString name = place.catalogue.tableName;
    const QString sourceBase = inFolder(folderOf(source), name);
    const QString targetBase = inFolder(place.programFolder, name);
    RestoreResult result{ExchangeOutcome::Completed, {}};
    bool missing = false;
    for (int n = 1; n <= kPickListCount; ++n) {
        // Lists 14 and 17 are the program's: a backup never holds a file of theirs.
        if (!isCatalogueList(n))
            continue;
        const QString from = catalogueListPath(sourceBase, n);
        const QString to = catalogueListPath(targetBase, n);
        if (samePath(from, to)) {
            tell(prompt, kRestoreIdenticalMessage);
            return stopped();
        }
        if (!QFileInfo::exists(from)) {
            warnMissing(prompt, QFileInfo(from).fileName());
            missing = true;
            continue;
        }
        if (!copyOrTell(from, to, prompt, control, kRestoreFailedMessage))
            return stopped();
        result.written << to;
    }
    notice(prompt, missing ? kListsMissingMessage : kListsRestoredMessage);
    return result;
}

RestoreResult restoreSettings(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control)
{
    const QString fileName = tableBaseName(QFileInfo(source).fileName()) + QStringLiteral(".INI");
    const QString from = resolveCaseInsensitive(inFolder(folderOf(source), fileName));
    const QString to = resolveCaseInsensitive(inFolder(place.programFolder, fileName));
    if (samePath(from, to)) {
        tell(prompt, kRestoreIdenticalMessage);
        return stopped();
    }
    if (!QFileInfo::exists(from)) {
        warnMissing(prompt, fileName);
        return {ExchangeOutcome::Missing, {}};
    }
    if (!copyOrTell(from, to, prompt, control, kRestoreFailedMessage))
        return stopped();
    notice(prompt, kSettingsRestoredMessage);
    return {ExchangeOutcome::Completed, {to}};
}

RestoreResult restoreReports(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control)
{
    const QString from = ReportFile::pathIn(folderOf(source));
    const QString to = ReportFile::pathIn(place.programFolder);
    if (samePath(from, to)) {
        tell(prompt, kRestoreIdenticalMessage);
        return stopped();
    }
    if (!QFileInfo::exists(from)) {
        tell(prompt, kReportsMissingMessage);
        return stopped();
    }
    if (!enoughRoom(control, from, place.programFolder)) {
        tell(prompt, kRestoreNoRoomMessage);
        return stopped();
    }
    if (!copyOrTell(from, to, prompt, control, kRestoreFailedMessage))
        return stopped();
    notice(prompt, kRestoreDoneMessage);
    return {ExchangeOutcome::Completed, {to}};
}

RestoreResult runRestore(ExchangeKind kind, RestorePlace &place, const QString &source, Prompt &prompt,
                         const CopyControl &control)
{
    switch (kind) {
    case ExchangeKind::Table: return restoreTable(place, source, prompt, control);
    case ExchangeKind::Lists: return restoreLists(place, source, prompt, control);
    case ExchangeKind::Settings: return restoreSettings(place, source, prompt, control);
    case ExchangeKind::Reports: return restoreReports(place, source, prompt, control);
    }
    return stopped();
}

} // namespace kv
