#pragma once
// Record commands of the main window that need no window of their own.
#include "app/workspace/workspace.h"

namespace kv {

inline constexpr char kDeleteQuestion[] = "Delete this record?";

// Asks "Delete this record?" (caption "Confirm", Yes the default button) and on Yes
// deletes the current record of the table (the master table, or the one a navigator
// shows); on an empty catalogue the table's own error reaches the user. The count is
// shown again whatever the answer. True when a record was deleted.
bool deleteCurrentRecord(Workspace &workspace, Table &table);

} // namespace kv
