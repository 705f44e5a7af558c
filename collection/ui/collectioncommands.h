#pragma once
// The collection tools as commands of the main window's table: Statistics and Duplicates
// at the end of the Tools menu.
#include "app/style/commandrow.h"

#include <functional>
#include <vector>

namespace kv {

inline constexpr char kStatisticsItem[] = "S&tatistics";
inline constexpr char kDuplicatesItem[] = "&Duplicates";

// editCurrent shows the master table's current record in the edit window.
std::vector<CommandRow> collectionCommandRows(CommandHost &host, std::function<void()> editCurrent);

} // namespace kv
