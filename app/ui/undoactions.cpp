#include "app/ui/undoactions.h"

#include "app/ui/commandtable.h"
#include "app/workspace/records.h"
#include "app/workspace/workspace.h"

#include <QAction>

namespace kv {

std::vector<CommandRow> undoCommandRows(Workspace &ws)
{
    const auto row = [&ws](const char *id, const char *caption, QKeySequence keys, bool (*run)(Workspace &),
                           QString (UndoHistory::*step)() const) {
        CommandRow r{id, QString::fromLatin1(caption), "MenuRecords", keys, [&ws, run] { run(ws); }};
        r.changesData = true;
        r.available = [&ws, step] {
            const UndoHistory *history = ws.undoHistory();
            return history && !(history->*step)().isEmpty();
        };
        return r;
    };
    std::vector<CommandRow> rows;
    rows.push_back(row("MenuUndo", "&Undo", QKeySequence(Qt::ALT | Qt::Key_Backspace), &undoLastStep,
                       &UndoHistory::undoName));
    rows.front().separatorBefore = true;
    rows.push_back(row("MenuRedo", "&Redo", QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace), &redoLastStep,
                       &UndoHistory::redoName));
    return rows;
}

void followUndoHistory(CommandTable &table, Workspace &ws, std::function<void()> refresh)
{
    ws.keepUndoHistory();
    UndoHistory *history = ws.undoHistory();
    QAction *undo = table.action("MenuUndo");
    QAction *redo = table.action("MenuRedo");
    const auto update = [undo, redo, history, refresh = std::move(refresh)] {
        const QString u = history->undoName(), r = history->redoName();
        const QString why = history->clearedBecause();
        undo->setText(!u.isEmpty() ? QStringLiteral("&Undo %1").arg(u) : why.isEmpty() ? QStringLiteral("&Undo") : why);
        redo->setText(r.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(r));
        refresh();
    };
    QObject::connect(history, &UndoHistory::changed, undo, update);
    update();
}

} // namespace kv
