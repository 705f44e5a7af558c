#pragma once
// The Reports window as a command of the main window's table: the menu-bar item "Reports"
// with its speed and lettered buttons.
#include "app/style/commandrow.h"

namespace kv {

// The Reports window on the host's workspace, then the count.
void runReports(CommandHost &host);
CommandRow reportsCommandRow(CommandHost &host);

} // namespace kv
