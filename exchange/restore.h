#pragma once
// Putting safety copies back: a file made by a backup (backup.h) is copied into the
// program folder, whatever folder the open catalogue lives in. A table becomes the
// catalogue's table object's file, its index rebuilt; the other kinds are only copied,
// and the caller puts them in use (reads the lists or settings again). Messages reach
// the user through the prompt.
#include "exchange/backup.h"

#include <QStringList>

namespace kv {

inline constexpr char kRestoreIdenticalMessage[] =
    "Destination File and Source File are identical.  You cannot copy a file  over top of itself.  Please choose "
    "a different directory/folder to restore from.";
inline constexpr char kRestoreInUseMessage[] =
    "Unable to restore the database.  Make sure the database is not in use by any other users or by another copy "
    "of the software.";
inline constexpr char kRestoreNoRoomMessage[] =
    "There is not enough room on the destination drive to perform a restore.  You will need to free up hard drive "
    "space before completing the restore.";
inline constexpr char kRestoreFailedMessage[] = "An error occurred during restore.  Restore not completed.";
inline constexpr char kRestoreDoneMessage[] = "Restore completed successfully.";
inline constexpr char kListsRestoredMessage[] = "ALL proper \"Data List\" files restored successfully.";
inline constexpr char kListsMissingMessage[] =
    "One or more files were not restored.  Restore may not have completed successfully.";
inline constexpr char kSettingsRestoredMessage[] = "Configuration File restored successfully.";
inline constexpr char kReportsMissingMessage[] =
    "The Report Definitions file \"QVRVID.URP\" could not be  located on the specified source drive.";

// "The following file "NAME" could not be located on the specified source drive."
QString restoreMissingMessage(const QString &fileName);

// The open dialog that asks for the file to restore from.
FileDialogSpec restoreDialog(ExchangeKind kind);

// Where a restore works: the catalogue's table object (open or closed) with the open
// catalogue's paths and the key expression of its sort order, the table object that
// checks files, and the program folder the files go to.
struct RestorePlace {
    Table &table;
    Table &check;
    CataloguePaths catalogue;
    QString sortExpression;
    QString programFolder;
};

struct RestoreResult {
    ExchangeOutcome outcome = ExchangeOutcome::Stopped;
    QStringList written; // the files replaced or made, in the program folder
};

// Where a table chosen as source is restored to: the program folder, under its name.
QString restoredTablePath(const QString &programFolder, const QString &source);

// source: the file the user chose. A restored table replaces the table object's file: it
// is left open (shared) on the restored copy, in the order of place.sortExpression. On a
// refusal or failure the table is as it was found.
RestoreResult restoreTable(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control = {});
// The catalogue's list files found beside source; each one missing is warned about.
RestoreResult restoreLists(RestorePlace &place, const QString &source, Prompt &prompt, const CopyControl &control = {});
// The settings file named like source, beside it.
RestoreResult restoreSettings(RestorePlace &place, const QString &source, Prompt &prompt,
                              const CopyControl &control = {});
// QVRVID.URP beside source.
RestoreResult restoreReports(RestorePlace &place, const QString &source, Prompt &prompt,
                             const CopyControl &control = {});

RestoreResult runRestore(ExchangeKind kind, RestorePlace &place, const QString &source, Prompt &prompt,
                         const CopyControl &control = {});

} // namespace kv
