#pragma once
// What the program has open: the master table and the other table objects, the open
// catalogue's paths and its settings, the search state, the pick lists (and later the
// current report definition). Windows and command logic receive it; it announces changes
// with signals, so that every window showing a part of it follows.
#include "app/settings/settings.h"
#include "app/workspace/searchstate.h"
#include "app/workspace/undohistory.h"
#include "base/dberror.h"
#include "base/prompt.h"
#include "edit/picklists.h"
#include "search/locate.h"
#include "store/cataloguepaths.h"
#include "store/table.h"

#include <QObject>
#include <functional>
#include <memory>

namespace kv {

// Why the undo history went, as the Undo item then says.
inline constexpr char kHistoryClearedBySwitch[] = "Can't Undo: another catalogue was opened";
inline constexpr char kHistoryClearedByPack[] = "Can't Undo: the catalogue was packed";
inline constexpr char kHistoryClearedByRestore[] = "Can't Undo: the catalogue was restored";

class Workspace : public QObject {
    Q_OBJECT
public:
    Workspace(Settings &settings, Prompt &prompt, QObject *parent = nullptr);
    ~Workspace() override;

    Settings &settings() { return settings_; }
    const Settings &settings() const { return settings_; }
    Prompt &prompt() { return prompt_; }

    // The master table feeds the viewer; the check table object recognises files and
    // tests whether they are in use; the create table object makes new catalogues.
    Table &master() { return master_; }
    const Table &master() const { return master_; }
    Table &check() { return check_; }
    Table &create() { return create_; }

    const CataloguePaths &paths() const { return paths_; }
    void setPaths(const CataloguePaths &paths) { paths_ = paths; }

    // The key expression of the catalogue's sort levels.
    QString sortExpression() const { return sortExpression_; }
    void rebuildSortExpression();

    SearchState &search() { return search_; }
    // The last locate's field, value and options, remembered for Locate Next.
    LocateOptions &locate() { return locate_; }

    // The catalogue's pick lists, saved when a catalogue is left and loaded when one is
    // entered (the default lists for a new one).
    PickLists &pickLists() { return pickLists_; }
    const PickLists &pickLists() const { return pickLists_; }

    // Browse-only mode: the catalogue is shown, nothing that changes it runs. "Field
    // Editing" is kept aside while it is on and put back when the program closes.
    bool browseOnly() const { return browseOnly_; }
    void enterBrowseOnly();
    void leaveBrowseOnly();

    // The master table's undo history, kept from keepUndoHistory() on (the program keeps
    // one, the command line none); null when none is kept.
    void keepUndoHistory();
    UndoHistory *undoHistory() { return undo_.get(); }
    // The history is emptied; when it held a step, the Undo item says why.
    void clearUndoHistory(const QString &why);

    // Runs work; a database error reaches the user through the prompt in the engine's
    // words. False then.
    bool attempt(const std::function<void()> &work);
    // An index of the catalogue that did not list every record was rebuilt on the way:
    // the user hears of it (attempt() does this after its work).
    void tellIndexNotice();
    void report(const DbError &error) { prompt_.showError(error.message()); }

    // Opens the master table in shared mode; a failure is told to the user.
    bool openMaster();
    // Records visible in the master table; 0 when it is not open.
    int recordCount() const;
    // The current record's number (0 for none), and the way back to it after the master
    // table was closed and opened again: it is made current when it is still visible.
    std::uint32_t currentRecord() const;
    void returnToRecord(std::uint32_t recno);

    // Announcements; the windows follow them.
    void announceCaption(const QString &caption) { Q_EMIT captionChanged(caption); }
    void announceViewer() { Q_EMIT viewerChanged(); }
    void announceCount() { Q_EMIT countChanged(); }

Q_SIGNALS:
    void captionChanged(const QString &caption);
    // The catalogue being left: its pick lists are saved under old.basePath.
    void leavingCatalogue(const CataloguePaths &old);
    // The catalogue being entered, before its settings are read: its pick lists are
    // loaded (the default lists for a new one).
    void enteringCatalogue(const CataloguePaths &paths, bool isNew);
    // A catalogue is open: its fonts, viewer, colours, count and lists are shown.
    void catalogueOpened();
    // The viewer is laid out again (order, fields or look changed).
    void viewerChanged();
    // The record count is shown again.
    void countChanged();
    void lastFilesChanged();
    // Search mode went on or off.
    void searchChanged(bool on);

private:
    Settings &settings_;
    Prompt &prompt_;
    Table master_;
    Table check_;
    Table create_;
    CataloguePaths paths_;
    QString sortExpression_;
    SearchState search_;
    LocateOptions locate_;
    PickLists pickLists_;
    bool browseOnly_ = false;
    bool savedFieldEditing_ = false;
    std::unique_ptr<UndoHistory> undo_;
};

} // namespace kv
