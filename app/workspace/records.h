#pragma once
// The record commands: every change of records, whichever window or run asks for it,
// goes through these, so that each is one step of the open catalogue's undo history
// (when the workspace keeps one) named after what it did.
#include "app/workspace/workspace.h"
#include "edit/recordform.h"
#include "exchange/import.h"
#include "search/replace.h"

namespace kv {

inline constexpr char kDeleteQuestion[] = "Delete this record?";

// Asks "Delete this record?" (caption "Confirm", Yes the default button) and on Yes
// deletes the current record of the table (the master table, or the one a navigator
// shows); on an empty catalogue the table's own error reaches the user. The count is
// shown again whatever the answer. True when a record was deleted.
bool deleteCurrentRecord(Workspace &workspace, Table &table);

// Posts the record being added or edited in the table (nothing when none is) as one
// step, "Add" or "Edit"; throws DbError as post() does (callers run it in attempt()).
void postRecord(Workspace &workspace, Table &table);

// The edit window's Update: the form checked and written to the master table.
UpdateOutcome updateMasterRecord(Workspace &workspace, EditMode &mode, const RecordForm &form);
// A whole search and replace run on the master table, one step "Replace: n records".
ReplaceResult replaceInMaster(Workspace &workspace, const ReplaceRequest &request, const ReplaceHooks &hooks,
                              ReplaceCounters &counters);
// A whole import into the master table, one step "Import: n records". Throws DbError as
// importRecords() does.
ImportResult importIntoMaster(Workspace &workspace, const ImportRequest &request, ExchangeProgress *progress);

// Undo and Redo of the master table's last step. A step whose records another copy
// changed since is refused, with a message naming the record. True when done.
bool undoLastStep(Workspace &workspace);
bool redoLastStep(Workspace &workspace);

// "Replace: 96 records", "Import: 1 record".
QString recordsStepName(const char *what, qint64 count);

} // namespace kv
