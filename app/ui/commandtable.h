#pragma once
// The main window's command table at work: the menus, the speed buttons and the lettered
// buttons made from the rows, their enabling, and the dispatch that every menu item,
// button and key goes through.
#include "app/style/commandrow.h"

#include <QObject>
#include <map>
#include <vector>

class QAbstractButton;
class QAction;
class QMainWindow;
class QMenu;
class QPushButton;

namespace kv {

class CommandTable : public QObject {
public:
    CommandTable(std::vector<CommandRow> rows, QMainWindow *window);

    // The menu bar's menus and items, in the order of the rows.
    void buildMenus();
    // The rows' speed buttons on panel, left to right in row order, 23 pixels apart.
    void buildSpeedButtons(QWidget *panel);
    // The rows' lettered buttons on parent, in their keyboard order.
    std::vector<QPushButton *> buildLetteredButtons(QWidget *parent);

    // A command can run unless browse-only mode locks it or its condition says no.
    bool enabled(const CommandRow &row) const;
    // Runs the command of the row named id, when it can run.
    void run(const char *id);
    // Menu items, buttons and keys follow enabled(); lettered buttons only work while
    // they are the button bar.
    void refresh(bool browseOnly, bool letteredShown);

    QAction *action(const char *id) const;
    QMenu *menu(const char *path) const;

private:
    struct Built {
        QAction *action = nullptr;
        QAbstractButton *speed = nullptr;
        QAbstractButton *lettered = nullptr;
    };
    void runRow(size_t i);

    std::vector<CommandRow> rows_;
    std::vector<Built> built_;
    QMainWindow *window_;
    std::map<QString, QMenu *> menus_;
    bool browseOnly_ = false;
};

} // namespace kv
