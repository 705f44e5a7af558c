#pragma once
// Safety copies of the open catalogue's files into a folder the user picks: its table,
// its pick-list files, its settings file, or the program's report definitions. One kind
// per run, each file copied whole (safecopy.h). Every refusal, failure and the
// completion notice reach the user through the prompt; the caller only learns how the
// run ended. The work of the open program around a run (the search, the lists and
// settings in memory) is the caller's.
#include "base/prompt.h"
#include "exchange/safecopy.h"
#include "store/cataloguepaths.h"

namespace kv {

class Table;

inline constexpr char kBackupIdenticalMessage[] =
    "Destination File and Source File are identical.  You cannot copy a file  over top of itself.  Please choose "
    "a different directory/folder to backup to.";
inline constexpr char kBackupReportsIdenticalMessage[] =
    "Destination File and Source File are identical.  You cannot copy a file  over top of itself.  Please choose "
    "a different directory to backup to.";
inline constexpr char kBackupInUseMessage[] =
    "Backing up the database requires exclusive use of the DBase File.  Make sure that the DBase File is not in "
    "use by another program  or that no other users are running the software or that no other copies of the "
    "software are in use.";
inline constexpr char kBackupNoRoomMessage[] =
    "There is not enough room on the destination drive to perform a backup.  If you are already using blank empty "
    "media, then you will need to use the ASCII Delimited Import/Export functions for backup and restore purposes.";
inline constexpr char kBackupReportsNoRoomMessage[] =
    "There is not enough room on the destination drive to backup this file.  You will need to free up space on the "
    "destination drive or use an alternative method to backup the \"QVRVID.URP\" file.";
inline constexpr char kBackupFailedMessage[] = "An error occurred during backup.  Backup not completed.";
inline constexpr char kBackupDoneMessage[] = "Backup completed successfully.";

enum class ExchangeKind { Table, Lists, Settings, Reports };

// How a run ended: Completed (its notice shown, warnings perhaps before it), Missing
// (the one file to restore was not there; the warning said so), Stopped (refused,
// failed or cancelled: nothing was put in use).
enum class ExchangeOutcome { Completed, Missing, Stopped };

// What a run needs from its surroundings: progress and cancel for the window, a call
// around each copy (true before it, false after it, before any message: the window's
// hourglass), and the free bytes of a folder's volume (the real volume's unless a test
// says otherwise).
struct CopyControl {
    CopyProgress progress;
    std::function<void(bool copying)> copying;
    std::function<qint64(const QString &folder)> freeBytes = volumeFreeBytes;
};

// Room for a copy of source in folder: the whole copy is written beside an older one,
// which goes only once the new one is complete.
bool enoughRoom(const CopyControl &control, const QString &source, const QString &folder);

// The catalogue's table into folder as table name + ".DBF". table is the catalogue's
// table object, open or closed: it is opened exclusively for the copy, so that nobody
// changes the file meanwhile, and left as it was found (open in shared use, or closed).
ExchangeOutcome backupTable(Table &table, const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                            const CopyControl &control = {});
// The catalogue's pick-list files that exist, under the same names.
ExchangeOutcome backupLists(const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                            const CopyControl &control = {});
// The catalogue's settings file; without one there is nothing to copy and the run completes.
ExchangeOutcome backupSettings(const CataloguePaths &catalogue, const QString &folder, Prompt &prompt,
                               const CopyControl &control = {});
// QVRVID.URP of programFolder, under that name whatever the catalogue.
ExchangeOutcome backupReports(const QString &programFolder, const QString &folder, Prompt &prompt,
                              const CopyControl &control = {});

// Runs one kind.
ExchangeOutcome runBackup(ExchangeKind kind, Table &table, const CataloguePaths &catalogue,
                          const QString &programFolder, const QString &folder, Prompt &prompt,
                          const CopyControl &control = {});

// Internal to the exchange runs: one copy, its failure told with failedMessage. False
// when it did not complete (a cancel is told nothing).
bool copyOrTell(const QString &source, const QString &target, Prompt &prompt, const CopyControl &control,
                const char *failedMessage);
// Opens the table again in shared use; a failure is told in the engine's words.
void reopenShared(Table &table, Prompt &prompt);
// folder + name, with one separator between them.
QString inFolder(const QString &folder, const QString &name);

} // namespace kv
