#include "app/ui/keyboardbar.h"

#include <QAbstractButton>
#include <QKeyEvent>
#include <QObject>
#include <QString>
#include <QWidget>
#include <algorithm>

namespace kv {

namespace {

// The buttons that can be pressed, left to right.
QList<QAbstractButton *> usableButtons(QWidget *bar)
{
    QList<QAbstractButton *> buttons;
    for (QAbstractButton *b : bar->findChildren<QAbstractButton *>())
        if (b->isVisibleTo(bar) && b->isEnabled())
            buttons << b;
    std::sort(buttons.begin(), buttons.end(), [](QAbstractButton *a, QAbstractButton *b) {
        return a->mapTo(a->window(), QPoint()).x() < b->mapTo(b->window(), QPoint()).x();
    });
    return buttons;
}

class BarKeys : public QObject {
public:
    explicit BarKeys(QWidget *bar) : QObject(bar), bar_(bar) {}

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        auto *button = qobject_cast<QAbstractButton *>(watched);
        if (!button || event->type() != QEvent::KeyPress)
            return false;
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            button->click();
            return true;
        }
        const QList<QAbstractButton *> buttons = usableButtons(bar_);
        const qsizetype at = buttons.indexOf(button);
        if (buttons.isEmpty() || at < 0)
            return false;
        qsizetype to = at;
        switch (key) {
        case Qt::Key_Left: to = (at + buttons.size() - 1) % buttons.size(); break;
        case Qt::Key_Right: to = (at + 1) % buttons.size(); break;
        case Qt::Key_Home: to = 0; break;
        case Qt::Key_End: to = buttons.size() - 1; break;
        default: return false;
        }
        buttons[to]->setFocus(Qt::TabFocusReason);
        return true;
    }

private:
    QWidget *bar_;
};

} // namespace

void makeKeyboardBar(QWidget *bar, const QString &name)
{
    bar->setAccessibleName(name);
    auto *keys = new BarKeys(bar);
    for (QAbstractButton *b : bar->findChildren<QAbstractButton *>()) {
        b->setFocusPolicy(Qt::TabFocus);
        b->installEventFilter(keys);
    }
}

QAbstractButton *firstBarButton(QWidget *bar)
{
    if (!bar->isVisible() || !bar->isEnabled())
        return nullptr;
    const QList<QAbstractButton *> buttons = usableButtons(bar);
    return buttons.isEmpty() ? nullptr : buttons.first();
}

} // namespace kv
