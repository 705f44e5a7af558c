#include "app/ui/commandkeys.h"

#include <QAction>
#include <QApplication>
#include <QKeyEvent>
#include <QWidget>

namespace kv {

namespace {

constexpr char kFilterName[] = "kvCommandKeys";

class CommandKeysFirst : public QObject {
public:
    using QObject::QObject;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        // A box that takes the key accepts the override event, and the command's
        // shortcut is then never tried. Leaving it unaccepted lets the shortcut run.
        if (event->type() == QEvent::ShortcutOverride && watched->isWidgetType() &&
            isWindowCommandKey(static_cast<QWidget *>(watched), *static_cast<QKeyEvent *>(event))) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The window a command belongs to: a menu's items belong to the window of its menu bar,
// while a dialog, though a child of the main window, has commands of its own.
const QWidget *ownerWindow(const QObject *action)
{
    for (const QObject *o = action->parent(); o; o = o->parent()) {
        if (o->isWidgetType()) {
            const auto *w = static_cast<const QWidget *>(o);
            if (w->isWindow() && !(w->windowType() == Qt::Popup))
                return w;
        }
    }
    return nullptr;
}

} // namespace

bool isWindowCommandKey(const QWidget *widget, const QKeyEvent &key)
{
    const Qt::KeyboardModifiers mods = key.modifiers() & ~Qt::KeypadModifier;
    // Plain keys, Shift and the function keys stay the boxes' own: Delete or Home in a
    // box must never run a window command.
    if (!(mods & (Qt::ControlModifier | Qt::AltModifier)))
        return false;
    switch (key.key()) {
    case Qt::Key_Control: case Qt::Key_Alt: case Qt::Key_Shift: case Qt::Key_Meta: case Qt::Key_unknown:
        return false;
    default: break;
    }
    const QKeySequence pressed(QKeyCombination(mods, Qt::Key(key.key())));
    const QWidget *window = widget->window();
    for (const QAction *action : window->findChildren<QAction *>()) {
        if (!action->isEnabled() || action->shortcutContext() == Qt::WidgetShortcut ||
            ownerWindow(action) != window)
            continue;
        for (const QKeySequence &shortcut : action->shortcuts()) {
            if (shortcut.matches(pressed) == QKeySequence::ExactMatch)
                return true;
        }
    }
    return false;
}

void installCommandKeys(QApplication &app)
{
    if (app.findChild<QObject *>(QLatin1String(kFilterName), Qt::FindDirectChildrenOnly))
        return;
    auto *filter = new CommandKeysFirst(&app);
    filter->setObjectName(QLatin1String(kFilterName));
    app.installEventFilter(filter);
}

} // namespace kv
