#pragma once
// One command of the main window as a row of its command table: where it appears (a
// menu item, a speed button, a lettered button), its key, whether it changes data
// (locked in browse-only mode) and what it does. The menus, both button bars, enabling
// and dispatch are built from the rows; a feature's window library adds rows of its own.
#include <QIcon>
#include <QKeySequence>
#include <QRect>
#include <QString>
#include <functional>
#include <optional>

class QWidget;

namespace kv {

class Workspace;

// What a command asks of the window that runs it.
class CommandHost {
public:
    virtual ~CommandHost() = default;
    virtual Workspace &workspace() = 0;
    // The parent of the windows a command opens.
    virtual QWidget *commandWindow() = 0;
    // The record count shown again, as after most commands.
    virtual void DisplayCount() = 0;
};

struct SpeedButtonSpec {
    const char *name; // object name ("SpeedAdd")
    const char *hint; // tool tip
    QIcon icon;
    bool gapBefore = false; // a group begins here
};

struct LetteredButtonSpec {
    const char *name; // object name ("AddButton")
    const char *caption;
    QRect geometry;
    int order; // place in the keyboard's order among the lettered buttons
};

struct CommandRow {
    const char *id;      // the menu item's object name ("MenuAdd")
    QString caption;     // the menu item's caption
    // The menu it sits in, as a path of menu object names ("MenuOptions/MenuColor"); empty
    // for an item of the menu bar itself.
    const char *menu;
    QKeySequence shortcut;
    std::function<void()> run;
    bool changesData = false;
    std::optional<SpeedButtonSpec> speed = std::nullopt;
    std::optional<LetteredButtonSpec> lettered = std::nullopt;
    bool separatorBefore = false;
    bool checkable = false;
    // A row that opens a sub-menu: its items name this row's menu path plus subMenu.
    const char *subMenu = nullptr;
    // When the command can run besides browse-only mode (End Search: while a search is on).
    std::function<bool()> available = {};
};

} // namespace kv
