#include "app/ui/commandtable.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QToolButton>
#include <algorithm>

namespace kv {

CommandTable::CommandTable(std::vector<CommandRow> rows, QMainWindow *window)
    : QObject(window), rows_(std::move(rows)), built_(rows_.size()), window_(window)
{
}

void CommandTable::buildMenus()
{
    QMenuBar *bar = window_->menuBar();
    for (size_t i = 0; i < rows_.size(); ++i) {
        const CommandRow &row = rows_[i];
        const QString parentPath = QString::fromLatin1(row.menu);
        QMenu *parent = parentPath.isEmpty() ? nullptr : menus_.at(parentPath);
        if (row.separatorBefore && parent)
            parent->addSeparator();
        QAction *action = nullptr;
        if (row.subMenu) {
            QMenu *sub = parent ? parent->addMenu(row.caption) : bar->addMenu(row.caption);
            sub->setObjectName(QString::fromLatin1(row.subMenu));
            const QString path = parentPath.isEmpty() ? QString::fromLatin1(row.subMenu)
                                                      : parentPath + QLatin1Char('/') + QLatin1String(row.subMenu);
            menus_[path] = sub;
            action = sub->menuAction();
        } else {
            action = parent ? parent->addAction(row.caption) : bar->addAction(row.caption);
            if (!row.shortcut.isEmpty())
                action->setShortcut(row.shortcut);
            action->setCheckable(row.checkable);
            connect(action, &QAction::triggered, this, [this, i] { runRow(i); });
            // Menu-bar actions only fire their shortcuts when the window owns them too.
            if (!parent)
                window_->addAction(action);
        }
        if (row.id)
            action->setObjectName(QString::fromLatin1(row.id));
        built_[i].action = action;
    }
}

void CommandTable::buildSpeedButtons(QWidget *panel)
{
    int x = 4;
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (!rows_[i].speed)
            continue;
        const SpeedButtonSpec &b = *rows_[i].speed;
        if (b.gapBefore)
            x += 4;
        auto *button = new QToolButton(panel);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setIcon(b.icon);
        button->setIconSize(QSize(16, 16));
        button->setAutoRaise(true);
        button->setToolTip(QString::fromLatin1(b.hint));
        button->setGeometry(x, 4, 23, 23);
        button->setFocusPolicy(Qt::NoFocus);
        x += 23;
        connect(button, &QToolButton::clicked, this, [this, i] { runRow(i); });
        built_[i].speed = button;
    }
}

std::vector<QPushButton *> CommandTable::buildLetteredButtons(QWidget *parent)
{
    std::vector<size_t> order;
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].lettered)
            order.push_back(i);
    std::stable_sort(order.begin(), order.end(),
                     [this](size_t a, size_t b) { return rows_[a].lettered->order < rows_[b].lettered->order; });
    std::vector<QPushButton *> buttons;
    for (size_t i : order) {
        const LetteredButtonSpec &b = *rows_[i].lettered;
        auto *button = new QPushButton(QString::fromLatin1(b.caption), parent);
        button->setObjectName(QString::fromLatin1(b.name));
        button->setGeometry(b.geometry);
        connect(button, &QPushButton::clicked, this, [this, i] { runRow(i); });
        built_[i].lettered = button;
        buttons.push_back(button);
    }
    return buttons;
}

bool CommandTable::enabled(const CommandRow &row) const
{
    if (row.available && !row.available())
        return false;
    return !(browseOnly_ && row.changesData);
}

void CommandTable::runRow(size_t i)
{
    const CommandRow &row = rows_[i];
    if (row.run && enabled(row))
        row.run();
}

void CommandTable::run(const char *id)
{
    for (size_t i = 0; i < rows_.size(); ++i) {
        if (rows_[i].id && qstrcmp(rows_[i].id, id) == 0) {
            runRow(i);
            return;
        }
    }
}

void CommandTable::refresh(bool browseOnly, bool letteredShown)
{
    browseOnly_ = browseOnly;
    for (size_t i = 0; i < rows_.size(); ++i) {
        const CommandRow &row = rows_[i];
        // Rows without a command of their own (menus, list and format items) stay as they are.
        if (!row.run && !row.changesData)
            continue;
        const bool on = enabled(row);
        const bool locked = browseOnly && row.changesData;
        const Built &b = built_[i];
        if (b.action) {
            b.action->setEnabled(on);
            b.action->setProperty("kvBrowseLocked", locked);
        }
        if (b.speed) {
            b.speed->setEnabled(on);
            b.speed->setProperty("kvBrowseLocked", locked);
        }
        if (b.lettered) {
            b.lettered->setEnabled(on && letteredShown);
            b.lettered->setProperty("kvBrowseLocked", locked);
        }
    }
}

QAction *CommandTable::action(const char *id) const
{
    for (size_t i = 0; i < rows_.size(); ++i)
        if (rows_[i].id && qstrcmp(rows_[i].id, id) == 0)
            return built_[i].action;
    return nullptr;
}

QMenu *CommandTable::menu(const char *path) const
{
    const auto it = menus_.find(QString::fromLatin1(path));
    return it == menus_.end() ? nullptr : it->second;
}

} // namespace kv
