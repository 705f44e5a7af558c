#pragma once
// The open catalogue and everything that switches, converts, sorts and maintains it:
// the logic behind the File menu's New, Open, Update and last-file items, the sort
// order dialog, Pack and Rebuild, and the catalogue part of start-up and close.
// The main window owns one; the parts it cannot know yet (search, pick lists, the
// viewer) are reached through hooks.
#include "base/prompt.h"
#include "app/settings/settings.h"
#include "store/cataloguepaths.h"
#include "store/catalogue.h"
#include "store/table.h"

#include <functional>

namespace kv {

inline constexpr char kDefaultCatalogueName[] = "MASTER.DBF";
inline constexpr char kLastInvalidMessage[] =
    "The last database used as recorded in the INI file is not a valid Kestrova Videos 97 file.  You will need "
    "to choose a new file.";

// The open and new dialogs of the File menu.
FileDialogSpec openDatabaseDialog();
FileDialogSpec newDatabaseDialog();

// The window caption for a catalogue: "Kestrova Videos 97 (" + table name + ")".
QString catalogueCaption(const QString &tableName);

// Moves the catalogue left into the first entry of the last-files list; the
// catalogue now open leaves the list.
void updateLastFiles(std::array<QString, kLastFileCount> &list, const QString &oldPath, const QString &newPath);
// The menu caption of last-files entry number (1 ... 5): "&" + number + three blanks + path.
QString lastFileCaption(int number, const QString &path);

struct CatalogueHooks {
    std::function<bool()> searchOn;      // search mode is on
    std::function<void()> endSearch;     // switch search mode off
    std::function<void()> restartSearch; // switch it on again with the same criteria
    std::function<void(const QString &basePath)> savePickLists;
    std::function<void(const QString &basePath)> loadPickLists;
    std::function<void()> loadDefaultPickLists;
    std::function<void(const QString &caption)> captionChanged;
    std::function<void()> setupViewer;   // lay the viewer out again
    std::function<void()> fileSpecific;  // the catalogue's fonts, viewer, colours, count, lists
    std::function<void()> lastFilesChanged;
    std::function<void()> displayCount;
};

class CatalogueSession {
public:
    explicit CatalogueSession(Settings &settings = kv::settings());
    ~CatalogueSession();
    CatalogueSession(const CatalogueSession &) = delete;
    CatalogueSession &operator=(const CatalogueSession &) = delete;

    CatalogueHooks hooks;

    Table &master() { return master_; }
    const Table &master() const { return master_; }
    const CataloguePaths &paths() const { return paths_; }
    Settings &settings() { return settings_; }

    QString sortExpression() const { return sortExpression_; }
    void rebuildSortExpression();

    // Start-up: the last catalogue, else MASTER.DBF in the program folder (made when
    // missing), checked and opened; an invalid one is replaced through the open dialog
    // until a valid one is open. False when the default catalogue cannot be made.
    bool openAtStartup();
    // The older catalogues in the program folder, offered for conversion.
    void checkForConversion();

    void doOpen();
    void doNew();
    // Opens a catalogue of the last-files list.
    void openSaveFile(const QString &path);
    // Writes the catalogue settings and reopens the table.
    void updateDatabase();

    enum class SortOutcome { Applied, InUse, Failed };
    // The sort order dialog's Ok: the new levels made the catalogue's order.
    SortOutcome setSortLevels(const SortLevels &levels);

    // Tools menu, each with its question first.
    void pack();
    void rebuildIndexes();

    // Close: both settings files written. False, with the user told, when one fails.
    bool writeAllSettings();

private:
    void switchTo(const QString &path, bool isNew);
    void openMaster();
    bool writeCatalogueSettings(const QString &iniPath);
    void call(const std::function<void()> &hook) const;

    Settings &settings_;
    Table master_;
    Table check_;
    Table create_;
    CataloguePaths paths_;
    QString sortExpression_;
};

} // namespace kv
