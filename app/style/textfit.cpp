#include "app/style/textfit.h"

#include <QAbstractButton>
#include <QLabel>
#include <QLayout>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>

#include <algorithm>

namespace kv {

namespace {

constexpr int kMargin = 8; // between a control and the edge of what holds it

QString shownText(QString text)
{
    // "&&" shows one ampersand, a single "&" marks the mnemonic and shows nothing.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

bool overlapsVertically(const QRect &a, const QRect &b) { return a.top() <= b.bottom() && b.top() <= a.bottom(); }

// Moves what stands to the right of a control that grew by delta on its band.
void pushRight(QWidget *grown, int oldRight, int delta)
{
    for (QObject *o : grown->parentWidget()->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && w != grown && !w->isWindow() && w->x() > oldRight &&
            overlapsVertically(w->geometry(), grown->geometry()))
            w->move(w->x() + delta, w->y());
    }
}

int rightmostChild(const QWidget *parent)
{
    int right = 0;
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (w && !w->isWindow() && !w->isHidden())
            right = std::max(right, w->geometry().right() + 1);
    }
    return right;
}

// Widens the parents of a hand-placed control, up to the window, to hold it.
void holdChildren(QWidget *parent, QWidget *window)
{
    for (QWidget *p = parent; p; p = p->parentWidget()) {
        const int needed = rightmostChild(p) + kMargin;
        if (needed <= p->width())
            return;
        if (p == window) {
            if (p->minimumWidth() == p->maximumWidth())
                p->setFixedWidth(needed);
            else
                p->resize(needed, p->height());
            return;
        }
        if (p->parentWidget()->layout())
            return; // its layout gives it room
        const int oldRight = p->geometry().right();
        p->resize(needed, p->height());
        pushRight(p, oldRight, needed - (oldRight - p->x() + 1));
    }
}

template <typename F> void forEachChild(QWidget *parent, F &&visit)
{
    for (QObject *o : parent->children()) {
        auto *w = qobject_cast<QWidget *>(o);
        if (!w || w->isWindow())
            continue;
        visit(w);
        forEachChild(w, visit);
    }
}

} // namespace

int textRoom(const QWidget *control)
{
    if (auto *label = qobject_cast<const QLabel *>(control)) {
        if (label->wordWrap() || label->text().isEmpty() || !label->pixmap().isNull())
            return 0;
        return label->sizeHint().width();
    }
    if (auto *push = qobject_cast<const QPushButton *>(control)) {
        if (push->text().isEmpty())
            return 0;
        // The style's own minimum width for buttons is no need of the text.
        const QStyle *style = push->style();
        const int frame = style->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, push);
        int room = push->fontMetrics().horizontalAdvance(shownText(push->text())) +
                   style->pixelMetric(QStyle::PM_ButtonMargin, nullptr, push) + 2 * frame;
        if (!push->icon().isNull())
            room += push->iconSize().width() + 4;
        return room;
    }
    if (auto *button = qobject_cast<const QAbstractButton *>(control))
        return button->text().isEmpty() ? 0 : button->sizeHint().width();
    return 0;
}

void fitTexts(QWidget *window)
{
    forEachChild(window, [window](QWidget *w) {
        QWidget *parent = w->parentWidget();
        if (parent->layout() || w->isHidden())
            return;
        // A hand-placed box with a layout inside needs its layout's least width.
        int need = textRoom(w);
        if (QLayout *inner = w->layout()) {
            inner->activate();
            need = inner->minimumSize().width();
        }
        if (need <= w->width())
            return;
        const int oldRight = w->geometry().right();
        const int delta = need - w->width();
        w->resize(need, w->height());
        pushRight(w, oldRight, delta);
        holdChildren(parent, window);
    });
    if (QLayout *layout = window->layout()) {
        layout->activate();
        const QSize least = layout->minimumSize();
        if (window->minimumSize() == window->maximumSize() && least.width() > window->width())
            window->setFixedSize(least.width(), std::max(window->height(), least.height()));
    }
}

} // namespace kv
