#pragma once
// Undo and Redo in the Records menu: rows of the command table whose captions name the
// step (or say why there is none after the history was cleared), enabled while there is
// one, on Alt+Backspace and Shift+Alt+Backspace.
#include "app/style/commandrow.h"

#include <functional>
#include <vector>

namespace kv {

class CommandTable;
class Workspace;

// The rows "MenuUndo" and "MenuRedo".
std::vector<CommandRow> undoCommandRows(Workspace &workspace);
// Starts the workspace's undo history and keeps the rows' captions naming its steps;
// refresh runs after each change so the table's enabling follows.
void followUndoHistory(CommandTable &table, Workspace &workspace, std::function<void()> refresh);

} // namespace kv
