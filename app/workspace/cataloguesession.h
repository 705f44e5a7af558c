#pragma once
// The catalogue commands: the logic behind the File menu's New, Open, Update and
// last-file items, the sort order dialog, Pack and Rebuild, and the catalogue part of
// start-up and close. It works on the workspace, tells the user through its prompt and
// announces what changed through its signals.
#include "app/workspace/workspace.h"
#include "store/catalogue.h"

#include <array>

namespace kv {

inline constexpr char kDefaultCatalogueName[] = "MASTER.DBF";
inline constexpr char kLastInvalidMessage[] =
    "The last database used as recorded in the INI file is not a valid Kestrova Videos 97 file.  You will need "
    "to choose a new file.";

// Told after a table restore that put another file in use than the one open before.
inline constexpr char kRestoredIsOpen[] =
    "The restored database \"%1\" is now open in place of \"%2\", which is left as it was.";

inline constexpr char kNoCatalogueMessage[] =
    "No Kestrova Videos 97 database could be opened, and the default database \"%1\" cannot be used either.  "
    "The program will close now.";

// The open and new dialogs of the File menu.
FileDialogSpec openDatabaseDialog();
FileDialogSpec newDatabaseDialog();

// The window caption for a catalogue: "Kestrova Videos 97 (" + table name + ")".
QString catalogueCaption(const QString &tableName);

// True when both paths name one file: spelt alike, or the same file on disk.
bool sameCatalogueFile(const QString &a, const QString &b);
// Moves the catalogue left into the first entry of the last-files list; the
// catalogue now open leaves the list. Entries naming either file are dropped first, so
// no file is listed twice.
void updateLastFiles(std::array<QString, kLastFileCount> &list, const QString &oldPath, const QString &newPath);
// Takes path out of the last-files list, closing the gap.
void removeLastFile(std::array<QString, kLastFileCount> &list, const QString &path);
// MASTER.DBF in the program folder: the catalogue of a first start.
QString defaultCataloguePath();
// The menu caption of last-files entry number (1 ... 5): "&" + number + three blanks +
// the path.
QString lastFileCaption(int number, const QString &path);

class CatalogueSession {
public:
    explicit CatalogueSession(Workspace &workspace);
    CatalogueSession(const CatalogueSession &) = delete;
    CatalogueSession &operator=(const CatalogueSession &) = delete;

    // Start-up: the last catalogue, else MASTER.DBF in the program folder (made when
    // missing), checked and opened. An invalid one leaves the last-files list and is
    // replaced through the open dialog; a cancelled dialog falls back to MASTER.DBF.
    // False when no catalogue can be opened (the user is told when the last one was
    // invalid; a first start that cannot make MASTER.DBF ends without a word).
    bool openAtStartup();
    // The older catalogues in the program folder, offered for conversion.
    void checkForConversion();

    // True when path is a catalogue of this program; otherwise the user is told why.
    bool checkDBaseFormat(const QString &path);

    void doOpen();
    void doNew();
    // Opens a catalogue of the last-files list.
    void openSaveFile(const QString &path);
    // Writes the catalogue settings and reopens the table.
    void updateDatabase();

    enum class SortOutcome { Applied, InUse, Failed };
    // The sort order dialog's Ok: the new levels made the catalogue's order.
    SortOutcome setSortLevels(const SortLevels &levels);
    // Why the last setSortLevels() failed, as the store or the settings said; empty
    // when it did not fail.
    const QString &sortFailure() const { return sortFailure_; }

    // Tools menu, each with its question first.
    void pack();
    void rebuildIndexes();

    // A restored table is the open catalogue from now on. Another file than the one open
    // is entered as opening it would: the catalogue left keeps its settings and lists,
    // and the restored one takes its own lists and, when it has a settings file, its
    // settings, so that nothing of its own is overwritten later by what the other one had
    // in memory. The table itself was opened by the restore.
    void enterRestored(const QString &path);
    // The open catalogue's settings file read again (a restore wrote it) and shown.
    void rereadSettings();
    // The catalogue settings written to iniPath; false, with the user told, when that fails.
    bool writeCatalogueSettings(const QString &iniPath);

    // Close: both settings files written. False, with the user told, when one fails.
    bool writeAllSettings();

private:
    // Switching rebuilds the order from the sort levels; start-up uses the tag the
    // catalogue has, building it only when it is missing.
    enum class Order { Rebuild, KeepExisting };
    void switchTo(const QString &path, bool isNew);
    void openInSortOrder(Order order);
    void endSearch();

    Workspace &ws_;
    QString sortFailure_;
};

} // namespace kv
