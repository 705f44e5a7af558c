#include "app/ui/undoactions.h"

#include "app/workspace/records.h"

#include <QAction>

namespace kv {

void addUndoActions(QMenu *records, Workspace &ws)
{
    ws.keepUndoHistory();
    UndoHistory *history = ws.undoHistory();
    const auto add = [&](const char *name, const QKeySequence &keys, bool (*run)(Workspace &)) {
        auto *action = records->addAction(QString());
        action->setObjectName(QString::fromLatin1(name));
        action->setShortcut(keys);
        QObject::connect(action, &QAction::triggered, records, [&ws, run] { run(ws); });
        return action;
    };
    QAction *undo = add("MenuUndo", QKeySequence(Qt::ALT | Qt::Key_Backspace), &undoLastStep);
    QAction *redo = add("MenuRedo", QKeySequence(Qt::SHIFT | Qt::ALT | Qt::Key_Backspace), &redoLastStep);
    const auto update = [undo, redo, history] {
        const QString u = history->undoName(), r = history->redoName();
        const QString why = history->clearedBecause();
        undo->setText(!u.isEmpty() ? QStringLiteral("&Undo %1").arg(u) : why.isEmpty() ? QStringLiteral("&Undo") : why);
        redo->setText(r.isEmpty() ? QStringLiteral("&Redo") : QStringLiteral("&Redo %1").arg(r));
        undo->setEnabled(!u.isEmpty());
        redo->setEnabled(!r.isEmpty());
    };
    QObject::connect(history, &UndoHistory::changed, records, update);
    update();
}

} // namespace kv
