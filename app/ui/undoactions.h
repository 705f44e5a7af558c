#pragma once
// Undo and Redo in the Records menu: captions that name the step (or say why there is none
// after the history was cleared), enabled while there is one, Alt+Backspace and
// Shift+Alt+Backspace.
#include "app/workspace/workspace.h"

#include <QMenu>

namespace kv {

// Starts the workspace's undo history and adds "Undo" and "Redo" (objects "MenuUndo",
// "MenuRedo") to the menu.
void addUndoActions(QMenu *records, Workspace &workspace);

} // namespace kv
