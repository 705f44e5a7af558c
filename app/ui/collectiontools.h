#pragma once
// The collection tools of the main window's Tools menu: Statistics and Duplicates.
#include <functional>

class QMenu;
class QWidget;

namespace kv {

class Workspace;

inline constexpr char kStatisticsItem[] = "S&tatistics";
inline constexpr char kDuplicatesItem[] = "&Duplicates";

// Adds the two items at the end of the menu; window is the windows' parent, editCurrent
// shows the master table's current record in the edit window.
void addCollectionTools(QMenu *tools, QWidget *window, Workspace &workspace, std::function<void()> editCurrent);

void showStatistics(QWidget *window, Workspace &workspace);
void showDuplicates(QWidget *window, Workspace &workspace, std::function<void()> editCurrent);

} // namespace kv
